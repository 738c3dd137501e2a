// What the check, the folder resolution and the processing pass need from
// whoever runs them: the folder the user confirmed, a place to offer the
// folder found for entry 1, a way to ask for a folder, and progress. The
// wizard answers on its controls, the unattended run from its command line,
// the tests from a table. Every default says "nothing there", so a host
// answers only what it has and the passes never reach for a window.
#pragma once

#include <cstdint>

#include "core/neutral/HeapText.h"

class PassHost {
public:
    // Entry 1's folder as the user confirmed it, whole, however long; none
    // when there is nothing to give.
    virtual HeapText ConfirmedFolder() { return HeapText(); }
    // The check found entry 1's folder (with its Sub): offered to the user
    // as the folder to confirm.
    virtual void OfferFolder(const char* folder) { (void)folder; }
    // An entry's folder is to be asked in the middle of the check. 1 with
    // the answer in *folder (whole, however long; none when it could not be
    // read), 0 when nobody answered: the user went back, or nobody can be
    // asked.
    virtual int AskForFolder(HeapText* folder) {
        (void)folder;
        return 0;
    }
    // A pass over `entries` entries begins, is at `entry`, has ended.
    virtual void BeginProgress(uint32_t entries) { (void)entries; }
    virtual void ShowProgress(uint32_t entry) { (void)entry; }
    virtual void EndProgress() {}

protected:
    PassHost() = default;
    ~PassHost() = default;
    PassHost(const PassHost&) = default;
    PassHost& operator=(const PassHost&) = default;
};
