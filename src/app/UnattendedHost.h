// The passes' host when nobody is there to ask: the folder comes from /dir=
// (or, without it, the one the check found for entry 1), the folder
// question is answered by /dir= alone, and progress shows on the /passive
// window's bar (nowhere under /quiet).
#pragma once
#include <windows.h>

#include "script/neutral/PassHost.h"

class UnattendedHost : public PassHost {
public:
    // `progressWindow` carries the bar (control IdProgressBar), or none.
    explicit UnattendedHost(HWND progressWindow) : progressWindow_(progressWindow) {}

    HeapText ConfirmedFolder() override;
    void OfferFolder(const char* folder) override;
    int AskForFolder(HeapText* folder) override;
    void BeginProgress(uint32_t entries) override;
    void ShowProgress(uint32_t entry) override;
    void EndProgress() override;

private:
    HWND progressWindow_;
    HeapText offered_;
};
