// The patch as deployment tools run it: /quiet and /passive with the
// patch's default options, /dir=, /log=, bad switches, and the exit codes.
#include "harness/E2eFixture.h"
#include "harness/UnattendedRun.h"

#include "core/AdministratorToken.h"
#include "core/SingleRun.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

class UnattendedE2e : public WizardE2e {
protected:
    void SetUp() override {
        WizardE2e::SetUp();
        logs_ = std::make_unique<ScratchFolder>("zuli e2e logs");
    }
    std::string LogPath() const { return logs_->Path() + "run.log"; }
    std::string LogSwitch() const { return "/log=" + Quoted(LogPath()); }
    std::string Log() const { return ReadTestFile(LogPath()); }

    std::string BuildOrFail(PatchProject& project) {
        std::string exe = project.Build();
        EXPECT_FALSE(exe.empty()) << "zulibuild failed:\n" << project.BuildLog();
        return exe;
    }

    // Nothing of the full patch happened: files and registry as installed.
    void ExpectApplicationUntouched() {
        EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld());
        EXPECT_EQ(ReadTestFile(App() + "obsolete.txt"), "no longer needed");
        EXPECT_EQ(ReadTestFile(App() + "settings.ini"), AppFiles::Settings());
        EXPECT_TRUE(FileExists(App() + "old.txt"));
        EXPECT_FALSE(FileExists(App() + "plugins\\new.dll"));
        EXPECT_FALSE(FileExists(App() + "tool.exe"));
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Patched"));
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Gone"));
    }

    std::unique_ptr<ScratchFolder> logs_;
};

// A one-entry script on the application's settings file, in the folder the
// entry's "Dir" names.
void AddSettingsPatch(PatchProject& project, const std::string& dir) {
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFILE=settings.ini\r\nAct=5\r\nDir=" + dir +
                                     "\r\nCount=1\r\nINIKey1=Main,Version,3\r\n");
}

// Two entries: the settings file in the folder `dir` names, then a run
// entry whose program ("waiter.exe", beside it) waits until the test sets
// the event "ZuliRunEntryChildRelease": the patch stays in its processing
// pass until then.
void AddPatchHeldAtARunEntry(PatchProject& project, const std::string& dir) {
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=2\r\n[Proc1]\r\nFILE=settings.ini\r\nAct=5\r\nDir=" + dir +
                                     "\r\nCount=1\r\nINIKey1=Main,Version,3\r\n"
                                     "[Proc2]\r\nFILE=waiter.exe\r\nAct=0\r\nDir=Pre\r\n");
    project.AddFile("Proc2", ReadTestFile(ExecutableFolder() + "run_entry_child.exe"));
}

std::string SettingsVersion(const std::string& folder) {
    char value[32] = {};
    GetPrivateProfileStringA("Main", "Version", "", value, sizeof value, (folder + "settings.ini").c_str());
    return value;
}

}  // namespace

