// The optional "NewCRC" of an update entry (Act 2, 3 and 8): the CRC-32 the
// target has once updated. With it, a result that differs never replaces
// the target, and a target that already has it counts as up to date.
#pragma once
#include <cstdint>

// Reads the key from the current section of the script: true with the value
// in *crc when it is there (signed or unsigned decimal), false when absent
// or empty.
bool ReadNewCrc(uint32_t* crc);
