// The options page end to end: the backup box decides whether the
// uninstaller is handed the entries before anything changes, and defaults
// of 1 tick their boxes and take effect without a click. The cabinet
// carries the test's uninstaller_probe as "Uninstaller.exe"; it records in
// the working folder what it was handed and, asked to by the script's
// [Probe] section, copies each handed file as it found it ("Proc<N>.seen").
#include "harness/E2eFixture.h"

namespace {

const char kReadmeNew[] = "read me, patched";

// Entry 1 replaces the readme (found through the registry); entry 2 expects
// a core.dll it will not find as it is; entry 3 renames a file that is not
// there.
void AddOptionsPatch(PatchProject& project) {
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=3\r\n"
                    "[Proc1]\r\nFILE=readme.txt\r\nAct=1\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n"
                    "[Proc2]\r\nFILE=core.dll\r\nAct=2\r\nDir=Pre\r\nCRC=12345\r\n"
                    "[Proc3]\r\nFILE=absent.txt\r\nAct=6\r\nDir=Pre\r\nNewName=x.txt\r\n"
                    "[Probe]\r\nSeen=1\r\n");
    project.AddFile("Proc1", kReadmeNew);
    project.AddFile("Proc2", "never applied");
    project.AddFile("Uninstaller.exe", ReadTestFile(ExecutableFolder() + "uninstaller_probe.exe"));
}

bool Ticked(HWND dialog, int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED; }

}  // namespace

class OptionsE2e : public WizardE2e {
protected:
    // What the uninstaller recorded in the working folder while the wizard
    // still runs (the folder goes at the end); empty when it never ran.
    std::string UninstallerRecord() { return ReadTestFile(ZuliWorkFolder() + "uninstaller.txt"); }
    std::string SeenByUninstaller(int entry) {
        return ReadTestFile(ZuliWorkFolder() + "Proc" + std::to_string(entry) + ".seen");
    }
    // The probe's files are none of the patch's own: they go before the
    // wizard ends, so that the run leaves nothing behind.
    void RemoveUninstallerTraces() {
        const std::string folder = ZuliWorkFolder();
        DeleteFileA((folder + "uninstaller.txt").c_str());
        for (int entry = 1; entry <= 3; ++entry)
            DeleteFileA((folder + "Proc" + std::to_string(entry) + ".seen").c_str());
    }
};

TEST_F(OptionsE2e, BackupBoxDecidesWhetherTheUninstallerRunsBeforeProcessing) {
    ASSERT_FALSE(ReadTestFile(ExecutableFolder() + "uninstaller_probe.exe").empty());
    struct Case {
        const char* defaults;
        bool runs;  // the box after its click
    } cases[] = {
        {"011", true},   // unticked at first, ticked by the click
        {"111", false},  // ticked at first, cleared by the click
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("option defaults ") + c.defaults);
        WriteTestFile(App() + "readme.txt", "read me");
        PatchProject project(std::string("backup box ") + c.defaults);
        project.SetOptionDefaults(c.defaults);
        AddOptionsPatch(project);
        WizardRun run;
        ASSERT_TRUE(Launch(project, run));
        HWND dialog = run.Dialog();
        ASSERT_TRUE(run.WalkTo(ResOptionsCaption));
        ASSERT_TRUE(run.Click(IdBackupBox));
        ASSERT_EQ(Ticked(dialog, 1009), c.runs);
        ASSERT_TRUE(run.WalkTo(ResReportCaption));
        EXPECT_EQ(ReadTestFile(App() + "readme.txt"), kReadmeNew);
        if (c.runs) {
            EXPECT_EQ(UninstallerRecord().substr(0, 28), "command=Uninstaller.exe /I\nH");
            EXPECT_NE(UninstallerRecord().find("Proc1=" + Dir() + "\\readme.txt\n"), std::string::npos)
                << UninstallerRecord();
            EXPECT_EQ(SeenByUninstaller(1), "read me") << "the uninstaller ran after the file had changed";
        } else {
            EXPECT_EQ(UninstallerRecord(), "") << "the uninstaller ran with the backup box cleared";
        }
        RemoveUninstallerTraces();
        ASSERT_TRUE(run.WalkTo(ResMakerCaption));
        EXPECT_EQ(run.PressToExit(IdNext), 0);
        ExpectSessionGone();
    }
}

TEST_F(OptionsE2e, DefaultsOfOneTickTheBoxesAndTakeEffectWithoutAClick) {
    PatchProject project("defaults of one");
    project.SetOptionDefaults("111");
    AddOptionsPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResOptionsCaption));
    EXPECT_TRUE(Ticked(dialog, 1009)) << "backup";
    EXPECT_TRUE(Ticked(dialog, 1010)) << "skip differing";
    EXPECT_TRUE(Ticked(dialog, 1011)) << "skip missing";
    ASSERT_TRUE(run.NextTo(ResFolderCaption));
    // Without the two skip options in effect the check fails with a box.
    ASSERT_TRUE(run.NextTo(ResCheckCaption)) << "the check failed: the skip options were not in effect";
    ASSERT_TRUE(run.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox), "R3001 " + Dir() + "\\readme.txt R3100\r\n\r\nR3002 " + Dir() +
                                                  "\\core.dll** R3102\r\n\r\nR3006 " + Dir() +
                                                  "\\absent.txt** R3102\r\n\r\n");
    EXPECT_NE(UninstallerRecord().find("Proc2=" + Dir() + "\\core.dll**\n"), std::string::npos)
        << "the backup option was not in effect: " << UninstallerRecord();
    EXPECT_EQ(SeenByUninstaller(1), "read me");
    RemoveUninstallerTraces();
    ASSERT_TRUE(run.WalkTo(ResMakerCaption));
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();
}
