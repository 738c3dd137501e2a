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

namespace {

// Waits for `process` to end. Messages that other threads and programs send
// to this thread's windows are answered meanwhile: a child that sends one to
// the wizard (the uninstaller is handed its window), broadcasts a setting
// change or starts a DDE conversation would otherwise wait for the wizard as
// the wizard waits for it. Posted messages and user input stay queued, so the
// wizard still does not react to the user until the child has ended.
DWORD WaitAnsweringSentMessages(HANDLE process) {
    for (;;) {
        DWORD waited = MsgWaitForMultipleObjects(1, &process, FALSE, kLongestWait, QS_SENDMESSAGE);
        if (waited != WAIT_OBJECT_0 + 1) return waited;
        // Any look into the queue delivers the sent messages; nothing is
        // taken from it.
        MSG message;
        PeekMessageA(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
    }
}

}  // namespace

int RunAndWait(const char* program, const char* arguments, const char* workFolder) {
    if (!arguments) arguments = "";
    HeapText title = FileTitleOf(program);
    std::size_t argumentLength = std::strlen(arguments);
    // Quotes, title (up to 259 characters), one blank, the arguments, the
    // terminator: room for the longest title as well, not just the
    // arguments + 260.
    HeapText commandLine = AllocText(argumentLength + kTitleSize + 4);
    if (!title || !commandLine) return 0;
    // A title with a blank is quoted, or the child would read it as two
    // arguments ("Setup Update.exe").
    const char* quote = std::strchr(title.get(), ' ') ? "\"" : "";
    lstrcpyA(commandLine.get(), quote);
    lstrcatA(commandLine.get(), title.get());
    lstrcatA(commandLine.get(), quote);
    lstrcatA(commandLine.get(), " ");
    lstrcatA(commandLine.get(), arguments);

    STARTUPINFOA startup{};
#if !defined(_WIN64)
    static_assert(sizeof startup == 68, "STARTUPINFOA is 68 bytes on 32-bit Windows");
#endif
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program, commandLine.get(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        workFolder, &startup, &started))
        return 0;  // nothing to wait for
    CloseHandle(started.hThread);
    UniqueHandle process(started.hProcess);
    DWORD waited = WaitAnsweringSentMessages(process.get());
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