TEST_F(UnattendedE2e, QuietAppliesThePatchWithoutAWindowAndLogsEveryFile) {
    PatchProject project("quiet full");
    AddFullPatch(project);
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());

    UnattendedResult run = RunUnattended(exe, "/QUIET " + LogSwitch());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.windowsSeen, "") << "/quiet shows no window";
    ExpectSessionGone();
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew());
    EXPECT_EQ(ReadTestFile(App() + "data.bin"), AppFiles::DataNew());
    EXPECT_EQ(ReadTestFile(App() + "plugins\\new.dll"), AppFiles::Plugin());
    EXPECT_FALSE(FileExists(App() + "obsolete.txt"));
    EXPECT_EQ(ReadTestFile(App() + "renamed.txt"), "a file that gets a new name");
    EXPECT_EQ(SettingsVersion(App()), "2");
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Moved\\Child"));

    std::string log = Log();
    std::string dir = Dir();
    for (const char* file : {"core.dll", "data.bin", "plugins\\new.dll", "obsolete.txt", "settings.ini", "old.txt",
                             "readme.txt", "tool.exe"}) {
        EXPECT_NE(log.find("Check "), std::string::npos);
        EXPECT_NE(log.find(dir + "\\" + file), std::string::npos) << file << " is not in the log:\n" << log;
    }
    char crc[16];
    wsprintfA(crc, "%08X", Crc32Of(AppFiles::CoreOld()));
    EXPECT_NE(log.find("Check 1: " + dir + "\\core.dll: CRC found " + crc + ", expected " + crc + ": passed"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Action 2 (XOR-delta update): " + dir + "\\core.dll: done"), std::string::npos) << log;
    EXPECT_NE(log.find("Registry sections: done"), std::string::npos) << log;
    EXPECT_NE(log.find("Registry RenReg 2: HKCU,Software\\ZuliE2E\\Moving,\"\",1,1,Moved: done"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Patch: R1"), std::string::npos) << log;
    EXPECT_NE(log.find("/QUIET"), std::string::npos) << "the command line is logged";
    EXPECT_NE(log.find("Started "), std::string::npos);
    EXPECT_NE(log.find("Ended "), std::string::npos);
    EXPECT_NE(log.find("Restart pending: no"), std::string::npos);
    EXPECT_NE(log.find("Exit code: 0"), std::string::npos) << log;
}

TEST_F(UnattendedE2e, QuietWithADifferingFileFailsBeforeAnyChange) {
    PatchProject project("quiet differs");
    AddFullPatch(project);
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    WriteTestFile(App() + "data.bin", "somebody else's data");

    UnattendedResult run = RunUnattended(exe, "-quiet " + LogSwitch());
    EXPECT_EQ(run.exitCode, 1603);
    EXPECT_EQ(run.windowsSeen, "") << "a failed check asks nobody";
    ExpectSessionGone();
    ExpectApplicationUntouched();
    EXPECT_EQ(ReadTestFile(App() + "data.bin"), "somebody else's data");
    std::string log = Log();
    EXPECT_NE(log.find("Check 2: " + Dir() + "\\data.bin: CRC found "), std::string::npos) << log;
    EXPECT_NE(log.find("Check failed:"), std::string::npos) << log;
    EXPECT_NE(log.find("Exit code: 1603"), std::string::npos) << log;
}

TEST_F(UnattendedE2e, QuietWithSkipDifferingByDefaultLeavesOnlyThatFileAlone) {
    PatchProject project("quiet skips");
    AddFullPatch(project);
    project.SetOptionDefaults("010");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    WriteTestFile(App() + "data.bin", "somebody else's data");

    UnattendedResult run = RunUnattended(exe, "/quiet " + LogSwitch());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadTestFile(App() + "data.bin"), "somebody else's data") << "the check allowed only a skip";
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew());
    EXPECT_NE(Log().find("Action 3 (byte-pattern patch): " + Dir() + "\\data.bin**: skipped"), std::string::npos) << Log();
}

TEST_F(UnattendedE2e, QuietWithADeferredReplacementExitsRestartRequired) {
    PatchProject project("quiet deferred");
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n"
                                 "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDelay=1\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" +
                                     SignedDecimal(Crc32Of(AppFiles::CoreOld())) + "\r\n");
    project.AddFile("Proc1", XorDeltaPayload(AppFiles::CoreOld(), AppFiles::CoreNew()));
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());

    UnattendedResult run = RunUnattended(exe, "/quiet /norestart " + LogSwitch());
    EXPECT_EQ(run.exitCode, 3010);
    EXPECT_EQ(run.windowsSeen, "") << "no restart question";
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld()) << "the target waits for the restart";
    EXPECT_NE(PendingRenames().find("core.dll"), std::string::npos);
    EXPECT_NE(Log().find("Restart pending: yes"), std::string::npos) << Log();
    EXPECT_NE(Log().find("Exit code: 3010"), std::string::npos) << Log();
}

TEST_F(UnattendedE2e, DirAnswersTheFolderQuestionAndWithoutItTheRunFails) {
    PatchProject project("quiet ask");
    project.SetPageTable("11111011111111");  // no folder page: only "Ask" asks
    AddSettingsPatch(project, "Ask");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());

    UnattendedResult unanswered = RunUnattended(exe, "/quiet " + LogSwitch());
    EXPECT_EQ(unanswered.exitCode, 1603);
    EXPECT_EQ(unanswered.windowsSeen, "") << "the folder question is not put to anybody";
    EXPECT_EQ(SettingsVersion(App()), "1");
    EXPECT_NE(Log().find("/dir=FOLDER"), std::string::npos) << Log();
    ExpectSessionGone();

    UnattendedResult answered = RunUnattended(exe, "/quiet /dir=" + Quoted(Dir()));
    EXPECT_EQ(answered.exitCode, 0);
    EXPECT_EQ(SettingsVersion(App()), "3");
}

