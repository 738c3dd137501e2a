// Write-then-swap: the one way any action replaces an installed file. The
// file swap (core/FileSwap.h) does the replacing: a fresh scratch file
// beside the target holds the new content, and the target is only touched
// by the rename that puts it in the target's place, now or at the restart.
// Until then every failure leaves the target byte-for-byte as it was, and
// the scratch file is removed. What ScratchCopy adds is the run's part: the
// entry's "NewCRC" and "Delay", the run's platform and Windows folder, and
// RebootPending.
//
// How an action uses it:
//
//   ScratchCopy copy;
//   if (!copy.Open(target)) return 0;
//       Holds the target open for reading, without write or delete sharing,
//       until the swap: what is read is what gets replaced; no other program
//       can change it in between. A target that does not exist is taken as
//       empty (TargetExists() false); one that exists but cannot be held
//       fails. Creates the empty scratch file.
//   copy.ReadTarget(buffer, size)
//       Reads the old content in order, in chunks of the action's choosing;
//       TargetCrc() is the CRC-32 of every byte read so far. An action that
//       checks the old version reads it all and compares before Commit.
//       An action that reads at offsets of its own choosing uses
//       TargetHandle() instead (invalid when there is no target).
//   copy.Write(data, size)
//       Appends to the scratch file, in chunks of the action's choosing.
//   copy.CopyIntoScratch(path)
//       Instead of writing: the scratch file becomes a copy of a payload,
//       or of the held target for an action that edits in place. It then
//       checks ScratchCrc(), the CRC-32 of the bytes it is about to edit,
//       and edits through ScratchHandle() (opened for reading and writing,
//       never shared).
//   if (!copy.HoldsNewVersion()) return 0;
//       The update actions (Act 2, 3, 8) check the finished scratch file
//       against the entry's "NewCRC", when it has one.
//   return copy.Commit(atRestart);
//       Flushes the scratch file and fails unless the flush succeeded (a
//       large file written by Write was being flushed all along); gives
//       it the target's attributes (hidden, system; never read-only) and,
//       on the NT family, its owner and access list; then renames it over
//       the target with write-through, or has it renamed at the next restart
//       (RebootPending). 1 on success; 0 with the target unchanged.
//
// In a transaction (Preparing()) Open reads what the earlier entries made of
// the target, and Commit hands the finished file to the transaction instead
// of swapping it in.
//
// Any way out without a successful Commit (an early return) removes the
// scratch file when the ScratchCopy goes out of scope.
#pragma once
#include <windows.h>

#include <cstdint>

#include "actions/BackgroundFlush.h"
#include "core/FileSwap.h"

class ScratchCopy {
public:
    ScratchCopy();
    ~ScratchCopy();
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;

    // Holds `target` and creates the scratch file beside it (once per
    // ScratchCopy). 1 or 0.
    int Open(const char* target);
    bool TargetExists() const { return swap_.TargetHandle() != INVALID_HANDLE_VALUE; }

    // Reads up to `size` bytes of the target, fewer only at its end (0 at the
    // end and for a target that does not exist); -1 on a read error.
    long ReadTarget(unsigned char* buffer, DWORD size);
    uint32_t TargetCrc() const { return targetCrc_; }

    // Appends `size` bytes to the scratch file. 1 or 0.
    int Write(const unsigned char* data, DWORD size);

    // Makes the scratch file a copy of `source` (a payload, or the held
    // target itself). 1 or 0.
    int CopyIntoScratch(const char* source);
    // The scratch file becomes a copy of what the ScratchCopy holds (the
    // target, or in a transaction an earlier entry's result for it).
    int CopyTargetIntoScratch();
    // Lets go of the scratch file for writers that open it themselves (the
    // profile functions); it is still removed unless committed.
    void CloseScratch();
    // The CRC-32 of the scratch file as it is on the disk. 1 or 0.
    int ScratchCrc(uint32_t* crc);

    // Whether the scratch file, read back from the disk, has the CRC-32 the
    // current entry names by "NewCRC"; true when it names none.
    bool HoldsNewVersion();

    HANDLE TargetHandle() const { return swap_.TargetHandle(); }
    HANDLE ScratchHandle() const { return swap_.ScratchHandle(); }
    const char* ScratchPath() const { return swap_.ScratchPath(); }

    // Flushes, checks and swaps, now or at the next restart. 1 or 0; the
    // ScratchCopy is done with either way (a scratch file left by a failure
    // goes with the ScratchCopy).
    int Commit(bool atRestart);

private:
    FileSwap swap_;
    char target_[FileSwap::kPathSize];  // the target, when a transaction reads it through another file
    BackgroundFlush flush_;  // of the scratch file, while Write fills it; ends before the swap closes it
    uint32_t targetCrc_ = 0;  // zlib's starting value
};

// Reads up to `size` bytes, fewer only at the end of the file; -1 on error.
long ReadUpTo(HANDLE file, unsigned char* buffer, DWORD size);

// Whether the entry whose section is current asks for the restart ("Delay" 1).
bool EntryWantsRestart();

// Has `source` moved over `destination` at the next start of the system, on
// the run's platform (WININIT.INI in the run's Windows folder on the
// Windows 95 family); non-zero on success.
int ScheduleReplaceAtRestart(const char* source, const char* destination);
