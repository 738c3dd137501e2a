// The wizard dialog's initialisation in this process: the fonts built from
// the font resources, which controls get which font, the icons, and the
// colours the static controls ask for.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/RunState.h"
#include "wizard/ControlIds.h"
#include "wizard/DialogAppearance.h"

namespace {

INT_PTR CALLBACK InitOnlyProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) return InitializeDialog(window);
    return FALSE;
}

class DialogFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        RunState.EditBackgroundBrush = CreateSolidBrush(RGB(255, 255, 255));
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, InitOnlyProc, 0);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        DeleteObject(RunState.NormalFont);
        DeleteObject(RunState.LinkFont);
        DeleteObject(RunState.EditBackgroundBrush);
        RunState.NormalFont = RunState.LinkFont = nullptr;
        RunState.EditBackgroundBrush = nullptr;
    }
    HFONT FontOf(int id) {
        return reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(dialog_, id), WM_GETFONT, 0, 0));
    }
    HWND dialog_ = nullptr;
};

TEST_F(DialogFontsTest, NinePointsAt96DotsPerInchAskForMinus12) {
    HDC dc = GetWindowDC(dialog_);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(dialog_, dc);
    ASSERT_EQ(dpi, 96) << "the test display runs at 96 pixels per inch";
    EXPECT_EQ(DialogFontHeight(dialog_), 12);

    LOGFONTA normal{}, link{};
    ASSERT_TRUE(GetObjectA(RunState.NormalFont, sizeof normal, &normal));
    ASSERT_TRUE(GetObjectA(RunState.LinkFont, sizeof link, &link));
    EXPECT_EQ(normal.lfHeight, -12) << "asked for by character height";
    EXPECT_EQ(normal.lfWidth, 0);
    EXPECT_EQ(normal.lfWeight, FW_DONTCARE);
    EXPECT_FALSE(normal.lfItalic);
    EXPECT_FALSE(normal.lfUnderline);
    EXPECT_FALSE(normal.lfStrikeOut);
    EXPECT_EQ(normal.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(normal.lfOutPrecision, OUT_CHARACTER_PRECIS);
    EXPECT_STREQ(normal.lfFaceName, "Arial");
    EXPECT_EQ(link.lfHeight, -12);
    EXPECT_TRUE(link.lfUnderline) << "the link font is underlined";
    EXPECT_STREQ(link.lfFaceName, "Arial");
}

TEST_F(DialogFontsTest, EachControlGetsItsFont) {
    // (The dialog is sent the font too, but the dialog manager keeps
    // reporting its template font for the dialog itself.)
    const int normal[] = {IdNext, IdBack, IdFrame, IdBackupBox, IdSkipDifferingBox, IdSkipMissingBox,
                          IdShowReportBox, IdBrowse, IdFolderBox, IdTextBox, IdMailCaption, IdNameCaption,
                          IdLowerNote, IdNotice, IdAgree, IdDisagree, IdWebCaption};
    for (int id : normal) EXPECT_EQ(FontOf(id), RunState.NormalFont) << "control " << id;
    for (int id : {IdNameText, IdMailLink, IdWebLink})
        EXPECT_EQ(FontOf(id), RunState.LinkFont) << "control " << id << " is underlined";
    for (int id : {IdProgressBar, IdSideImage}) {
        EXPECT_NE(FontOf(id), RunState.NormalFont) << "control " << id << " gets no font";
        EXPECT_NE(FontOf(id), RunState.LinkFont) << "control " << id << " gets no font";
    }
}

TEST_F(DialogFontsTest, InitialisationRecordsWindowsAndIcons) {
    EXPECT_EQ(RunState.DialogWindow, dialog_);
    EXPECT_EQ(RunState.WebLinkWindow, GetDlgItem(dialog_, IdWebLink));
    RECT frame{};
    GetWindowRect(GetDlgItem(dialog_, IdSideImage), &frame);
    EXPECT_TRUE(EqualRect(&frame, &RunState.SideImageRect)) << "the side image's window rectangle";
    HICON big = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0));
    HICON small = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(big, nullptr) << "icon group 105 as the big icon";
    ASSERT_NE(small, nullptr) << "icon group 105 as the small icon";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(small, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON)) << "the small image, not a shrunk big one";
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST_F(DialogFontsTest, ColoursOfTheStaticControls) {
    HDC dc = CreateCompatibleDC(nullptr);
    struct Case { int id; HBRUSH brush; bool link; const char* what; };
    const Case cases[] = {
        {IdTextBox, RunState.EditBackgroundBrush, false, "the text box is white"},
        {IdMailLink, GetSysColorBrush(COLOR_BTNFACE), true, "mail link: dark blue on the button face"},
        {IdWebLink, GetSysColorBrush(COLOR_BTNFACE), true, "web link: dark blue on the button face"},
        {IdSideImage, GetSysColorBrush(COLOR_BTNFACE), false, "side image frame: button face"},
        {IdNotice, nullptr, false, "other statics: the default colours"},
        {IdNameText, nullptr, false, "the name text: the default colours"},
    };
    for (const Case& c : cases) {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        EXPECT_EQ(OnCtlColorStatic(dc, GetDlgItem(dialog_, c.id)), c.brush) << c.what;
        EXPECT_EQ(GetTextColor(dc), c.link ? RGB(0, 0, 170) : RGB(1, 2, 3)) << c.what;
        EXPECT_EQ(GetBkColor(dc), c.link ? GetSysColor(COLOR_BTNFACE) : RGB(4, 5, 6)) << c.what;
    }
    DeleteDC(dc);
}

}  // namespace
