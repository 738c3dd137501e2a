// The run as administrators start it: the command line, the exit code and
// the log around the start-up sequence.
#pragma once
#include "core/RunOptions.h"

// Reads the command line into RunState.Options and opens the log. Returns
// the exit code when the run ends here (/?, an unknown switch, a log that
// cannot be opened), else -1.
int BeginRun();
// Runs the wizard, or the unattended run for /quiet and /passive, and
// returns the exit code.
int RunWizardOrUnattended();
// Closes the log with `exitCode` and returns it.
int EndRun(int exitCode);
