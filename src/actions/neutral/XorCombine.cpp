#include "actions/neutral/XorCombine.h"

#include <cstdint>
#include <cstring>

void XorCombine(unsigned char* data, const unsigned char* old, std::size_t length) {
    std::size_t i = 0;
    // Eight bytes at a time; memcpy keeps it free of alignment assumptions
    // and compiles to plain loads and stores.
    for (; i + 8 <= length; i += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, data + i, 8);
        std::memcpy(&b, old + i, 8);
        a ^= b;
        std::memcpy(data + i, &a, 8);
    }
    for (; i < length; ++i) data[i] = static_cast<unsigned char>(data[i] ^ old[i]);
}
