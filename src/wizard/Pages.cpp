// What every page of the wizard shows and does when it is entered. Each
// entry sets the window title from its caption, then its texts, then shows
// its controls, in that order.
#include "wizard/Pages.h"

#include "actions/Handoff.h"
#include "actions/ProcessingPass.h"
#include "core/ChildProcess.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "script/Verification.h"
#include "wizard/ControlIds.h"
#include "wizard/Navigation.h"
#include "wizard/Progress.h"
#include "wizard/WizardHost.h"

namespace {

HWND Dialog() { return RunState.DialogWindow; }

void Text(int controlId, unsigned resourceId) { SetControlText(Dialog(), controlId, resourceId); }

void Title(unsigned resourceId) { SetPageTitle(Dialog(), resourceId); }

void ShowCreditRows() {
    ShowControl(IdFrame, 1);
    for (int id = IdNameCaption; id <= IdWebLink; ++id) ShowControl(id, 1);
    ShowControl(IdNotice, 1);
}

}  // namespace

void ShowControl(int controlId, int show) {
    ShowWindow(GetDlgItem(Dialog(), controlId), show == 1 ? SW_SHOW : SW_HIDE);
}

void EnableControl(int controlId, int enable) { EnableWindow(GetDlgItem(Dialog(), controlId), enable); }

