// Platform detection, the table of paths and the clean-up at the end.
#pragma once
#include <cstdint>

// Sets and returns RunState.IsNT (1 on the NT family).
uint32_t DetectPlatform();
// Fills the path fields of RunState and creates the run's own working folder
// under the temporary directory. 0 when a path does not fit or the folder
// cannot be made: nothing was created and the run must end.
int BuildPathTable();
// Releases the interface objects and deletes what the run unpacked and its
// working folder, never anything else; nonzero when the folder was removed.
int CleanUpSession();