TEST_F(UnattendedE2e, PassiveShowsItsProgressAndDirIsTheFolderPagesFolder) {
    PatchProject project("passive dir");
    // Entry 1: the folder page would show the Windows folder; /dir= replaces
    // it. Entry 2 holds the patch, so the progress window can be seen while
    // the patch works.
    AddPatchHeldAtARunEntry(project, "Win");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "ZuliRunEntryChildRelease");
    ASSERT_NE(release, nullptr);

    DrivenProgram program;
    ASSERT_TRUE(program.Start(Quoted(exe) + " /passive /DIR=" + Quoted(Dir())));
    // The patch waits for its run entry and answers no messages meanwhile:
    // the title is read the way that sends none.
    HWND window = nullptr;
    WaitUntil([&] {
        for (HWND top : program.TopWindows()) {
            char title[64] = {};
            GetWindowTextA(top, title, sizeof title);
            if (std::string(title) == "R1") window = top;
        }
        return window != nullptr;
    });
    EXPECT_NE(window, nullptr) << "/passive shows a window titled with the patch";
    EXPECT_TRUE(window && ControlVisible(window, 1024)) << "with a progress bar";
    SetEvent(release);
    EXPECT_EQ(program.WaitForExit(), 0);
    CloseHandle(release);
    EXPECT_EQ(SettingsVersion(App()), "3");
    EXPECT_TRUE(FileExists(App() + "waiter.exe.done")) << "entry 2 ran in the /dir= folder";
    ExpectSessionGone();
}

TEST_F(UnattendedE2e, QuietOwnsNoWindowAtAllWhileItPatches) {
    PatchProject project("quiet no window");
    // Entry 1 asks for its folder (answered by /dir=); entry 2 holds the
    // patch in its processing pass until the test has looked.
    AddPatchHeldAtARunEntry(project, "Ask");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "ZuliRunEntryChildRelease");
    ASSERT_NE(release, nullptr);

    DrivenProgram program;
    ASSERT_TRUE(program.Start(Quoted(exe) + " /quiet /dir=" + Quoted(Dir()) + " " + LogSwitch()));
    // The run entry's program is in place: the patch is in its processing
    // pass, and waits there for the program to end.
    EXPECT_TRUE(WaitUntil([&] { return FileExists(App() + "waiter.exe") || !program.Running(); }));
    EXPECT_TRUE(program.Running()) << "the patch ended before its run entry";
    std::string owned;
    for (HWND window : program.OwnedWindows()) owned += "[" + ClassNameOf(window) + "]";
    EXPECT_EQ(owned, "") << "/quiet owns windows while it patches";
    SetEvent(release);
    EXPECT_EQ(program.WaitForExit(), 0) << Log();
    CloseHandle(release);
    EXPECT_EQ(SettingsVersion(App()), "3") << "the folder question was answered by /dir=";
    EXPECT_TRUE(FileExists(App() + "waiter.exe.done"));
    ExpectSessionGone();
}

TEST_F(UnattendedE2e, ABadSwitchExitsWithoutDoingAnything) {
    PatchProject project("bad switch");
    AddSettingsPatch(project, "Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());

    UnattendedResult quiet = RunUnattended(exe, "/quiet /S " + LogSwitch());
    EXPECT_EQ(quiet.exitCode, 87);
    EXPECT_EQ(quiet.windowsSeen, "");
    EXPECT_NE(Log().find("Unknown switch: /S"), std::string::npos) << Log();
    EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << "nothing is unpacked for a bad command line";
    EXPECT_EQ(SettingsVersion(App()), "1");

    // Interactive: a message box names the switch.
    DrivenProgram program;
    ASSERT_TRUE(program.Start(Quoted(exe) + " /norestart /Frobnicate"));
    HWND box = program.WaitForWindow("#32770", "R1");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("Unknown switch: /Frobnicate"), std::string::npos) << MessageBoxText(box);
    ASSERT_TRUE(PressButton(box, IDOK));
    EXPECT_EQ(program.WaitForExit(), 87);
    EXPECT_EQ(SettingsVersion(App()), "1");
}

