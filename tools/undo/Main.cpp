// zuliundo: the backup companion of a patch.
//   Uninstaller.exe /I       run by the patch in its working folder, before
//                            any change: backs up what will change, into a
//                            folder of its own in the store. Exit 0, with
//                            the folder it used written into the working
//                            Setup.ini as [Backup] Made=, or 1603 when the
//                            backup could not be made, which stops the patch
//                            before it changes anything.
//   zuliundo.exe /restore [NAME] [/force] [/quiet] [/log=FILE]
//                            run from the store: checks the whole backup
//                            (the only one, or the one named), and that every
//                            file is still what the patch left there (unless
//                            /force), then puts every file and registry value
//                            back. Exit 0, 3010 (files in use are replaced at
//                            the restart) or 1603 (also for a backup that
//                            fails its checks: nothing is restored).
//   zuliundo.exe /list [/quiet] [/log=FILE]
//                            names the backups in the store.
#include <windows.h>

#include "CompanionLog.h"
#include "Undo.h"
#include "core/SingleRun.h"
#include "core/SystemLibraries.h"
#include "core/SystemErrorText.h"
#include "core/TransactionJournal.h"
#include "script/ScriptKeys.h"

namespace {

// What undoing interrupted patch runs did, for the closing message.
std::string RecoveryMessages;

void NoteRecovery(const char* what, const char* journal, DWORD error) {
    RecoveryMessages += std::string("An interrupted patch run (") + journal + "): " + what;
    if (error) {
        char reason[512] = {};
        FormatSystemError(error, reason, sizeof reason);
        RecoveryMessages += std::string(": ") + reason;
    }
    RecoveryMessages += "\r\n";
}

bool IsSwitch(const char* argument, const char* name) {
    return (argument[0] == '/' || argument[0] == '-') && lstrcmpiA(argument + 1, name) == 0;
}

// The value of "/name=value" (quotes already taken off by the C runtime).
const char* SwitchValue(const char* argument, const char* name) {
    const int length = lstrlenA(name);
    if ((argument[0] != '/' && argument[0] != '-') || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, argument + 1,
                                                                      length, name, length) != CSTR_EQUAL ||
        argument[1 + length] != '=')
        return nullptr;
    return argument + 2 + length;
}

std::string FolderOfProgram() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

constexpr char kUsage[] =
    "zuliundo.exe /restore [NAME] [/force] [/quiet] [/log=FILE]\r\n"
    "zuliundo.exe /list [/quiet] [/log=FILE]\r\n\r\n"
    "/restore puts back what a patch changed, from its backup in this program's folder: the only one, or the one "
    "named (/list names them). /force also puts back files edited or replaced since the patch.";

}  // namespace

int main(int argc, char** argv) {
    // Started elevated from the backup folder or the patch's working folder:
    // no library of a familiar name planted beside it is ever loaded.
    RestrictLibrarySearch();
    bool backUp = false, restore = false, list = false, quiet = false, force = false, help = false, bad = false;
    std::string name, logPath;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (IsSwitch(argument, "I")) backUp = true;
        else if (IsSwitch(argument, "restore")) restore = true;
        else if (IsSwitch(argument, "list")) list = true;
        else if (IsSwitch(argument, "quiet")) quiet = true;
        else if (IsSwitch(argument, "force")) force = true;
        else if (IsSwitch(argument, "?")) help = true;
        else if (const char* value = SwitchValue(argument, "log")) logPath = value;
        else if (argument[0] != '/' && argument[0] != '-' && name.empty()) name = argument;
        else bad = true;
    }
    const int jobs = int(backUp) + int(restore) + int(list);
    bad = bad || jobs > 1 || (!restore && !name.empty()) || (jobs == 0 && !help);
    CompanionLog log;
    if (!logPath.empty() && !log.Open(logPath)) {
        if (!quiet)
            MessageBoxA(nullptr, ("The log " + logPath + " cannot be written: " + log.Problem()).c_str(), "zuliundo",
                        MB_OK | MB_ICONERROR);
        return kUndoBadCommandLine;
    }
    if (help || bad) {
        log.Write(kUsage);
        if (!quiet) MessageBoxA(nullptr, kUsage, "zuliundo", MB_OK | MB_ICONINFORMATION);
        // Asked for, the help is an answer, as the patch's /? is.
        return log.End(help && !bad ? kUndoDone : kUndoBadCommandLine);
    }

    std::string message;
    if (backUp) {
        char folder[MAX_PATH + 1] = {};
        GetCurrentDirectoryA(MAX_PATH, folder);
        int code = BackUp(folder, message);
        log.Write(code == kUndoDone ? "Backup made." : "Backup failed: " + message);
        std::string script = JoinPath(folder, "Setup.ini");
        // Nobody reads a message box in an unattended run.
        if (code != kUndoDone && GetPrivateProfileIntA(kSetupSection, kUnattendedKey, 0, script.c_str()) == 0) {
            HWND owner = reinterpret_cast<HWND>(
                static_cast<INT_PTR>(static_cast<int>(GetPrivateProfileIntA(kSetupSection, kHwndKey, 0, script.c_str()))));
            std::string text = "The backup could not be made, so the patch has changed nothing.\r\n\r\n" + message;
            MessageBoxA(IsWindow(owner) ? owner : nullptr, text.c_str(), "Backup", MB_OK | MB_ICONERROR);
        }
        return log.End(code);
    }
    const std::string store = FolderOfProgram();
    if (list) {
        message = DescribeBackups(store);
        log.Write(message);
        WriteToStandardOutput(message);
        if (!quiet) MessageBoxA(nullptr, message.c_str(), "zuliundo", MB_OK | MB_ICONINFORMATION);
        return log.End(kUndoDone);
    }
    // A patch still running would go on changing what the restore puts
    // back (and a patch started now waits for the restore, and gives up).
    RunLockNote lock;
    if (!ClaimRunNow(lock)) {
        message = "A patch or another restore is running. Nothing was restored; restore once it has ended. "
                  "Run lock held: ";
        message += lock.name;
        log.Write(message);
        if (!quiet) MessageBoxA(nullptr, message.c_str(), "zuliundo", MB_OK | MB_ICONERROR);
        return log.End(kUndoAnotherRun);
    }
    std::string folder;
    int code = FindBackup(store, name, folder, message);
    if (code != kUndoDone) {
        log.Write(message);
        if (!quiet) MessageBoxA(nullptr, message.c_str(), "zuliundo", MB_OK | MB_ICONERROR);
        return log.End(code);
    }
    log.Write("Restoring the backup in " + folder);
    // A patch run cut short is undone first: the backup describes the
    // application before that run, not halfway through it.
    if (RecoverInterruptedRuns(SystemSwapPlatform(), NoteRecovery) == RecoveryOutcome::Blocked) {
        message = RecoveryMessages + "\r\nNothing was restored.";
        log.Write(message);
        if (!quiet) MessageBoxA(nullptr, message.c_str(), "zuliundo", MB_OK | MB_ICONERROR);
        return log.End(kUndoFailed);
    }
    code = Restore(folder, force, message);
    message = RecoveryMessages + message;
    log.Write(message);
    if (!quiet)
        MessageBoxA(nullptr, message.c_str(), "zuliundo", MB_OK | (code == kUndoFailed ? MB_ICONERROR : MB_ICONINFORMATION));
    return log.End(code);
}
