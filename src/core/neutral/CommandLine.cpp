#include "core/neutral/CommandLine.h"

#include <cstddef>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Copies one argument starting at `text` into `out` (quotes removed, at most
// `size` - 1 characters kept); returns where the next one may start. `*bad`
// becomes true when the argument did not fit, or when a quote in it is never
// closed: that argument then ends at the first blank after the quote, so
// that it does not swallow the switches after it (/quiet among them).
const char* NextArgument(const char* text, char* out, std::size_t size, bool* bad) {
    std::size_t length = 0;
    const char* opened = nullptr;
    *bad = false;
    for (; *text && (opened || !IsBlank(*text)); ++text) {
        if (*text == '"') {
            opened = opened ? nullptr : text;
            continue;
        }
        if (length + 1 < size) out[length++] = *text;
        else *bad = true;
    }
    out[length] = '\0';
    if (opened) {
        *bad = true;
        for (text = opened; *text && !IsBlank(*text);) ++text;
    }
    return text;
}

// The switch name without its "/" or "-" matches `name` without case; for a
// name ending in "=", `*value` points at the text after it.
bool SwitchIs(const char* argument, const char* name, const char** value) {
    const char* a = argument + 1;
    for (; *name; ++a, ++name)
        if (Lower(*a) != *name) return false;
    if (value) {
        *value = a;
        return true;
    }
    return *a == '\0';
}

bool CopyValue(const char* value, char* out) {
    std::size_t length = std::strlen(value);
    if (length == 0 || length >= kOptionTextSize) return false;
    std::memcpy(out, value, length + 1);
    return true;
}

// A folder from the drive letter or the server on: a relative one would
// depend on the folder the patch happens to be started in.
bool IsFullPath(const char* path) {
    const bool separator = path[0] == '\\' || path[0] == '/';
    if (separator) return path[1] == '\\' || path[1] == '/';
    return Lower(path[0]) >= 'a' && Lower(path[0]) <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// The switches without a value, each raising one field of the options to
// its value: the mode (a later /passive leaves /quiet, the higher one) or a
// flag (true).
struct PlainSwitch {
    char name[13];
    unsigned char field;  // offset in CommandLineOptions
    unsigned char value;
};

constexpr PlainSwitch kPlainSwitches[] = {
    {"quiet", offsetof(CommandLineOptions, Mode), static_cast<unsigned char>(RunMode::Quiet)},
    {"passive", offsetof(CommandLineOptions, Mode), static_cast<unsigned char>(RunMode::Passive)},
    {"norestart", offsetof(CommandLineOptions, NoRestart), 1},
    {"forcerestart", offsetof(CommandLineOptions, ForceRestart), 1},
    {"?", offsetof(CommandLineOptions, ShowUsage), 1},
    {"help", offsetof(CommandLineOptions, ShowUsage), 1},
};

bool TakeSwitch(const char* argument, CommandLineOptions& options) {
    if (argument[0] != '/' && argument[0] != '-') return false;
    const char* value = nullptr;
    for (const PlainSwitch& plain : kPlainSwitches) {
        if (!SwitchIs(argument, plain.name, nullptr)) continue;
        unsigned char& field = reinterpret_cast<unsigned char*>(&options)[plain.field];
        if (field < plain.value) field = plain.value;
        return true;
    }
    if (SwitchIs(argument, "dir=", &value)) return IsFullPath(value) && CopyValue(value, options.Dir);
    if (SwitchIs(argument, "log=", &value)) return CopyValue(value, options.Log);
    return false;
}

}  // namespace

bool ParseCommandLine(const char* text, CommandLineOptions& options) {
    std::memset(&options, 0, sizeof options);
    if (!text) return true;
    char argument[kOptionTextSize + 8];
    bool bad = false;
    text = NextArgument(text, argument, sizeof argument, &bad);  // the program itself
    for (;;) {
        while (IsBlank(*text)) ++text;
        if (!*text) break;
        const char* start = text;
        text = NextArgument(text, argument, sizeof argument, &bad);
        if (!bad && TakeSwitch(argument, options)) continue;
        if (!options.Bad) {
            // Named as the user typed it, cut to what the message can hold.
            std::size_t length = static_cast<std::size_t>(text - start);
            if (length >= kOptionTextSize) length = kOptionTextSize - 1;
            std::memcpy(options.BadSwitch, start, length);
            options.BadSwitch[length] = '\0';
        }
        options.Bad = true;
    }
    // /forcerestart and /norestart together ask for two opposite things.
    if (options.ForceRestart && options.NoRestart && !options.Bad) {
        std::memcpy(options.BadSwitch, "/norestart /forcerestart", 25);
        options.Bad = true;
    }
    return !options.Bad;
}
