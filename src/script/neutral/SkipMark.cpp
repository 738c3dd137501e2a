#include "script/neutral/SkipMark.h"

#include <cstring>

bool AppendSkipMark(char* slot, std::size_t slotSize) {
    if (!slot || slotSize == 0) return false;
    const void* end = std::memchr(slot, '\0', slotSize);
    if (!end) return false;  // not terminated within the slot
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - slot);
    if (length + kSkipMarkLength + 1 > slotSize) return false;
    std::memcpy(slot + length, kSkipMark, kSkipMarkLength + 1);
    return true;
}

bool HasSkipMark(const char* path) {
    if (!path) return false;
    const std::size_t length = std::strlen(path);
    if (length >= 1 && path[length - 1] == '*') return true;
    return length >= 2 && path[length - 2] == '*';
}

bool IsReachablePath(const char* path) {
    if (!path) return false;
    // Stops at the terminator: never reads past the end of a short text.
    for (std::size_t i = 0; i <= kLongestPath; ++i)
        if (path[i] == '\0') return true;
    return false;
}
