#include "actions/Handoff.h"

#include <cstring>

#include "core/ChildProcess.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/Payload.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunOptions.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "script/EntrySection.h"
#include "script/ScriptKeys.h"

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

// Whether the patch may go on after the hand-off. A patch built with the
// backup companion (the builder stores that resource only then) promises
// one whenever the box is ticked: it counts as made only on the companion's
// own word, exit code 0 and the folder it wrote back into the working
// script; a companion that could not start, crashed or failed in any way
// has made nothing anyone could restore. An uninstaller of the author's own
// is optional: only the one exit code that says "the backup could not be
// made" stops the patch.
bool PatchMayGoOn(int waited) {
    if (!ResourceSize(ResBackupCompanion)) return !waited || LastChildExitCode != kBackupFailedExitCode;
    RunState.ScriptReader.SetSection(kBackupSection);
    HeapText made = RunState.ScriptReader.ReadValue(kBackupMadeKey);
    if (!waited || LastChildExitCode != 0 || !made) return false;
    LogLine(RunState.ScriptReader.ReadInteger(kBackupKeptKey) ? "Backup: kept the one made earlier in %s"
                                                              : "Backup: made in %s",
            made.get());
    return true;
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
    const bool interactive = RunOptions.Mode == RunMode::Interactive;
    if (!interactive) RunState.ScriptReader.WriteValue(kUnattendedKey, "1");

    if (RunState.WorkFolder) lstrcpynA(program.get(), RunState.WorkFolder, kPathBufferSize);
    AppendPath(program.get(), kUninstallerName);

    WriteEntryPaths();
    // Only the uninstaller this run unpacked is ever started, never a file
    // that merely sits in the working folder under its name.
    LastChildExitCode = 0;
    const int waited = PayloadCarries(kUninstallerName) ? RunAndWait(program.get(), "/I", RunState.WorkFolder) : 0;
    LogLine("%s /I: %s, exit code %u (0x%X)", kUninstallerName, waited ? "ran" : "not run", LastChildExitCode,
            LastChildExitCode);
    DrainMessages(RunState.DialogWindow);
    if (PatchMayGoOn(waited)) return 1;
    const char* failed = NoteBackupFailed();
    // The companion tells the user of the failure it reports itself; of a
    // start that failed or a crash nobody else would.
    if (interactive && LastChildExitCode != kBackupFailedExitCode)
        MessageBoxA(RunState.DialogWindow, failed, ResourceText(ResPatchTitle), MB_OK | MB_ICONERROR);
    return 0;
}

int HandOffIfBackupAsked() {
    if (RunState.BackupOption) return HandOffToUninstaller();
    if (ResourceSize(ResBackupCompanion)) LogLine("Backup: none made, as the backup option is off");
    return 1;
}

void GiveUpBackupOfUnchangedRun() {
    RunState.ScriptReader.SetSection(kBackupSection);
    HeapText made = RunState.ScriptReader.ReadValue(kBackupMadeKey);
    if (!made || RunState.ScriptReader.ReadInteger(kBackupKeptKey)) return;
    char manifest[kPathBufferSize];
    lstrcpynA(manifest, made.get(), sizeof manifest);
    if (AppendPath(manifest, "Backup.ini") && DeleteFileA(manifest))
        LogLine("Backup: given up, as nothing was changed: %s", made.get());
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
