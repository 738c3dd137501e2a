// The system's predefined registry key for a hive token's number.
#pragma once
#include <windows.h>

#include <cstdint>

// Windows defines each predefined HKEY as its number taken as a signed
// 32-bit value: on x86_64 the handle is the sign extension, not the number.
inline HKEY PredefinedKey(uint32_t number) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(number)));
}
