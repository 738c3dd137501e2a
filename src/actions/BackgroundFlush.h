// Flushes a file that is still being written, on a thread of its own: the
// disk takes the data while the update goes on producing more, and the last
// flush before the rename finds little left to do. The thread starts only
// when a file has grown large enough to ask for it, so that small files
// never pay for one.
#pragma once
#include <windows.h>

#include "core/Handles.h"

class BackgroundFlush {
public:
    BackgroundFlush() = default;
    ~BackgroundFlush() { Finish(); }
    BackgroundFlush(const BackgroundFlush&) = delete;
    BackgroundFlush& operator=(const BackgroundFlush&) = delete;

    // Notes `bytes` more written to `file` (one file per object) and asks
    // for a flush once enough has gathered since the last request.
    void Written(HANDLE file, DWORD bytes);

    // Ends the thread, after every flush asked for. false when any flush it
    // made failed: a write error reported there may never be reported
    // again, so the final flush alone cannot vouch for the data.
    bool Finish();

private:
    static DWORD WINAPI Run(void* self);

    HANDLE file_ = INVALID_HANDLE_VALUE;
    DWORD pending_ = 0;
    UniqueHandle wake_;
    UniqueHandle thread_;
    volatile LONG requested_ = 0;
    volatile LONG stop_ = 0;
    volatile LONG failed_ = 0;
    bool unavailable_ = false;  // no thread could be made: the final flush does it all
};
