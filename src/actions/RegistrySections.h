// The registry sections "AddReg", "DelReg" and "RenReg" of the script.
#pragma once

#include "actions/neutral/RegistryLine.h"  // RegistrySectionKind

// Runs lines "1" to `lineCount` of the section of `kind` (RegistrySectionKind)
// through ScriptReader, leaving the reader on that section. 1 when every line
// succeeded (or there were none), 0 when any line failed; lines already
// applied stay applied.
int RunRegistrySection(int lineCount, int kind);