TEST_F(UnattendedE2e, AnUnclosedQuoteOrARelativeFolderIsABadCommandLineEvenUnattended) {
    PatchProject project("bad quote");
    AddSettingsPatch(project, "Ask");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    // The log named without blanks or quotes, which would pair with the
    // quote left open.
    char logs[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(logs_->Path().c_str(), logs, sizeof logs), 0u);
    ASSERT_EQ(std::string(logs).find_first_of(" \""), std::string::npos) << logs;
    struct Case {
        std::string arguments;
        const char* logged;
    } cases[] = {
        // The quote after "App\" is never closed: it once took the rest of
        // the line for the folder, /quiet and /log= with it.
        {"/dir=C:\\App\\\" /quiet /log=" + std::string(logs) + "run.log", "Unknown switch: /dir=C:\\App\\\"\r\n"},
        {"/quiet /dir=App " + LogSwitch(), "Unknown switch: /dir=App\r\n"},
        {"/passive /dir=..\\App " + LogSwitch(), "Unknown switch: /dir=..\\App\r\n"},
    };
    for (const Case& c : cases) {
        DeleteFileA(LogPath().c_str());
        UnattendedResult run = RunUnattended(exe, c.arguments);
        EXPECT_EQ(run.exitCode, 87) << c.arguments;
        EXPECT_EQ(run.windowsSeen, "") << c.arguments;
        EXPECT_NE(Log().find(c.logged), std::string::npos) << c.arguments << "\n" << Log();
        EXPECT_NE(Log().find("Exit code: 87"), std::string::npos) << c.arguments << "\n" << Log();
        EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << c.arguments;
        EXPECT_EQ(SettingsVersion(App()), "1") << c.arguments;
    }
}

TEST_F(UnattendedE2e, ALogThatCannotBeOpenedIsABadCommandLineAndAMissingFolderIsMade) {
    PatchProject project("log refused");
    AddSettingsPatch(project, "Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    // A second name of somebody else's file: the run would append to it.
    const std::string precious = logs_->Path() + "precious.txt";
    WriteTestFile(precious, "not a log");
    const std::string hardLink = logs_->Path() + "hard.log";
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), precious.c_str(), nullptr)) << GetLastError();
    for (const std::string& log : {hardLink, logs_->Path()}) {  // a second name, a folder
        UnattendedResult run = RunUnattended(exe, "/quiet /log=" + Quoted(log));
        EXPECT_EQ(run.exitCode, 87) << log;
        EXPECT_EQ(run.windowsSeen, "") << log;
        EXPECT_EQ(ReadTestFile(precious), "not a log") << log;
        EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << log;
        EXPECT_EQ(SettingsVersion(App()), "1") << log;
    }
    // Interactive: a message box says so.
    DrivenProgram program;
    ASSERT_TRUE(program.Start(Quoted(exe) + " /log=" + Quoted(hardLink)));
    HWND box = program.WaitForWindow("#32770", "R1");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("Cannot open the log: " + hardLink), std::string::npos) << MessageBoxText(box);
    ASSERT_TRUE(PressButton(box, IDOK));
    EXPECT_EQ(program.WaitForExit(), 87);
    EXPECT_EQ(ReadTestFile(precious), "not a log");

    const std::string log = logs_->Path() + "deploy\\2026\\patch.log";
    UnattendedResult run = RunUnattended(exe, "/quiet /log=" + Quoted(log));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(SettingsVersion(App()), "3");
    EXPECT_NE(ReadTestFile(log).find("Exit code: 0"), std::string::npos) << ReadTestFile(log);
}

