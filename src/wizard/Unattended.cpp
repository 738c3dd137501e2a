// The wizard's work without the wizard. The passes read the folder box and
// drive the progress bar of the dialog, so a stand-in window carries the
// two controls they use: a message-only window for /quiet (never on
// screen), a small captioned window with a visible progress bar for
// /passive.
#include "wizard/Unattended.h"

#include <windows.h>
#include <commctrl.h>

#include "actions/Handoff.h"
#include "actions/ProcessingPass.h"
#include "core/AdminRun.h"
#include "core/ChildProcess.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "script/Verification.h"
#include "wizard/ControlIds.h"

namespace {

constexpr int kFolderPageSlot = 5;
constexpr int kCheckPageSlot = 6;
constexpr int kWorkPageSlot = 7;

HWND CreateStandIn(bool visible) {
    const char* title = ResourceText(ResPatchTitle);
    HWND host = CreateWindowExA(0, "#32770", title ? title : "", visible ? WS_POPUP | WS_CAPTION : 0,
                                (GetSystemMetrics(SM_CXSCREEN) - 360) / 2, (GetSystemMetrics(SM_CYSCREEN) - 90) / 2,
                                360, 90, visible ? nullptr : HWND_MESSAGE, nullptr, RunState.Instance, nullptr);
    if (!host) return nullptr;
    CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 10, 10, host,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdFolderBox)), RunState.Instance, nullptr);
    CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 16, 16, 320, 20, host,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdProgressBar)), RunState.Instance, nullptr);
    // Shown whole, with its progress bar, or not at all.
    if (visible) ShowWindow(host, SW_SHOWNOACTIVATE);
    return host;
}

// The verification page's work; false when the check failed.
bool Check() {
    if (RunState.PageTable[kCheckPageSlot] == 0) return true;
    if (RunState.PageTable[kFolderPageSlot] != 0) {
        // The folder page would show entry 1's folder; /dir= replaces it.
        if (RunOptions.Dir[0]) SetDlgItemTextA(RunState.DialogWindow, IdFolderBox, RunOptions.Dir);
        else VerifyEntries(VerifyMode::FillFolder);
    }
    return VerifyEntries(VerifyMode::Checking) != 0;
}

int Work() {
    if (!Check()) return kExitFailed;
    DrainMessages(RunState.DialogWindow);
    if (RunState.PageTable[kWorkPageSlot] == 0) return kExitSuccess;
    if (RunState.BackupOption != 0 && HandOffToUninstaller() == 0) return kExitFailed;
    RunProcessingPass();
    DrainMessages(RunState.DialogWindow);
    if (FailedActionCount() != 0) return kExitFailed;
    if (RunState.RebootPending == 0) return kExitSuccess;
    if (RunOptions.ForceRestart) RestartComputer();
    return kExitRestartRequired;
}

}  // namespace

int RunUnattended() {
    RunState.DialogWindow = CreateStandIn(RunOptions.Mode == RunMode::Passive);
    RunState.BackupOption = RunState.OptionDefaults[0];
    RunState.SkipDifferingOption = RunState.OptionDefaults[1];
    RunState.SkipMissingOption = RunState.OptionDefaults[2];
    DrainMessages(RunState.DialogWindow);
    const int code = Work();
    CleanUpSession();
    DestroyWindow(RunState.DialogWindow);
    return code;
}

int AnswerFolderQuestionUnattended() {
    if (RunOptions.Dir[0]) {
        SetDlgItemTextA(RunState.DialogWindow, IdFolderBox, RunOptions.Dir);
        return 1;
    }
    LogLine("The patch asks for a folder: give it with /dir=FOLDER");
    ComposeError(ResErrChooseAgain, 0, "", 0);
    return 0;
}
