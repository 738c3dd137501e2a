// The program's start-up sequence, run by WinMain.
#pragma once
#include <windows.h>

// Runs the whole program: start-up, the wizard dialog, and returns 0.
int RunPatchProgram(HINSTANCE instance);
