#include "actions/ScratchCopy.h"

#include <windows.h>
#include <shlwapi.h>

#include "core/FileUtils.h"
#include "core/neutral/Crc32.h"
#include "core/neutral/HeapText.h"
#include "script/NewCrc.h"
#include "script/ScriptKeys.h"

namespace {

// Streamed copies move this much at a time: large enough that the per-call
// cost vanishes, small enough to be no burden on memory.
constexpr DWORD kCopyChunkBytes = 1u << 20;

// What the replacement takes over from the old file. Read-only is left
// behind: the new file is one the next update can replace again.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The replacement by rename on the Windows 95 family, which has no
// MoveFileEx: the target steps aside under a scratch name first, so that it
// can come back if the new file cannot take its place.
int ReplaceByRenames(const char* target, const char* scratch) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) return MoveFileA(scratch, target) ? 1 : 0;
    char aside[kPathBufferSize] = {};
    if (!CreateScratchFile(target, aside)) return 0;
    DeleteFileA(aside);
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileA(target, aside)) {
        SetFileAttributesA(target, attributes);
        return 0;
    }
    if (!MoveFileA(scratch, target)) {
        MoveFileA(aside, target);
        SetFileAttributesA(target, attributes);
        return 0;
    }
    DeleteFileForced(aside);
    return 1;
}

