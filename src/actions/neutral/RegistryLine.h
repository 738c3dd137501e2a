// One numbered line of the registry sections "AddReg", "DelReg" and "RenReg":
// hive token, subkey, value name, type, size and the data, split at commas.
#pragma once
#include <cstdint>

#include "core/neutral/HeapText.h"

enum RegistrySectionKind : int { RegistryAdd = 1, RegistryDelete = 2, RegistryRename = 3 };

// Registry value types whose data the lines know how to write.
enum RegistryLineType : uint32_t {
    RegistryText = 1,          // REG_SZ
    RegistryExpandText = 2,    // REG_EXPAND_SZ
    RegistryBinary = 3,        // REG_BINARY
    RegistryNumber = 4,        // REG_DWORD
    RegistryNumberBigEnd = 5,  // REG_DWORD_BIG_ENDIAN (stored in the same byte order)
};

struct RegistryLine {
    HeapText Hive;       // the hive token as written; an unknown one keeps the previous root
    HeapText Subkey;     // key path below the root
    HeapText ValueName;  // none for the token "": the default value, or the whole key
    uint32_t Type = 0;   // passed to the platform unchanged
    uint32_t Size = 0;   // number of data bytes passed to the platform
    HeapBytes Data;      // add lines: Size bytes (at least one byte allocated)
    HeapText NewName;    // rename lines: the data field, the new value or key name
};

// Splits `text` into `line` for a line of the given kind. 0 when the line
// cannot be carried out without guessing or reading past its data:
//  - fewer fields than the kind needs (add: five and the data the type asks
//    for; delete: three; rename: six),
//  - a size larger than the data fields give (a text's length plus its
//    terminator; one byte per field of type 3; four bytes for types 4 and 5;
//    nothing for other types),
//  - a rename line of a type other than 1 or 2, which carries no new name.
// Missing numeric text reads as 0, numbers are read leniently (32-bit wrap).
int ParseRegistryLine(const char* text, int kind, RegistryLine& line);

// The token of two double-quote characters that stands for "no value name".
bool IsNoneToken(const char* field);
