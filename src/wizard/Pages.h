// The wizard's pages: entering each page, the finish step, and the steps of
// the dialog's initialisation that belong to the pages.
#pragma once

// One-line control operations on the wizard dialog. A control is shown only
// for a show value of exactly 1, and ticked only for a value of exactly 1.
void ShowControl(int controlId, int show);
void EnableControl(int controlId, int enable);
void SetCheck(int controlId, int value);

// Drops the mouse and keyboard input queued while Next was disabled for a
// pass, before Next or a question takes input again.
void DiscardUserInput();

void EnterIntroductionPage();
void EnterInformationPage();
void EnterAgreementPage();
void EnterOptionsPage();
// keepFolder false fills the folder box from the first script entry; true
// keeps the box's text and makes the page part of the walk from now on.
void EnterFolderPage(bool keepFolder);
// displayOnly true only puts the page back on screen (the folder question
// uses it in the middle of a pass); false runs the check.
void EnterVerificationPage(bool displayOnly);
void EnterProcessingPage();
void EnterReportPage();
void EnterClosingPage();
void EnterAuthorPage();
void EnterMakerCreditsPage();
// The finish step: the restart question when a replacement waits, then the
// dialog ends with code 1.
void FinishWizard();
// Ends the dialog with `code` and deletes the session at once: the only way
// the wizard ever closes.
void EndWizard(int code);

void SetFixedLabels();
void LoadOptionStates();
