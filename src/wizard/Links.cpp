#include "wizard/Links.h"

#include <shellapi.h>
#include <shlobj.h>

#include "core/Handles.h"
#include "wizard/neutral/ShellCommand.h"

#if !defined(_WIN64)
static_assert(sizeof(BROWSEINFOA) == 32, "BROWSEINFOA is 32 bytes on 32-bit Windows");
#endif

namespace {

constexpr DWORD kExpansionStep = 512;

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
    if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return HeapText();
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

int OpenMailLink(const char* mailText) {
    return RunsElevated() ? 0 : OpenMailWithRegisteredCommand(mailText);
}

int OpenWebLink(const char* address) {
    return RunsElevated() ? 0 : OpenWebWithRegisteredCommand(address);
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
