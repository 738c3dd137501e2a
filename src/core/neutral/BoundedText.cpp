#include "core/neutral/BoundedText.h"

#include <cstring>

std::size_t BoundedTextLength(const void* data, std::size_t size) {
    if (!data) return 0;
    const void* zero = std::memchr(data, 0, size);
    return zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - static_cast<const char*>(data)) : size;
}
