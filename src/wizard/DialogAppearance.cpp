#include "wizard/DialogAppearance.h"

#include "core/Resources.h"
#include "core/ResourceIds.h"
#include "core/RunState.h"
#include "core/SingleRun.h"
#include "wizard/ControlIds.h"
#include "wizard/Pages.h"

INT_PTR InitializeDialog(HWND window) {
    SetDialogIcons(window, kWizardIconId, kWizardIconId);
    RunState.DialogWindow = window;
    MarkWizardWindow(window);  // found by a second start, which brings it to the front
    EnterIntroductionPage();
    SetFixedLabels();
    // Fonts are asked for by character height, hence the minus sign.
    CreateDialogFonts(window, ResourceText(ResFontFace), -DialogFontHeight(window));
    RunState.WebLinkWindow = GetDlgItem(window, IdWebLink);
    GetWindowRect(GetDlgItem(window, IdSideImage), &RunState.SideImageRect);
    LoadOptionStates();
    LoadSideImage(RunState.SideImagePath);
    return 1;
}

void SetDialogIcons(HWND window, int bigIconId, int smallIconId) {
    // The executable's own icon group, in the sizes the system shows: the
    // 32 x 32 image in the task switcher and the 16 x 16 one in the caption.
    HINSTANCE module = GetModuleHandleA(nullptr);
    HANDLE big = LoadImageA(module, MAKEINTRESOURCEA(bigIconId), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                            GetSystemMetrics(SM_CYICON), LR_SHARED);
    HANDLE small = LoadImageA(module, MAKEINTRESOURCEA(smallIconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                              GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}