// On the NT family one rename replaces the target; it fails while another
// program holds the target open, and then nothing has changed. Write-through:
// the rename is on disk when the call returns, after the data it points to.
int ReplaceByMove(const char* target, const char* scratch) {
    const DWORD attributes = GetFileAttributesA(target);
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesA(target, attributes & ~FILE_ATTRIBUTE_READONLY)) return 0;
    if (MoveFileExA(scratch, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
    if (readOnly) SetFileAttributesA(target, attributes);
    return 0;
}

// Whether another program holds the target open in a way that forbids
// replacing it. The rename itself would refuse on Windows; asking first keeps
// that promise on every platform the runtime meets.
bool TargetInUse(const char* target) {
    HANDLE h = CreateFileA(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The old file's owner and access list go to its replacement, which would
// otherwise carry whatever the folder hands down to a new file. The owner
// may only be given with the right to restore files; the access list alone
// then still keeps who may do what. 1 when at least the access list moved.
int CopySecurity(const char* from, const char* to) {
    const SECURITY_INFORMATION all =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityA(from, all, nullptr, 0, &size);
    if (size == 0) return 0;
    HeapBytes descriptor = AllocBytes(size);
    if (!descriptor || !GetFileSecurityA(from, all, descriptor.get(), size, &size)) return 0;
    if (SetFileSecurityA(to, all, descriptor.get())) return 1;
    return SetFileSecurityA(to, DACL_SECURITY_INFORMATION, descriptor.get()) ? 1 : 0;
}

// The rename file of the Windows 95 family: section "rename" of WININIT.INI
// holds one line per destination, short destination = short source. The
// script reader is borrowed for the one write and handed back unchanged.
int ScheduleInRenameFile(const char* source, const char* destination) {
    char renameFile[kPathBufferSize] = {};
    if (RunState.WindowsFolder) lstrcpynA(renameFile, RunState.WindowsFolder, sizeof renameFile);
    if (!AppendPath(renameFile, "WININIT.INI")) return 0;

    // WININIT.INI runs before long names exist, so it needs the 8.3 forms;
    // a path without one keeps its own spelling.
    char shortSource[kPathBufferSize] = {};
    char shortDestination[kPathBufferSize] = {};
    DWORD n = GetShortPathNameA(source, shortSource, sizeof shortSource);
    if (n == 0 || n >= sizeof shortSource) lstrcpynA(shortSource, source, sizeof shortSource);
    n = GetShortPathNameA(destination, shortDestination, sizeof shortDestination);
    if (n == 0 || n >= sizeof shortDestination) lstrcpynA(shortDestination, destination, sizeof shortDestination);

    ProfileReader& reader = RunState.ScriptReader;
    HeapText savedFile = reader.CopyFilePath();
    HeapText savedSection = reader.CopySectionName();
    reader.SetFile(renameFile);
    reader.SetSection("rename");
    int written = reader.WriteValue(shortDestination, shortSource);
    reader.SetFile(savedFile.get());
    reader.SetSection(savedSection.get());
    return written;
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

int CreateScratchFile(const char* target, char* scratch) {
    char folder[kPathBufferSize] = {};
    lstrcpynA(folder, target, sizeof folder);
    PathRemoveFileSpecA(folder);
    scratch[0] = '\0';
    return GetTempFileNameA(folder, "QVR", 0, scratch) ? 1 : 0;
}

int ScheduleReplaceAtRestart(const char* source, const char* destination) {
    if (RunState.IsNT)
        return MoveFileExA(source, destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
    return ScheduleInRenameFile(source, destination);
}

bool EntryWantsRestart() {
    return RunState.ScriptReader.ReadInteger(kDelayKey) == 1;
}

ScratchCopy::~ScratchCopy() {
    flush_.Finish();
    scratch_.reset();
    if (scratchPath_[0]) DeleteFileForced(scratchPath_);
}

int ScratchCopy::Open(const char* target) {
    // A path the ANSI calls cannot hold whole would name some other file.
    if (lstrlenA(target) >= static_cast<int>(kPathBufferSize)) return 0;
    lstrcpynA(targetPath_, target, sizeof targetPath_);
    target_.reset(CreateFileA(target, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // A target that exists but cannot be held must never pass for none.
    if (!target_ && !IsMissingError(GetLastError())) return 0;
    if (!CreateScratchFile(target, scratchPath_)) return 0;
    return OpenScratch();
}

int ScratchCopy::OpenScratch() {
    scratch_.reset(CreateFileA(scratchPath_, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return scratch_.valid() ? 1 : 0;
}

long ScratchCopy::ReadTarget(unsigned char* buffer, DWORD size) {
    if (!target_) return 0;
    long got = ReadUpTo(target_.get(), buffer, size);
    if (got > 0) targetCrc_ = Crc32Update(targetCrc_, buffer, static_cast<std::size_t>(got));
    return got;
}

// A file on a disk takes all the bytes or fails; fewer is a failure too.
int ScratchCopy::Write(const unsigned char* data, DWORD size) {
    DWORD put = 0;
    if (!WriteFile(scratch_.get(), data, size, &put, nullptr) || put != size) return 0;
    flush_.Written(scratch_.get(), size);
    return 1;
}

int ScratchCopy::CopyIntoScratch(const char* source) {
    // The system's own copy, into the scratch file's place; the file is then
    // held again as before.
    flush_.Finish();
    scratch_.reset();
    return CopyFileA(source, scratchPath_, FALSE) && SetFileAttributesA(scratchPath_, FILE_ATTRIBUTE_NORMAL)
               ? OpenScratch()
               : 0;
}

int ScratchCopy::ScratchCrc(uint32_t* crc) {
    const DWORD size = StreamChunkSize(scratch_.get(), kCopyChunkBytes);
    HeapBytes chunk = AllocBytes(size);
    if (!chunk || SetFilePointer(scratch_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
    uint32_t sum = 0;
    for (;;) {
        const long n = ReadUpTo(scratch_.get(), chunk.get(), size);
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
    // Nothing takes the target's place before its bytes are on the disk: a
    // rename that outlives a power cut must not point at lost data.
    int ok = flush_.Finish() && scratch_.valid() && FlushFileBuffers(scratch_.get());
    scratch_.reset();
    if (ok && RunState.IsNT && target_.valid()) ok = CopySecurity(targetPath_, scratchPath_);
    // The hold ends only now: the rename needs the target free.
    target_.reset();
    if (ok) {
        const DWORD attributes = GetFileAttributesA(targetPath_);
        const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes & kKeptAttributes;
        SetFileAttributesA(scratchPath_, kept ? kept : FILE_ATTRIBUTE_NORMAL);
        if (atRestart) {
            ok = ScheduleReplaceAtRestart(scratchPath_, targetPath_);
            if (ok) RunState.RebootPending = 1;
        } else {
            ok = !TargetInUse(targetPath_) && (RunState.IsNT ? ReplaceByMove(targetPath_, scratchPath_)
                                                              : ReplaceByRenames(targetPath_, scratchPath_));
        }
    }
    if (ok) scratchPath_[0] = '\0';  // it is the target now, or will be
    return ok;
}
