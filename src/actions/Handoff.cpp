#include "actions/Handoff.h"

#include <cstring>

#include "core/ChildProcess.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/Payload.h"
#include "core/RunLog.h"
#include "core/RunOptions.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "script/EntrySection.h"

RestartRequest RequestRestart = ExitWindowsEx;

namespace {

constexpr char kUninstallerName[] = "Uninstaller.exe";

// The uninstaller learns which files are about to change from the working
// copy of the script: the entry's resolved path, skip mark included.
void WriteEntryPaths() {
    if (!RunState.EntryPaths) return;
    for (uint32_t n = 1; n <= RunState.EntryCount; ++n) {
        char section[kEntrySectionNameSize] = {};
        FormatEntrySectionName(section, n);
        RunState.ScriptReader.SetSection(section);
        RunState.ScriptReader.WriteValue(kExpandNameKey, RunState.EntryPaths[n]);
    }
}

// Without the shutdown privilege the NT family refuses the restart. Nothing
// is checked: a refusal leaves the replacements for the next restart.
void EnableShutdownPrivilege() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return;
    TOKEN_PRIVILEGES wanted{};
#if !defined(_WIN64)
    static_assert(sizeof wanted == 16, "TOKEN_PRIVILEGES with one entry is 16 bytes on 32-bit Windows");
#endif
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privileges[0].Luid);
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof previous, &previous, &previousLength);
}

}  // namespace

int HandOffToUninstaller() {
    HeapText program = AllocText(kPathBufferSize);
    if (!program) return 1;

    char handle[16];
    wsprintfA(handle, "%d", static_cast<int>(reinterpret_cast<intptr_t>(RunState.DialogWindow)));
    RunState.ScriptReader.SetSection(kSetupSection);
    RunState.ScriptReader.WriteValue(kHwndKey, handle);
    // Nobody is there to read a message box during /quiet and /passive.
    if (RunOptions.Mode != RunMode::Interactive) RunState.ScriptReader.WriteValue("Unattended", "1");

    if (RunState.WorkFolder) lstrcpynA(program.get(), RunState.WorkFolder, kPathBufferSize);
    AppendPath(program.get(), kUninstallerName);

    WriteEntryPaths();
    // The uninstaller is optional: when it is missing or fails in any other
    // way, patching goes on, as it always has for uninstallers of the
    // author's own. Only the one this run unpacked is ever started, never a
    // file that merely sits in the working folder under its name. Only the
    // one exit code that says "the backup could not be made" stops the
    // patch, before anything has changed.
    LastChildExitCode = 0;
    const int waited = PayloadCarries(kUninstallerName) ? RunAndWait(program.get(), "/I", RunState.WorkFolder) : 0;
    LogLine("Uninstaller.exe /I: %s, exit code %u", waited ? "ran" : "not run", LastChildExitCode);
    DrainMessages(RunState.DialogWindow);
    if (waited && LastChildExitCode == kBackupFailedExitCode) {
        NoteBackupFailed();
        return 0;
    }
    return 1;
}

void RestartComputer() {
    if (DetectPlatform()) EnableShutdownPrivilege();
    RequestRestart(EWX_REBOOT, 0);
}

bool RestartDecidedByCommandLine() {
    if (RunOptions.ForceRestart) {
        RestartComputer();
        return true;
    }
    return RunOptions.NoRestart;
}
