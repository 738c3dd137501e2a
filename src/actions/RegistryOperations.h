// The registry operations behind the lines of the registry sections. Each one
// first points RunState.Registry at the line's hive token (an unknown token
// keeps the root of the previous registry operation) and gives 1 on success,
// 0 on failure.
#pragma once
#include <cstdint>

// The last component of a key path: what follows its last backslash, found
// by characters so that a double-byte name whose trail byte is 0x5C stays
// whole. Only the backslash separates: "/" and ":" belong to key names
// ("text/xml" under a MIME database).
const char* LastKeyComponent(const char* path);

// Deepest key nesting a move follows; the registry itself allows 512 levels.
constexpr int kMaxRegistryMoveDepth = 512;

// Sets the value (none: the key's default value) of the subkey, creating the
// key and any missing keys above it. An existing value is overwritten.
int WriteRegistryValue(const char* hiveToken, const char* subkey, const char* valueName, uint32_t type,
                       const void* data, uint32_t size);
// Deletes the value, or with a none value name the subkey itself (the
// platform decides whether a key that still has subkeys may go).
int DeleteRegistryEntry(const char* hiveToken, const char* subkey, const char* valueName);
// Copies the value to the new name (overwriting one that has it) and only
// then deletes the old name.
int RenameRegistryValue(const char* hiveToken, const char* subkey, const char* valueName, const char* newName);
// Moves the source key with all its values and subkeys to the destination
// (whose parent must exist), merging onto a destination that already exists,
// and deletes the source. Refuses a destination that is the source or lies
// below it. A failure leaves the move partial but keeps the source key.
int MoveRegistryKey(const char* hiveToken, const char* source, const char* destination);
// MoveRegistryKey with a nesting bound of its own: the source counts as level
// 1, and a key deeper than `maxDepth` levels fails the move.
int MoveRegistryKeyBounded(const char* hiveToken, const char* source, const char* destination, int maxDepth);
