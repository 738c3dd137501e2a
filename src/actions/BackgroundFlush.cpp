#include "actions/BackgroundFlush.h"

namespace {

// Far above any file of an application's thousands, far below the point
// where the final flush would stand out next to the time spent writing.
constexpr DWORD kFlushEveryBytes = 32u << 20;

}  // namespace

void BackgroundFlush::Written(HANDLE file, DWORD bytes) {
    pending_ += bytes;
    if (pending_ < kFlushEveryBytes || unavailable_) return;
    pending_ = 0;
    if (!thread_) {
        file_ = file;
        stop_ = 0;  // a thread ended by Finish may be followed by a new one
        wake_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        DWORD id = 0;
        if (wake_) thread_.reset(CreateThread(nullptr, 0, Run, this, 0, &id));
        if (!thread_) {
            unavailable_ = true;
            return;
        }
    }
    // An auto-reset event: requests made while a flush runs merge into one
    // more flush after it.
    InterlockedExchange(&requested_, 1);
    SetEvent(wake_.get());
}

DWORD WINAPI BackgroundFlush::Run(void* self) {
    auto* flush = static_cast<BackgroundFlush*>(self);
    for (;;) {
        WaitForSingleObject(flush->wake_.get(), INFINITE);
        // A request made just before the stop is still carried out: Finish
        // then stands for every flush asked for.
        if (InterlockedExchange(&flush->requested_, 0) && !FlushFileBuffers(flush->file_))
            InterlockedExchange(&flush->failed_, 1);
        if (InterlockedCompareExchange(&flush->stop_, 0, 0)) return 0;
    }
}

bool BackgroundFlush::Finish() {
    if (thread_) {
        InterlockedExchange(&stop_, 1);
        SetEvent(wake_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
    return InterlockedCompareExchange(&failed_, 0, 0) == 0;
}
