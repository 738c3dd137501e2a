#include "wizard/neutral/ShellCommand.h"

#include <cstring>

namespace {

HeapText CopyRange(const char* begin, std::size_t length) {
    HeapText copy = AllocText(length + 1);
    if (copy && length) std::memcpy(copy.get(), begin, length);
    return copy;
}

const char* SkipBlanks(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

// The end of `text` or the first `stop` in it.
const char* FindOrEnd(const char* text, char stop) {
    const char* found = std::strchr(text, stop);
    return found ? found : text + std::strlen(text);
}

}  // namespace

HeapText SplitShellCommand(const char* command, char quote, CommandPart part) {
    if (!command) return HeapText();
    const char* program = SkipBlanks(command);
    if (!*program) return HeapText();
    // A quoted program may hold blanks; the quotes themselves are not part of it.
    const bool quoted = quote != '\0' && *program == quote;
    if (quoted) ++program;
    const char* programEnd = FindOrEnd(program, quoted ? quote : ' ');
    if (part == CommandPart::Program) return CopyRange(program, static_cast<std::size_t>(programEnd - program));

    const char* arguments = programEnd;
    if (quoted && *arguments) ++arguments;  // past the closing quote
    arguments = SkipBlanks(arguments);
    if (!*arguments) return HeapText();
    return CopyText(arguments);
}

HeapText SubstituteArgument(HeapText text, const char* marker, const char* replacement) {
    if (!text || !marker) return text;
    const char* found = std::strstr(text.get(), marker);
    if (!found) return text;
    if (!replacement) replacement = "";
    std::size_t prefix = static_cast<std::size_t>(found - text.get());
    std::size_t added = std::strlen(replacement);
    const char* rest = found + std::strlen(marker);
    std::size_t kept = std::strlen(rest);
    HeapText result = AllocText(prefix + added + kept + 1);
    if (!result) return HeapText();
    std::memcpy(result.get(), text.get(), prefix);
    std::memcpy(result.get() + prefix, replacement, added);
    std::memcpy(result.get() + prefix + added, rest, kept);
    return result;
}
