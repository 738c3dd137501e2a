// The check page: a failed check answered OK and Cancel, the skip options,
// the folder question of an "Ask" entry, and the folder box taking the place
// of entry 1's own folder.
#include "harness/E2eFixture.h"

namespace {

// Entry 1 finds the application through the registry; entry 3 needs
// missing.txt to be there, which entry 2 deletes before entry 3 writes it anew.
void AddMissingFilePatch(PatchProject& project) {
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=3\r\n"
                    "[Proc1]\r\nFILE=readme.txt\r\nAct=7\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n"
                    "[Proc2]\r\nFILE=missing.txt\r\nAct=4\r\nDir=Pre\r\n"
                    "[Proc3]\r\nFILE=missing.txt\r\nAct=5\r\nDir=Pre\r\nCount=1\r\nINIKey1=A,B,C\r\n");
}

}  // namespace

TEST_F(WizardE2e, FailedCheckAnsweredOkReturnsToTheFolderPageAndNextChecksAgain) {
    PatchProject project("check fails then ok");
    project.SetPageTable("11111011111111");  // the folder page is not one of the pages
    AddMissingFilePatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResOptionsCaption));
    HWND box = run.PressForMessageBox(IdNext);
    ASSERT_NE(box, nullptr) << "the check must fail";
    EXPECT_EQ(WindowText(box), Res(ResCheckErrorCaption));
    EXPECT_EQ(MessageBoxText(box),
              Res(ResErrMissingPrefix) + "\n" + Dir() + "\\missing.txt\n" + Res(ResErrChooseAgain));
    ASSERT_TRUE(PressButton(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == PageTitle(ResFolderCaption); }));
    ASSERT_TRUE(run.Idle());
    EXPECT_TRUE(ExpectPage(dialog, 5)) << "the folder page, with Back enabled";
    EXPECT_EQ(ControlText(dialog, IdFolderBox), "") << "the box keeps its text (never filled: slot 5 was off)";
    ASSERT_TRUE(TypeText(dialog, IdFolderBox, Dir()));
    WriteTestFile(App() + "missing.txt", "[A]\r\n");
    ASSERT_TRUE(run.NextTo(ResCheckCaption)) << "Next runs the check again, now with the typed folder";
    EXPECT_TRUE(ExpectPage(dialog, 6, PageState{false, false, true}));
    ASSERT_TRUE(run.NextTo(ResWorkCaption));
    ASSERT_TRUE(run.NextTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox),
              "R3004 " + Dir() + "\\missing.txt R3100\r\n\r\nR3005 " + Dir() + "\\missing.txt R3100\r\n\r\n")
        << "entry 2 deletes the file, entry 3 writes its key into a new one";
    EXPECT_EQ(ReadTestFile(App() + "missing.txt"), "[A]\r\nB=C\r\n");
    ASSERT_TRUE(run.WalkTo(ResMakerCaption));
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();
}

TEST_F(WizardE2e, FailedCheckAnsweredCancelEndsTheWizard) {
    PatchProject project("check fails then cancel");
    AddMissingFilePatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));
    HWND box = run.PressForMessageBox(IdNext);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, IDCANCEL));
    EXPECT_EQ(run.Program().WaitForExit(), 1603) << "the patch was not applied: its check failed";
    ExpectSessionGone();
    EXPECT_EQ(ReadTestFile(App() + "readme.txt"), "read me");
}

// With the builder's default texts, a file that is not the expected version
// is explained as the user meets it: both causes, what to do about each, and
// the support address the manifest gives.
TEST_F(WizardE2e, DifferingFileMessageNamesBothCausesAndTheSupportAddress) {
    PatchProject project("differs with support address");
    project.UseDefaultText(ResErrDiffersPrefix);
    project.UseDefaultText(ResErrChooseAgain);
    project.AddTextLine("SupportAddress=support@acme.example");
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n"
                                 "[Proc1]\r\nFILE=readme.txt\r\nAct=2\r\nCRC=1\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n");
    project.AddFile("Proc1", "an XOR delta the check never gets to");
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));
    HWND box = run.PressForMessageBox(IdNext);
    ASSERT_NE(box, nullptr) << "the check must fail: readme.txt's CRC is not 1; the wizard shows \""
                            << WindowText(run.Dialog()) << "\": " << ControlText(run.Dialog(), IdNotice);
    EXPECT_EQ(MessageBoxText(box),
              "Not the version this update was made for: \n" + Dir() + "\\readme.txt\n"
              "If this is not the folder of the program to update, press OK and choose the right folder.\r\n"
              "If it is, the program's files were changed or damaged after it was installed: press Cancel, repair "
              "or reinstall the program, then run this update again.\r\n"
              "If you need help, contact support@acme.example.");
    ASSERT_TRUE(PressButton(box, IDCANCEL));
    EXPECT_EQ(run.Program().WaitForExit(), 1603) << "the patch was not applied: its check failed";
    ExpectSessionGone();
    EXPECT_EQ(ReadTestFile(App() + "readme.txt"), "read me");
}

