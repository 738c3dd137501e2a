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

// Horspool's skip search driven by the last two bytes of the window instead
// of the last one: pairs of bytes repeat far less often than single bytes in
// executables (zeros, 0xFF, opcode bytes), so the skips stay long there too.
std::size_t SkipSearch(const unsigned char* data, std::size_t size,
                       const unsigned char* pattern, std::size_t patternSize) {
    if (patternSize < 2 || size < patternSize) return kNotFound;
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

// How common a byte value tends to be in program files: fill bytes, small
// numbers and the most frequent opcodes rank high.
int Commonness(unsigned char b) {
    if (b == 0x00) return 3;
    if (b == 0xFF) return 2;
    if (b < 0x10 || b == 0x20 || b == 0x8B || b == 0x89 || b == 0xCC || b == 0x90 || b == 0x48) return 1;
    return 0;
}

}  // namespace

// memchr, which scans many bytes per instruction, runs to the next place of
// the pattern's least common-looking byte, and only there is the whole
// pattern compared. When the content turns out to be full of that byte, the
// search changes over to the skip search for the rest.
std::size_t FindBytes(const unsigned char* data, std::size_t size,
                      const unsigned char* pattern, std::size_t patternSize) {
    if (patternSize == 0 || patternSize > size || !data || !pattern) return kNotFound;
    if (patternSize <= 2) return FindShort(data, size, pattern, patternSize);

    std::size_t anchor = 0;
    for (std::size_t i = 1; i < patternSize && Commonness(pattern[anchor]) > 0; ++i)
        if (Commonness(pattern[i]) < Commonness(pattern[anchor])) anchor = i;

    const std::size_t last = size - patternSize;  // last possible start
    std::size_t pos = 0;
    std::size_t candidates = 0;
    while (pos <= last) {
        const void* hit = std::memchr(data + pos + anchor, pattern[anchor], last - pos + 1);
        if (!hit) return kNotFound;
        std::size_t at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data) - anchor;
        if (std::memcmp(data + at, pattern, patternSize) == 0) return at;
        pos = at + 1;
        // Candidates closer than every 32 bytes on average: memchr gains
        // nothing here.
        // Past the last possible start nothing is left to change over for.
        if (++candidates >= 64 && pos <= last && pos < candidates * 32) {
            std::size_t rest = SkipSearch(data + pos, size - pos, pattern, patternSize);
            return rest == kNotFound ? kNotFound : pos + rest;
        }
    }
    return kNotFound;
}
