#include "actions/neutral/ByteSearch.h"

#include <cstring>

namespace {

// Patterns of one or two bytes: let memchr run to the next candidate for the
// first byte, then look at the second.
std::size_t FindShort(const unsigned char* data, std::size_t size,
                      const unsigned char* pattern, std::size_t patternSize) {
    const unsigned char* p = data;
    const unsigned char* last = data + (size - patternSize);
    while (p <= last) {
        const void* hit = std::memchr(p, pattern[0], static_cast<std::size_t>(last - p) + 1);
        if (!hit) return kNotFound;
        p = static_cast<const unsigned char*>(hit);
        if (patternSize == 1 || p[1] == pattern[1]) return static_cast<std::size_t>(p - data);
        ++p;
    }
    return kNotFound;
}

inline unsigned PairHash(unsigned char a, unsigned char b) {
    return ((static_cast<unsigned>(a) << 3) ^ b) & 0xFFu;
}

}  // namespace

// Horspool's skip search driven by the last two bytes of the window instead
// of the last one: pairs of bytes repeat far less often than single bytes in
// executables (zeros, 0xFF, opcode bytes), so the skips stay long there too.
std::size_t FindBytes(const unsigned char* data, std::size_t size,
                      const unsigned char* pattern, std::size_t patternSize) {
    if (patternSize == 0 || patternSize > size || !data || !pattern) return kNotFound;
    if (patternSize <= 2) return FindShort(data, size, pattern, patternSize);

    const std::size_t m1 = patternSize - 1;
    std::size_t shift[256];
    for (std::size_t& s : shift) s = m1;
    for (std::size_t i = 1; i < m1; ++i) shift[PairHash(pattern[i - 1], pattern[i])] = m1 - i;
    const unsigned lastPair = PairHash(pattern[m1 - 1], pattern[m1]);
    // How far to move after a full comparison at a candidate: the distance to
    // the pair's previous place in the pattern, never 0.
    const std::size_t afterCandidate = shift[lastPair];
    shift[lastPair] = 0;

    const std::size_t end = size - patternSize;
    std::size_t pos = 0;
    while (pos <= end) {
        std::size_t s = shift[PairHash(data[pos + m1 - 1], data[pos + m1])];
        if (s) {
            pos += s;
            continue;
        }
        if (data[pos] == pattern[0] && std::memcmp(data + pos, pattern, m1) == 0) return pos;
        pos += afterCandidate;
    }
    return kNotFound;
}