TEST_F(WizardE2e, SkipOptionsTurnFailedChecksIntoSkippedLines) {
    PatchProject project("skip options");
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=2\r\n"
                    "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n"
                    "CRC=12345\r\n"
                    "[Proc2]\r\nFILE=absent.txt\r\nAct=6\r\nDir=Pre\r\nNewName=x.txt\r\n");
    project.AddFile("Proc1", "never applied");
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResOptionsCaption));
    ASSERT_TRUE(run.Click(IdSkipDifferingBox));
    ASSERT_TRUE(run.Click(IdSkipMissingBox));
    ASSERT_TRUE(run.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox),
              "R3002 " + Dir() + "\\core.dll** R3102\r\n\r\nR3006 " + Dir() + "\\absent.txt** R3102\r\n\r\n");
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld()) << "a skipped entry is left alone";
}

TEST_F(WizardE2e, AskInEntryTwoShowsTheFolderPageInsideTheCheck) {
    ScratchFolder other("zuli e2e asked");
    WriteTestFile(other.Path() + "asked.txt", "asked");
    PatchProject project("ask");
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=2\r\n"
                    "[Proc1]\r\nFILE=readme.txt\r\nAct=7\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n"
                    "[Proc2]\r\nFILE=asked.txt\r\nAct=6\r\nDir=Ask\r\nNewName=answered.txt\r\n");
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));
    ASSERT_TRUE(PressButton(dialog, IdNext));
    // The check stops at entry 2 and puts the folder page up again. Until
    // the posted click is handled the dialog is still on the ordinary folder
    // page, which looks the same but for Back: inside the check it is off.
    ASSERT_TRUE(WaitUntil([&] {
        return WindowText(dialog) == PageTitle(ResFolderCaption) && ControlVisible(dialog, IdFolderBox) &&
               !ControlEnabled(dialog, IdBack);
    }));
    ASSERT_TRUE(run.Idle());
    EXPECT_TRUE(ExpectPage(dialog, 5, PageState{true, false, true})) << "Back stays disabled from the check";
    EXPECT_EQ(ControlText(dialog, IdFolderBox), Dir()) << "the box keeps what it held";
    ASSERT_TRUE(TypeText(dialog, IdFolderBox, ResolvedFolder(other.Path())));
    ASSERT_TRUE(run.NextTo(ResCheckCaption));
    EXPECT_TRUE(ExpectPage(dialog, 6, PageState{false, false, true}));
    ASSERT_TRUE(run.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox), "R3006 " + ResolvedFolder(other.Path()) + "\\asked.txt R3100\r\n\r\n");
    EXPECT_EQ(ReadTestFile(other.Path() + "answered.txt"), "asked") << "the typed folder was used";
    ASSERT_TRUE(run.WalkTo(ResMakerCaption));
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();
}

TEST_F(WizardE2e, WithTheFolderPageShownEntryOnesDirIsIgnored) {
    PatchProject project("folder page wins");
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=2\r\n"
                    "[Proc1]\r\nFILE=old.txt\r\nAct=6\r\nDir=Z:\\no\\such\\folder\r\nNewName=typed.txt\r\n"
                    "[Proc2]\r\nFILE=readme.txt\r\nAct=4\r\nDir=Me\r\n");
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));
    EXPECT_EQ(ControlText(dialog, IdFolderBox), "Z:\\no\\such\\folder") << "fill mode shows entry 1's own folder";
    ASSERT_TRUE(TypeText(dialog, IdFolderBox, Dir()));
    ASSERT_TRUE(run.NextTo(ResCheckCaption));
    ASSERT_TRUE(run.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox),
              "R3006 " + Dir() + "\\old.txt R3100\r\n\r\nR3004 " + Dir() + "\\readme.txt R3100\r\n\r\n")
        << "entry 1 took the typed folder, and \"Me\" in entry 2 means that folder too";
    EXPECT_TRUE(FileExists(App() + "typed.txt"));
    EXPECT_FALSE(FileExists(App() + "readme.txt"));
}

TEST_F(WizardE2e, EntryOnesSubShownInTheFolderBoxPassesItsCheck) {
    CreateDirectoryA((App() + "plugins").c_str(), nullptr);
    WriteTestFile(App() + "plugins\\x.txt", "plug-in settings");
    PatchProject project("sub in the folder box");
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=2\r\n"
                    "[Proc1]\r\nFILE=x.txt\r\nAct=6\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n"
                    "Sub=plugins\r\nNewName=y.txt\r\n"
                    "[Proc2]\r\nFILE=readme.txt\r\nAct=7\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n");
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));
    EXPECT_EQ(ControlText(dialog, IdFolderBox), Dir() + "\\plugins") << "the box shows entry 1's folder with its Sub";
    ASSERT_TRUE(run.NextTo(ResCheckCaption)) << "the folder shown is the folder checked: no message box";
    EXPECT_TRUE(ExpectPage(dialog, 6, PageState{false, false, true}));
    ASSERT_TRUE(run.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox), "R3006 " + Dir() + "\\plugins\\x.txt R3100\r\n\r\n")
        << "entry 2 (no action) adds no line";
    EXPECT_EQ(ReadTestFile(App() + "plugins\\y.txt"), "plug-in settings");
    EXPECT_FALSE(FileExists(App() + "plugins\\x.txt"));
}
