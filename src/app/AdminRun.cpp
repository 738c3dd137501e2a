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

void ShowUsage(const char* unknown) {
    char text[sizeof kUsage + kOptionTextSize + 64];
    wsprintfA(text, unknown[0] ? "Unknown switch: %s\r\n\r\n%s" : "%s%s", unknown, kUsage);
    const char* title = ResourceText(ResPatchTitle);
    MessageBoxA(nullptr, text, title ? title : "", MB_OK | (unknown[0] ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace

int BeginRun() {
    CommandLineOptions& options = RunOptions;
    const char* commandLine = GetCommandLineA();
    ParseCommandLine(commandLine, options);
    if (options.Log[0] && OpenRunLog(options.Log)) {
        const char* title = ResourceText(ResPatchTitle);
        LogLine("Patch: %s", title ? title : "");
        LogText("Command line", commandLine);
    }
    if (options.Bad) {
        LogLine("Unknown switch: %s", options.BadSwitch);
        // Only the interactive run may stop for a message box: nobody may
        // be there to answer an unattended one.
        if (options.Mode == RunMode::Interactive) ShowUsage(options.BadSwitch);
        return EndRun(kExitBadCommandLine);
    }
    if (options.ShowUsage) {
        LogText("Usage", kUsage);
        if (options.Mode == RunMode::Interactive) ShowUsage("");
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
