#include "actions/FileActions.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdint>

#include "actions/ScratchCopy.h"
#include "actions/Transaction.h"
#include "core/ChildProcess.h"
#include "core/FileUtils.h"
#include "core/RunState.h"
#include "core/ProfileReader.h"
#include "script/ScriptKeys.h"
#include "script/neutral/FieldSplitter.h"
#include "script/neutral/SkipMark.h"

namespace {

// "INIKey" and a line number of up to ten digits, with room to spare.
constexpr int kIniKeyNameSize = 24;
// The shell reports success with a value above this.
constexpr INT_PTR kShellErrorLimit = 32;

// The folder part of `path` (everything before its last component).
void CopyFolderOf(const char* path, char* folder) {
    lstrcpynA(folder, path, kPathBufferSize);
    PathRemoveFileSpecA(folder);
}

// Puts the payload in the target's place through a scratch copy: the
// installed file stays until its replacement is complete, so a missing
// payload or a failed copy (disk full) leaves it as it was.
int ReplaceWithPayload(const char* targetPath, const char* payloadPath) {
    ScratchCopy copy;
    return copy.Open(targetPath) && copy.CopyIntoScratch(payloadPath) && copy.Commit(false) ? 1 : 0;
}

}  // namespace

int StartEntryProgram(const char* program, bool sync) {
    char folder[kPathBufferSize] = {};
    CopyFolderOf(program, folder);
    if (sync) {
        HINSTANCE opened = ShellExecuteA(RunState.DialogWindow, "open", program, nullptr, folder, SW_SHOWDEFAULT);
        return reinterpret_cast<INT_PTR>(opened) > kShellErrorLimit ? 1 : 0;
    }
    return RunAndWait(program, nullptr, folder);
}

int RunEntryFile(const char* payloadPath, const char* targetPath) {
    const int32_t sync = RunState.ScriptReader.ReadInteger(kSyncKey);
    // A target the ANSI calls cannot reach could only be replaced under a
    // shortened name, which would be some other file.
    if (!IsReachablePath(targetPath)) return 0;

    // Nothing is started unless the payload now is the target.
    if (!ReplaceWithPayload(targetPath, payloadPath)) return 0;
    if (Preparing()) {
        // The program starts in its place in the commit.
        StageRunEntry(sync != 0);
        return 1;
    }
    // The payload has moved: it leaves the working folder.
    DeleteFileForced(payloadPath);
    return StartEntryProgram(targetPath, sync != 0);
}

int AddEntryFile(const char* payloadPath, const char* targetPath) {
    if (!IsReachablePath(targetPath)) return 0;
    if (Preparing()) return PrepareFolderOf(targetPath) && ReplaceWithPayload(targetPath, payloadPath) ? 1 : 0;
    char folder[kPathBufferSize] = {};
    CopyFolderOf(targetPath, folder);
    if (!PathFileExistsA(folder)) (void)CreateFolderPath(folder);
    return ReplaceWithPayload(targetPath, payloadPath);
}

int DeleteEntryFile(const char* targetPath) {
    // A path beyond the ANSI limit names no file the runtime could see, so
    // there is nothing to delete; it is never cut to a shorter, real path.
    if (!IsReachablePath(targetPath)) return 1;
    if (Preparing()) return StageDelete(targetPath, EntryWantsRestart());
    return DeleteFileForced(targetPath) == 1 ? 1 : 0;
}

namespace {

// Lines "INIKey1" to "INIKey<count>" of the entry, written into `file`
// (named in full). 1 when every line was written.
int WriteIniLines(const char* file, int32_t count) {
    ProfileReader target;
    target.Clear();
    target.SetFile(file);
    int result = 1;
    for (int32_t line = 1; line <= count; ++line) {
        char keyName[kIniKeyNameSize] = {};
        wsprintfA(keyName, "%s%d", kIniKeyPrefix, static_cast<int>(line));
        HeapText text = RunState.ScriptReader.ReadValue(keyName);

        HeapText fields[3];  // section, key, value; text after the third is ignored
        if (SplitFields(text.get(), fields, 3) == 0) {
            // A line that is missing, empty or only commas names no section:
            // writing it would touch nothing meaningful, so nothing is written
            // and the entry reports the fault.
            result = 0;
            continue;
        }
        target.SetSection(fields[0].get());
        // No value deletes the key, no key the whole section.
        if (target.WriteValue(fields[1].get(), fields[2].get()) != 1) result = 0;
    }
    return result;
}

// In a transaction the keys are written into a copy, which takes the INI
// file's place with the other targets: the entry is applied whole or not
// at all.
int PrepareIniFile(const char* file, int32_t count) {
    ScratchCopy copy;
    if (!copy.Open(file) || (copy.TargetExists() && !copy.CopyTargetIntoScratch())) return 0;
    copy.CloseScratch();  // the profile functions open it themselves
    if (!WriteIniLines(copy.ScratchPath(), count)) return 0;
    // Whatever the profile functions still keep goes to the disk.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.ScratchPath());
    return copy.Commit(false);
}

}  // namespace

int UpdateIniEntries(const char* targetPath) {
    const int32_t count = RunState.ScriptReader.ReadInteger(kCountKey);
    if (count < 1) return 1;
    if (!IsReachablePath(targetPath)) return 0;
    // The profile functions put a file named without a folder into the
    // Windows folder, while the check looked in the current one: the write
    // goes to the very file the check saw, named in full.
    char fullPath[kPathBufferSize];
    const DWORD length = GetFullPathNameA(targetPath, sizeof fullPath, fullPath, nullptr);
    if (length == 0 || length >= sizeof fullPath) return 0;
    if (Preparing()) return PrepareIniFile(fullPath, count);
    return WriteIniLines(fullPath, count);
}

int RenameEntryFile(const char* targetPath, const char* newName) {
    if (!IsReachablePath(targetPath)) return 0;
    char newPath[kPathBufferSize] = {};
    CopyFolderOf(targetPath, newPath);
    // A join that would pass the length limit fails rather than move the file
    // to a shortened name.
    if (!AppendPath(newPath, newName)) return 0;
    if (Preparing()) return StageRename(targetPath, newPath);
    return MoveFileA(targetPath, newPath) ? 1 : 0;
}
