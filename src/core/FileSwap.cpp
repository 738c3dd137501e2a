#include "core/FileSwap.h"

#include <windows.h>
#include <shlwapi.h>

#include "core/Handles.h"
#include "core/neutral/HeapText.h"

namespace {

// What the replacement takes over from the old file. Read-only is left
// behind: the new file is one the next update can replace again.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A scratch file may carry attributes by now (read-only among them), which
// would keep DeleteFileA from removing it.
void RemoveFile(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

// The replacement by rename on the Windows 95 family, which has no
// MoveFileEx: the target steps aside under a scratch name first, so that it
// can come back if the new file cannot take its place.
int ReplaceByRenames(const char* target, const char* scratch) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) return MoveFileA(scratch, target) ? 1 : 0;
    char aside[FileSwap::kPathSize] = {};
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
    RemoveFile(aside);
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

}  // namespace

bool HeldAgainstRename(const char* target) {
    HANDLE h = CreateFileA(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

namespace {

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
// holds one line per destination, short destination = short source. It runs
// before long names exist, so it needs the 8.3 forms; a path without one
// keeps its own spelling.
void ShortForm(const char* path, char* shortPath) {
    const DWORD n = GetShortPathNameA(path, shortPath, FileSwap::kPathSize);
    if (n == 0 || n >= FileSwap::kPathSize) lstrcpynA(shortPath, path, FileSwap::kPathSize);
}

// WININIT.INI in the Windows folder, and the name of `destination`'s line.
bool RenameFileLine(const char* destination, const char* windowsFolder, char* renameFile, char* shortDestination) {
    renameFile[0] = '\0';
    if (windowsFolder) lstrcpynA(renameFile, windowsFolder, FileSwap::kPathSize);
    if (!PathAppendA(renameFile, "WININIT.INI")) return false;
    ShortForm(destination, shortDestination);
    return true;
}

int ScheduleInRenameFile(const char* source, const char* destination, const char* windowsFolder) {
    char renameFile[FileSwap::kPathSize];
    char shortDestination[FileSwap::kPathSize];
    char shortSource[FileSwap::kPathSize];
    if (!RenameFileLine(destination, windowsFolder, renameFile, shortDestination)) return 0;
    ShortForm(source, shortSource);
    return WritePrivateProfileStringA("rename", shortDestination, shortSource, renameFile) ? 1 : 0;
}

// The list the system reads at its start: pairs of texts, source then
// destination, in the form "\\??\\C:\\path" ("!" first on a destination
// that may be overwritten; empty for a delete).
constexpr char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingRenamesValue[] = "PendingFileRenameOperations";

// `listed` without the list's markers ("!", "\\??\\").
const char* PlainPendingPath(const char* listed) {
    if (listed[0] == '!') ++listed;
    if (listed[0] == '\\' && listed[1] == '?' && listed[2] == '?' && listed[3] == '\\') listed += 4;
    return listed;
}

// `listed` as the list spells it, compared with `path` without case.
bool SamePendingPath(const char* listed, const char* path) {
    listed = PlainPendingPath(listed);
    if (!path) return listed[0] == '\0';
    return lstrcmpiA(listed, path) == 0;
}

// Removes the pending pairs to `destination` from `source`, or from any
// source when `source` is null.
int CancelPendingRename(const char* source, const char* destination) {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return 1;  // no list, nothing pending
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), kPendingRenamesValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return 1;
    HeapBytes list = AllocBytes(size + 2);  // room for the terminators a value may lack
    if (!list || RegQueryValueExA(key.get(), kPendingRenamesValue, nullptr, &type, list.get(), &size) != ERROR_SUCCESS)
        return 0;
    // Kept pairs are moved down in place; the list ends at an empty source
    // or at the end of the data.
    char* text = reinterpret_cast<char*>(list.get());
    const char* end = text + size;
    char* out = text;
    bool removed = false;
    for (const char* p = text; p < end && *p;) {
        const char* pairSource = p;
        const char* pairDestination = pairSource + lstrlenA(pairSource) + 1;
        if (pairDestination >= end) break;
        const char* next = pairDestination + lstrlenA(pairDestination) + 1;
        if ((!source || SamePendingPath(pairSource, source)) && SamePendingPath(pairDestination, destination)) {
            removed = true;
        } else {
            // Down in place, byte by byte: the ranges may overlap.
            for (const char* from = pairSource; from < next;) *out++ = *from++;
        }
        p = next;
    }
    if (!removed) return 1;
    if (out == text) return RegDeleteValueA(key.get(), kPendingRenamesValue) == ERROR_SUCCESS ? 1 : 0;
    *out++ = '\0';
    return RegSetValueExA(key.get(), kPendingRenamesValue, 0, REG_MULTI_SZ, list.get(),
                          static_cast<DWORD>(out - text)) == ERROR_SUCCESS
               ? 1
               : 0;
}

// WININIT.INI holds one line per destination: removing it cancels every
// rename to that destination.
int CancelInRenameFile(const char* destination, const char* windowsFolder) {
    char renameFile[FileSwap::kPathSize];
    char shortDestination[FileSwap::kPathSize];
    if (!RenameFileLine(destination, windowsFolder, renameFile, shortDestination)) return 0;
    return WritePrivateProfileStringA("rename", shortDestination, nullptr, renameFile) ? 1 : 0;
}

int PendingSourceInList(const char* destination, char* source) {
    source[0] = '\0';
    UniqueKey key;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS ||
        RegQueryValueExA(key.get(), kPendingRenamesValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return 0;
    HeapBytes list = AllocBytes(size + 2);
    if (!list || RegQueryValueExA(key.get(), kPendingRenamesValue, nullptr, &type, list.get(), &size) != ERROR_SUCCESS)
        return 0;
    const char* text = reinterpret_cast<const char*>(list.get());
    const char* end = text + size;
    for (const char* p = text; p < end && *p;) {
        const char* pairDestination = p + lstrlenA(p) + 1;
        if (pairDestination >= end) break;
        if (pairDestination[0] && SamePendingPath(pairDestination, destination))
            lstrcpynA(source, PlainPendingPath(p), FileSwap::kPathSize);
        p = pairDestination + lstrlenA(pairDestination) + 1;
    }
    return source[0] != '\0';
}

int PendingSourceInRenameFile(const char* destination, char* source, const char* windowsFolder) {
    source[0] = '\0';
    char renameFile[FileSwap::kPathSize];
    char shortDestination[FileSwap::kPathSize];
    if (!RenameFileLine(destination, windowsFolder, renameFile, shortDestination)) return 0;
    GetPrivateProfileStringA("rename", shortDestination, "", source, FileSwap::kPathSize, renameFile);
    return source[0] != '\0';
}

}  // namespace

int PendingRenameSourceFor(const char* destination, char* source, const SwapPlatform& platform) {
    if (platform.nt) return PendingSourceInList(destination, source);
    return PendingSourceInRenameFile(destination, source, platform.windowsFolder);
}

int CancelRenameAtRestart(const char* source, const char* destination, const SwapPlatform& platform) {
    if (platform.nt) return CancelPendingRename(source, destination);
    if (!destination) return 1;  // deletes at the restart are not made on this family
    return CancelInRenameFile(destination, platform.windowsFolder);
}

int CancelRenamesAtRestartTo(const char* destination, const SwapPlatform& platform) {
    if (platform.nt) return CancelPendingRename(nullptr, destination);
    return CancelInRenameFile(destination, platform.windowsFolder);
}

int CreateScratchIn(const char* folder, char* scratch, bool asFolder) {
    // Named as the system's temporary files are ("QVR", four hex digits,
    // ".tmp"), but numbered on from the last name this program made rather
    // than from the clock each time: a transaction keeps thousands of its
    // scratch files side by side until the commit, and starting over at the
    // clock would walk past all of them on every call.
    // Started lazily, not by a dynamic initialiser: a guarded static would
    // bring the C++ library's thread-safe start-up into the program.
    static unsigned next;
    if (next == 0) next = (GetTickCount() ^ GetCurrentProcessId()) | 0x10000;
    for (unsigned tries = 0; tries < 0x10000; ++tries) {
        const unsigned number = next++ & 0xFFFF;
        if (number == 0) continue;
        char name[16];
        wsprintfA(name, "QVR%04X.tmp", number);
        lstrcpynA(scratch, folder, FileSwap::kPathSize);
        if (!PathAppendA(scratch, name)) break;
        if (asFolder) {
            if (CreateDirectoryA(scratch, nullptr)) return 1;
        } else {
            HANDLE made =
                CreateFileA(scratch, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (made != INVALID_HANDLE_VALUE) {
                CloseHandle(made);
                return 1;
            }
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    scratch[0] = '\0';
    return 0;
}

int CreateScratchFile(const char* target, char* scratch) {
    char folder[FileSwap::kPathSize] = {};
    lstrcpynA(folder, target, sizeof folder);
    PathRemoveFileSpecA(folder);
    return CreateScratchIn(folder, scratch, false);
}

int ScheduleRenameAtRestart(const char* source, const char* destination, const SwapPlatform& platform) {
    if (platform.nt)
        return MoveFileExA(source, destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
    return ScheduleInRenameFile(source, destination, platform.windowsFolder);
}

FileSwap::FileSwap(const SwapPlatform& platform) : platform_(platform) {
    targetPath_[0] = '\0';
    scratchPath_[0] = '\0';
}

FileSwap::~FileSwap() {
    // The reason a swap failed outlives the clean-up, for whoever reports it.
    const DWORD error = GetLastError();
    scratch_.reset();
    if (scratchPath_[0]) RemoveFile(scratchPath_);
    SetLastError(error);
}

int FileSwap::Begin(const char* target, TargetAccess access) {
    // A path the ANSI calls cannot hold whole would name some other file.
    if (scratchPath_[0] || lstrlenA(target) >= static_cast<int>(kPathSize)) return 0;
    lstrcpynA(targetPath_, target, sizeof targetPath_);
    held_ = access == TargetAccess::HeldForReading;
    if (held_) {
        target_.reset(CreateFileA(target, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        // A target that exists but cannot be held must never pass for none.
        if (!target_ && !IsMissingError(GetLastError())) return 0;
    }
    if (!(scratchFolder_ ? CreateScratchIn(scratchFolder_, scratchPath_, false)
                         : CreateScratchFile(target, scratchPath_)))
        return 0;
    return OpenScratch();
}

int FileSwap::OpenScratch() {
    scratch_.reset(CreateFileA(scratchPath_, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return scratch_.valid() ? 1 : 0;
}

int FileSwap::CopyIntoScratch(const char* source) {
    // The system's own copy, into the scratch file's place; the file is then
    // held again as before.
    if (!scratchPath_[0]) return 0;
    scratch_.reset();
    return CopyFileA(source, scratchPath_, FALSE) && SetFileAttributesA(scratchPath_, FILE_ATTRIBUTE_NORMAL)
               ? OpenScratch()
               : 0;
}

void FileSwap::KeepAttributes(DWORD attributes) {
    explicitAttributes_ = true;
    attributes_ = attributes;
}

DWORD FileSwap::ReplacementAttributes() const {
    DWORD kept = attributes_;
    if (!explicitAttributes_) {
        const DWORD attributes = GetFileAttributesA(targetPath_);
        kept = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes & kKeptAttributes;
    }
    return kept ? kept : FILE_ATTRIBUTE_NORMAL;
}

bool FileSwap::ReplaceNow() {
    return !HeldAgainstRename(targetPath_) && (platform_.nt ? ReplaceByMove(targetPath_, scratchPath_)
                                                      : ReplaceByRenames(targetPath_, scratchPath_));
}

bool FileSwap::SealScratch() {
    // Nothing takes the target's place before its bytes are on the disk: a
    // rename that outlives a power cut must not point at lost data.
    if (!scratch_.valid() && scratchPath_[0]) OpenScratch();
    bool ok = scratch_.valid() && FlushFileBuffers(scratch_.get());
    scratch_.reset();
    const bool targetExists =
        held_ ? target_.valid() : GetFileAttributesA(targetPath_) != INVALID_FILE_ATTRIBUTES;
    if (ok && platform_.nt && targetExists) ok = CopySecurity(targetPath_, scratchPath_);
    if (ok) SetFileAttributesA(scratchPath_, ReplacementAttributes());
    return ok;
}

int FileSwap::Seal(char* prepared) {
    if (!SealScratch()) return 0;
    lstrcpynA(prepared, scratchPath_, kPathSize);
    scratchPath_[0] = '\0';  // the caller's now
    return 1;
}

HANDLE FileSwap::ReleaseTarget() { return target_.release(); }

SwapOutcome FileSwap::Commit(SwapTime when) {
    const bool ok = SealScratch();
    // The hold ends only now: the rename needs the target free.
    target_.reset();
    if (!ok) return SwapOutcome::Failed;

    SwapOutcome outcome = SwapOutcome::Failed;
    if (when != SwapTime::AtRestart && ReplaceNow())
        outcome = SwapOutcome::Done;
    else if (when != SwapTime::Now && ScheduleRenameAtRestart(scratchPath_, targetPath_, platform_))
        outcome = SwapOutcome::AtRestart;
    if (outcome != SwapOutcome::Failed) scratchPath_[0] = '\0';  // it is the target now, or will be
    return outcome;
}
