// The wizard dialog as built: its template in the runtime executable, and
// the real dialog on screen under Wine (ids, classes, positions, styles,
// visibility at start, icons, and the colours it paints).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "harness/E2eFixture.h"
#include "support/TestFiles.h"

namespace {

// Dialog procedure of the measuring copy of the template: it does nothing.
INT_PTR CALLBACK IgnoreEveryMessage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

enum : std::uint16_t { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kProgress = 0 };

struct ControlRow {
    int id;
    std::uint16_t atom;  // 0: the progress bar, named by its class name
    const char* windowClass;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

// The dialog's controls in template (tab) order.
const ControlRow kControls[] = {
    {IdNext, kButton, "Button", 263, 181, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IdBack, kButton, "Button", 206, 181, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IdSideImage, kStatic, "Static", 3, 7, 83, 191,
     WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE, WS_EX_CLIENTEDGE},
    {IdTextBox, kEdit, "Edit", 94, 7, 219, 164,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL |
         ES_READONLY,
     0},
    {IdAgree, kButton, "Button", 104, 173, 86, 11, WS_CHILD | BS_AUTORADIOBUTTON, 0},
    {IdDisagree, kButton, "Button", 104, 184, 86, 11, WS_CHILD | BS_AUTORADIOBUTTON, 0},
    {IdFrame, kButton, "Button", 94, 7, 220, 164, WS_CHILD | BS_GROUPBOX, WS_EX_TRANSPARENT},
    {IdBackupBox, kButton, "Button", 105, 22, 197, 11, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {IdSkipDifferingBox, kButton, "Button", 105, 50, 197, 11, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0},
    {IdSkipMissingBox, kButton, "Button", 105, 78, 197, 11, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0},
    {IdNotice, kStatic, "Static", 105, 19, 197, 53, WS_CHILD | WS_GROUP | SS_LEFT | SS_NOPREFIX, WS_EX_TRANSPARENT},
    {IdFolderBox, kEdit, "Edit", 105, 77, 146, 12, WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {IdBrowse, kButton, "Button", 256, 77, 50, 14, WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IdLowerNote, kStatic, "Static", 105, 99, 198, 58, WS_CHILD | WS_GROUP | SS_LEFT, WS_EX_TRANSPARENT},
    {IdProgressBar, kProgress, "msctls_progress32", 105, 77, 198, 10, WS_CHILD | WS_DISABLED | WS_BORDER, 0},
    {IdShowReportBox, kButton, "Button", 105, 106, 197, 11, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, WS_EX_TRANSPARENT},
    {IdNameCaption, kStatic, "Static", 105, 99, 40, 12, WS_CHILD | WS_GROUP | SS_LEFT, 0},
    {IdMailCaption, kStatic, "Static", 105, 123, 40, 12, WS_CHILD | WS_GROUP | SS_LEFT, 0},
    {IdWebCaption, kStatic, "Static", 105, 140, 40, 12, WS_CHILD | WS_GROUP | SS_LEFT, 0},
    {IdNameText, kStatic, "Static", 145, 99, 148, 13, WS_CHILD | WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
     WS_EX_TRANSPARENT},
    {IdMailLink, kStatic, "Static", 145, 123, 148, 10, WS_CHILD | WS_GROUP | SS_LEFT | SS_NOTIFY | SS_SUNKEN, 0},
    {IdWebLink, kStatic, "Static", 145, 140, 148, 10, WS_CHILD | WS_GROUP | SS_LEFT | SS_NOTIFY | SS_SUNKEN, 0},
};
constexpr int kControlCount = sizeof kControls / sizeof kControls[0];
constexpr DWORD kDialogStyle =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_SETFONT;

// Reads a dialog template (DLGTEMPLATEEX) as stored in a module.
class TemplateReader {
public:
    TemplateReader(const unsigned char* data, std::size_t size) : p_(data), end_(data + size) {}
    bool Ok() const { return ok_; }
    std::uint16_t U16() {
        Align(2);
        if (end_ - p_ < 2) return Fail();
        std::uint16_t v = static_cast<std::uint16_t>(p_[0] | p_[1] << 8);
        p_ += 2;
        return v;
    }
    std::uint32_t U32() {
        std::uint32_t low = U16();
        return low | static_cast<std::uint32_t>(U16()) << 16;
    }
    std::uint8_t U8() {
        if (end_ - p_ < 1) return static_cast<std::uint8_t>(Fail());
        return *p_++;
    }
    // A name or ordinal field: the ordinal, or 0 and the name in `name`.
    std::uint16_t NameOrOrdinal(std::string* name) {
        std::uint16_t first = U16();
        name->clear();
        if (first == 0xFFFF) return U16();
        for (std::uint16_t c = first; c != 0 && ok_; c = U16()) *name += static_cast<char>(c);
        return 0;
    }
    void Align(std::size_t n) {
        while (ok_ && reinterpret_cast<std::uintptr_t>(p_) % n) ++p_;
    }
    void Skip(std::size_t n) {
        if (static_cast<std::size_t>(end_ - p_) < n) Fail();
        else p_ += n;
    }

private:
    std::uint16_t Fail() {
        ok_ = false;
        p_ = end_;
        return 0;
    }
    const unsigned char* p_;
    const unsigned char* end_;
    bool ok_ = true;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

TEST(DialogTemplate, TheRuntimeCarriesTemplate101AsSpecified) {
    std::string exe = std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << exe;
    HRSRC item = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(101),
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_NE(item, nullptr) << "no language-neutral dialog 101";
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, item)));
    TemplateReader t(data, SizeofResource(module, item));
    EXPECT_EQ(t.U16(), 1) << "dialog version";
    EXPECT_EQ(t.U16(), 0xFFFF) << "an extended template";
    t.U32();  // help id
    EXPECT_EQ(t.U32(), 0u) << "extended style";
    EXPECT_EQ(t.U32(), kDialogStyle) << "dialog style";
    EXPECT_EQ(t.U16(), kControlCount) << "control count";
    EXPECT_EQ(t.U16(), 0);
    EXPECT_EQ(t.U16(), 0);
    EXPECT_EQ(t.U16(), 321) << "width";
    EXPECT_EQ(t.U16(), 202) << "height";
    std::string name;
    EXPECT_EQ(t.NameOrOrdinal(&name), 0);
    EXPECT_EQ(name, "") << "no menu";
    EXPECT_EQ(t.NameOrOrdinal(&name), 0);
    EXPECT_EQ(name, "") << "the default dialog class";
    t.NameOrOrdinal(&name);  // caption, never seen
    EXPECT_EQ(t.U16(), 8) << "font size";
    EXPECT_EQ(t.U16(), 0) << "font weight";
    EXPECT_EQ(t.U8(), 0) << "not italic";
    EXPECT_EQ(t.U8(), 1) << "character set";
    t.NameOrOrdinal(&name);
    EXPECT_EQ(name, "MS Sans Serif");

    for (const ControlRow& row : kControls) {
        t.Align(4);
        t.U32();  // help id
        EXPECT_EQ(t.U32(), row.exStyle) << "extended style of " << row.id;
        EXPECT_EQ(t.U32(), row.style) << "style of " << row.id;
        EXPECT_EQ(t.U16(), row.x) << "x of " << row.id;
        EXPECT_EQ(t.U16(), row.y) << "y of " << row.id;
        EXPECT_EQ(t.U16(), row.cx) << "width of " << row.id;
        EXPECT_EQ(t.U16(), row.cy) << "height of " << row.id;
        EXPECT_EQ(t.U32(), static_cast<std::uint32_t>(row.id)) << "id in template order";
        std::uint16_t atom = t.NameOrOrdinal(&name);
        EXPECT_EQ(atom, row.atom) << "class of " << row.id;
        if (!row.atom) {
            EXPECT_EQ(Lower(name), Lower(row.windowClass)) << "class of " << row.id;
        }
        t.NameOrOrdinal(&name);  // placeholder text
        std::uint16_t extra = t.U16();
        t.Skip(extra);
    }
    EXPECT_TRUE(t.Ok()) << "the template ended early";

    // Icon group 105 with a 16 x 16 and a 32 x 32 image of 16 colours.
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(105), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(group, nullptr) << "no icon group 105";
    const auto* dir = static_cast<const unsigned char*>(LockResource(LoadResource(module, group)));
    ASSERT_EQ(dir[4] | dir[5] << 8, 2) << "two images";
    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        const unsigned char* entry = dir + 6 + 14 * i;
        sizes.push_back(entry[0]);
        EXPECT_EQ(entry[6] | entry[7] << 8, 4) << "bits per pixel of image " << i;
    }
    EXPECT_TRUE((sizes == std::vector<int>{16, 32}) || (sizes == std::vector<int>{32, 16}));
    FreeLibrary(module);
}

// A solid 8-bit side image, so that its colour can be found on screen.
std::string SolidSideImage(COLORREF colour) {
    const int width = 120, height = 306;
    std::string b(1078 + static_cast<std::size_t>(width) * height, '\x01');
    std::memset(&b[0], 0, 1078);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 1078);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    b[26] = 1;
    b[28] = 8;
    put32(58, GetBValue(colour) | GetGValue(colour) << 8 | GetRValue(colour) << 16);  // colour 1
    return b;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

class DialogLayoutE2e : public WizardE2e {};

TEST_F(DialogLayoutE2e, TheRealDialogMatchesItsTemplate) {
    const COLORREF kImageColour = RGB(0, 128, 128);
    PatchProject project("dialog layout");
    AddPresenceOnlyPatch(project);
    project.AddFile("Setup.img", SolidSideImage(kImageColour));
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();

    // The same template in this process gives the conversion of dialog
    // units to pixels for the dialog's font.
    std::string exe = std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    InitCommonControls();
    HWND units = CreateDialogParamA(module, MAKEINTRESOURCEA(101), nullptr,
                                    IgnoreEveryMessage, 0);
    ASSERT_NE(units, nullptr);
    ShowWindow(units, SW_HIDE);

    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)) &
                  (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX))
        << "a fixed-size popup with a caption, system menu and minimise box";
    RECT size{0, 0, 321, 202};
    MapDialogRect(units, &size);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, size.right) << "client width of 321 dialog units";
    EXPECT_EQ(client.bottom, size.bottom) << "client height of 202 dialog units";

    HWND previous = nullptr;
    for (const ControlRow& row : kControls) {
        HWND control = GetDlgItem(dialog, row.id);
        ASSERT_NE(control, nullptr) << "control " << row.id;
        EXPECT_EQ(Lower(ClassNameOf(control)), Lower(row.windowClass)) << "class of " << row.id;
        // Template order is the order of the child windows.
        EXPECT_EQ(GetWindow(control, GW_HWNDPREV), previous) << row.id << " out of template order";
        previous = control;

        // The dialog manager converts position and size each on its own.
        RECT expected{row.x, row.y, row.cx, row.cy};
        MapDialogRect(units, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT actual{};
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << "left of " << row.id;
        EXPECT_EQ(actual.top, expected.top) << "top of " << row.id;
        EXPECT_EQ(actual.right, expected.right) << "right of " << row.id;
        EXPECT_EQ(actual.bottom, expected.bottom) << "bottom of " << row.id;

        // Page 1 shows exactly what the template shows.
        EXPECT_EQ(IsWindowVisible(control) != 0, (row.style & WS_VISIBLE) != 0) << "visibility of " << row.id;
        EXPECT_EQ(GetWindowLongPtrA(control, GWL_ID), row.id);
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
        const DWORD kept = WS_DISABLED | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
        EXPECT_EQ(style & kept, row.style & kept) << "window styles of " << row.id;
        // The dialog manager gives bordered edits a sunken edge instead, and
        // the progress bar draws its own frame.
        if (row.atom == kEdit) {
            bool bordered = (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE);
            EXPECT_EQ(bordered, (row.style & WS_BORDER) != 0) << "border of " << row.id;
        } else if (row.atom != kProgress) {
            EXPECT_EQ(style & WS_BORDER, row.style & WS_BORDER) << "border of " << row.id;
        }
        EXPECT_EQ(exStyle & WS_EX_TRANSPARENT, row.exStyle & WS_EX_TRANSPARENT) << "transparency of " << row.id;
        if (row.exStyle & WS_EX_CLIENTEDGE) {
            EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE) << "client edge of " << row.id;
        }
    }
    EXPECT_EQ(GetDlgItem(dialog, 2), nullptr) << "there is no control with id 2";
    DestroyWindow(units);
    FreeLibrary(module);

    // Colours on screen: the side image fills its frame, the text box is white.
    SetForegroundWindow(dialog);
    run.Idle();
    HWND image = GetDlgItem(dialog, IdSideImage);
    RECT imageClient{};
    GetClientRect(image, &imageClient);
    EXPECT_EQ(ScreenPixel(image, 1, 1), kImageColour) << "side image, top left";
    EXPECT_EQ(ScreenPixel(image, imageClient.right - 1, imageClient.bottom - 1), kImageColour)
        << "side image, bottom right";
    HWND text = GetDlgItem(dialog, IdTextBox);
    RECT textClient{};
    GetClientRect(text, &textClient);
    EXPECT_EQ(ScreenPixel(text, textClient.right / 2, textClient.bottom - 3), RGB(255, 255, 255))
        << "the text box is white";

    EXPECT_EQ(run.PressToExit(IdBack), 1602) << "Cancel on page 1 ends the wizard, cancelled by the user";
}

}  // namespace
