// What the wizard puts up around its work: the busy cursor while the check
// and the processing run (and gone again before the check's error box), and
// the brand image on the maker credits page (and the patch's own image again
// when Back leaves that page).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/RunState.h"
#include "support/PassSetup.h"
#include "support/TestFiles.h"
#include "wizard/DialogAppearance.h"
#include "wizard/Navigation.h"
#include "wizard/Pages.h"

namespace {

// ---- the busy cursor -----------------------------------------------------------

// The dialog's class cursor each time a pass moves its progress bar, and when
// a message box comes up.
std::vector<HCURSOR> cursorsDuringPass;
HCURSOR cursorUnderBox = nullptr;
bool boxShown = false;
WNDPROC progressProc = nullptr;
HHOOK boxHook = nullptr;

HCURSOR DialogCursor() {
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(RunState.DialogWindow, GCLP_HCURSOR));
}

LRESULT CALLBACK ProgressSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) cursorsDuringPass.push_back(DialogCursor());
    return CallWindowProcA(progressProc, window, message, wParam, lParam);
}

// Answers the check's error box with OK once it is up.
LRESULT CALLBACK BoxWatcher(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !boxShown) {
        boxShown = true;
        cursorUnderBox = DialogCursor();
        PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

class BusyCursorTest : public ::testing::Test {
protected:
    BusyCursorTest() : scratch_("busy cursor"), state_(scratch_.Path()) {}

    void SetUp() override {
        HWND progress = GetDlgItem(window_.Window(), 1024);
        progressProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProgressSpy)));
        cursorsDuringPass.clear();
        cursorUnderBox = nullptr;
        boxShown = false;
        RunState.BusyCursorPath = nullptr;  // the system's busy cursor
        RunState.BackupOption = 0;
        RunState.CurrentPage = 6;
        normal_ = DialogCursor();
        ASSERT_NE(normal_, busy_);
    }
    void TearDown() override {
        if (boxHook) UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }

    void WriteScript(const std::string& entry) {
        WriteTestFile(scratch_ / "Setup.ini", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nDir=" + ResolvedScratch() +
                                                  "\r\n" + entry);
    }
    std::string ResolvedScratch() const { return scratch_.Path().substr(0, scratch_.Path().size() - 1); }

    ScratchFolder scratch_;
    PassState state_;
    PassWindow window_;
    HCURSOR normal_ = nullptr;
    HCURSOR busy_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT
};

TEST_F(BusyCursorTest, ShownWhileTheCheckAndTheProcessingRunAndRestoredAfterwards) {
    WriteScript("FILE=gone.txt\r\nAct=4\r\n");
    EnterVerificationPage(false);
    ASSERT_FALSE(cursorsDuringPass.empty()) << "the check moved no progress bar";
    for (HCURSOR cursor : cursorsDuringPass) EXPECT_EQ(cursor, busy_) << "during the check";
    EXPECT_EQ(DialogCursor(), normal_) << "after the check";

    cursorsDuringPass.clear();
    RunState.CurrentPage = 7;
    EnterProcessingPage();
    ASSERT_FALSE(cursorsDuringPass.empty()) << "the processing moved no progress bar";
    for (HCURSOR cursor : cursorsDuringPass) EXPECT_EQ(cursor, busy_) << "during the processing";
    EXPECT_EQ(DialogCursor(), normal_) << "after the processing";
}

TEST_F(BusyCursorTest, RestoredBeforeTheCheckShowsItsErrorBox) {
    WriteScript("FILE=missing.txt\r\nAct=2\r\nCRC=1\r\n");
    boxHook = SetWindowsHookExA(WH_CBT, BoxWatcher, nullptr, GetCurrentThreadId());
    ASSERT_NE(boxHook, nullptr);
    EnterVerificationPage(false);
    ASSERT_TRUE(boxShown) << "the check did not fail";
    ASSERT_FALSE(cursorsDuringPass.empty());
    EXPECT_EQ(cursorsDuringPass.front(), busy_) << "during the check";
    EXPECT_EQ(cursorUnderBox, normal_) << "the busy cursor was still up under the error box";
    EXPECT_EQ(RunState.CurrentPage, 5) << "OK leads back to the folder page";
}

// ---- the brand image -----------------------------------------------------------

// A 4 x 4 bitmap of one colour, 24 bits a pixel.
std::string PlainBitmap(unsigned char blue, unsigned char green, unsigned char red) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = 4;
    info.biHeight = 4;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::string pixels;
    for (int i = 0; i < 16; ++i) pixels += {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
           std::string(reinterpret_cast<const char*>(&info), sizeof info) + pixels;
}

// The colour of the first pixel of the side image the dialog now draws.
std::string SideImageColour() {
    if (!RunState.SideImageBits) return "none";
    const auto* bits = static_cast<const unsigned char*>(RunState.SideImageBits);
    return std::to_string(bits[2]) + "," + std::to_string(bits[1]) + "," + std::to_string(bits[0]);
}

class BrandImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        RunState.DialogWindow = window_;
        RunState.SideImagePath = NewPathBuffer();
        RunState.BrandImagePath = NewPathBuffer();
        std::strcpy(RunState.SideImagePath, (scratch_ / "Setup.img").c_str());
        std::strcpy(RunState.BrandImagePath, (scratch_ / "Zuli.img").c_str());
        WriteTestFile(RunState.SideImagePath, PlainBitmap(0, 0, 200));   // red: the patch's own
        WriteTestFile(RunState.BrandImagePath, PlainBitmap(0, 200, 0));  // green: the brand
        std::memset(RunState.PageTable, 1, sizeof RunState.PageTable);
        RunState.CreditsSeen = 0;
        LoadSideImage(RunState.SideImagePath);
        ASSERT_EQ(SideImageColour(), "200,0,0");
    }
    void TearDown() override {
        RunState.SideImageData.reset();
        RunState.SideImageInfo = nullptr;
        RunState.SideImageBits = nullptr;
        std::free(RunState.SideImagePath);
        std::free(RunState.BrandImagePath);
        RunState.SideImagePath = RunState.BrandImagePath = nullptr;
        std::memset(RunState.PageTable, 0, sizeof RunState.PageTable);
        RunState.DialogWindow = nullptr;
        DestroyWindow(window_);
    }

    ScratchFolder scratch_{"brand image"};
    HWND window_ = nullptr;
};

TEST_F(BrandImageTest, MakerCreditsShowTheBrandImageAndBackLeavesIt) {
    RunState.CurrentPage = 10;
    GoNext();
    ASSERT_EQ(RunState.CurrentPage, 11);
    EXPECT_EQ(SideImageColour(), "0,200,0") << "the maker credits show the brand image";

    // Back from the maker credits is there only with both work pages off.
    RunState.PageTable[6] = RunState.PageTable[7] = 0;
    GoBack();
    ASSERT_EQ(RunState.CurrentPage, 10);
    EXPECT_EQ(SideImageColour(), "200,0,0") << "the patch's own image is back";
}

TEST_F(BrandImageTest, ReachingTheFinishFirstShowsTheCreditsWithTheBrandImage) {
    RunState.PageTable[11] = 0;  // the credits are shown once all the same
    RunState.CurrentPage = 10;
    GoNext();
    ASSERT_EQ(RunState.CurrentPage, 11);
    EXPECT_EQ(SideImageColour(), "0,200,0");
}

}  // namespace
