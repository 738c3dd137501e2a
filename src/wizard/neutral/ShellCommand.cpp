#include "wizard/neutral/ShellCommand.h"

#include <cstring>

namespace {

HeapText CopyRange(const char* begin, std::size_t length) {
    HeapText copy = AllocText(length + 1);
    if (copy && length) std::memcpy(copy.get(), begin, length);
    return copy;
}

// The `index`-th word (0 or 1) of a text split at runs of blanks.
HeapText Word(const char* text, int index) {
    const char* p = text;
    for (int i = 0;; ++i) {
        while (*p == ' ') ++p;
        if (!*p) return HeapText();
        const char* end = std::strchr(p, ' ');
        if (!end) end = p + std::strlen(p);
        if (i == index) return CopyRange(p, static_cast<std::size_t>(end - p));
        p = end;
    }
}

}  // namespace

HeapText SplitShellCommand(const char* command, char quote, CommandPart part) {
    if (!command) return HeapText();
    const char* first = std::strchr(command, quote);
    const char* last = std::strrchr(command, quote);
    if (first && last && last > first) {
        if (part == CommandPart::Program)
            return CopyRange(first + 1, static_cast<std::size_t>(last - first - 1));
        return CopyText(last + 1);
    }
    return Word(command, part == CommandPart::Program ? 0 : 1);
}

HeapText SubstituteArgument(HeapText text, const char* marker, const char* replacement) {
    if (!text || !marker) return text;
    const char* found = std::strstr(text.get(), marker);
    if (!found) return text;
    if (!replacement) replacement = "";
    std::size_t prefix = static_cast<std::size_t>(found - text.get());
    std::size_t added = std::strlen(replacement);
    // Sized for what is kept, so an empty marker in an empty text still fits.
    HeapText result = AllocText(prefix + added + 1);
    if (!result) return HeapText();
    std::memcpy(result.get(), text.get(), prefix);
    std::memcpy(result.get() + prefix, replacement, added);
    return result;
}
