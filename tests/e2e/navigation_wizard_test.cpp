// Next and Back over page tables with pages switched off, the agreement
// page, the show-report box, the ways out, and the keys that must do nothing.
#include "harness/E2eFixture.h"

TEST_F(WizardE2e, SlotsTwoAndFourOffAreWalkedOverBothWays) {
    PatchProject project("slots 2 and 4 off");
    project.SetPageTable("11010111111111");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.NextTo(ResAgreementCaption)) << "Next from page 1 enters page 3";
    EXPECT_TRUE(ExpectPage(dialog, 3, PageState{true, true, false}));
    ASSERT_TRUE(run.BackTo(ResIntroCaption)) << "Back from page 3 enters page 1";
    EXPECT_TRUE(ExpectPage(dialog, 1));
    // Back on page 1 reads Cancel and ends the wizard, taking the session along.
    EXPECT_EQ(run.PressToExit(IdBack), 1602);
    ExpectSessionGone();
    EXPECT_EQ(ReadTestFile(App() + "readme.txt"), "read me");
}

TEST_F(WizardE2e, SlotOneOffStillOpensOnPageOneAndBackFromTwoEnds) {
    PatchProject project("slot 1 off");
    project.SetPageTable("10111111111111");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    EXPECT_TRUE(ExpectPage(run.Dialog(), 1)) << "the wizard always opens on page 1";
    ASSERT_TRUE(run.NextTo(ResInfoCaption));
    EXPECT_TRUE(ExpectPage(run.Dialog(), 2));
    EXPECT_EQ(run.PressToExit(IdBack), 1602) << "Back from page 2 walks past slot 1 to the start and ends";
    ExpectSessionGone();
}

TEST_F(WizardE2e, AgreementGatesNext) {
    PatchProject project("agreement");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.NextTo(ResInfoCaption));
    ASSERT_TRUE(run.NextTo(ResAgreementCaption));
    EXPECT_FALSE(ControlEnabled(dialog, IdNext)) << "Next is disabled until the user agrees";
    EXPECT_FALSE(IsDlgButtonChecked(dialog, IdAgree) == BST_CHECKED) << "neither choice is ticked at start";
    EXPECT_FALSE(IsDlgButtonChecked(dialog, IdDisagree) == BST_CHECKED);
    ASSERT_TRUE(run.Click(IdAgree));
    EXPECT_TRUE(ControlEnabled(dialog, IdNext)) << "agreeing enables Next";
    ASSERT_TRUE(run.Click(IdDisagree));
    EXPECT_FALSE(ControlEnabled(dialog, IdNext)) << "not agreeing disables it again";
    ASSERT_TRUE(run.BackTo(ResInfoCaption));
    EXPECT_TRUE(ControlEnabled(dialog, IdNext)) << "leaving the page re-enables Next";
    ASSERT_TRUE(run.NextTo(ResAgreementCaption));
    EXPECT_FALSE(ControlEnabled(dialog, IdNext)) << "back on the page with do-not-agree ticked";
    ASSERT_TRUE(run.Click(IdAgree));
    ASSERT_TRUE(run.BackTo(ResInfoCaption));
    ASSERT_TRUE(run.NextTo(ResAgreementCaption));
    EXPECT_TRUE(ControlEnabled(dialog, IdNext)) << "returning with agree still ticked leaves Next enabled";
    EXPECT_TRUE(ExpectPage(dialog, 3));
    ASSERT_TRUE(run.NextTo(ResOptionsCaption));
    EXPECT_TRUE(ExpectPage(dialog, 4));
    ASSERT_TRUE(run.BackTo(ResAgreementCaption));
    ASSERT_TRUE(run.BackTo(ResInfoCaption));
    ASSERT_TRUE(run.BackTo(ResIntroCaption));
    EXPECT_EQ(run.PressToExit(IdBack), 1602);
    ExpectSessionGone();
}

// Walks from page 4 to whatever follows the processing page.
static unsigned CaptionAfterProcessing(WizardRun& run) {
    if (!run.WalkTo(ResWorkCaption)) return 0;
    if (!PressButton(run.Dialog(), IdNext)) return 0;
    std::string report = PageTitle(ResReportCaption), closing = PageTitle(ResClosingCaption);
    WaitUntil([&] {
        std::string title = WindowText(run.Dialog());
        return title == report || title == closing;
    });
    run.Idle();
    const std::string title = WindowText(run.Dialog());
    if (title == report) return ResReportCaption;
    if (title == closing) return ResClosingCaption;
    return 0;
}

TEST_F(WizardE2e, ClearingTheShowReportBoxLeavesOutTheReport) {
    PatchProject project("report box cleared");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    ASSERT_TRUE(run.WalkTo(ResOptionsCaption));
    EXPECT_TRUE(IsDlgButtonChecked(run.Dialog(), IdShowReportBox) == BST_CHECKED);
    ASSERT_TRUE(run.Click(IdShowReportBox));
    EXPECT_EQ(CaptionAfterProcessing(run), ResClosingCaption) << "page 8 is passed over";
    EXPECT_TRUE(ExpectPage(run.Dialog(), 9, PageState{false, false, true}));
}

