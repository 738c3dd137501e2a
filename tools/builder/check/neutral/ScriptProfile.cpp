#include "check/neutral/ScriptProfile.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "common/neutral/IniLexer.h"
#include "core/neutral/LenientInteger.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool ScriptProfile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    if (HasUtf8Mark(text)) text.erase(0, kUtf8MarkSize);
    // Keys before the first section belong to a section without a name; a
    // repeated section's keys are passed over.
    Entries* current = &sections_[std::string()];
    for (const IniLine& line : LexIni(text)) {
        if (line.kind == IniLineKind::Blank) continue;
        if (line.kind == IniLineKind::Section) {
            // The name ends at the first ']'; text after it is passed over.
            std::string name = TrimIni(line.name.substr(0, line.name.find(']')));
            std::string lower = Lower(name);
            if (sections_.count(lower)) {
                current = nullptr;
            } else {
                names_.push_back(name);
                current = &sections_[lower];
            }
            continue;
        }
        // A comment mark means nothing to the profile functions: ";x=1" is
        // the key ";x", and a line without '=' a key without a value.
        if (!current) continue;
        std::string value = line.value;
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (!line.name.empty()) current->emplace_back(line.name, value);
    }
    return true;
}

bool ScriptProfile::HasSection(const std::string& section) const { return sections_.count(Lower(section)) != 0; }

std::string ScriptProfile::Value(const std::string& section, const std::string& key) const {
    auto found = sections_.find(Lower(section));
    if (found == sections_.end()) return std::string();
    for (const auto& entry : found->second)
        if (SameName(entry.first, key)) return entry.second;
    return std::string();
}

std::vector<std::string> ScriptProfile::Keys(const std::string& section) const {
    std::vector<std::string> keys;
    auto found = sections_.find(Lower(section));
    if (found != sections_.end())
        for (const auto& entry : found->second) keys.push_back(entry.first);
    return keys;
}

int32_t LenientNumber(const std::string& text) { return ParseLenientInteger(text.c_str()); }

bool IsPlainNumber(const std::string& text) {
    std::size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    if (at == text.size() || text.size() - at > 10) return false;
    if (text.find_first_not_of("0123456789", at) != std::string::npos) return false;
    uint64_t value = std::stoull(text.substr(at));
    return at ? value <= 0x80000000ull : value <= 0xFFFFFFFFull;
}
