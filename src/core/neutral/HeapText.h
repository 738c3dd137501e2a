// Owned heap buffers. Every string an operation hands back is a new heap
// buffer that the caller owns; HeapText frees it when it goes out of scope.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

using HeapText = std::unique_ptr<char, FreeDeleter>;
using HeapBytes = std::unique_ptr<unsigned char, FreeDeleter>;

// A zero-filled buffer of `size` bytes (null when out of memory).
inline HeapText AllocText(std::size_t size) {
    return HeapText(static_cast<char*>(std::calloc(size ? size : 1, 1)));
}

inline HeapBytes AllocBytes(std::size_t size) {
    return HeapBytes(static_cast<unsigned char*>(std::calloc(size ? size : 1, 1)));
}

// A new copy of `text`; none (null) stays none.
inline HeapText CopyText(const char* text) {
    if (!text) return HeapText();
    std::size_t n = std::strlen(text);
    HeapText copy = AllocText(n + 1);
    if (copy) std::memcpy(copy.get(), text, n);
    return copy;
}
