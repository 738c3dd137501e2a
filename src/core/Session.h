// Platform detection, the table of paths and the clean-up at the end.
#pragma once
#include <cstdint>

// Sets and returns RunState.IsNT (1 on the NT family).
uint32_t DetectPlatform();
// Fills the path fields of RunState and creates the working folder.
void BuildPathTable();
// Releases the interface objects and deletes the working folder; nonzero when
// the folder itself was removed.
int CleanUpSession();
