// Restart of the computer and the hand-off to the uninstaller.
#pragma once
#include <windows.h>

// Writes "HWND" and "ExpandName" into the working Setup.ini and runs
// "Uninstaller.exe /I" from the working folder, waiting for it. Always 1.
int HandOffToUninstaller();
// Asks the system to restart (with the shutdown privilege on the NT family)
// and returns at once.
void RestartComputer();

// The call that finally asks for the restart: ExitWindowsEx. Tests point it
// at a recorder so that their own run is not ended.
using RestartRequest = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern RestartRequest RequestRestart;
