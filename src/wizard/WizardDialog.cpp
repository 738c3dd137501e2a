// The wizard's dialog procedure: the program's main loop. It answers exactly
// three messages; every other one gets the dialog manager's default.
#include "wizard/Wizard.h"

#include "wizard/DialogAppearance.h"
#include "wizard/Navigation.h"

INT_PTR CALLBACK WizardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return InitializeDialog(window);
    case WM_COMMAND:
        // Every command is taken as handled, the cancel command (Escape,
        // Alt+F4, the close box) included: the wizard is left only through
        // its own buttons.
        OnCommand(window, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
        return FALSE;
    }
}
