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
    ASSERT_TRUE(run.NextTo(204)) << "Next from page 1 enters page 3";
    EXPECT_TRUE(ExpectPage(dialog, 3, PageState{true, true, false}));
    ASSERT_TRUE(run.BackTo(200)) << "Back from page 3 enters page 1";
    EXPECT_TRUE(ExpectPage(dialog, 1));
    // Back on page 1 reads Cancel and ends the wizard, taking the session along.
    EXPECT_EQ(run.PressToExit(2000), 1602);
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
    ASSERT_TRUE(run.NextTo(202));
    EXPECT_TRUE(ExpectPage(run.Dialog(), 2));
    EXPECT_EQ(run.PressToExit(2000), 1602) << "Back from page 2 walks past slot 1 to the start and ends";
    ExpectSessionGone();
}

TEST_F(WizardE2e, AgreementGatesNext) {
    PatchProject project("agreement");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.NextTo(202));
    ASSERT_TRUE(run.NextTo(204));
    EXPECT_FALSE(ControlEnabled(dialog, 1)) << "Next is disabled until the user agrees";
    EXPECT_FALSE(IsDlgButtonChecked(dialog, 1002) == BST_CHECKED) << "neither choice is ticked at start";
    EXPECT_FALSE(IsDlgButtonChecked(dialog, 1003) == BST_CHECKED);
    ASSERT_TRUE(run.Click(1002));
    EXPECT_TRUE(ControlEnabled(dialog, 1)) << "agreeing enables Next";
    ASSERT_TRUE(run.Click(1003));
    EXPECT_FALSE(ControlEnabled(dialog, 1)) << "not agreeing disables it again";
    ASSERT_TRUE(run.BackTo(202));
    EXPECT_TRUE(ControlEnabled(dialog, 1)) << "leaving the page re-enables Next";
    ASSERT_TRUE(run.NextTo(204));
    EXPECT_FALSE(ControlEnabled(dialog, 1)) << "back on the page with do-not-agree ticked";
    ASSERT_TRUE(run.Click(1002));
    ASSERT_TRUE(run.BackTo(202));
    ASSERT_TRUE(run.NextTo(204));
    EXPECT_TRUE(ControlEnabled(dialog, 1)) << "returning with agree still ticked leaves Next enabled";
    EXPECT_TRUE(ExpectPage(dialog, 3));
    ASSERT_TRUE(run.NextTo(208));
    EXPECT_TRUE(ExpectPage(dialog, 4));
    ASSERT_TRUE(run.BackTo(204));
    ASSERT_TRUE(run.BackTo(202));
    ASSERT_TRUE(run.BackTo(200));
    EXPECT_EQ(run.PressToExit(2000), 1602);
    ExpectSessionGone();
}

// Walks from page 4 to whatever follows the processing page.
static int CaptionAfterProcessing(WizardRun& run) {
    if (!run.NextTo(217) || !run.NextTo(223) || !run.NextTo(230)) return 0;
    if (!PressButton(run.Dialog(), 1)) return 0;
    std::string report = PageTitle(235), closing = PageTitle(240);
    WaitUntil([&] {
        std::string title = WindowText(run.Dialog());
        return title == report || title == closing;
    });
    run.Idle();
    return WindowText(run.Dialog()) == report ? 235 : WindowText(run.Dialog()) == closing ? 240 : 0;
}

static bool WalkToOptions(WizardRun& run) {
    return run.NextTo(202) && run.NextTo(204) && run.Click(1002) && run.NextTo(208);
}

TEST_F(WizardE2e, ClearingTheShowReportBoxLeavesOutTheReport) {
    PatchProject project("report box cleared");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    ASSERT_TRUE(WalkToOptions(run));
    EXPECT_TRUE(IsDlgButtonChecked(run.Dialog(), 1027) == BST_CHECKED);
    ASSERT_TRUE(run.Click(1027));
    EXPECT_EQ(CaptionAfterProcessing(run), 240) << "page 8 is passed over";
    EXPECT_TRUE(ExpectPage(run.Dialog(), 9, PageState{false, false, true}));
}

