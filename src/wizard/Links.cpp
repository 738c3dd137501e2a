#include "wizard/Links.h"

#include <shellapi.h>
#include <shlobj.h>

#include "core/Handles.h"
#include "core/RunState.h"
#include "wizard/neutral/ShellCommand.h"

#if !defined(_WIN64)
static_assert(sizeof(BROWSEINFOA) == 32, "BROWSEINFOA is 32 bytes on 32-bit Windows");
#endif

namespace {

constexpr DWORD kExpansionStep = 512;
// wsprintfA writes at most 1024 characters: room for the opener and the folder.
constexpr int kLongestUrl = 500;

HeapText ExpandText(const char* text) {
    for (DWORD size = kExpansionStep;; size += kExpansionStep) {
        HeapText expanded = AllocText(size);
        if (!expanded) return expanded;
        DWORD needed = ExpandEnvironmentStringsA(text, expanded.get(), size);
        if (needed == 0) return HeapText();
        if (needed < size) return expanded;
    }
}

// The registered shell command for a kind of address, or none.
HeapText RegisteredCommand(const char* subkey) {
    return ReadRegistryString(HKEY_CLASSES_ROOT, subkey, nullptr);
}

int Open(const char* program, const char* parameters) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", program, parameters, nullptr, SW_SHOW);
    return result ? 1 : 0;
}

}  // namespace

HeapText ReadRegistryString(HKEY root, const char* subkey, const char* valueName) {
    UniqueKey key;
    // Read access only: most of HKEY_CLASSES_ROOT lies in HKEY_LOCAL_MACHINE,
    // which an ordinary user may read but not change.
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return HeapText();
    DWORD size = 1;
    DWORD type = 0;
    HeapText value = AllocText(size);
    LONG status;
    for (;;) {
        if (!value) return value;
        // One byte more than reported, so that a value stored without its
        // terminator still ends in a zero.
        status = RegQueryValueExA(key.get(), valueName, nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.get()), &size);
        if (status != ERROR_MORE_DATA) break;
        value = AllocText(size + 1);
    }
    key.reset();
    if (status != ERROR_SUCCESS) return HeapText();
    if (type != REG_EXPAND_SZ) return value;
    return ExpandText(value.get());
}

int OpenMailWithRegisteredCommand(const char* mailText) {
    HeapText command = RegisteredCommand("mailto\\shell\\open\\command");
    if (!command) return 0;
    HeapText program = SplitShellCommand(command.get(), '"', CommandPart::Program);
    HeapText arguments = SplitShellCommand(command.get(), '"', CommandPart::Arguments);
    if (!arguments) arguments = CopyText("");
    HeapText parameters = SubstituteArgument(std::move(arguments), "%1", mailText);
    command.reset();
    return Open(program.get(), parameters.get());
}

int OpenWebWithRegisteredCommand(const char* address) {
    HeapText command = RegisteredCommand("http\\shell\\open\\command");
    if (!command) return 0;
    // The registered arguments are not used: the address is the only one.
    HeapText program = SplitShellCommand(command.get(), '"', CommandPart::Program);
    command.reset();
    return Open(program.get(), address);
}

bool RunsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    // Systems before token elevation do not know the question: not elevated.
    const bool elevated =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
    CloseHandle(token);
    return elevated;
}

int OpenAsDesktopUser(const char* url) {
    // Looked up at run time: these do not exist on the oldest systems, which
    // have no elevation either.
    using CreateWithToken = BOOL(WINAPI*)(HANDLE, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                                          LPPROCESS_INFORMATION);
    using ShellWindowOf = HWND(WINAPI*)();
    using DuplicateToken = BOOL(WINAPI*)(HANDLE, DWORD, LPSECURITY_ATTRIBUTES, SECURITY_IMPERSONATION_LEVEL,
                                         TOKEN_TYPE, PHANDLE);
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    auto duplicateToken =
        reinterpret_cast<DuplicateToken>(reinterpret_cast<void*>(GetProcAddress(advapi, "DuplicateTokenEx")));
    auto createWithToken = reinterpret_cast<CreateWithToken>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "CreateProcessWithTokenW")));
    auto shellWindow = reinterpret_cast<ShellWindowOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetShellWindow")));
    // An address too long for the command line opens nothing rather than a cut one.
    if (!createWithToken || !shellWindow || !duplicateToken || lstrlenA(url) > kLongestUrl) return 0;
    // The system's own URL opener, by full path, hands the address to
    // whatever the desktop's user has registered for it.
    char command[kLongestUrl + MAX_PATH + 64];
    WCHAR commandLine[sizeof command];
    wsprintfA(command, "\"%srundll32.exe\" url.dll,FileProtocolHandler %s", RunState.SystemFolder, url);
    MultiByteToWideChar(CP_ACP, 0, command, -1, commandLine, sizeof command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Without a desktop shell (a service, a deployment tool's session) the
    // process id stays 0, cannot be opened, and nothing opens.
    DWORD shellId = 0;
    GetWindowThreadProcessId(shellWindow(), &shellId);
    HANDLE shell = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, shellId);
    HANDLE shellToken = nullptr;
    HANDLE token = nullptr;
    const int opened =
        shell && OpenProcessToken(shell, TOKEN_DUPLICATE, &shellToken) &&
        duplicateToken(shellToken,
                       TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY | TOKEN_DUPLICATE | TOKEN_ADJUST_DEFAULT |
                           TOKEN_ADJUST_SESSIONID,
                       nullptr, SecurityImpersonation, TokenPrimary, &token) &&
        createWithToken(token, 0, nullptr, commandLine, 0, nullptr, nullptr, &startup, &started);
    // Closing a handle never had is harmless.
    for (HANDLE handle : {started.hThread, started.hProcess, token, shellToken, shell}) CloseHandle(handle);
    return opened;
}

int OpenMailLink(const char* mailText) {
    return RunsElevated() ? OpenAsDesktopUser(mailText) : OpenMailWithRegisteredCommand(mailText);
}

int OpenWebLink(const char* address) {
    return RunsElevated() ? OpenAsDesktopUser(address) : OpenWebWithRegisteredCommand(address);
}

int BrowseForFolder(HWND folderBox, const char* title) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return 0;
    char* displayName = static_cast<char*>(allocator->Alloc(MAX_PATH));
    if (!displayName) {
        allocator->Release();
        return 0;
    }
    BROWSEINFOA info{};
    info.hwndOwner = folderBox;  // the box itself, as the browser's owner
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&info)) {
        if (SHGetPathFromIDListA(chosen, displayName)) SetWindowTextA(folderBox, displayName);
        allocator->Free(chosen);
    }
    allocator->Free(displayName);
    allocator->Release();
    return 1;
}
