#include "diff/IniKeyChanges.h"

#include "common/neutral/IniLexer.h"

namespace {

struct IniKey {
    std::string name, value;
};
struct IniSection {
    std::string name;
    std::vector<IniKey> keys;
};

bool Blank(char c) { return c == ' ' || c == '\t'; }

// A name or value the profile writer stores exactly as given and the
// script's key lines can carry.
bool PlainField(const std::string& text) {
    if (text.empty() || Blank(text.front()) || Blank(text.back())) return false;
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n' || c == '\0') return false;
    return true;
}

// Every line ends with CR LF, and no CR or LF stands anywhere else.
bool OnlyCrLfLineEnds(const std::string& text) {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return true;
}

// The lexer's reading, taken only where it trimmed nothing: a line is
// "[section]" or "key=value" exactly as written. A comment mark is no
// exception: ";x=1" is refused below for its name, "#x=1" is a key like any
// other to the profile writer.
bool ParsePlainIni(const std::string& text, std::vector<IniSection>& sections) {
    if (HasUtf8Mark(text) || !OnlyCrLfLineEnds(text)) return false;
    for (const IniLine& line : LexIni(text)) {
        if (line.kind == IniLineKind::Section) {
            if (!line.closed || line.raw != "[" + line.name + "]") return false;
            if (!PlainField(line.name) || line.name.find_first_of("[]") != std::string::npos) return false;
            for (const IniSection& s : sections)
                if (SameName(s.name, line.name)) return false;
            sections.push_back({line.name, {}});
            continue;
        }
        bool keyLine = line.kind == IniLineKind::Key || line.kind == IniLineKind::Comment;
        if (sections.empty() || !keyLine || line.raw != line.name + "=" + line.value) return false;
        IniKey key{line.name, line.value};
        if (!PlainField(key.name) || !PlainField(key.value) || key.name[0] == ';' || key.name[0] == '[' ||
            key.value.find('=') != std::string::npos)
            return false;
        for (const IniKey& k : sections.back().keys)
            if (SameName(k.name, key.name)) return false;
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
                    if (SameName(k.name, key.name)) return false;
                lines.push_back(was.name + "," + key.name);
                continue;
            }
            if (kept >= is.keys.size() || is.keys[kept].name != key.name) return false;
            ++kept;
            if (now->value != key.value) lines.push_back(was.name + "," + key.name + "," + now->value);
        }
        for (std::size_t k = kept; k < is.keys.size(); ++k) {
            for (const IniKey& old : was.keys)
                if (SameName(old.name, is.keys[k].name)) return false;
            lines.push_back(is.name + "," + is.keys[k].name + "," + is.keys[k].value);
        }
    }
    return true;
}
