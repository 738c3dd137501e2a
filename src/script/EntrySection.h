// The name of script entry n's section, "Proc" and the decimal number, which
// is also the file name of the entry's payload in the working folder.
#pragma once
#include <windows.h>

#include <cstdint>

#include "script/ScriptKeys.h"

// Room for "Proc", any 32-bit entry number and the terminator.
constexpr int kEntrySectionNameSize = 24;

inline void FormatEntrySectionName(char (&name)[kEntrySectionNameSize], uint32_t n) {
    wsprintfA(name, "%s%u", kEntrySectionPrefix, static_cast<unsigned>(n));
}
