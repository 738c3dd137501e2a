// The hand-off to the uninstaller: keys written into the working Setup.ini,
// "Uninstaller.exe /I" run in the working folder and waited for, and the
// dialog's pending messages dispatched afterwards; whether the patch may go
// on after it, for an uninstaller of the author's own and for the backup
// companion. The uninstaller is the test child uninstaller_probe.exe, copied
// in as "Uninstaller.exe".
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "actions/Handoff.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunOptions.h"
#include "core/RunState.h"
#include "support/CabinetFixture.h"
#include "support/TestFiles.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;
int probeMessagesSeen = 0;

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) ++probeMessagesSeen;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateCountingWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CountingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZuliHandoffTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowA("ZuliHandoffTestWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Message boxes the hand-off puts up on this thread: each is recorded and
// answered with OK as soon as it is activated, so that none can hold a test.
struct ShownBox {
    std::string caption;
    std::string text;
};
std::vector<ShownBox> boxesShown;
HHOOK boxHook = nullptr;

LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[16] = {};
    if (code == HCBT_ACTIVATE && GetClassNameA(window, className, sizeof className) &&
        std::strcmp(className, "#32770") == 0) {
        char caption[256] = {}, text[1024] = {};
        GetWindowTextA(window, caption, sizeof caption);
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);  // the message box's text control
        boxesShown.push_back({caption, text});
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
}

class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.WorkFolder = NewPathBuffer();
        lstrcpynA(RunState.WorkFolder, work_.Path().c_str(), kPathBufferSize);
        script_ = work_ / "Setup.ini";
        RunState.ScriptReader.SetFile(script_.c_str());
        RunState.ScriptReader.SetSection("Setup");
        window_ = CreateCountingWindow();
        ASSERT_NE(window_, nullptr);
        RunState.DialogWindow = window_;
        probeMessagesSeen = 0;
        RunOptions.Mode = RunMode::Interactive;
        MarkCompanion(false);
    }
    void TearDown() override {
        if (boxHook) UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
        MarkCompanion(false);
        RunOptions.Mode = RunMode::Interactive;
        DestroyWindow(window_);
        RunState.DialogWindow = nullptr;
        RunState.EntryPaths = nullptr;
        RunState.EntryCount = 0;
        RunState.ScriptReader.Clear();
        std::free(RunState.WorkFolder);
        RunState.WorkFolder = nullptr;
    }

    // The run's cabinet lists these names, as if it had unpacked them.
    void ServeCabinetListing(const std::vector<std::string>& names) {
        std::vector<std::pair<std::string, std::string>> files;
        for (const std::string& name : names) files.emplace_back(name, "x");
        std::string cabinet = MakeStoredCabinet(files);
        ASSERT_TRUE(SetPlainResource(ResPayloadCabinet, cabinet.data(), cabinet.size()));
    }

    // Resource 26, as the builder stores it for a patch with the backup
    // companion; empty, it reads as absent.
    static void MarkCompanion(bool marked) {
        ASSERT_TRUE(SetPlainResource(ResBackupCompanion, "\1", marked ? 1 : 0));
    }

    // The uninstaller as the run's cabinet carried it.
    void InstallUninstaller() {
        ServeCabinetListing({"Setup.ini", "Uninstaller.exe"});
        PlantUninstaller();
    }
    void PlantUninstaller() {
        ASSERT_TRUE(CopyFileA((ExecutableFolder() + "uninstaller_probe.exe").c_str(),
                              (work_ / "Uninstaller.exe").c_str(), FALSE));
    }

    // Points EntryPaths at `paths` (slot 0 unused, as in the run state).
    void SetEntries(const std::vector<std::string>& paths) {
        entries_.assign(paths.begin(), paths.end());
        slots_.assign(1, nullptr);
        for (std::string& path : entries_) slots_.push_back(&path[0]);
        RunState.EntryPaths = slots_.data();
        RunState.EntryCount = static_cast<uint32_t>(paths.size());
    }

    std::string Key(const char* section, const char* key) const {
        char value[512] = {};
        GetPrivateProfileStringA(section, key, "(missing)", value, sizeof value, script_.c_str());
        return value;
    }

    std::vector<std::string> SectionNames() const {
        char names[2048] = {};
        DWORD length = GetPrivateProfileSectionNamesA(names, sizeof names, script_.c_str());
        std::vector<std::string> list;
        for (const char* p = names; p < names + length && *p; p += std::strlen(p) + 1) list.push_back(p);
        return list;
    }

    std::string Record() const { return ReadTestFile(work_ / "uninstaller.txt"); }

    static std::string CurrentSection() {
        HeapText section = RunState.ScriptReader.CopySectionName();
        return section ? section.get() : "(none)";
    }

    ScratchFolder work_{"handoff"};
    std::string script_;
    HWND window_ = nullptr;
    std::vector<std::string> entries_;
    std::vector<char*> slots_;
};

}  // namespace

