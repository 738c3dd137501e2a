// The registry sections "AddReg", "DelReg" and "RenReg" of the script.
#pragma once

#include "actions/neutral/RegistryLine.h"  // RegistrySectionKind

// Runs lines "1" to `lineCount` of the section of `kind` (RegistrySectionKind)
// through ScriptReader, leaving the reader on that section. 1 when every line
// succeeded (or there were none), 0 when any line failed; lines already
// applied stay applied.
int RunRegistrySection(int lineCount, int kind);

// Whether "[Setup]" counts lines in any of the three sections.
bool HasRegistryLines();
// Runs the three sections, each whatever the others gave. 1 when every
// line succeeded.
int RunRegistrySections();

// Records the state before the run of every value and key the lines of the
// three sections touch, in the order the lines would run. 1, or 0 when
// some state cannot be read (a change that could not be undone).
class ByteBuffer;
int CapturePriorRegistryState(ByteBuffer& records);
