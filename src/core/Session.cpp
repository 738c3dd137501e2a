#include "core/Session.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"

namespace {

// A new path buffer holding `folder` with `name` appended.
char* PathInFolder(const char* folder, const char* name) {
    char* path = NewPathBuffer();
    if (!path) return nullptr;
    lstrcpynA(path, folder, kPathBufferSize);
    AppendPath(path, name);
    return path;
}

// A new path buffer filled by a directory query and ending in a backslash.
template <typename Query>
char* QueriedFolder(Query query) {
    char* path = NewPathBuffer();
    if (!path) return nullptr;
    query(path);
    PathAddBackslashA(path);
    return path;
}

char* SpecialFolder(int csidl) {
    return QueriedFolder([csidl](char* path) {
        // A folder the shell cannot name leaves the text empty.
        if (!SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE)) path[0] = '\0';
    });
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

void BuildPathTable() {
    RunState.WorkFolder = NewPathBuffer();
    if (!RunState.WorkFolder) return;
    if (GetTempPathA(kPathBufferSize, RunState.WorkFolder) == 0) return;
    PathAddBackslashA(RunState.WorkFolder);
    AppendPath(RunState.WorkFolder, "ZuliTmp\\");

    RunState.SideImagePath = PathInFolder(RunState.WorkFolder, "Setup.img");
    RunState.BrandImagePath = PathInFolder(RunState.WorkFolder, "Zuli.img");
    RunState.CabinetPath = PathInFolder(RunState.WorkFolder, "Data.cab");

    // Without these resources the system cursors are used.
    if (const char* busy = ResourceText(ResBusyCursorName))
        RunState.BusyCursorPath = PathInFolder(RunState.WorkFolder, busy);
    if (const char* link = ResourceText(ResLinkCursorName))
        RunState.LinkCursorPath = PathInFolder(RunState.WorkFolder, link);

    RunState.WindowsFolder = QueriedFolder([](char* path) { GetWindowsDirectoryA(path, kPathBufferSize); });
    RunState.SystemFolder = QueriedFolder([](char* path) { GetSystemDirectoryA(path, kPathBufferSize); });
    RunState.CurrentFolder = QueriedFolder([](char* path) { GetCurrentDirectoryA(kPathBufferSize, path); });
    RunState.PreviousFolder = NewPathBuffer();

    RunState.StartMenuFolder = SpecialFolder(CSIDL_STARTMENU);
    RunState.ProgramsFolder = SpecialFolder(CSIDL_PROGRAMS);
    RunState.FavoritesFolder = SpecialFolder(CSIDL_FAVORITES);
    RunState.DocumentsFolder = SpecialFolder(CSIDL_PERSONAL);
    RunState.TemplatesFolder = SpecialFolder(CSIDL_TEMPLATES);
    RunState.DesktopFolder = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    RunState.AppDataFolder = SpecialFolder(CSIDL_APPDATA);

    RunState.ScriptPath = PathInFolder(RunState.WorkFolder, "Setup.ini");

    // A folder left by an earlier run is simply reused.
    CreateDirectoryA(RunState.WorkFolder, nullptr);
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

    if (!RunState.WorkFolder || !RunState.WorkFolder[0]) return 0;

    // Only plain files go: read-only files, files in use and subfolders stay
    // and keep the folder alive, so nothing the user might need is lost.
    char pattern[MAX_PATH] = {};
    lstrcpynA(pattern, RunState.WorkFolder, sizeof pattern);
    AppendPath(pattern, "*.*");
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(FindFirstFileA(pattern, &found));
    if (find.valid()) {
        do {
            // "." and ".." name folders, which DeleteFileA never removes.
            char path[2 * kPathBufferSize] = {};
            lstrcpynA(path, RunState.WorkFolder, sizeof path);
            lstrcatA(path, found.cFileName);
            DeleteFileA(path);
        } while (FindNextFileA(find.get(), &found));
    }
    return RemoveDirectoryA(RunState.WorkFolder) ? 1 : 0;
}
