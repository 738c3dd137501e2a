// Restart of the computer and the hand-off to the uninstaller.
#pragma once
#include <windows.h>

// The uninstaller's exit code for "the backup could not be made": the patch
// must stop before any change. For an uninstaller of the author's own, any
// other code lets the patch go on.
constexpr DWORD kBackupFailedExitCode = 1603;

// Writes "HWND" and "ExpandName" into the working Setup.ini and runs
// "Uninstaller.exe /I" from the working folder, waiting for it. 1 when the
// patch may go on. 0 when it must stop before any change: the uninstaller
// exited with kBackupFailedExitCode, or, in a patch that carries the backup
// companion (resource ResBackupCompanion), the companion did not report a
// backup made (exit code 0 and [Backup] Made= in the working Setup.ini).
// The failure is logged, and shown in the wizard unless the companion has
// shown it.
int HandOffToUninstaller();
// The hand-off when the backup option is ticked; otherwise 1 at once, and a
// patch that carries the backup companion logs that no backup was made.
int HandOffIfBackupAsked();
// After a run that was rolled back and changed nothing: the backup this run
// made (not one an earlier run made and this one kept) is no backup of a
// change, and its manifest goes, which makes it none; the next run of the
// patch backs up what it finds then.
void GiveUpBackupOfUnchangedRun();
// Asks the system to restart (with the shutdown privilege on the NT family)
// and returns at once.
void RestartComputer();
// At the end of a run with a restart pending: true when the command line
// has already decided (/norestart: no restart; /forcerestart: restarted now),
// so nobody is asked.
bool RestartDecidedByCommandLine();

// The call that finally asks for the restart: ExitWindowsEx. Tests point it
// at a recorder so that their own run is not ended.
using RestartRequest = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern RestartRequest RequestRestart;
