// Clicks made on Next while it is disabled, during the check: they do
// nothing, neither then nor once the check has passed and Next is enabled.
#include "harness/E2eFixture.h"

#include "script/FileCrc32.h"

#include <cstdio>

namespace {

// A click with the real mouse in the middle of `controlId`, made on the X
// display: Wine reads it from there only when the wizard next looks at its
// queue, as Windows matches queued input to a control only when it is taken.
// xdotool, a Unix program, is started straight from here (Wine runs it, but
// gives no handle to wait on): it leaves a file behind once the click has
// been sent.
bool RealClick(HWND dialog, int controlId) {
    static int clicks = 0;
    RECT rect{};
    if (!GetWindowRect(GetDlgItem(dialog, controlId), &rect)) return false;
    char done[100];
    std::snprintf(done, sizeof done, "/tmp/zuli-e2e-click-%lu-%d", GetCurrentProcessId(), ++clicks);
    char command[300];
    std::snprintf(command, sizeof command,
                  "Z:\\bin\\sh -c \"xdotool mousemove %ld %ld click 1 && touch %s\"",
                  (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, done);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!StartProcess(command, std::string(), false, 0, startup, started)) {
        ADD_FAILURE() << "sh could not be started";
        return false;
    }
    if (started.hThread) CloseHandle(started.hThread);
    if (started.hProcess) CloseHandle(started.hProcess);
    const std::string doneFile = std::string("Z:") + done;
    if (!WaitUntil([&] { return FileExists(doneFile); }, 30000)) {
        ADD_FAILURE() << "xdotool did not click (scripts/install-deps.sh installs it)";
        return false;
    }
    DeleteFileA(doneFile.c_str());
    return true;
}

// The window title as the system keeps it, read without a message to the
// wizard, which does not answer while it checks.
std::string TitleOf(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
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
    const int kEntries = 32;
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
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));

    // The real mouse reaches Next while it is enabled: this click starts the check.
    ASSERT_TRUE(RealClick(dialog, IdNext));
    ASSERT_TRUE(WaitUntil([&] {
        return TitleOf(dialog) == PageTitle(ResCheckCaption) && !ControlEnabled(dialog, IdNext);
    })) << "the real click was not taken";
    // Two clicks while the check runs (seconds here), each a press and release.
    ASSERT_TRUE(RealClick(dialog, IdNext));
    ASSERT_TRUE(RealClick(dialog, IdNext));
    ASSERT_FALSE(ControlEnabled(dialog, IdNext))
        << "the check had ended before the clicks were made: the target must be larger for this test";

    ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IdNext); }, 300000)) << "the check did not pass";
    ASSERT_TRUE(run.Idle());
    EXPECT_EQ(WindowText(dialog), PageTitle(ResCheckCaption)) << "a click made during the check started the update";
    EXPECT_TRUE(ExpectPage(dialog, 6, PageState{false, false, true}));
}
