// The script file read with the rules of the platform's profile functions,
// through which the runtime reads it: section and key names match without
// case, the first of two equal sections or keys counts, blanks around names
// and values are dropped, quotes around a whole value too, and a key that is
// absent reads like an empty one. The file is read once, so that a script of
// many thousand entries is checked in one pass over it (the profile
// functions search the file anew for every key).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class ScriptProfile {
public:
    // False when the file cannot be read.
    bool Load(const std::string& path);

    // In file order, each name once.
    const std::vector<std::string>& SectionNames() const { return names_; }
    bool HasSection(const std::string& section) const;
    // Empty when absent.
    std::string Value(const std::string& section, const std::string& key) const;
    // The keys of a section in file order.
    std::vector<std::string> Keys(const std::string& section) const;

private:
    using Entries = std::vector<std::pair<std::string, std::string>>;
    std::vector<std::string> names_;
    std::map<std::string, Entries> sections_;  // by lower-case name
};

// Exactly what the runtime's reading gives for the text: optional sign and
// digits, wrapping at 32 bits.
int32_t LenientNumber(const std::string& text);
// True when the text is a plain number the way an author writes one: an
// optional minus sign and decimal digits, inside the 32-bit signed or
// unsigned range.
bool IsPlainNumber(const std::string& text);
