// Next and Back, and what every other command of the dialog does.
#include "wizard/Navigation.h"

#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "wizard/ControlIds.h"
#include "wizard/DialogAppearance.h"
#include "wizard/Links.h"
#include "wizard/Pages.h"
#include "wizard/Progress.h"
#include "wizard/neutral/PageWalk.h"

namespace {

// The controls a page may show, apart from the credit rows, the side image
// and the two buttons.
constexpr int kPageControls[] = {IdFrame,    IdBackupBox, IdShowReportBox, IdSkipDifferingBox, IdSkipMissingBox,
                                 IdBrowse,   IdFolderBox, IdTextBox,       IdLowerNote,        IdNotice,
                                 IdProgressBar, IdAgree,  IdDisagree};
constexpr int kCreditControls[] = {IdNameCaption, IdMailCaption, IdWebCaption, IdNameText, IdMailLink, IdWebLink};

uint32_t TickState(int controlId) {
    return IsDlgButtonChecked(RunState.DialogWindow, controlId) == BST_CHECKED ? 1 : 0;
}

bool Usable(HWND window, int controlId) {
    const LONG_PTR style = GetWindowLongPtrA(GetDlgItem(window, controlId), GWL_STYLE);
    return (style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

const char* TextOrEmpty(unsigned resourceId) {
    const char* text = ResourceText(resourceId);
    return text ? text : "";
}

// Loads another side image and has its frame painted again with it.
void ShowSideImage(const char* path) {
    LoadSideImage(path);
    ShowControl(IdSideImage, 0);
    ShowControl(IdSideImage, 1);
}

// The maker credits page, entered from Next whichever page came last: the
// side image becomes the brand image.
void EnterCreditsWithBrandImage() {
    ShowSideImage(RunState.BrandImagePath);
    EnterMakerCreditsPage();
}

// A work page reached again by Back: its pass has run already and must not
// run twice, so the page is shown as it stood when its pass had finished.
void ShowFinishedWorkPage(int page) {
    bool checking = page == 6;
    SetPageTitle(RunState.DialogWindow, checking ? ResCheckCaption : ResWorkCaption);
    SetControlText(RunState.DialogWindow, IdFrame, checking ? ResCheckFrame : ResWorkFrame);
    SetControlText(RunState.DialogWindow, IdNotice, checking ? ResCheckDoneNotice : ResWorkDoneNotice);
    SetControlText(RunState.DialogWindow, IdLowerNote, ResWorkDoneNote);
    ShowControl(IdBack, 0);
    ShowControl(IdFrame, 1);
    ShowControl(IdNotice, 1);
    ShowControl(IdLowerNote, 1);
    ShowControl(IdProgressBar, 1);
}

// Whatever the page being left put up goes before Back enters another page,
// so that Back never shows two pages at once: the credit rows and their link
// cursor, and, leaving the maker credits, the Finish label and the brand
// image. The credits are then shown again before the finish.
void ClearForBack(int leaving) {
    for (int id : kPageControls) ShowControl(id, 0);  // also when leaving page 11
    for (int id : kCreditControls) ShowControl(id, 0);
    EnableControl(IdNext, 1);
    RestoreClassCursor();
    if (leaving == 11) {
        SetControlText(RunState.DialogWindow, IdNext, ResNextLabel);
        ShowSideImage(RunState.SideImagePath);
        RunState.CreditsSeen = 0;
    }
}

// Back onto page 6 or later, possible only when both work pages are switched
// off (they hide Back otherwise). The page is shown as Next showed it, so the
// dialog is never left blank.
void ReturnToLaterPage() {
    switch (RunState.CurrentPage) {
    case 6:
    case 7: ShowFinishedWorkPage(RunState.CurrentPage); break;
    case 8: EnterReportPage(); break;
    case 9: EnterClosingPage(); break;
    case 10: EnterAuthorPage(); break;
    default: EnterMakerCreditsPage(); break;
    }
}

}  // namespace

int NextShownPage(int page) { return NextShownPage(RunState.PageTable, page); }

int PreviousShownPage(int page) { return PreviousShownPage(RunState.PageTable, page); }

void HidePageControls() {
    // The maker credits page stays on screen, controls and all, through the
    // restart question at the finish.
    if (RunState.CurrentPage == 11) return;
    for (int id : kPageControls) ShowControl(id, 0);
    EnableControl(IdNext, 1);
    if (RunState.CurrentPage == 1) SetControlText(RunState.DialogWindow, IdBack, ResBackLabel);
    if (RunState.CurrentPage == 6) RestoreClassCursor();
}

void GoNext() {
    if (RunState.CurrentPage == kFolderQuestionPage) {
        RunState.ResumeCode = kResumeNext;
        return;
    }
    HidePageControls();
    RunState.CurrentPage = NextShownPage(RunState.CurrentPage);
    switch (RunState.CurrentPage) {
    case 2: EnterInformationPage(); break;
    case 3: EnterAgreementPage(); break;
    case 4: EnterOptionsPage(); break;
    case 5: EnterFolderPage(false); break;
    case 6: EnterVerificationPage(false); break;
    case 7: EnterProcessingPage(); break;
    case 8: EnterReportPage(); break;
    case 9: EnterClosingPage(); break;
    case 10: EnterAuthorPage(); break;
    case 11: EnterCreditsWithBrandImage(); break;
    default:  // the finish step; the maker credits always come first, once
        if (RunState.CreditsSeen == 0) {
            RunState.CurrentPage = 11;
            EnterCreditsWithBrandImage();
        } else {
            FinishWizard();
        }
        break;
    }
}

void GoBack() {
    if (RunState.CurrentPage == kFolderQuestionPage) {
        RunState.ResumeCode = kResumeBack;
        return;
    }
    int leaving = RunState.CurrentPage;
    HidePageControls();
    ClearForBack(leaving);
    RunState.CurrentPage = PreviousShownPage(RunState.CurrentPage);
    switch (RunState.CurrentPage) {
    case 0: EndWizard(2000); break;
    case 1: EnterIntroductionPage(); break;
    case 2: EnterInformationPage(); break;
    case 3: EnterAgreementPage(); break;
    case 4: EnterOptionsPage(); break;
    case 5: EnterFolderPage(false); break;
    default: ReturnToLaterPage(); break;
    }
}

void OnCommand(HWND window, int controlId, HWND /*control*/, int /*notification*/) {
    // The notification code is deliberately not looked at: every
    // notification a control sends runs its action again, and each action
    // gives the same result when repeated.
    switch (controlId) {
    // A disabled or hidden button does nothing, also when its command is
    // sent to the dialog by another program while a child program runs.
    case IdNext:
        if (Usable(window, IdNext)) GoNext();
        break;
    case IdBack:
        if (Usable(window, IdBack)) GoBack();
        break;
    case IdAgree: EnableControl(IdNext, 1); break;
    case IdDisagree: EnableControl(IdNext, 0); break;
    case IdBackupBox: RunState.BackupOption = TickState(IdBackupBox); break;
    case IdSkipDifferingBox: RunState.SkipDifferingOption = TickState(IdSkipDifferingBox); break;
    case IdSkipMissingBox: RunState.SkipMissingOption = TickState(IdSkipMissingBox); break;
    case IdShowReportBox:
        RunState.ShowReportOption = TickState(IdShowReportBox);
        RunState.PageTable[8] = static_cast<unsigned char>(RunState.ShowReportOption);
        break;
    case IdBrowse: BrowseForFolder(GetDlgItem(window, IdFolderBox), TextOrEmpty(RunState.BrowseTitleId)); break;
    case IdMailLink:
        if (RunState.CurrentPage == 10) OpenMailLink(TextOrEmpty(ResAuthorMailTarget));
        else if (RunState.CurrentPage == 11) OpenMailLink(TextOrEmpty(ResMakerMailTarget));
        break;
    case IdWebLink:
        if (RunState.CurrentPage == 10) OpenWebLink(TextOrEmpty(ResAuthorWeb));
        else if (RunState.CurrentPage == 11) OpenWebLink(TextOrEmpty(ResMakerWeb));
        break;
    default: break;  // IDCANCEL included: Escape, Alt+F4 and the close box
    }
}
