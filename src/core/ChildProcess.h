// Starting child programs and letting the wizard repaint around long work.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

// Starts `program` (command line: its title, a blank, `arguments`) in
// `workFolder` and waits for it. 1 unless the wait failed, else 0.
int RunAndWait(const char* program, const char* arguments, const char* workFolder);
// The exit code of the child RunAndWait last waited for (0 when unknown).
extern DWORD LastChildExitCode;
// The file-name part of `path` as the shell shows it, in a new 260-byte text.
HeapText FileTitleOf(const char* path);
// Dispatches every pending message of `window`. Always 1.
int DrainMessages(HWND window);