TEST_F(UnattendedE2e, UsageUnattendedShowsNoBoxAndGoesToTheLog) {
    PatchProject project("usage quiet");
    AddSettingsPatch(project, "Win");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    for (const char* mode : {"/quiet", "/passive"}) {
        DeleteFileA(LogPath().c_str());
        UnattendedResult run = RunUnattended(exe, std::string(mode) + " /? " + LogSwitch());
        EXPECT_EQ(run.exitCode, 0) << mode;
        EXPECT_EQ(run.windowsSeen, "") << mode << ": nobody is there to close a box";
        const std::string log = Log();
        for (const char* expected : {"Usage:", "/dir=FOLDER", "/log=FILE", "3010", "Exit code: 0"})
            EXPECT_NE(log.find(expected), std::string::npos) << mode << ": " << expected << " missing from:\n" << log;
        EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << mode;
    }
    // Without a log, it ends all the same, silently.
    UnattendedResult silent = RunUnattended(exe, "/quiet /?");
    EXPECT_EQ(silent.exitCode, 0);
    EXPECT_EQ(silent.windowsSeen, "");
}

TEST_F(UnattendedE2e, UsageBoxListsTheSwitchesAndExitCodes) {
    PatchProject project("usage");
    AddSettingsPatch(project, "Win");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    DrivenProgram program;
    ASSERT_TRUE(program.Start(Quoted(exe) + " /?"));
    HWND box = program.WaitForWindow("#32770", "R1");
    ASSERT_NE(box, nullptr);
    std::string text = MessageBoxText(box);
    for (const char* expected : {"/quiet", "/passive", "/dir=FOLDER", "/log=FILE", "/norestart", "/forcerestart",
                                 "3010", "1602", "1603", "1618", "87"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing from:\n" << text;
    ASSERT_TRUE(PressButton(box, IDOK));
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_FALSE(FolderExists(ZuliWorkFolder()));
}

TEST_F(UnattendedE2e, InteractiveRunsLogTooAndReportFailedEntries) {
    PatchProject project("interactive log");
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFILE=obsolete.txt\r\nAct=4\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());
    // Held open without sharing: the delete fails.
    HANDLE held = CreateFileA((App() + "obsolete.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    WizardRun run;
    ASSERT_TRUE(run.Start(exe, LogSwitch()));
    ASSERT_TRUE(run.WalkTo(ResMakerCaption));
    EXPECT_EQ(run.PressToExit(1), 1603) << "an entry failed";
    CloseHandle(held);
    std::string log = Log();
    EXPECT_NE(log.find("Action 4 (delete): " + Dir() + "\\obsolete.txt: FAILED, error 32: "), std::string::npos) << log;
    EXPECT_NE(log.find("Exit code: 1603"), std::string::npos) << log;
}

TEST_F(UnattendedE2e, ASecondRunWhileOneIsInProgressExitsAnotherRunInProgress) {
    PatchProject project("second run");
    AddSettingsPatch(project, "Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path");
    std::string exe = BuildOrFail(project);
    ASSERT_FALSE(exe.empty());

    WizardRun first;
    ASSERT_TRUE(first.Start(exe));
    UnattendedResult second = RunUnattended(exe, "/quiet " + LogSwitch());
    EXPECT_EQ(second.exitCode, 1618);
    EXPECT_EQ(SettingsVersion(App()), "1");
    EXPECT_NE(Log().find("Exit code: 1618"), std::string::npos) << Log();
    // The log names the lock that held it up: the first name of the plan of
    // a run with this test's rights. Wine 8 has no private namespaces: an
    // administrator's run, as Wine's are, takes the global name there, and
    // the log says that the namespace's could not be had.
    const bool privateNamespaces = SystemNamespaceCalls().createBoundary != nullptr;
    const bool administrator = RunsAsAdministrator();
    const std::string held = PlanRunLock(administrator).names[administrator && !privateNamespaces ? 1 : 0];
    EXPECT_NE(Log().find("Run lock held by another patch or restore: " + held + "\r\n"), std::string::npos)
        << Log();
    const bool skipped = administrator && !privateNamespaces;
    EXPECT_EQ(Log().find("Run lock Zuli\\ZuliPatchRun unusable, error 127\r\n") != std::string::npos, skipped)
        << Log();
    EXPECT_EQ(Log().find(" unusable, error ") != std::string::npos, skipped) << Log();
    EXPECT_TRUE(first.Program().Running()) << "the first run goes on";
    EXPECT_EQ(first.PressToExit(2000), 1602);
}
