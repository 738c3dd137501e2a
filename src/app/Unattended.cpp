// The wizard's work without the wizard. The passes get the folder from
// /dir= and show progress through the unattended host: on a small captioned
// window with a progress bar for /passive, nowhere for /quiet.
#include "app/Unattended.h"

#include <windows.h>
#include <commctrl.h>

#include "actions/Handoff.h"
#include "actions/ProcessingPass.h"
#include "app/AdminRun.h"
#include "app/UnattendedHost.h"
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

// The /passive window: the patch's title and a progress bar, shown whole
// or not at all.
HWND CreateProgressWindow() {
    const char* title = ResourceText(ResPatchTitle);
    HWND window = CreateWindowExA(0, "#32770", title ? title : "", WS_POPUP | WS_CAPTION,
                                  (GetSystemMetrics(SM_CXSCREEN) - 360) / 2, (GetSystemMetrics(SM_CYSCREEN) - 90) / 2,
                                  360, 90, nullptr, nullptr, RunState.Instance, nullptr);
    if (!window) return nullptr;
    CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 16, 16, 320, 20, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdProgressBar)), RunState.Instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// The verification page's work; false when the check failed.
bool Check(UnattendedHost& host) {
    if (RunState.PageTable[kCheckPageSlot] == 0) return true;
    // The folder page would show entry 1's folder; /dir= replaces it.
    if (RunState.PageTable[kFolderPageSlot] != 0 && !RunOptions.Dir[0]) VerifyEntries(VerifyMode::FillFolder, host);
    return VerifyEntries(VerifyMode::Checking, host) != 0;
}

int Work(UnattendedHost& host) {
    if (!Check(host)) return kExitFailed;
    DrainMessages(RunState.DialogWindow);
    if (RunState.PageTable[kWorkPageSlot] == 0) return kExitSuccess;
    if (HandOffIfBackupAsked() == 0) return kExitFailed;
    RunProcessingPass(host);
    DrainMessages(RunState.DialogWindow);
    if (FailedActionCount() != 0) return kExitFailed;
    if (RunState.RebootPending == 0) return kExitSuccess;
    if (RunOptions.ForceRestart) RestartComputer();
    return kExitRestartRequired;
}

}  // namespace

int RunUnattended() {
    // The window, when there is one, also owns what the run starts (the
    // uninstaller, a program of the patch).
    RunState.DialogWindow = RunOptions.Mode == RunMode::Passive ? CreateProgressWindow() : nullptr;
    RunState.BackupOption = RunState.OptionDefaults[0];
    RunState.SkipDifferingOption = RunState.OptionDefaults[1];
    RunState.SkipMissingOption = RunState.OptionDefaults[2];
    DrainMessages(RunState.DialogWindow);
    UnattendedHost host;
    const int code = Work(host);
    CleanUpSession();
    if (RunState.DialogWindow) DestroyWindow(RunState.DialogWindow);
    return code;
}
