// The XOR combine of a delta with the old content of a file. A delta holds
// new XOR old wherever both versions have a byte, so combining it with the
// old bytes gives the new ones. Callers stream both files through this in
// bounded chunks; it never needs either file whole.
#pragma once
#include <cstddef>

// The size of one streamed chunk: large enough for full-speed reads and
// writes, small enough that a chunk of each file stays in the processor's
// cache from the read through the combine and the CRC to the write.
constexpr std::size_t kXorChunkBytes = 1u << 18;

// data[i] ^= old[i] for i < length; data and old do not overlap.
void XorCombine(unsigned char* data, const unsigned char* old, std::size_t length);
