// The folder question: the verification pass stops in the middle, puts the
// folder page back on screen and waits, in a message loop of its own, for
// the user to confirm a folder.
#include "wizard/FolderQuestion.h"

#include <windows.h>

#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "wizard/Navigation.h"
#include "wizard/Pages.h"

namespace {

// Runs the dialog's messages until Next or Back sets ResumeCode. A quit
// request or a broken queue ends the wait as Back would, instead of waiting
// for ever; the quit request is put back for the loops further out.
void WaitForResume() {
    MSG message;
    while (RunState.ResumeCode == kResumeRunning) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            RunState.ResumeCode = kResumeBack;
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            RunState.ResumeCode = kResumeBack;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int AskForFolder() {
    HidePageControls();  // leaving the check page for now
    RunState.ResumeCode = kResumeRunning;
    EnterFolderPage(true);
    RunState.CurrentPage = kFolderQuestionPage;
    DiscardUserInput();  // only a click made on this page confirms the folder
    WaitForResume();

    RunState.CurrentPage = 5;
    HidePageControls();
    RunState.CurrentPage = 6;
    EnterVerificationPage(true);  // back to the check, which goes on
    UpdateWindow(RunState.DialogWindow);

    if (RunState.ResumeCode == kResumeNext) return 1;
    ComposeError(ResErrChooseAgain, 0, "", 0);
    return 0;
}
