// Runs without the wizard (/quiet, /passive): the pages' work with the
// patch's option defaults, and no question to anybody.
#pragma once

// The check, the processing pass with its registry sections and the
// restart decision; returns the exit code. Ends the session (working folder
// removed) like the wizard's end does. /quiet opens no window at all;
// /passive shows a small window with a progress bar.
int RunUnattended();