TEST_F(WizardE2e, TickingTheShowReportBoxAgainRestoresTheReport) {
    PatchProject project("report box restored");
    project.SetPageTable("11111111011111");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    ASSERT_TRUE(WalkToOptions(run));
    EXPECT_FALSE(IsDlgButtonChecked(run.Dialog(), 1027) == BST_CHECKED) << "slot 8 zero: the box starts clear";
    ASSERT_TRUE(run.Click(1027));
    ASSERT_TRUE(run.NextTo(217));
    ASSERT_TRUE(run.BackTo(208));
    EXPECT_TRUE(IsDlgButtonChecked(run.Dialog(), 1027) == BST_CHECKED) << "the box keeps its state";
    EXPECT_EQ(CaptionAfterProcessing(run), 235) << "page 8 is shown again";
    EXPECT_TRUE(ExpectPage(run.Dialog(), 8, PageState{false, false, true}, std::string()))
        << "Act 7 writes no report line, so the report is empty";
}

TEST_F(WizardE2e, EscapeAltF4AndTheCloseBoxChangeNothingOnAnyPage) {
    PatchProject project("keys ignored");
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    const int captions[] = {200, 202, 204, 208, 217, 223, 230, 235, 240, 251, 260};
    for (int page = 1; page <= 11; ++page) {
        if (page > 1) {
            ASSERT_TRUE(run.NextTo(captions[page - 1])) << "to page " << page;
        }
        if (page == 3) {
            ASSERT_TRUE(run.Click(1002));
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
    EXPECT_EQ(run.PressToExit(1), 0);
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
    ASSERT_TRUE(run.NextTo(202) && run.NextTo(204) && run.Click(1002) && run.NextTo(208) && run.NextTo(217) &&
                run.NextTo(251) && run.NextTo(260));
    EXPECT_TRUE(ExpectPage(dialog, 11));
    ASSERT_TRUE(run.BackTo(251)) << "Back from the maker credits to the author page";
    EXPECT_TRUE(ExpectPage(dialog, 10));
    EXPECT_EQ(ControlText(dialog, 1), Res(114));
    ASSERT_TRUE(run.BackTo(217)) << "Back from the author page to the folder page";
    EXPECT_TRUE(ExpectPage(dialog, 5)) << "the credit rows are gone";
    EXPECT_EQ(ControlText(dialog, 1), Res(114));
    ASSERT_TRUE(run.NextTo(251) && run.NextTo(260)) << "forward again, through both credit pages";
    EXPECT_TRUE(ExpectPage(dialog, 11));
    EXPECT_EQ(ControlText(dialog, 1), Res(116));
    EXPECT_EQ(run.PressToExit(1), 0);
    ExpectSessionGone();
}

TEST_F(WizardE2e, BackFromTheMakerCreditsToTheFolderPageAndForwardAgain) {
    PatchProject project("work pages off, back from credits");
    project.SetPageTable("11111100000111");  // 6 to 10 off
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.NextTo(202) && run.NextTo(204) && run.Click(1002) && run.NextTo(208) && run.NextTo(217) &&
                run.NextTo(260));
    EXPECT_EQ(ControlText(dialog, 1), Res(116));
    ASSERT_TRUE(run.BackTo(217));
    EXPECT_TRUE(ExpectPage(dialog, 5)) << "the credit rows are gone";
    EXPECT_EQ(ControlText(dialog, 1), Res(114)) << "Next no longer reads Finish";
    ASSERT_TRUE(run.NextTo(260)) << "the next Next shows the maker credits again instead of ending the wizard";
    EXPECT_TRUE(ExpectPage(dialog, 11));
    EXPECT_EQ(run.PressToExit(1), 0);
    ExpectSessionGone();
}
