// The end of the wizard: the maker credits page shown once even when its
// slot is off, and the restart question after a deferred replacement.
#include "harness/E2eFixture.h"

namespace {

const char* kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

void ClearPendingRenames() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "PendingFileRenameOperations");
    RegCloseKey(key);
}

}  // namespace

TEST_F(WizardE2e, SlotElevenOffStillShowsTheMakerCreditsOnceWithFinish) {
    PatchProject project("slot 11 off");
    project.SetPageTable("11111111111011");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResAuthorCaption));
    EXPECT_TRUE(ExpectPage(dialog, 10, PageState{false, false, true}));
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResNextLabel));
    ASSERT_TRUE(run.NextTo(ResMakerCaption)) << "the maker credits come after page 10 although slot 11 is off";
    EXPECT_TRUE(ExpectPage(dialog, 11, PageState{false, false, true}));
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResFinishLabel));
    EXPECT_EQ(run.PressToExit(IdNext), 0) << "the next Next finishes";
    ExpectSessionGone();
}

TEST_F(WizardE2e, RestartQuestionAnsweredNoLeavesTheReplacementPending) {
    ClearPendingRenames();
    PatchProject project("restart no");
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n"
                                 "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDelay=1\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" +
                                     SignedDecimal(Crc32Of(AppFiles::CoreOld())) + "\r\n");
    project.AddFile("Proc1", XorDeltaPayload(AppFiles::CoreOld(), AppFiles::CoreNew()));
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(dialog, IdTextBox), "R3002 " + Dir() + "\\core.dll R3100\r\n\r\n");
    ASSERT_TRUE(run.WalkTo(ResMakerCaption));
    HWND box = run.PressForMessageBox(IdNext);
    ASSERT_NE(box, nullptr) << "a deferred replacement brings the restart question";
    EXPECT_EQ(WindowText(box), Res(ResRestartCaption));
    EXPECT_EQ(MessageBoxText(box), Res(ResRestartText));
    EXPECT_TRUE(ExpectPage(dialog, 11, PageState{false, false, true})) << "the credits stay on screen meanwhile";
    ASSERT_TRUE(PressButton(box, IDNO));
    EXPECT_EQ(run.Program().WaitForExit(), 3010) << "done, restart required";
    ExpectSessionGone();
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld()) << "the target waits for the restart";
    std::string pending = PendingRenames();
    for (char& c : pending) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(pending.find("core.dll"), std::string::npos) << "the replacement is registered for the restart";
    EXPECT_NE(pending.find("qvr"), std::string::npos) << "from the scratch copy beside the target";
    ClearPendingRenames();
}
