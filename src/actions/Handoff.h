// Restart of the computer and the hand-off to the uninstaller.
#pragma once
#include <windows.h>

// The uninstaller's exit code for "the backup could not be made": the patch
// must stop before any change. Any other code lets the patch go on.
constexpr DWORD kBackupFailedExitCode = 1603;

// Writes "HWND" and "ExpandName" into the working Setup.ini and runs
// "Uninstaller.exe /I" from the working folder, waiting for it. 1, or 0 when
// the uninstaller exited with kBackupFailedExitCode.
int HandOffToUninstaller();
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
