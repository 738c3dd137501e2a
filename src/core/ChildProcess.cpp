#include "core/ChildProcess.h"

#include <commdlg.h>

#include <cstring>

#include "core/Handles.h"

DWORD LastChildExitCode;

namespace {
constexpr unsigned kTitleSize = 260;
constexpr DWORD kLongestWait = 0x7FFFFFFF;  // about 24.9 days, not INFINITE
}  // namespace

HeapText FileTitleOf(const char* path) {
    HeapText title = AllocText(kTitleSize);
    if (title) GetFileTitleA(path, title.get(), kTitleSize);
    return title;
}

int RunAndWait(const char* program, const char* arguments, const char* workFolder) {
    if (!arguments) arguments = "";
    HeapText title = FileTitleOf(program);
    std::size_t argumentLength = std::strlen(arguments);
    // title (up to 259 characters), one blank, the arguments, the terminator:
    // room for the longest title as well, not just the arguments + 260.
    HeapText commandLine = AllocText(argumentLength + kTitleSize + 2);
    if (!title || !commandLine) return 0;
    lstrcpyA(commandLine.get(), title.get());
    lstrcatA(commandLine.get(), " ");
    lstrcatA(commandLine.get(), arguments);

    STARTUPINFOA startup{};
#if !defined(_WIN64)
    static_assert(sizeof startup == 68, "STARTUPINFOA is 68 bytes on 32-bit Windows");
#endif
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(program, commandLine.get(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                       workFolder, &startup, &started))
        CloseHandle(started.hThread);
    // A child that could not start leaves no handle, so the wait fails.
    UniqueHandle process(started.hProcess);
    DWORD waited = WaitForSingleObject(process.get(), kLongestWait);
    if (!GetExitCodeProcess(process.get(), &LastChildExitCode)) LastChildExitCode = 0;
    return waited == WAIT_FAILED ? 0 : 1;
}

int DrainMessages(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        // A quit request comes out of the queue whatever window is asked
        // for; it belongs to the message loops further out.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 1;
}
