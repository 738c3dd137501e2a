// Clicks made on Next while it is disabled, during the check: they do
// nothing, neither then nor once the check has passed and Next is enabled.
#include "harness/E2eFixture.h"

#include "script/FileCrc32.h"

namespace {

// A click with the real mouse, through the system's input queue, in the
// middle of `controlId`. The input is in the queue when this returns.
bool RealClick(HWND dialog, int controlId) {
    RECT rect{};
    if (!GetWindowRect(GetDlgItem(dialog, controlId), &rect)) return false;
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    INPUT input[3] = {};
    for (INPUT& one : input) one.type = INPUT_MOUSE;
    input[0].mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(3, input, sizeof(INPUT)) == 3;
}

// A target large enough that checking it many times takes seconds: a file
// of zeros that takes no room on disk.
void MakeLargeFile(const std::string& path, LONGLONG size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
}

}  // namespace

TEST_F(WizardE2e, AClickOnTheDisabledNextDuringTheCheckDoesNothing) {
    const std::string big = App() + "big.dat";
    MakeLargeFile(big, 256LL << 20);
    const int32_t crc = static_cast<int32_t>(FileCrc32(big.c_str()));
    // Every entry checks the same large file: the check reads it each time.
    const int kEntries = 16;
    std::string script = "[Setup]\r\nProcCount=" + std::to_string(kEntries) + "\r\n";
    for (int n = 1; n <= kEntries; ++n)
        script += "[Proc" + std::to_string(n) + "]\r\nFILE=big.dat\r\nAct=2\r\nDir=Reg\r\n"
                  "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" + std::to_string(crc) + "\r\n";
    PatchProject project("click during the check");
    project.AddFile("Setup.ini", script);
    for (int n = 1; n <= kEntries; ++n) project.AddFile("Proc" + std::to_string(n), "never applied");
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.NextTo(202) && run.NextTo(204) && run.Click(1002) && run.NextTo(208) && run.NextTo(217));

    // The real mouse reaches Next while it is enabled: this click starts the check.
    ASSERT_TRUE(RealClick(dialog, 1));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == PageTitle(223) && !ControlEnabled(dialog, 1); }))
        << "the real click was not taken";
    ASSERT_TRUE(RealClick(dialog, 1));
    ASSERT_TRUE(RealClick(dialog, 1));
    ASSERT_FALSE(ControlEnabled(dialog, 1))
        << "the check had ended before the clicks were made: the target must be larger for this test";

    ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, 1); }, 300000)) << "the check did not pass";
    ASSERT_TRUE(run.Idle());
    EXPECT_EQ(WindowText(dialog), PageTitle(223)) << "a click made during the check started the update";
    EXPECT_TRUE(ExpectPage(dialog, 6, PageState{false, false, true}));
}
