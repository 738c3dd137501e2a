#include "actions/ScratchCopy.h"

#include "actions/Transaction.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/RunState.h"
#include "core/neutral/Crc32.h"
#include "core/neutral/HeapText.h"
#include "script/NewCrc.h"
#include "script/ScriptKeys.h"

namespace {

// Streamed copies move this much at a time: large enough that the per-call
// cost vanishes, small enough to be no burden on memory.
constexpr DWORD kCopyChunkBytes = 1u << 20;

// The platform the run detected at start-up, and the Windows folder it
// found (tests put WININIT.INI elsewhere through it).
SwapPlatform RunPlatform() {
    return SwapPlatform{RunState.IsNT != 0, RunState.WindowsFolder};
}

}  // namespace

long ReadUpTo(HANDLE file, unsigned char* buffer, DWORD size) {
    DWORD total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, size - total, &got, nullptr)) return -1;
        if (got == 0) break;
        total += got;
    }
    return static_cast<long>(total);
}

int ScheduleReplaceAtRestart(const char* source, const char* destination) {
    return ScheduleRenameAtRestart(source, destination, RunPlatform());
}

bool EntryWantsRestart() {
    return RunState.ScriptReader.ReadInteger(kDelayKey) == 1;
}

ScratchCopy::ScratchCopy() : swap_(RunPlatform()) { target_[0] = '\0'; }

ScratchCopy::~ScratchCopy() {
    // The flush thread writes through the scratch handle, which the swap
    // closes when it goes.
    flush_.Finish();
}

int ScratchCopy::Open(const char* target) {
    lstrcpynA(target_, target, sizeof target_);
    if (!Preparing()) return swap_.Begin(target, TargetAccess::HeldForReading);
    // An earlier entry deleted or renamed it: it is no more, whatever the
    // disk still holds.
    const char* view = PreparedView(target);
    // An earlier entry's result is in a staging folder already, and the
    // scratch file goes beside it. A file for the restart waits beside its
    // target, where the restart's rename finds it as ever.
    if ((view == target || !view) && !EntryWantsRestart()) swap_.ScratchIn(StagingFolderFor(target));
    return view ? swap_.Begin(view, TargetAccess::HeldForReading) : swap_.Begin(target, TargetAccess::Free);
}

int ScratchCopy::CopyTargetIntoScratch() { return CopyIntoScratch(swap_.TargetPath()); }

void ScratchCopy::CloseScratch() { swap_.CloseScratch(); }

long ScratchCopy::ReadTarget(unsigned char* buffer, DWORD size) {
    if (!TargetExists()) return 0;
    long got = ReadUpTo(TargetHandle(), buffer, size);
    if (got > 0) targetCrc_ = Crc32Update(targetCrc_, buffer, static_cast<std::size_t>(got));
    return got;
}

// A file on a disk takes all the bytes or fails; fewer is a failure too.
int ScratchCopy::Write(const unsigned char* data, DWORD size) {
    DWORD put = 0;
    if (!WriteFile(ScratchHandle(), data, size, &put, nullptr) || put != size) return 0;
    flush_.Written(ScratchHandle(), size);
    return 1;
}

int ScratchCopy::CopyIntoScratch(const char* source) {
    // The copy closes the scratch handle the flush thread may still use.
    flush_.Finish();
    return swap_.CopyIntoScratch(source);
}

int ScratchCopy::ScratchCrc(uint32_t* crc) {
    const DWORD size = StreamChunkSize(ScratchHandle(), kCopyChunkBytes);
    HeapBytes chunk = AllocBytes(size);
    if (!chunk || SetFilePointer(ScratchHandle(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
    uint32_t sum = 0;
    for (;;) {
        const long n = ReadUpTo(ScratchHandle(), chunk.get(), size);
        if (n < 0) return 0;
        if (n == 0) break;
        sum = Crc32Update(sum, chunk.get(), static_cast<std::size_t>(n));
    }
    *crc = sum;
    return 1;
}

bool ScratchCopy::HoldsNewVersion() {
    uint32_t expected = 0;
    if (!ReadNewCrc(&expected)) return true;
    // Read back rather than counted while written: an action may have
    // edited the copy in place.
    uint32_t crc = 0;
    return ScratchCrc(&crc) && crc == expected;
}

int ScratchCopy::Commit(bool atRestart) {
    // A write error the flush thread met may never be reported again: the
    // swap's own flush alone cannot vouch for the data.
    if (!flush_.Finish()) return 0;
    if (Preparing()) {
        char prepared[FileSwap::kPathSize];
        return swap_.Seal(prepared) && StagePreparedFile(target_, prepared, swap_.ReleaseTarget(), atRestart) ? 1 : 0;
    }
    const SwapOutcome outcome = swap_.Commit(atRestart ? SwapTime::AtRestart : SwapTime::Now);
    if (outcome == SwapOutcome::AtRestart) RunState.RebootPending = 1;
    return outcome == SwapOutcome::Failed ? 0 : 1;
}
