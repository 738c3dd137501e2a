// Trivial dialog for proving the end-to-end harness: Copy copies the edit
// box into the label; OK asks "Quit now?" and ends with exit code 7 on Yes;
// the cancel command (Escape, Alt+F4, close box) counts in the label.
#include <windows.h>

#include <cstdio>

namespace {
int g_cancels = 0;

INT_PTR CALLBACK TrivialProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case 101: {
        char text[128] = {};
        GetDlgItemTextA(dialog, 100, text, sizeof text);
        SetDlgItemTextA(dialog, 102, text);
        return TRUE;
    }
    case IDOK:
        if (MessageBoxA(dialog, "Quit now?", "Trivial", MB_YESNO) == IDYES) EndDialog(dialog, 7);
        return TRUE;
    case IDCANCEL: {
        char text[32];
        std::snprintf(text, sizeof text, "cancel %d", ++g_cancels);
        SetDlgItemTextA(dialog, 102, text);
        return TRUE;
    }
    }
    return FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(300), nullptr, TrivialProc, 0));
}
