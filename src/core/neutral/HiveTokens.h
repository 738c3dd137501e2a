// The hive tokens of the patch script: the first field of a registry line
// and of "RegKey", compared exactly, with case ("hklm" is no token). Each
// names one of the system's predefined keys, given here by its number so
// that code without the Windows API can hold the table; the runtime, the
// backup companion and the builder all read this one list.
#pragma once

#include <cstdint>

struct HiveToken {
    const char* token;
    // The predefined key as a 32-bit number (0x80000002 for
    // HKEY_LOCAL_MACHINE). Windows defines each HKEY as this number taken as
    // a signed 32-bit value, so a 64-bit handle is its sign extension.
    uint32_t predefinedKey;
};

// The row of `text`; null for any other text and for none.
const HiveToken* FindHiveToken(const char* text);
// Every row, in the order of the predefined keys (HKCR first), and their
// number.
const HiveToken* HiveTokenTable();
int HiveTokenCount();
