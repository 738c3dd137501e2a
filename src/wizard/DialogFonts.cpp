#include <cstring>

#include "core/Resources.h"
#include "core/ResourceIds.h"
#include "core/RunState.h"
#include "wizard/ControlIds.h"
#include "wizard/DialogAppearance.h"

namespace {

// Controls in the order they get the normal font, after the dialog itself.
const int kNormalFontControls[] = {
    IdNext, IdBack, IdFrame, IdBackupBox, IdSkipDifferingBox, IdSkipMissingBox, IdShowReportBox,
    IdBrowse, IdFolderBox, IdTextBox, IdMailCaption, IdNameCaption, IdLowerNote, IdNotice,
    IdAgree, IdDisagree, IdWebCaption,
};
// The name text and both links are underlined.
const int kLinkFontControls[] = {IdNameText, IdMailLink, IdWebLink};

HFONT NewFont(const char* face, int height, DWORD underline) {
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_CHARACTER_PRECIS, 0, 0, 0, face);
}

void SetFont(HWND window, HFONT font) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

}  // namespace

int DialogFontHeight(HWND window) {
    unsigned pointSize = 0;
    if (const void* data = LoadResourceData(ResFontPointSize); data && ResourceSize(ResFontPointSize) >= 2) {
        unsigned char bytes[2];
        std::memcpy(bytes, data, 2);
        pointSize = bytes[0] | bytes[1] << 8u;
    }
    HDC dc = GetWindowDC(window);
    int height = MulDiv(static_cast<int>(pointSize), GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(window, dc);
    return height;
}

void CreateDialogFonts(HWND window, const char* faceName, int height) {
    RunState.NormalFont = NewFont(faceName, height, FALSE);
    RunState.LinkFont = NewFont(faceName, height, TRUE);
    SetFont(window, RunState.NormalFont);
    for (int id : kNormalFontControls) SetFont(GetDlgItem(window, id), RunState.NormalFont);
    for (int id : kLinkFontControls) SetFont(GetDlgItem(window, id), RunState.LinkFont);
}
