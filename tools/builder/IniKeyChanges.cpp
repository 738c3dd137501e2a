#include "IniKeyChanges.h"

#include <algorithm>
#include <cctype>

namespace {

struct IniKey {
    std::string name, value;
};
struct IniSection {
    std::string name;
    std::vector<IniKey> keys;
};

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// A name or value the profile writer stores exactly as given and the
// script's key lines can carry.
bool PlainField(const std::string& text) {
    if (text.empty() || Blank(text.front()) || Blank(text.back())) return false;
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n' || c == '\0') return false;
    return true;
}

bool ParsePlainIni(const std::string& text, std::vector<IniSection>& sections) {
    if (text.empty() || text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return false;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        std::string line = text.substr(at, end - at);
        at = end + 2;
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) return false;
        if (!line.empty() && line.front() == '[') {
            if (line.size() < 3 || line.back() != ']') return false;
            std::string name = line.substr(1, line.size() - 2);
            if (!PlainField(name) || name.find_first_of("[]") != std::string::npos) return false;
            for (const IniSection& s : sections)
                if (SameNameNoCase(s.name, name)) return false;
            sections.push_back({name, {}});
            continue;
        }
        std::size_t equals = line.find('=');
        if (sections.empty() || equals == std::string::npos) return false;
        IniKey key{line.substr(0, equals), line.substr(equals + 1)};
        if (!PlainField(key.name) || !PlainField(key.value) || key.name[0] == ';' || key.name[0] == '[' ||
            key.value.find('=') != std::string::npos)
            return false;
        for (const IniKey& k : sections.back().keys)
            if (SameNameNoCase(k.name, key.name)) return false;
        sections.back().keys.push_back(key);
    }
    return true;
}

const IniKey* FindKey(const IniSection& section, const std::string& name) {
    for (const IniKey& k : section.keys)
        if (k.name == name) return &k;
    return nullptr;
}

}  // namespace

bool IniKeyChanges(const std::string& oldText, const std::string& newText, std::vector<std::string>& lines) {
    lines.clear();
    std::vector<IniSection> before, after;
    if (!ParsePlainIni(oldText, before) || !ParsePlainIni(newText, after) || before.size() != after.size())
        return false;
    for (std::size_t s = 0; s < before.size(); ++s) {
        const IniSection &was = before[s], &is = after[s];
        if (was.name != is.name) return false;
        // Old keys that stay must keep their order; they come first in the
        // new section, added keys after them.
        std::size_t kept = 0;
        for (const IniKey& key : was.keys) {
            const IniKey* now = FindKey(is, key.name);
            if (!now) {
                // A key whose name differs only in case would be found by
                // the profile writer: not a plain delete.
                for (const IniKey& k : is.keys)
                    if (SameNameNoCase(k.name, key.name)) return false;
                lines.push_back(was.name + "," + key.name);
                continue;
            }
            if (kept >= is.keys.size() || is.keys[kept].name != key.name) return false;
            ++kept;
            if (now->value != key.value) lines.push_back(was.name + "," + key.name + "," + now->value);
        }
        for (std::size_t k = kept; k < is.keys.size(); ++k) {
            for (const IniKey& old : was.keys)
                if (SameNameNoCase(old.name, is.keys[k].name)) return false;
            lines.push_back(is.name + "," + is.keys[k].name + "," + is.keys[k].value);
        }
    }
    return true;
}
