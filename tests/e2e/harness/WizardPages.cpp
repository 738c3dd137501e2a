#include "harness/WizardPages.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "harness/Driver.h"

namespace {

// Every control of the dialog that a page may show or hide.
const int kPageControls[] = {IdTextBox,        IdAgree,       IdDisagree,      IdBackupBox,   IdSkipDifferingBox,
                             IdSkipMissingBox, IdFrame,       IdNotice,        IdFolderBox,   IdBrowse,
                             IdLowerNote,      IdProgressBar, IdShowReportBox, IdNameCaption, IdMailCaption,
                             IdWebCaption,     IdNameText,    IdMailLink,      IdWebLink};

struct PageLook {
    int caption;
    std::set<int> shown;
    std::vector<std::pair<int, int>> texts;  // control id, resource id
};

PageLook LookOf(int page) {
    switch (page) {
    case 1: return {ResIntroCaption, {IdTextBox}, {{IdTextBox, ResIntroBody}}};
    case 2: return {ResInfoCaption, {IdTextBox}, {{IdTextBox, ResInfoBody}}};
    case 3:
        return {ResAgreementCaption,
                {IdTextBox, IdAgree, IdDisagree},
                {{IdTextBox, ResAgreementBody}, {IdAgree, ResAgreeLabel}, {IdDisagree, ResDisagreeLabel}}};
    case 4:
        return {ResOptionsCaption,
                {IdFrame, IdBackupBox, IdSkipDifferingBox, IdSkipMissingBox, IdShowReportBox},
                {{IdFrame, ResOptionsFrame},
                 {IdBackupBox, ResBackupLabel},
                 {IdSkipDifferingBox, ResSkipDifferingLabel},
                 {IdSkipMissingBox, ResSkipMissingLabel},
                 {IdShowReportBox, ResShowReportLabel}}};
    case 5:
        return {ResFolderCaption,
                {IdFrame, IdNotice, IdFolderBox, IdBrowse, IdLowerNote},
                {{IdFrame, ResFolderFrame},
                 {IdNotice, ResFolderNotice},
                 {IdLowerNote, ResFolderNote},
                 {IdBrowse, ResBrowseLabel}}};
    case 6:
        return {ResCheckCaption,
                {IdFrame, IdNotice, IdLowerNote, IdProgressBar},
                {{IdFrame, ResCheckFrame}, {IdNotice, ResCheckDoneNotice}, {IdLowerNote, ResWorkDoneNote}}};
    case 7:
        return {ResWorkCaption,
                {IdFrame, IdNotice, IdLowerNote, IdProgressBar},
                {{IdFrame, ResWorkFrame}, {IdNotice, ResWorkDoneNotice}, {IdLowerNote, ResWorkDoneNote}}};
    case 8: return {ResReportCaption, {IdTextBox}, {}};
    case 9: return {ResClosingCaption, {IdTextBox}, {{IdTextBox, ResClosingBody}}};
    case 10:
        return {ResAuthorCaption,
                {IdFrame, IdNotice, IdNameCaption, IdMailCaption, IdWebCaption, IdNameText, IdMailLink, IdWebLink},
                {{IdNameCaption, ResAuthorNameLabel},
                 {IdMailCaption, ResAuthorMailLabel},
                 {IdWebCaption, ResAuthorWebLabel},
                 {IdNameText, ResAuthorName},
                 {IdMailLink, ResAuthorMail},
                 {IdWebLink, ResAuthorWeb},
                 {IdNotice, ResAuthorNotice},
                 {IdFrame, ResAuthorFrame}}};
    default:
        return {ResMakerCaption,
                {IdFrame, IdNotice, IdNameCaption, IdMailCaption, IdWebCaption, IdNameText, IdMailLink, IdWebLink},
                {{IdFrame, ResMakerFrame},
                 {IdNotice, ResMakerNotice},
                 {IdNameText, ResMakerName},
                 {IdMailLink, ResMakerMail},
                 {IdWebLink, ResMakerWeb},
                 {IdNameCaption, ResMakerNameLabel},
                 {IdMailCaption, ResMakerMailLabel},
                 {IdWebCaption, ResMakerWebLabel}}};
    }
}

}  // namespace

std::string Res(int id) { return "R" + std::to_string(id); }

std::string PageTitle(int captionId) { return Res(ResPatchTitle) + " - " + Res(captionId); }

void ExpectButtonLabels(HWND dialog, int page) {
    EXPECT_EQ(ControlText(dialog, IdNext), Res(page >= 11 ? ResFinishLabel : ResNextLabel))
        << "Next label on page " << page;
    EXPECT_EQ(ControlText(dialog, IdBack), Res(page == 1 ? ResCancelLabel : ResBackLabel))
        << "Back label on page " << page;
}

bool ExpectPage(HWND dialog, int page, const PageState& buttons, const std::string& report) {
    int failuresBefore = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    PageLook look = LookOf(page);
    EXPECT_EQ(WindowText(dialog), PageTitle(look.caption)) << "title of page " << page;
    for (int id : kPageControls) {
        bool expected = look.shown.count(id) != 0;
        EXPECT_EQ(ControlVisible(dialog, id), expected)
            << "control " << id << " on page " << page << " should be " << (expected ? "shown" : "hidden");
    }
    for (const auto& text : look.texts)
        EXPECT_EQ(ControlText(dialog, text.first), Res(text.second))
            << "text of control " << text.first << " on page " << page;
    if (page == 8) {
        EXPECT_EQ(ControlText(dialog, IdTextBox), report) << "report on page 8";
    }
    EXPECT_TRUE(ControlVisible(dialog, IdNext)) << "Next on page " << page;
    EXPECT_TRUE(ControlVisible(dialog, IdSideImage)) << "side image on page " << page;
    EXPECT_EQ(ControlEnabled(dialog, IdNext), buttons.nextEnabled) << "Next enabled on page " << page;
    EXPECT_EQ(ControlVisible(dialog, IdBack), buttons.backVisible) << "Back shown on page " << page;
    if (buttons.backVisible) {
        EXPECT_EQ(ControlEnabled(dialog, IdBack), buttons.backEnabled) << "Back enabled on page " << page;
    }
    ExpectButtonLabels(dialog, page);
    int failuresAfter = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    return failuresAfter == failuresBefore;
}
