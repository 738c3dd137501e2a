// The run as administrators start it: the command line, the exit code and
// the log around the start-up sequence.
#pragma once
#include "core/neutral/CommandLine.h"

// The command line as read at start. All zero (the interactive wizard) until
// BeginRun has read it. Kept beside RunState, not in it: zero-filled data of
// its own costs the program no bytes.
extern CommandLineOptions RunOptions;

// Reads the command line into RunState.Options and opens the log. Returns
// the exit code when the run ends here (/?, an unknown switch), else -1.
int BeginRun();
// Runs the wizard, or the unattended run for /quiet and /passive, and
// returns the exit code.
int RunWizardOrUnattended();
// Closes the log with `exitCode` and returns it.
int EndRun(int exitCode);
// At the wizard's finish with a restart pending: true when the command line
// has already decided (/norestart: no restart; /forcerestart: restarted now),
// so nobody is asked.
bool RestartDecidedByCommandLine();