TEST_F(HandOff, WritesEveryEntryAndRunsTheUninstallerBeforeReturning) {
    WriteTestFile(script_, "[Setup]\r\nProcCount=3\r\n[Proc1]\r\nFILE=a.dll\r\n[Proc2]\r\nFILE=b.exe\r\n"
                           "[Proc3]\r\nFILE=c.txt\r\n");
    InstallUninstaller();
    SetEntries({"C:\\Game\\a.dll", "C:\\Game\\b.exe**", "D:\\Other Place\\c.txt"});
    PostMessageA(window_, kProbeMessage, 0, 0);

    EXPECT_EQ(HandOffToUninstaller(), 1);

    // The record exists as soon as the call returns: the uninstaller was
    // waited for, and it saw the keys, so they were written before it ran.
    EXPECT_EQ(Record(), "command=Uninstaller.exe /I\n"
                        "HWND=" + HandleText(window_) + "\n"
                        "Proc1=C:\\Game\\a.dll\n"
                        "Proc2=C:\\Game\\b.exe**\n"
                        "Proc3=D:\\Other Place\\c.txt\n");
    EXPECT_EQ(Key("Proc2", "ExpandName"), "C:\\Game\\b.exe**") << "the skip mark is handed over";
    EXPECT_EQ(Key("Proc1", "FILE"), "a.dll") << "the script's own keys stay";
    EXPECT_EQ(Key("Setup", "ProcCount"), "3");
    EXPECT_EQ(probeMessagesSeen, 1) << "messages that piled up are dispatched at the end";
    EXPECT_EQ(CurrentSection(), "Proc3") << "the reader stays on the last section written";
}

TEST_F(HandOff, WithoutEntriesOnlyHwndIsWrittenAndTheUninstallerStillRuns) {
    WriteTestFile(script_, "[Setup]\r\nProcCount=0\r\n");
    InstallUninstaller();
    SetEntries({});

    EXPECT_EQ(HandOffToUninstaller(), 1);

    EXPECT_EQ(Record(), "command=Uninstaller.exe /I\nHWND=" + HandleText(window_) + "\n");
    EXPECT_EQ(SectionNames(), std::vector<std::string>{"Setup"});
    EXPECT_EQ(CurrentSection(), "Setup");
}

TEST_F(HandOff, KeysAlreadyPresentAreOverwritten) {
    WriteTestFile(script_, "[Setup]\r\nHWND=12345\r\n[Proc1]\r\nExpandName=C:\\stale\\old.dll\r\n"
                           "[Proc2]\r\nExpandName=C:\\stale\\two.dll\r\n");
    InstallUninstaller();
    SetEntries({"C:\\fresh\\new.dll"});

    EXPECT_EQ(HandOffToUninstaller(), 1);

    EXPECT_EQ(Key("Setup", "HWND"), HandleText(window_));
    EXPECT_EQ(Key("Proc1", "ExpandName"), "C:\\fresh\\new.dll");
    EXPECT_EQ(Record(), "command=Uninstaller.exe /I\n"
                        "HWND=" + HandleText(window_) + "\n"
                        "Proc1=C:\\fresh\\new.dll\n"
                        "Proc2=C:\\stale\\two.dll\n")
        << "keys beyond the entries are not the hand-off's to touch";
}

TEST_F(HandOff, WindowHandleIsWrittenAsSignedDecimal) {
    struct Case {
        uintptr_t handle;
        const char* expected;
    } cases[] = {
        {0x0001002Au, "65578"},
        {0xFFFF1234u, "-60876"},
        {0x80000000u, "-2147483648"},
    };
    for (const Case& c : cases) {
        WriteTestFile(script_, "[Setup]\r\n");
        RunState.DialogWindow = reinterpret_cast<HWND>(c.handle);
        EXPECT_EQ(HandOffToUninstaller(), 1);
        EXPECT_EQ(Key("Setup", "HWND"), c.expected) << "handle " << c.handle;
    }
}

