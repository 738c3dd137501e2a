// Reading the registry state a record keeps, and writing it back.
#pragma once
#include "UndoRecords.h"

// Fills the record's state from the registry as it is now. False only when
// the registry could not be read (a key that is missing is a state too).
bool CaptureValue(RegistryRecord& record);
bool CaptureKey(RegistryRecord& record);
// Puts the registry back to the record's state. False on any failure.
bool RestoreRecord(const RegistryRecord& record);
