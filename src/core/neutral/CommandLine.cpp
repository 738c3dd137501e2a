#include "core/neutral/CommandLine.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Copies one argument starting at `text` into `out` (quotes removed, at most
// `size` - 1 characters kept); returns where the next one may start. `*cut`
// becomes true when the argument did not fit.
const char* NextArgument(const char* text, char* out, std::size_t size, bool* cut) {
    std::size_t length = 0;
    bool quoted = false;
    *cut = false;
    for (; *text && (quoted || !IsBlank(*text)); ++text) {
        if (*text == '"') {
            quoted = !quoted;
            continue;
        }
        if (length + 1 < size) out[length++] = *text;
        else *cut = true;
    }
    out[length] = '\0';
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

bool TakeSwitch(const char* argument, CommandLineOptions& options) {
    if (argument[0] != '/' && argument[0] != '-') return false;
    const char* value = nullptr;
    if (SwitchIs(argument, "quiet", nullptr)) options.Mode = RunMode::Quiet;
    else if (SwitchIs(argument, "passive", nullptr)) {
        if (options.Mode != RunMode::Quiet) options.Mode = RunMode::Passive;
    } else if (SwitchIs(argument, "norestart", nullptr)) options.NoRestart = true;
    else if (SwitchIs(argument, "forcerestart", nullptr)) options.ForceRestart = true;
    else if (SwitchIs(argument, "?", nullptr) || SwitchIs(argument, "help", nullptr)) options.ShowUsage = true;
    else if (SwitchIs(argument, "dir=", &value)) return CopyValue(value, options.Dir);
    else if (SwitchIs(argument, "log=", &value)) return CopyValue(value, options.Log);
    else return false;
    return true;
}

}  // namespace

bool ParseCommandLine(const char* text, CommandLineOptions& options) {
    std::memset(&options, 0, sizeof options);
    if (!text) return true;
    char argument[kOptionTextSize + 8];
    bool cut = false;
    text = NextArgument(text, argument, sizeof argument, &cut);  // the program itself
    for (;;) {
        while (IsBlank(*text)) ++text;
        if (!*text) break;
        const char* start = text;
        text = NextArgument(text, argument, sizeof argument, &cut);
        if (!cut && TakeSwitch(argument, options)) continue;
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
