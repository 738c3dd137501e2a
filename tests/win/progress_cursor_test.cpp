// The progress bar of the work pages and the class-cursor swap.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/RunState.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "wizard/Progress.h"

namespace {

HWND NewWindowOfClass(const char* className, HCURSOR cursor) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    wc.hCursor = cursor;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HCURSOR ClassCursor(HWND window) {
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR));
}

TEST(Progress, RangeStepAndPosition) {
    InitCommonControls();
    HWND parent = NewWindowOfClass("ZuliProgressParent", nullptr);
    ASSERT_NE(parent, nullptr);
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 0, 100, 10, parent,
                               reinterpret_cast<HMENU>(1024), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);

    for (int count : {0, 1, 7, 70000}) {
        SetProgressRange(parent, 1024, 0, count);
        EXPECT_EQ(RunState.ProgressBarWindow, bar);
        PBRANGE range{};
        SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(range.iLow, 0) << count << " entries";
        EXPECT_EQ(range.iHigh, count) << count << " entries (a 32-bit range, not 16-bit)";
        // The step is 1: stepping once from the position moves it by one.
        SendMessageA(bar, PBM_SETPOS, 0, 0);
        SendMessageA(bar, PBM_STEPIT, 0, 0);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), count ? 1 : 0) << count << " entries";
        for (int i = 1; i <= count && i <= 3; ++i) {
            SetProgressPosition(i);
            EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), i) << "entry " << i << " of " << count;
        }
    }
    SetProgressRange(parent, 1024, 0, 70000);
    SetProgressPosition(69999);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 69999);
    DestroyWindow(parent);
}

namespace {

// The bar shows at most one position per thirtieth of a second.
constexpr DWORD kPaceMs = 33;

// Counts the positions set on the bar: each one repaints it.
WNDPROC g_barProc;
int g_positionsSet;

LRESULT CALLBACK CountingBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) ++g_positionsSet;
    return CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

}  // namespace

// A pass over many quick entries repaints the bar a few times, not once per
// entry, and still ends with the bar at the last entry; an entry reached
// after the pace has passed is shown at once.
TEST(Progress, EntriesArePacedAndTheLastOneIsShown) {
    InitCommonControls();
    HWND parent = NewWindowOfClass("ZuliPacedProgressParent", nullptr);
    ASSERT_NE(parent, nullptr);
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 0, 100, 10, parent,
                               reinterpret_cast<HMENU>(1024), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    g_barProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingBarProc)));
    constexpr int kEntries = 5000;
    SetProgressRange(parent, 1024, 0, kEntries);

    g_positionsSet = 0;
    const DWORD start = GetTickCount();
    for (int n = 1; n <= kEntries; ++n) ShowEntryProgress(static_cast<uint32_t>(n));
    const DWORD elapsed = GetTickCount() - start;
    FlushEntryProgress();
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), kEntries);
    // At most one position per thirtieth of a second, the first and the last.
    EXPECT_LE(g_positionsSet, static_cast<int>(elapsed / kPaceMs) + 2) << "in " << elapsed << " ms";

    // Nothing waits after the flush: a second flush sets nothing.
    g_positionsSet = 0;
    FlushEntryProgress();
    EXPECT_EQ(g_positionsSet, 0);

    // An entry that comes after the pace is shown when it is reached: once
    // the clock has moved a thirtieth of a second past the last position
    // shown (by the flush, before `flushed` was read).
    const DWORD flushed = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return GetTickCount() - flushed > kPaceMs; }, 10000));
    ShowEntryProgress(7);
    EXPECT_EQ(g_positionsSet, 1);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 7);
    DestroyWindow(parent);
}

// A 32 x 32 monochrome cursor file with its hot spot at (5, 6).
std::string CursorFile() {
    std::string file;
    auto put16 = [&](unsigned v) { file += static_cast<char>(v & 255); file += static_cast<char>(v >> 8); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    const unsigned imageSize = 40 + 8 + 32 * 4 * 2;
    put16(0); put16(2); put16(1);                        // cursor directory, one image
    file += static_cast<char>(32); file += static_cast<char>(32);
    file += '\0'; file += '\0';
    put16(5); put16(6); put32(imageSize); put32(6 + 16);  // hot spot, size, offset
    put32(40); put32(32); put32(64); put16(1); put16(1);  // header: 32 x (2 x 32), 1 bit
    for (int i = 0; i < 6; ++i) put32(0);
    put32(0); put32(0x00FFFFFF);                         // black, white
    for (int i = 0; i < 32; ++i) put32(0x0000FFFF);      // XOR image
    for (int i = 0; i < 32; ++i) put32(0xFFFF0000);      // AND mask
    return file;
}

class ClassCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        arrow_ = LoadCursorA(nullptr, IDC_ARROW);
        dialog_ = NewWindowOfClass("ZuliCursorDialog", arrow_);
        label_ = NewWindowOfClass("ZuliCursorLabel", arrow_);
        ASSERT_TRUE(dialog_ && label_);
        // The classes outlive each test: start every test from the arrow.
        SetClassLongPtrA(dialog_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(arrow_));
        SetClassLongPtrA(label_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(arrow_));
        RunState.DialogWindow = dialog_;
        RunState.PreviousCursor = nullptr;
        RunState.FileCursor = nullptr;
    }
    void TearDown() override {
        RestoreClassCursor();
        DestroyWindow(dialog_);
        DestroyWindow(label_);
        RunState.DialogWindow = nullptr;
    }
    HCURSOR arrow_ = nullptr;
    HWND dialog_ = nullptr;
    HWND label_ = nullptr;
};

