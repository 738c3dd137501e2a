// Little-endian integers in byte buffers (cabinet and bitmap headers, patch
// records, registry data, the credit seal), independent of the host's order.
#pragma once
#include <cstdint>

inline uint16_t ReadLittleEndian16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t ReadLittleEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

inline void WriteLittleEndian32(unsigned char* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}
