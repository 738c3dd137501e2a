#include "project/ManifestValues.h"

#include "common/neutral/IniLexer.h"

namespace {

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseManifestNumber(const std::string& text, unsigned long limit, unsigned long& value) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::size_t at = hex ? 2 : 0;
    if (at >= text.size()) return false;
    unsigned long long total = 0;
    for (; at < text.size(); ++at) {
        int digit = DigitValue(text[at], hex);
        if (digit < 0) return false;
        total = total * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (total > limit) return false;
    }
    value = static_cast<unsigned long>(total);
    return true;
}

bool ParseManifestBytes(const std::string& text, std::string& bytes) {
    bytes.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(',', start);
        std::string item = TrimIni(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        unsigned long value = 0;
        if (!ParseManifestNumber(item, 255, value)) return false;
        bytes += static_cast<char>(value);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

std::string CanonicalExecutionLevel(const std::string& value) {
    for (const char* level : {"asInvoker", "highestAvailable", "requireAdministrator"})
        if (SameName(value, level)) return level;
    return std::string();
}
