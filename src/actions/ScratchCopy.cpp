#include "actions/ScratchCopy.h"

#include <windows.h>
#include <shlwapi.h>

#include "actions/XorDelta.h"
#include "core/FileUtils.h"
#include "core/RunState.h"
#include "script/ScriptKeys.h"

namespace {

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
// program holds the target open, and then nothing has changed.
int ReplaceByMove(const char* target, const char* scratch) {
    const DWORD attributes = GetFileAttributesA(target);
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesA(target, attributes & ~FILE_ATTRIBUTE_READONLY)) return 0;
    if (MoveFileExA(scratch, target, MOVEFILE_REPLACE_EXISTING)) return 1;
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

}  // namespace

int CreateScratchFile(const char* target, char* scratch) {
    char folder[kPathBufferSize] = {};
    lstrcpynA(folder, target, sizeof folder);
    PathRemoveFileSpecA(folder);
    scratch[0] = '\0';
    return GetTempFileNameA(folder, "QVR", 0, scratch) ? 1 : 0;
}

int OpenTargetForReading(const char* target, UniqueFile* file) {
    file->reset(CreateFileA(target, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file->valid()) return 1;
    return IsMissingError(GetLastError()) ? 1 : 0;
}

int ReplaceTargetNow(const char* target, const char* scratch) {
    // The new file is an ordinary one, whatever the scratch copy inherited.
    SetFileAttributesA(scratch, FILE_ATTRIBUTE_NORMAL);
    int replaced = 0;
    if (!TargetInUse(target))
        replaced = RunState.IsNT ? ReplaceByMove(target, scratch) : ReplaceByRenames(target, scratch);
    if (!replaced) DeleteFileForced(scratch);
    return replaced;
}

int ReplaceTargetAtRestart(const char* target, const char* scratch) {
    if (!ScheduleReplaceAtRestart(scratch, target)) {
        DeleteFileForced(scratch);
        return 0;
    }
    RunState.RebootPending = 1;
    return 1;
}

int UpdateThroughScratch(const char* target, const char* payload, ScratchFiller fill) {
    // Read before anything is created: the entry's section is current now.
    const int32_t delay = RunState.ScriptReader.ReadInteger(kDelayKey);
    char scratch[kPathBufferSize] = {};
    if (!CreateScratchFile(target, scratch)) return 0;
    if (!fill(target, payload, scratch)) {
        DeleteFileForced(scratch);
        return 0;
    }
    if (delay == 1) return ReplaceTargetAtRestart(target, scratch);
    return ReplaceTargetNow(target, scratch);
}
