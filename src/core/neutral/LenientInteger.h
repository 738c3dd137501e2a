// The forgiving decimal reading that script numbers get: leading blanks, one
// optional sign, digits up to the first non-digit, arithmetic that wraps at
// 32 bits. A CRC written as a signed or an unsigned decimal thus reads back
// as the same 32 bits.
#pragma once
#include <cstdint>

// 0 for none, for text without digits, and for "0".
int32_t ParseLenientInteger(const char* text);
