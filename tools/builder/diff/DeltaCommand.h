// zulibuild delta OLD NEW OUT: the binary delta payload (Act 8) that turns
// the file OLD into NEW, written to OUT.
#pragma once

// The arguments after "delta"; the exit code (0 written, 1 failed, 2 usage).
int RunDelta(int argc, char** argv);
