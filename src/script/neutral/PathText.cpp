#include "script/neutral/PathText.h"

#include <cstring>

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsUncPath(const char* text) { return text[0] == '\\' && text[1] == '\\'; }

bool HasDriveLetter(const char* text) { return IsLetter(text[0]) && text[1] == ':'; }

}  // namespace

HeapText JoinPathText(const char* base, const char* part) {
    if (!base) base = "";
    if (!part) return CopyText(base);
    if (!IsUncPath(part))
        while (*part == '\\') ++part;
    if (IsUncPath(part) || HasDriveLetter(part)) return CopyText(part);

    const std::size_t baseLength = std::strlen(base);
    const std::size_t partLength = std::strlen(part);
    // A base ending in a backslash needs no second one. (A double-byte
    // character whose trail byte is a backslash would count as one here; such
    // a path is beyond the platform's reach anyway and only ever shown.)
    const bool separator = baseLength > 0 && partLength > 0 && base[baseLength - 1] != '\\';
    HeapText joined = AllocText(baseLength + (separator ? 1 : 0) + partLength + 1);
    if (!joined) return joined;
    char* out = joined.get();
    std::memcpy(out, base, baseLength);
    out += baseLength;
    if (separator) *out++ = '\\';
    std::memcpy(out, part, partLength);
    out[partLength] = '\0';
    return joined;
}