void SetCheck(int controlId, int value) {
    CheckDlgButton(Dialog(), controlId, value == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void DiscardUserInput() {
    // Mouse and keyboard input is matched to a control only when it is taken
    // from the queue: a click made on the greyed Next during a pass would
    // otherwise press Next the moment it is enabled again.
    static const UINT kInputRanges[][2] = {
        {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
    // A request to quit is handed out whatever the range asked for; it is
    // put back for the loops further out instead of being dropped with the
    // input.
    MSG message;
    for (const auto& range : kInputRanges)
        while (PeekMessageA(&message, nullptr, range[0], range[1], PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
        }
}

void EndWizard(int code) {
    EndDialog(Dialog(), code);
    CleanUpSession();
}

void EnterIntroductionPage() {
    Title(ResIntroCaption);
    Text(IdTextBox, ResIntroBody);
    Text(IdNext, ResNextLabel);
    Text(IdBack, ResCancelLabel);
    ShowControl(IdTextBox, 1);
}

void EnterInformationPage() {
    Title(ResInfoCaption);
    Text(IdTextBox, ResInfoBody);
    ShowControl(IdTextBox, 1);
}

void EnterAgreementPage() {
    Title(ResAgreementCaption);
    Text(IdTextBox, ResAgreementBody);
    ShowControl(IdTextBox, 1);
    ShowControl(IdAgree, 1);
    ShowControl(IdDisagree, 1);
    // Coming back with the agree choice still ticked keeps Next usable.
    EnableControl(IdNext, IsDlgButtonChecked(Dialog(), IdAgree) == BST_CHECKED);
}

void EnterOptionsPage() {
    Title(ResOptionsCaption);
    Text(IdFrame, ResOptionsFrame);
    ShowControl(IdFrame, 1);
    ShowControl(IdBackupBox, 1);
    ShowControl(IdSkipDifferingBox, 1);
    ShowControl(IdSkipMissingBox, 1);
    ShowControl(IdShowReportBox, 1);
}

void EnterFolderPage(bool keepFolder) {
    Title(ResFolderCaption);
    Text(IdFrame, ResFolderFrame);
    Text(IdNotice, ResFolderNotice);
    Text(IdLowerNote, ResFolderNote);
    ShowControl(IdFrame, 1);
    ShowControl(IdNotice, 1);
    ShowControl(IdFolderBox, 1);
    ShowControl(IdBrowse, 1);
    ShowControl(IdLowerNote, 1);
    if (keepFolder) {
        // The user's text stays; from now on the check takes the first
        // entry's folder from the box.
        RunState.PageTable[5] = 1;
    } else {
        // A failure here shows nothing: the check reports it when it runs.
        WizardHost host;
        VerifyEntries(VerifyMode::FillFolder, host);
    }
}

void EnterVerificationPage(bool displayOnly) {
    SetClassCursor(Dialog(), RunState.BusyCursorPath);
    Title(ResCheckCaption);
    Text(IdFrame, ResCheckFrame);
    Text(IdNotice, ResCheckNotice);
    Text(IdLowerNote, ResCheckNote);
    ShowControl(IdFrame, 1);
    ShowControl(IdNotice, 1);
    ShowControl(IdLowerNote, 1);
    ShowControl(IdProgressBar, 1);
    EnableControl(IdNext, 0);
    EnableControl(IdBack, 0);
    DrainMessages(Dialog());  // the page is drawn before the work starts
    if (displayOnly) return;

    WizardHost host;
    const int passed = VerifyEntries(VerifyMode::Checking, host);
    // Nothing the user did during the check may answer what comes next.
    DiscardUserInput();
    if (passed != 0) {
        RestoreClassCursor();
        Text(IdNotice, ResCheckDoneNotice);
        Text(IdLowerNote, ResWorkDoneNote);
        EnableControl(IdNext, 1);
        ShowControl(IdBack, 0);  // nothing before this point can be undone
        return;
    }
    // The busy cursor belongs to the dialog class, message boxes included.
    RestoreClassCursor();
    const char* caption = ResourceText(ResCheckErrorCaption);
    int answer = MessageBoxA(Dialog(), RunState.ErrorText ? RunState.ErrorText.get() : "",
                             caption ? caption : "", MB_OKCANCEL | MB_ICONERROR);
    if (answer == IDOK) {
        HidePageControls();  // still leaving page 6
        EnterFolderPage(true);
        EnableControl(IdBack, 1);
        RunState.CurrentPage = 5;
    } else {
        EndWizard(2000);
    }
}

void EnterProcessingPage() {
    SetClassCursor(Dialog(), RunState.BusyCursorPath);
    Title(ResWorkCaption);
    Text(IdFrame, ResWorkFrame);
    Text(IdNotice, ResWorkNotice);
    Text(IdLowerNote, ResWorkNote);
    ShowControl(IdBack, 0);
    ShowControl(IdFrame, 1);
    ShowControl(IdNotice, 1);
    ShowControl(IdLowerNote, 1);
    ShowControl(IdProgressBar, 1);
    EnableControl(IdNext, 0);
    DrainMessages(Dialog());
    // A backup that failed stops the patch before any change; single entries
    // that fail reach the user through the report, not here.
    WizardHost host;
    const bool backedUp = HandOffIfBackupAsked() != 0;
    if (backedUp) RunProcessingPass(host);
    DiscardUserInput();
    EnableControl(IdNext, 1);
    // Never "complete" when nothing was done.
    if (backedUp)
        Text(IdNotice, ResWorkDoneNotice);
    else
        SetDlgItemTextA(Dialog(), IdNotice, kBackupFailedText);
    Text(IdLowerNote, ResWorkDoneNote);
    RestoreClassCursor();
}

void EnterReportPage() {
    Title(ResReportCaption);
    ShowControl(IdTextBox, 1);
    SetDlgItemTextA(Dialog(), IdTextBox, RunState.ReportText ? RunState.ReportText.get() : "");
}

void EnterClosingPage() {
    Title(ResClosingCaption);
    Text(IdTextBox, ResClosingBody);
    ShowControl(IdTextBox, 1);
}

void EnterAuthorPage() {
    Title(ResAuthorCaption);
    Text(IdNameCaption, ResAuthorNameLabel);
    Text(IdMailCaption, ResAuthorMailLabel);
    Text(IdWebCaption, ResAuthorWebLabel);
    Text(IdNameText, ResAuthorName);
    Text(IdMailLink, ResAuthorMail);
    Text(IdWebLink, ResAuthorWeb);
    Text(IdNotice, ResAuthorNotice);
    Text(IdFrame, ResAuthorFrame);
    ShowCreditRows();
    SetClassCursor(RunState.WebLinkWindow, RunState.LinkCursorPath);
}

void EnterMakerCreditsPage() {
    Title(ResMakerCaption);
    Text(IdFrame, ResMakerFrame);
    Text(IdNotice, ResMakerNotice);
    Text(IdNameText, ResMakerName);
    Text(IdMailLink, ResMakerMail);
    Text(IdWebLink, ResMakerWeb);
    Text(IdNameCaption, ResMakerNameLabel);
    Text(IdMailCaption, ResMakerMailLabel);
    Text(IdWebCaption, ResMakerWebLabel);
    RunState.CreditsSeen = 1;
    Text(IdNext, ResFinishLabel);
    ShowCreditRows();
    SetClassCursor(RunState.WebLinkWindow, RunState.LinkCursorPath);
}

void FinishWizard() {
    if (RunState.RebootPending != 0 && !RestartDecidedByCommandLine()) {
        const char* question = ResourceText(ResRestartText);
        const char* caption = ResourceText(ResRestartCaption);
        if (MessageBoxA(Dialog(), question ? question : "", caption ? caption : "", MB_YESNO | MB_ICONQUESTION) ==
            IDYES)
            RestartComputer();  // only asks for the restart; the session still ends below
    }
    EndWizard(1);
}

void SetFixedLabels() {
    Text(IdAgree, ResAgreeLabel);
    Text(IdDisagree, ResDisagreeLabel);
    Text(IdBackupBox, ResBackupLabel);
    Text(IdSkipDifferingBox, ResSkipDifferingLabel);
    Text(IdSkipMissingBox, ResSkipMissingLabel);
    Text(IdBrowse, ResBrowseLabel);
    Text(IdShowReportBox, ResShowReportLabel);
}

void LoadOptionStates() {
    // The raw bytes are kept; a box is ticked only for a value of exactly 1.
    RunState.ShowReportOption = RunState.PageTable[8];
    RunState.BackupOption = RunState.OptionDefaults[0];
    RunState.SkipDifferingOption = RunState.OptionDefaults[1];
    RunState.SkipMissingOption = RunState.OptionDefaults[2];
    SetCheck(IdShowReportBox, static_cast<int>(RunState.ShowReportOption));
    SetCheck(IdBackupBox, static_cast<int>(RunState.BackupOption));
    SetCheck(IdSkipDifferingBox, static_cast<int>(RunState.SkipDifferingOption));
    SetCheck(IdSkipMissingBox, static_cast<int>(RunState.SkipMissingOption));
}
