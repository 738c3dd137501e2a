// The program's start-up sequence, run by WinMain.
#pragma once
#include <windows.h>

// Runs the whole program: start-up, the wizard dialog. Returns the process's
// exit code: 0, or kAnotherRunExitCode when another run was going.
int RunPatchProgram(HINSTANCE instance);
