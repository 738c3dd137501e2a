// Starting child programs and letting the wizard repaint around long work.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

// Starts `program` (command line: its title, in quotes when it holds a blank,
// a blank, `arguments`) in `workFolder` and waits for it, answering messages
// sent to this thread meanwhile but leaving user input queued. 1 unless the
// program could not be started or the wait failed, else 0.
int RunAndWait(const char* program, const char* arguments, const char* workFolder);
// The exit code of the child RunAndWait last waited for (0 when unknown).
extern DWORD LastChildExitCode;
// The file-name part of `path` as the shell shows it, in a new 260-byte text.
HeapText FileTitleOf(const char* path);
// Dispatches every pending message of `window`. Always 1.
int DrainMessages(HWND window);
