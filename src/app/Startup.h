// The program's start-up sequence, run by the entry point (app/EntryPoint.cpp).
#pragma once
#include <windows.h>

// Runs the whole program: start-up, the wizard dialog (or the unattended
// run). Returns the process's exit code (kAnotherRunExitCode when another
// run was going).
int RunPatchProgram(HINSTANCE instance);
