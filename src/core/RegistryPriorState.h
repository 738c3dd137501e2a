// The registry as it was before a run changed it, recorded so that the run
// can be undone: by the run itself when a later step fails, or by the next
// start of any patch (or the backup companion) when the run was cut short.
//
// Every record describes the original state of one value or one key tree,
// taken before the run changes anything. Restoring a record is idempotent
// and does not depend on what the run had done so far: a value is set back
// (or deleted when it did not exist), a key tree is deleted and, when it
// existed, written back whole. So all records of a run may be restored in
// any order, any number of times, and give the original state.
//
// Roots are the predefined keys as their 32-bit numbers (0x80000002 for
// HKEY_LOCAL_MACHINE), as the journal keeps them. Subkey paths are relative
// to the root; a null value name is the key's default value. Records go
// into a ByteBuffer in a format of this file's own; the caller stores the
// bytes and hands them back unchanged.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/neutral/ByteBuffer.h"

// The value's type and data, or that it does not exist. 1, or 0 when the
// value exists but cannot be read (no rights): such a change could not be
// undone.
int CaptureValueState(ByteBuffer& out, uint32_t root, const char* subkey, const char* valueName);

// The whole tree below the key (its values, its subkeys and theirs), or that
// the key does not exist. 1 or 0, as above.
int CaptureKeyState(ByteBuffer& out, uint32_t root, const char* subkey);

// What writing the value changes: when the key or a key above it is missing,
// the absence of the topmost missing key (undoing deletes what the write
// created); otherwise the value's state. 1 or 0.
int CaptureWriteState(ByteBuffer& out, uint32_t root, const char* subkey, const char* valueName);

// Restores every record in `records` (the bytes the Capture calls wrote,
// one after another). Goes on past a record that fails; 1 when every
// record was restored, 0 when any failed or the bytes are not records.
int RestoreRegistryState(const unsigned char* records, std::size_t size);
