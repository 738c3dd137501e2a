#pragma once

#include <cstddef>
#include <cstdint>

// The CRC-32 of ZIP (IEEE 802.3, reflected polynomial 0xEDB88320), in
// zlib's convention: start from 0 and pass each result back in to go on.
// The same value as zlib's crc32, computed with the processor's carry-less
// multiply where it has one and may use it, which is several times faster.
uint32_t Crc32Update(uint32_t crc, const unsigned char* data, std::size_t length);

// Whether the carry-less multiply may be used at all. The processor says
// whether it has one; only the system can say whether it keeps the vector
// registers across task switches, which on 32-bit x86 is not a given (the
// Windows 95 family does not). Allowed from the start on x86-64, whose every
// system keeps them; on 32-bit x86 only once the caller has asked the system.
void Crc32AllowVectorUnit(bool allowed);

// Whether Crc32Update takes the fast path now: allowed and present.
bool Crc32UsesVectorUnit();