// A program that merely sits in the working folder under the uninstaller's
// name, put there by someone else, is never started: only the one the run's
// own cabinet carried.
TEST_F(HandOff, AnUninstallerTheCabinetDidNotCarryIsNeverRun) {
    struct Case {
        const char* what;
        std::vector<std::string> listed;
        bool runs;
    } cases[] = {
        {"listed", {"Setup.ini", "Uninstaller.exe"}, true},
        {"listed in other letters", {"Setup.ini", "UNINSTALLER.EXE"}, true},
        {"not listed", {"Setup.ini", "Proc1"}, false},
        {"a longer name listed", {"Setup.ini", "Uninstaller.exe.bak"}, false},
    };
    for (const Case& c : cases) {
        WriteTestFile(script_, "[Setup]\r\nProcCount=0\r\n");
        DeleteFileA((work_ / "uninstaller.txt").c_str());
        ServeCabinetListing(c.listed);
        PlantUninstaller();
        EXPECT_EQ(HandOffToUninstaller(), 1) << c.what;
        EXPECT_EQ(FileExists(work_ / "uninstaller.txt"), c.runs) << c.what;
        EXPECT_EQ(Key("Setup", "HWND"), HandleText(window_)) << c.what << ": the keys are written all the same";
    }
}

TEST_F(HandOff, MissingUninstallerIsNotAnError) {
    WriteTestFile(script_, "[Setup]\r\nProcCount=1\r\n");
    ServeCabinetListing({"Setup.ini", "Uninstaller.exe"});
    SetEntries({"C:\\Game\\a.dll"});
    PostMessageA(window_, kProbeMessage, 0, 0);

    EXPECT_EQ(HandOffToUninstaller(), 1);

    EXPECT_FALSE(FileExists(work_ / "uninstaller.txt"));
    EXPECT_EQ(Key("Setup", "HWND"), HandleText(window_));
    EXPECT_EQ(Key("Proc1", "ExpandName"), "C:\\Game\\a.dll");
    EXPECT_EQ(probeMessagesSeen, 1);
}

TEST_F(HandOff, OnlyTheBackupFailedExitCodeStopsThePatch) {
    // Uninstallers of the author's own exit with whatever they like; the
    // patch goes on after all of them but the one code that says the backup
    // could not be made.
    struct Case {
        int exitCode;
        int expected;
    } cases[] = {{0, 1}, {1, 1}, {2, 1}, {1602, 1}, {1604, 1}, {-1, 1}, {1603, 0}};
    InstallUninstaller();
    SetEntries({"C:\\Game\\a.dll"});
    for (const Case& c : cases) {
        WriteTestFile(script_, "[Setup]\r\nProcCount=1\r\n[Probe]\r\nExitCode=" + std::to_string(c.exitCode) + "\r\n");
        EXPECT_EQ(HandOffToUninstaller(), c.expected) << "exit code " << c.exitCode;
        EXPECT_EQ(Key("Setup", "Unattended"), "(missing)") << "the interactive wizard does not ask for silence";
    }
}

