// zuliundo: the backup companion of a patch.
//   Uninstaller.exe /I       run by the patch in its working folder, before
//                            any change: backs up what will change. Exit 0,
//                            with the folder it used written into the working
//                            Setup.ini as [Backup] Made=, or 1603 when the
//                            backup could not be made, which stops the patch
//                            before it changes anything.
//   zuliundo.exe /restore [/force] [/quiet]
//                            run from the backup folder: checks the whole
//                            backup, and that every file is still what the
//                            patch left there (unless /force), then puts
//                            every file and registry value back. Exit 0, 3010 (files in use are replaced
//                            at the restart) or 1603 (also for a backup that
//                            fails its checks: nothing is restored).
#include <windows.h>

#include "Undo.h"
#include "core/SingleRun.h"
#include "core/SystemLibraries.h"
#include "core/SystemErrorText.h"
#include "core/TransactionJournal.h"

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

std::string FolderOfProgram() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace

int main(int argc, char** argv) {
    // Started elevated from the backup folder or the patch's working folder:
    // no library of a familiar name planted beside it is ever loaded.
    RestrictLibrarySearch();
    bool backUp = false, restore = false, quiet = false, force = false, help = false;
    for (int i = 1; i < argc; ++i) {
        if (IsSwitch(argv[i], "I")) backUp = true;
        else if (IsSwitch(argv[i], "restore")) restore = true;
        else if (IsSwitch(argv[i], "quiet")) quiet = true;
        else if (IsSwitch(argv[i], "force")) force = true;
        else if (IsSwitch(argv[i], "?")) help = true;
        else restore = backUp = true;  // unknown: refused below
    }
    if (help || backUp == restore) {
        if (!quiet)
            MessageBoxA(nullptr, "zuliundo.exe /restore [/force] [/quiet]\r\n\r\nPuts back what the patch changed, "
                                 "from the backup in this program's folder. /force also puts back files edited "
                                 "or replaced since the patch.",
                        "zuliundo", MB_OK | MB_ICONINFORMATION);
        // Asked for, the help is an answer, as the patch's /? is.
        return help && !(backUp && restore) ? kUndoDone : kUndoBadCommandLine;
    }

    std::string message;
    if (backUp) {
        char folder[MAX_PATH + 1] = {};
        GetCurrentDirectoryA(MAX_PATH, folder);
        int code = BackUp(folder, message);
        std::string script = JoinPath(folder, "Setup.ini");
        // Nobody reads a message box in an unattended run.
        if (code != kUndoDone && GetPrivateProfileIntA("Setup", "Unattended", 0, script.c_str()) == 0) {
            HWND owner = reinterpret_cast<HWND>(
                static_cast<INT_PTR>(static_cast<int>(GetPrivateProfileIntA("Setup", "HWND", 0, script.c_str()))));
            std::string text = "The backup could not be made, so the patch has changed nothing.\r\n\r\n" + message;
            MessageBoxA(IsWindow(owner) ? owner : nullptr, text.c_str(), "Backup", MB_OK | MB_ICONERROR);
        }
        return code;
    }
    // A patch still running would go on changing what the restore puts
    // back (and a patch started now waits for the restore, and gives up).
    if (!ClaimRunNow()) {
        if (!quiet)
            MessageBoxA(nullptr, "A patch or another restore is running. Nothing was restored; restore once it has ended.",
                        "zuliundo", MB_OK | MB_ICONERROR);
        return kUndoAnotherRun;
    }
    // A patch run cut short is undone first: the backup describes the
    // application before that run, not halfway through it.
    if (RecoverInterruptedRuns(SystemSwapPlatform(), NoteRecovery) == RecoveryOutcome::Blocked) {
        if (!quiet)
            MessageBoxA(nullptr, (RecoveryMessages + "\r\nNothing was restored.").c_str(), "zuliundo", MB_OK | MB_ICONERROR);
        return kUndoFailed;
    }
    int code = Restore(FolderOfProgram(), force, message);
    message = RecoveryMessages + message;
    if (!quiet)
        MessageBoxA(nullptr, message.c_str(), "zuliundo", MB_OK | (code == kUndoFailed ? MB_ICONERROR : MB_ICONINFORMATION));
    return code;
}