TEST_F(ClassCursorTest, SystemCursorsWhenNoFileIsGiven) {
    struct Case { HWND* window; LPCSTR system; const char* what; };
    const Case cases[] = {
        {&dialog_, IDC_WAIT, "the dialog gets the wait cursor"},
        {&label_, IDC_HAND, "any other window gets the hand cursor"},
    };
    for (const Case& c : cases) {
        HWND window = *c.window;
        EXPECT_EQ(SetClassCursor(window, nullptr), arrow_) << c.what << ": the replaced cursor comes back";
        EXPECT_EQ(ClassCursor(window), LoadCursorA(nullptr, c.system)) << c.what;
        EXPECT_EQ(RunState.CursorWindow, window);
        RestoreClassCursor();
        EXPECT_EQ(ClassCursor(window), arrow_) << c.what << ": restored";
        EXPECT_EQ(RunState.PreviousCursor, nullptr);
    }
}

TEST_F(ClassCursorTest, CursorFromAFile) {
    ScratchFolder scratch("cursor");
    WriteTestFile(scratch / "busy.cur", CursorFile());
    SetClassCursor(dialog_, (scratch / "busy.cur").c_str());
    HCURSOR loaded = ClassCursor(dialog_);
    ASSERT_NE(loaded, nullptr) << "the cursor file was not loaded";
    EXPECT_NE(loaded, LoadCursorA(nullptr, IDC_WAIT));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(loaded, &info));
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 6u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(dialog_), arrow_);
}

// A cursor handle still stands for a cursor (not destroyed).
bool CursorAlive(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

TEST_F(ClassCursorTest, AFileCursorIsDestroyedOnceReplacedAndSystemCursorsNever) {
    ScratchFolder scratch("cursor release");
    const std::string file = scratch / "link.cur";
    WriteTestFile(file, CursorFile());
    // Both credit pages put up the link cursor: the second swap replaces the
    // first page's cursor, and the class's own arrow stays the one to restore.
    EXPECT_EQ(SetClassCursor(label_, file.c_str()), arrow_);
    HCURSOR first = ClassCursor(label_);
    ASSERT_TRUE(CursorAlive(first));
    EXPECT_EQ(SetClassCursor(label_, file.c_str()), arrow_);
    HCURSOR second = ClassCursor(label_);
    ASSERT_NE(second, first);
    EXPECT_FALSE(CursorAlive(first)) << "the replaced file cursor was not destroyed";
    EXPECT_TRUE(CursorAlive(second));
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(label_), arrow_);
    EXPECT_FALSE(CursorAlive(second)) << "the restored-over file cursor was not destroyed";

    // The busy cursor, put up and taken down on every pass, goes each time;
    // a system cursor in its place is shared and stays.
    for (int pass = 0; pass < 3; ++pass) {
        SetClassCursor(dialog_, file.c_str());
        HCURSOR busy = ClassCursor(dialog_);
        ASSERT_TRUE(CursorAlive(busy)) << "pass " << pass;
        RestoreClassCursor();
        EXPECT_EQ(ClassCursor(dialog_), arrow_);
        EXPECT_FALSE(CursorAlive(busy)) << "pass " << pass;
    }
    SetClassCursor(dialog_, file.c_str());
    HCURSOR busy = ClassCursor(dialog_);
    SetClassCursor(dialog_, nullptr);
    EXPECT_FALSE(CursorAlive(busy)) << "a file cursor replaced by the system cursor";
    SetClassCursor(dialog_, nullptr);
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(dialog_), arrow_);
    EXPECT_TRUE(CursorAlive(LoadCursorA(nullptr, IDC_WAIT))) << "a system cursor was destroyed";
    EXPECT_TRUE(CursorAlive(arrow_));
}

TEST_F(ClassCursorTest, AnUnloadableFileLeavesNoCursorUntilRestored) {
    SetClassCursor(dialog_, "C:\\no\\such\\cursor.ani");
    EXPECT_EQ(ClassCursor(dialog_), nullptr);
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(dialog_), arrow_);
}

TEST_F(ClassCursorTest, RestoringTwiceOrWithoutASwapChangesNothing) {
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(dialog_), arrow_);
    SetClassCursor(dialog_, nullptr);
    RestoreClassCursor();
    // The second restore must not put a stale cursor back.
    SetClassLongPtrA(dialog_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_CROSS)));
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(dialog_), LoadCursorA(nullptr, IDC_CROSS));
}

TEST_F(ClassCursorTest, TheCursorBelongsToTheClassNotTheWindow) {
    HWND sibling = CreateWindowExA(0, "ZuliCursorDialog", "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(sibling, nullptr);
    SetClassCursor(dialog_, nullptr);
    EXPECT_EQ(ClassCursor(sibling), LoadCursorA(nullptr, IDC_WAIT));
    RestoreClassCursor();
    EXPECT_EQ(ClassCursor(sibling), arrow_);
    DestroyWindow(sibling);
}

}  // namespace
