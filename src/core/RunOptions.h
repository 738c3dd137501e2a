// The command line as read at start, for every layer that must know how the
// run was started (unattended, a restart already decided).
#pragma once
#include "core/neutral/CommandLine.h"

// All zero (the interactive wizard) until the start-up has read the command
// line. Kept beside RunState, not in it: zero-filled data of its own costs
// the program no bytes.
extern CommandLineOptions RunOptions;
