#include "core/Session.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/FileUtils.h"
#include "core/Payload.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/SingleRun.h"
#include "core/WorkFolder.h"
#include "core/neutral/CabinetDirectory.h"

namespace {

// Names tried before start-up gives up: each taken one means something else
// already sits under that name in the temporary directory.
constexpr int kFolderNameAttempts = 32;

// Set while the working folder is this run's own (created by it and not yet
// removed): only then does the clean-up touch anything there.
bool workFolderOwned = false;

// The path buffers every run has, allocated together at the start.
char** const kPathFields[] = {
    &RunState.WorkFolder,      &RunState.ScriptPath,      &RunState.CabinetPath,     &RunState.SideImagePath,
    &RunState.BrandImagePath,  &RunState.WindowsFolder,   &RunState.SystemFolder,    &RunState.CurrentFolder,
    &RunState.PreviousFolder,  &RunState.StartMenuFolder, &RunState.ProgramsFolder,  &RunState.FavoritesFolder,
    &RunState.DocumentsFolder, &RunState.TemplatesFolder, &RunState.DesktopFolder,   &RunState.AppDataFolder,
};

// Fills `field` with the working folder and `name` joined; 0 when the result
// would not fit, which PathAppendA signals by an empty text that would
// otherwise name the current folder.
int SetPathInFolder(char* field, const char* name) {
    lstrcpynA(field, RunState.WorkFolder, kPathBufferSize);
    return AppendPath(field, name) && field[0] ? 1 : 0;
}

// A cursor's file inside the working folder, when the patch names one; the
// name must stay inside the folder.
int SetCursorPath(char** field, unsigned resourceId) {
    const char* name = ResourceText(resourceId);
    if (!name) return 1;  // the system cursor is used
    if (!*field) *field = NewPathBuffer();
    return *field && IsPlainFileName(name, lstrlenA(name)) && SetPathInFolder(*field, name);
}

// Every path inside the working folder; 0 when one does not fit.
int DeriveWorkPaths() {
    return SetPathInFolder(RunState.SideImagePath, "Setup.img") &&
           SetPathInFolder(RunState.BrandImagePath, "Zuli.img") &&
           SetPathInFolder(RunState.CabinetPath, "Data.cab") && SetPathInFolder(RunState.ScriptPath, "Setup.ini") &&
           SetCursorPath(&RunState.BusyCursorPath, ResBusyCursorName) &&
           SetCursorPath(&RunState.LinkCursorPath, ResLinkCursorName);
}

// 1 when a directory query's answer (its length: 0 on failure, the size it
// needs when the buffer is too small) fits with a trailing backslash.
int EndsAsFolder(char* path, DWORD length) {
    return length && length < kPathBufferSize && PathAddBackslashA(path) ? 1 : 0;
}

void SetSpecialFolder(char* path, int csidl) {
    // A folder the shell cannot name leaves the text empty.
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE)) path[0] = '\0';
    PathAddBackslashA(path);
}

// Creates the working folder under `temp` (ending in a backslash) under a
// name nothing else holds, and fills the paths inside it. Names already
// taken, by a left-over folder, a file or a link, are skipped, never reused.
int CreateWorkFolder(const char* temp) {
    uint32_t seed = FolderNameSeed();
    for (int attempt = 0; attempt < kFolderNameAttempts; ++attempt) {
        char name[24];
        FormatWorkFolderName(name, seed, attempt);
        // Every name has the same length: when the paths do not fit for one,
        // they fit for none.
        lstrcpynA(RunState.WorkFolder, temp, kPathBufferSize);
        if (!AppendPath(RunState.WorkFolder, name) || !RunState.WorkFolder[0] || !DeriveWorkPaths()) return 0;
        if (!CreatePrivateFolder(RunState.WorkFolder)) continue;
        workFolderOwned = true;
        // Made just now, yet a link in its place would lead the unpacking
        // and the clean-up elsewhere.
        return IsPlainFolder(RunState.WorkFolder);
    }
    return 0;
}

}  // namespace

uint32_t DetectPlatform() {
    OSVERSIONINFOA version{};
#if !defined(_WIN64)
    static_assert(sizeof version == 148, "OSVERSIONINFOA is 148 bytes on 32-bit Windows");
#endif
    version.dwOSVersionInfoSize = sizeof version;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    RunState.IsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
    return RunState.IsNT;
}

int BuildPathTable() {
    workFolderOwned = false;
    for (char** field : kPathFields)
        if (!(*field = NewPathBuffer())) return 0;
    char temp[kPathBufferSize];
    // A temporary directory that cannot be named in full would otherwise put
    // the working folder's files in the current folder: the user's own.
    if (!EndsAsFolder(temp, GetTempPathA(kPathBufferSize, temp)) ||
        !EndsAsFolder(RunState.WindowsFolder, GetWindowsDirectoryA(RunState.WindowsFolder, kPathBufferSize)) ||
        !EndsAsFolder(RunState.SystemFolder, GetSystemDirectoryA(RunState.SystemFolder, kPathBufferSize)) ||
        !EndsAsFolder(RunState.CurrentFolder, GetCurrentDirectoryA(kPathBufferSize, RunState.CurrentFolder)))
        return 0;

    SetSpecialFolder(RunState.StartMenuFolder, CSIDL_STARTMENU);
    SetSpecialFolder(RunState.ProgramsFolder, CSIDL_PROGRAMS);
    SetSpecialFolder(RunState.FavoritesFolder, CSIDL_FAVORITES);
    SetSpecialFolder(RunState.DocumentsFolder, CSIDL_PERSONAL);
    SetSpecialFolder(RunState.TemplatesFolder, CSIDL_TEMPLATES);
    SetSpecialFolder(RunState.DesktopFolder, CSIDL_DESKTOPDIRECTORY);
    SetSpecialFolder(RunState.AppDataFolder, CSIDL_APPDATA);
    return CreateWorkFolder(temp);
}

int CleanUpSession() {
    if (RunState.EditBackgroundBrush) DeleteObject(RunState.EditBackgroundBrush);
    if (RunState.NormalFont) DeleteObject(RunState.NormalFont);
    if (RunState.LinkFont) DeleteObject(RunState.LinkFont);
    RunState.EditBackgroundBrush = nullptr;
    RunState.NormalFont = nullptr;
    RunState.LinkFont = nullptr;
    RunState.SideImageData.reset();
    RunState.SideImageInfo = nullptr;
    RunState.SideImageBits = nullptr;
    UnmarkWizardWindow(RunState.DialogWindow);

    // Only what this run unpacked goes, never through a link: anything else
    // in the folder (a file another program put there) keeps it alive.
    if (!workFolderOwned) return 0;
    RemoveUnpackedFiles();
    workFolderOwned = RemoveDirectoryA(RunState.WorkFolder) == 0;
    return workFolderOwned ? 0 : 1;
}