// A patch built with the backup companion (resource 26) promises a backup:
// whatever keeps the companion from saying "made" (exit code 0 and the
// folder written back as [Backup] Made=) stops the patch before any change,
// logged, and in the wizard shown, unless the companion has shown it itself
// (1603). An uninstaller of the author's own, in a patch without the mark,
// stops the patch only with 1603, as it always has.
TEST_F(HandOff, APatchWithTheCompanionGoesOnOnlyOnceTheBackupIsMade) {
    enum class Uninstaller { Runs, NotCarried, FileMissing };
    struct Case {
        const char* what;
        bool marked;
        Uninstaller uninstaller;
        const char* exitCode;  // [Probe] ExitCode
        const char* made;      // [Probe] Made ("": none written)
        RunMode mode;
        // Expected
        int result;
        const char* logged;  // a line of the log
        bool boxShown;
    } cases[] = {
        {"own: not carried", false, Uninstaller::NotCarried, "0", "", RunMode::Interactive, 1,
         "Uninstaller.exe /I: not run, exit code 0 (0x0)", false},
        {"own: cannot be started", false, Uninstaller::FileMissing, "0", "", RunMode::Interactive, 1,
         "Uninstaller.exe /I: not run, exit code 0 (0x0)", false},
        {"own: crashed", false, Uninstaller::Runs, "0xC0000005", "", RunMode::Interactive, 1,
         "Uninstaller.exe /I: ran, exit code 3221225477 (0xC0000005)", false},
        {"own: exit code 1", false, Uninstaller::Runs, "1", "", RunMode::Quiet, 1,
         "Uninstaller.exe /I: ran, exit code 1 (0x1)", false},
        {"own: exit code 1603", false, Uninstaller::Runs, "1603", "", RunMode::Interactive, 0,
         "Backup failed: nothing was changed", false},
        {"companion: not carried", true, Uninstaller::NotCarried, "0", "", RunMode::Interactive, 0,
         "Uninstaller.exe /I: not run, exit code 0 (0x0)", true},
        {"companion: cannot be started", true, Uninstaller::FileMissing, "0", "", RunMode::Interactive, 0,
         "Uninstaller.exe /I: not run, exit code 0 (0x0)", true},
        {"companion: crashed", true, Uninstaller::Runs, "0xC0000005", "", RunMode::Interactive, 0,
         "Uninstaller.exe /I: ran, exit code 3221225477 (0xC0000005)", true},
        {"companion: crashed in a quiet run", true, Uninstaller::Runs, "0xC0000005", "", RunMode::Quiet, 0,
         "Backup failed: nothing was changed", false},
        {"companion: exit code 1, folder written", true, Uninstaller::Runs, "1", "C:\\Backups\\Demo",
         RunMode::Interactive, 0, "Backup failed: nothing was changed", true},
        {"companion: exit code 1603, its own message shown", true, Uninstaller::Runs, "1603", "",
         RunMode::Interactive, 0, "Backup failed: nothing was changed", false},
        {"companion: exit code 0 without a folder", true, Uninstaller::Runs, "0", "", RunMode::Passive, 0,
         "Backup failed: nothing was changed", false},
        {"companion: made", true, Uninstaller::Runs, "0", "C:\\Backups\\Demo", RunMode::Interactive, 1,
         "Backup: made in C:\\Backups\\Demo", false},
        {"companion: made in a passive run", true, Uninstaller::Runs, "0", "C:\\Backups\\Demo", RunMode::Passive,
         1, "Backup: made in C:\\Backups\\Demo", false},
    };
    const char kTitle[] = "Handoff Test Patch";
    ASSERT_TRUE(SetPlainResource(ResPatchTitle, kTitle, sizeof kTitle));
    boxHook = SetWindowsHookExA(WH_CBT, AnswerBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(boxHook, nullptr);
    ScratchFolder logs("handoff logs");
    SetEntries({"C:\\Game\\a.dll"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTestFile(script_, std::string("[Setup]\r\nProcCount=1\r\n[Probe]\r\nExitCode=") + c.exitCode +
                                   "\r\nMade=" + c.made + "\r\n[Backup]\r\nFolder=Zuli Backups\\Demo\r\n");
        DeleteFileA((work_ / "uninstaller.txt").c_str());
        DeleteFileA((work_ / "Uninstaller.exe").c_str());
        ServeCabinetListing({"Setup.ini", c.uninstaller == Uninstaller::NotCarried ? "Proc1" : "Uninstaller.exe"});
        if (c.uninstaller != Uninstaller::FileMissing) PlantUninstaller();
        MarkCompanion(c.marked);
        RunOptions.Mode = c.mode;
        boxesShown.clear();
        const uint32_t failuresBefore = FailedActionCount();
        const std::string log = logs / (std::to_string(&c - cases) + ".log");
        ASSERT_TRUE(OpenRunLog(log.c_str()));

        EXPECT_EQ(HandOffToUninstaller(), c.result);

        CloseRunLog(0);
        const std::string logged = ReadTestFile(log);
        EXPECT_NE(logged.find(std::string(c.logged) + "\r\n"), std::string::npos) << logged;
        EXPECT_EQ(logged.find("Backup failed") != std::string::npos, c.result == 0) << logged;
        EXPECT_EQ(logged.find("Backup: made") != std::string::npos, c.marked && c.result == 1) << logged;
        EXPECT_EQ(FailedActionCount() - failuresBefore, c.result == 0 ? 1u : 0u) << "failures counted for the exit code";
        EXPECT_EQ(FileExists(work_ / "uninstaller.txt"), c.uninstaller == Uninstaller::Runs)
            << "the uninstaller ran or not";
        ASSERT_EQ(boxesShown.size(), c.boxShown ? 1u : 0u);
        if (c.boxShown) {
            EXPECT_EQ(boxesShown[0].caption, kTitle);
            EXPECT_EQ(boxesShown[0].text, "Backup failed: nothing was changed");
        }
    }
}
