#include "core/RunState.h"
#include "wizard/ControlIds.h"
#include "wizard/DialogAppearance.h"

HBRUSH OnCtlColorStatic(HDC dc, HWND control) {
    switch (GetDlgCtrlID(control)) {
    case IdTextBox:  // read-only edits ask for their colours here
        return RunState.EditBackgroundBrush;
    case IdMailLink:
    case IdWebLink:
        SetTextColor(dc, RGB(0, 0, 170));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    case IdSideImage:
        // The control has no bitmap of its own: the image is drawn whenever
        // the control asks for its colours, that is whenever it is painted.
        DrawSideImage(dc);
        return GetSysColorBrush(COLOR_BTNFACE);
    default:
        return nullptr;  // the dialog manager's default colours
    }
}
