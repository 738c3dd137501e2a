#include "ScriptProfile.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "Manifest.h"
#include "core/neutral/LenientInteger.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r"), last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

}  // namespace

bool ScriptProfile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    // Keys before the first section belong to a section without a name; a
    // repeated section's keys are passed over.
    Entries* current = &sections_[std::string()];
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty()) continue;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            std::string lower = Lower(name);
            if (sections_.count(lower)) {
                current = nullptr;
            } else {
                names_.push_back(name);
                current = &sections_[lower];
            }
            continue;
        }
        if (!current) continue;
        std::size_t equals = line.find('=');
        std::string key = Trim(line.substr(0, equals));
        std::string value = equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (!key.empty()) current->emplace_back(key, value);
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
