// Replacing one file by a complete new one, so that whoever reads the target
// sees the old file or the new one, never a part of either. The new content
// is written into a scratch file beside the target (a fresh name the system
// picks in the target's own folder, so it can stand for no existing file,
// and putting it in the target's place is a rename on the same volume). The
// target is only touched by that rename, now or at the next restart; until
// then every failure leaves it byte for byte as it was, and the scratch file
// is removed.
//
// It knows nothing of scripts or of the run: the patch runtime, the backup
// companion and the builder share it.
//
//   FileSwap swap(SystemSwapPlatform());
//   if (!swap.Begin(target, TargetAccess::HeldForReading)) return 0;
//       Creates the empty scratch file. HeldForReading also opens the
//       target for reading (TargetHandle()), without write or delete
//       sharing, until the swap: what is read is what gets replaced. A
//       target that does not exist is taken as none (TargetHandle()
//       invalid); one that exists but cannot be held fails.
//   WriteFile(swap.ScratchHandle(), ...)  or  swap.CopyIntoScratch(source)
//       The caller fills the scratch file; ScratchHandle() is open for
//       reading and writing, never shared.
//   swap.KeepAttributes(attributes)
//       Optional: the replacement gets exactly these attributes instead of
//       the ones it takes over from the target.
//   SwapOutcome outcome = swap.Commit(SwapTime::Now);
//       Flushes the scratch file and fails unless the flush succeeded; gives
//       it the target's attributes (hidden, system, archive, not indexed;
//       never read-only) and, on the NT family, its owner and access list;
//       then renames it over the target with write-through, or has it
//       renamed at the next restart.
//
// Any way out without a successful Commit removes the scratch file when the
// FileSwap goes out of scope.
#pragma once
#include <windows.h>

#include "core/Handles.h"

// What the swap may use: MoveFileEx exists on the NT family only; the
// Windows 95 family renames at the restart through WININIT.INI.
struct SwapPlatform {
    bool nt;
    // The folder of WININIT.INI on the Windows 95 family; null for the
    // system's own (where the profile functions look for a bare name).
    const char* windowsFolder;
};

// The platform this program runs on, as GetVersion reports it (its high bit
// is set on the Windows 95 family only). Inline: a program that knows its
// platform already (the runtime) imports nothing for it.
inline SwapPlatform SystemSwapPlatform() {
    return SwapPlatform{(GetVersion() & 0x80000000u) == 0, nullptr};
}

enum class TargetAccess { Free, HeldForReading };

enum class SwapTime {
    Now,
    AtRestart,
    // Now, unless the target cannot be replaced now (another program holds
    // it open): then at the next restart.
    NowOrAtRestart,
};

enum class SwapOutcome { Failed, Done, AtRestart };

class FileSwap {
public:
    // Paths of up to MAX_PATH characters and the terminator.
    static constexpr unsigned kPathSize = MAX_PATH + 1;

    explicit FileSwap(const SwapPlatform& platform);
    ~FileSwap();
    FileSwap(const FileSwap&) = delete;
    FileSwap& operator=(const FileSwap&) = delete;

    // Creates the scratch file beside `target` (once per FileSwap) and, when
    // asked, holds the target. 1 or 0.
    int Begin(const char* target, TargetAccess access);
    // Before Begin: the scratch file is made in `folder` (on the target's
    // volume) instead of beside the target.
    void ScratchIn(const char* folder) { scratchFolder_ = folder; }

    HANDLE TargetHandle() const { return target_.get(); }
    HANDLE ScratchHandle() const { return scratch_.get(); }
    const char* TargetPath() const { return targetPath_; }
    const char* ScratchPath() const { return scratchPath_; }

    // Makes the scratch file a copy of `source` (or of the held target
    // itself) and holds it again as before. 1 or 0.
    int CopyIntoScratch(const char* source);

    // Closes the scratch file for a writer that opens it by its path; the
    // swap opens it again when it needs it.
    void CloseScratch() { scratch_.reset(); }

    // The replacement's attributes, exactly (read-only too), instead of
    // those taken over from the target.
    void KeepAttributes(DWORD attributes);

    // Flushes, hands over the attributes and the security, and swaps. The
    // FileSwap is done with either way; on Failed the target is unchanged.
    SwapOutcome Commit(SwapTime when);

    // Commit without the swap, for a caller that swaps later itself (a
    // transaction puts every prepared file in place at once): flushes,
    // hands over the attributes and the security, and gives up the scratch
    // file, whose path goes to `prepared` (kPathSize bytes). The hold on the
    // target stays, for ReleaseTarget. 1 or 0 (the scratch file then goes
    // as usual).
    int Seal(char* prepared);
    // The held target's handle, now the caller's to close.
    HANDLE ReleaseTarget();

private:
    int OpenScratch();
    bool SealScratch();
    DWORD ReplacementAttributes() const;
    bool ReplaceNow();

    SwapPlatform platform_;
    char targetPath_[kPathSize];
    char scratchPath_[kPathSize];  // empty while there is no scratch file
    UniqueFile target_;
    UniqueFile scratch_;
    const char* scratchFolder_ = nullptr;
    bool held_ = false;
    bool explicitAttributes_ = false;
    DWORD attributes_ = 0;
};

// Has `source` renamed over `destination` at the next start of the system.
// On the Windows 95 family WININIT.INI holds one line per destination (the
// later source wins). Non-zero on success.
int ScheduleRenameAtRestart(const char* source, const char* destination, const SwapPlatform& platform);

// Whether another program holds `path` open in a way that forbids renaming
// or replacing it. Windows' rename would refuse by itself; asking first keeps
// that promise on every platform the runtime meets.
bool HeldAgainstRename(const char* path);

// Undoes ScheduleRenameAtRestart for the same pair, or for a delete at the
// restart (`destination` none); 1 when no such rename is pending any more.
int CancelRenameAtRestart(const char* source, const char* destination, const SwapPlatform& platform);
// Undoes every rename at the restart whose destination is `destination`,
// whatever its source: a file put back now must not be replaced at the next
// start by what was meant to replace it. 1 when none is pending any more.
int CancelRenamesAtRestartTo(const char* destination, const SwapPlatform& platform);
// The file that the next start of the system renames over `destination` (the
// last one listed, which wins), into `source` (FileSwap::kPathSize bytes);
// 0 when none is pending.
int PendingRenameSourceFor(const char* destination, char* source, const SwapPlatform& platform);

// Creates an empty file with a fresh name beside `target`; its path goes
// into `scratch` (FileSwap::kPathSize bytes). 1 or 0.
int CreateScratchFile(const char* target, char* scratch);
// The same in `folder`, or an empty folder of that name.
int CreateScratchIn(const char* folder, char* scratch, bool asFolder);
