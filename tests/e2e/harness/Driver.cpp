#include "harness/Driver.h"

#include "support/TestFiles.h"

namespace {

struct FindContext {
    DWORD pid;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == context->pid && IsWindowVisible(window)) context->windows->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectAnyTopWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == context->pid) context->windows->push_back(window);
    return TRUE;
}

BOOL CALLBACK FindStaticText(HWND child, LPARAM param) {
    auto* out = reinterpret_cast<std::string*>(param);
    if (ClassNameOf(child) == "Static") {
        std::string text = WindowText(child);
        if (!text.empty()) {
            if (!out->empty()) *out += "\n";
            *out += text;
        }
    }
    return TRUE;
}

}  // namespace

DrivenProgram::~DrivenProgram() {
    if (process_) {
        if (Running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 10000);
        }
        CloseHandle(process_);
    }
}

bool DrivenProgram::Start(const std::string& commandLine, const std::string& workFolder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!StartProcess(commandLine, workFolder, false, 0, startup, info)) return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

bool DrivenProgram::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

int DrivenProgram::WaitForExit(DWORD timeoutMs) {
    if (!process_) return -1;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

std::vector<HWND> DrivenProgram::TopWindows() const {
    std::vector<HWND> windows;
    FindContext context{pid_, &windows};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&context));
    return windows;
}

std::vector<HWND> DrivenProgram::OwnedWindows() const {
    std::vector<HWND> windows;
    FindContext context{pid_, &windows};
    EnumWindows(CollectAnyTopWindow, reinterpret_cast<LPARAM>(&context));
    // Message-only windows are not enumerated with the others.
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr))
        CollectAnyTopWindow(window, reinterpret_cast<LPARAM>(&context));
    return windows;
}

HWND DrivenProgram::WaitForWindow(const std::string& className, const std::string& titlePart,
                                  DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopWindows()) {
            if (ClassNameOf(window) == className && WindowText(window).find(titlePart) != std::string::npos) {
                found = window;
                return true;
            }
        }
        return !Running();
    }, timeoutMs);
    return found;
}

HWND DrivenProgram::WaitForMessageBox(HWND mainWindow, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopWindows()) {
            if (window != mainWindow && ClassNameOf(window) == "#32770") {
                found = window;
                return true;
            }
        }
        return !Running();
    }, timeoutMs);
    return found;
}

namespace {

BOOL CALLBACK FindFirstEdit(HWND child, LPARAM param) {
    if (ClassNameOf(child) != "Edit") return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// Waits until every message posted to `window`'s thread before this call has
// been taken from its queue. A sent message overtakes posted ones, so it
// proves nothing on its own; instead a posted change of an edit control's
// text limit (which changes no text) is read back with a sent query and then
// posted back. Posted messages of one thread are taken in order, so once it
// has arrived, so have the clicks and keys posted before it. Windows without
// an edit control are left to the plain idle test.
void FlushPostedMessages(HWND window, DWORD timeoutMs) {
    HWND edit = nullptr;
    EnumChildWindows(window, FindFirstEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) return;
    auto limit = [edit]() -> DWORD_PTR {
        DWORD_PTR value = 0;
        if (!SendMessageTimeoutA(edit, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 1000, &value)) return 0;
        return value;
    };
    DWORD_PTR before = limit();
    if (before == 0) return;
    DWORD_PTR probe = before == 12345 ? 12346 : 12345;
    PostMessageA(edit, EM_SETLIMITTEXT, probe, 0);
    WaitUntil([&] { return limit() == probe; }, timeoutMs);
    PostMessageA(edit, EM_SETLIMITTEXT, before, 0);
    WaitUntil([&] { return limit() == before; }, timeoutMs);
}

}  // namespace

bool DrivenProgram::WaitIdle(HWND window, DWORD timeoutMs) const {
    if (Running() && IsWindow(window)) FlushPostedMessages(window, timeoutMs);
    return WaitUntil([&] {
        if (!Running()) return true;
        for (HWND other : TopWindows())
            if (other != window && ClassNameOf(other) == "#32770") return false;
        // A sent message returns only once the program's thread is back in
        // its message loop, so the work a button started has finished.
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
    }, timeoutMs);
}

std::string WindowText(HWND window) {
    if (!window) return std::string();
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, 5000, &copied))
        return std::string();
    text.resize(copied);
    return text;
}

std::string ControlText(HWND dialog, int controlId) { return WindowText(GetDlgItem(dialog, controlId)); }

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool ControlVisible(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool ControlEnabled(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowEnabled(control);
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool PressButton(HWND dialog, int controlId) {
    HWND button = GetDlgItem(dialog, controlId);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    return PostMessageA(button, BM_CLICK, 0, 0) != 0;
}

bool TypeText(HWND dialog, int controlId, const std::string& text) {
    HWND edit = GetDlgItem(dialog, controlId);
    if (!edit || !IsWindowVisible(edit) || !IsWindowEnabled(edit)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                               5000, &result) != 0;
}

void PressEscape(HWND dialog) {
    // The key goes to the focused control; the dialog's message loop turns
    // it into the cancel command.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    HWND target = dialog;
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void PressAltF4(HWND dialog) {
    PostMessageA(dialog, WM_SYSKEYDOWN, VK_F4, 0x203E0001);  // context code: Alt held
    PostMessageA(dialog, WM_SYSKEYUP, VK_F4, 0xE03E0001);
}

void PressCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }
