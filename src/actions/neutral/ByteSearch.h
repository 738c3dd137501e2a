// Finding a byte pattern in a block of memory.
#pragma once
#include <cstddef>

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// The lowest offset where `pattern` lies wholly inside `data`, or kNotFound.
// An empty pattern is never found.
std::size_t FindBytes(const unsigned char* data, std::size_t size,
                      const unsigned char* pattern, std::size_t patternSize);