TEST_F(WizardE2e, TickingTheShowReportBoxAgainRestoresTheReport) {
    PatchProject project("report box restored");
    project.SetPageTable("11111111011111");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    ASSERT_TRUE(run.WalkTo(ResOptionsCaption));
    EXPECT_FALSE(IsDlgButtonChecked(run.Dialog(), IdShowReportBox) == BST_CHECKED)
        << "slot 8 zero: the box starts clear";
    ASSERT_TRUE(run.Click(IdShowReportBox));
    ASSERT_TRUE(run.NextTo(ResFolderCaption));
    ASSERT_TRUE(run.BackTo(ResOptionsCaption));
    EXPECT_TRUE(IsDlgButtonChecked(run.Dialog(), IdShowReportBox) == BST_CHECKED) << "the box keeps its state";
    EXPECT_EQ(CaptionAfterProcessing(run), ResReportCaption) << "page 8 is shown again";
    EXPECT_TRUE(ExpectPage(run.Dialog(), 8, PageState{false, false, true}, std::string()))
        << "Act 7 writes no report line, so the report is empty";
}

TEST_F(WizardE2e, EscapeAltF4AndTheCloseBoxChangeNothingOnAnyPage) {
    PatchProject project("keys ignored");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    const int captions[] = {ResIntroCaption,   ResInfoCaption,   ResAgreementCaption, ResOptionsCaption,
                            ResFolderCaption,  ResCheckCaption,  ResWorkCaption,      ResReportCaption,
                            ResClosingCaption, ResAuthorCaption, ResMakerCaption};
    for (int page = 1; page <= 11; ++page) {
        if (page > 1) {
            ASSERT_TRUE(run.NextTo(captions[page - 1])) << "to page " << page;
        }
        if (page == 3) {
            ASSERT_TRUE(run.Click(IdAgree));
        }
        PageState state;
        if (page >= 6) state.backVisible = false;
        ASSERT_TRUE(ExpectPage(dialog, page, state)) << "before the keys on page " << page;
        PressEscape(dialog);
        ASSERT_TRUE(run.Idle());
        PressAltF4(dialog);
        ASSERT_TRUE(run.Idle());
        PressCloseBox(dialog);
        ASSERT_TRUE(run.Idle());
        ASSERT_TRUE(run.Program().Running()) << "the wizard ended on page " << page;
        EXPECT_TRUE(ExpectPage(dialog, page, state)) << "after the keys on page " << page;
        EXPECT_TRUE(FolderExists(ZuliWorkFolder()));
    }
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();
}

// With both work pages off Back stays usable to the end. Whatever page it
// leaves, the page it reaches is shown alone: no credit rows left over, Next
// reading Next again, and the maker credits shown once more before Finish.
TEST_F(WizardE2e, BackWithBothWorkPagesOffNeverShowsTwoPages) {
    PatchProject project("work pages off, back");
    project.SetPageTable("11111100001111");  // 6 to 9 off
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResFolderCaption) && run.NextTo(ResAuthorCaption) && run.NextTo(ResMakerCaption));
    EXPECT_TRUE(ExpectPage(dialog, 11));
    ASSERT_TRUE(run.BackTo(ResAuthorCaption)) << "Back from the maker credits to the author page";
    EXPECT_TRUE(ExpectPage(dialog, 10));
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResNextLabel));
    ASSERT_TRUE(run.BackTo(ResFolderCaption)) << "Back from the author page to the folder page";
    EXPECT_TRUE(ExpectPage(dialog, 5)) << "the credit rows are gone";
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResNextLabel));
    ASSERT_TRUE(run.NextTo(ResAuthorCaption) && run.NextTo(ResMakerCaption))
        << "forward again, through both credit pages";
    EXPECT_TRUE(ExpectPage(dialog, 11));
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResFinishLabel));
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();
}

TEST_F(WizardE2e, BackFromTheMakerCreditsToTheFolderPageAndForwardAgain) {
    PatchProject project("work pages off, back from credits");
    project.SetPageTable("11111100000111");  // 6 to 10 off
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResFolderCaption) && run.NextTo(ResMakerCaption));
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResFinishLabel));
    ASSERT_TRUE(run.BackTo(ResFolderCaption));
    EXPECT_TRUE(ExpectPage(dialog, 5)) << "the credit rows are gone";
    EXPECT_EQ(ControlText(dialog, IdNext), Res(ResNextLabel)) << "Next no longer reads Finish";
    ASSERT_TRUE(run.NextTo(ResMakerCaption))
        << "the next Next shows the maker credits again instead of ending the wizard";
    EXPECT_TRUE(ExpectPage(dialog, 11));
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();
}
