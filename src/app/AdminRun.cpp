#include "app/AdminRun.h"

#include <windows.h>

#include "actions/Handoff.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "wizard/ControlIds.h"
#include "app/Unattended.h"
#include "wizard/Wizard.h"

namespace {

constexpr char kUsage[] =
    "/quiet\tno window, no questions\r\n"
    "/passive\tprogress window only\r\n"
    "/dir=FOLDER\ttarget folder\r\n"
    "/log=FILE\tappend a log\r\n"
    "/norestart\tnever restart\r\n"
    "/forcerestart\trestart if needed\r\n\r\n"
    "Exit codes: 0 done, 3010 restart required, 1602 cancelled, 1603 failed, 1618 already running, 87 bad switch";

// The usage, after `problem` and `what` when there is a problem.
void ShowUsage(const char* problem, const char* what) {
    char text[sizeof kUsage + kOptionTextSize + 64];
    wsprintfA(text, problem[0] ? "%s%s\r\n\r\n%s" : "%s%s%s", problem, what, kUsage);
    const char* title = ResourceText(ResPatchTitle);
    MessageBoxA(nullptr, text, title ? title : "", MB_OK | (problem[0] ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace

int BeginRun() {
    CommandLineOptions& options = RunOptions;
    const char* commandLine = GetCommandLineA();
    ParseCommandLine(commandLine, options);
    const char* problem = "Unknown switch: ";
    const char* what = options.BadSwitch;
    if (options.Log[0]) {
        if (OpenRunLog(options.Log)) {
            const char* title = ResourceText(ResPatchTitle);
            LogLine("Patch: %s", title ? title : "");
            LogText("Command line", commandLine);
        } else if (!options.Bad) {
            // A log that was asked for and cannot be written: the run would
            // leave no account of itself.
            problem = "Cannot open the log: ";
            what = options.Log;
            options.Bad = true;
        }
    }
    if (options.Bad) {
        LogLine("%s%s", problem, what);
        // Only the interactive run may stop for a message box: nobody may
        // be there to answer an unattended one.
        if (options.Mode == RunMode::Interactive) ShowUsage(problem, what);
        return EndRun(kExitBadCommandLine);
    }
    if (options.ShowUsage) {
        LogText("Usage", kUsage);
        if (options.Mode == RunMode::Interactive) ShowUsage("", "");
        return EndRun(kExitSuccess);
    }
    return -1;
}

int RunWizardOrUnattended() {
    if (RunOptions.Mode != RunMode::Interactive) return RunUnattended();
    INT_PTR ended = DialogBoxParamA(RunState.Instance, MAKEINTRESOURCEA(kWizardDialogId), nullptr, WizardDialogProc, 0);
    if (ended != 1) {
        // Cancel in the failed check's box leaves the check page current;
        // Back past the first page reaches page 0.
        return RunState.CurrentPage == 0 ? kExitCancelled : kExitFailed;
    }
    if (FailedActionCount() != 0) return kExitFailed;
    return RunState.RebootPending ? kExitRestartRequired : kExitSuccess;
}

int EndRun(int exitCode) {
    CloseRunLog(exitCode);
    return exitCode;
}
