#include "core/SystemLibraries.h"

#include <windows.h>

namespace {

constexpr DWORD kSearchSystemFolderOnly = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// GetProcAddress's untyped result as the function it is.
template <typename Function>
Function LookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto restrictSearch = LookUp<SetDefaultDllDirectoriesFunction>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (restrictSearch) restrictSearch(kSearchSystemFolderOnly);
}

void InitCommonControlsFromSystem() {
    char path[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 14) return;
    lstrcatA(path, "\\comctl32.dll");
    // Without it the wizard's dialog cannot be made and the run ends quietly.
    using InitFunction = void(WINAPI*)();
    auto init = LookUp<InitFunction>(LoadLibraryA(path), "InitCommonControls");
    if (init) init();
}
