// Restart of the computer and the hand-off to the uninstaller.
#pragma once

// Writes "HWND" and "ExpandName" into the working Setup.ini and runs
// "Uninstaller.exe /I". Always 1.
int HandOffToUninstaller();
// Asks the system to restart (with the shutdown privilege on the NT family).
void RestartComputer();
