// The script file read through the platform's profile functions, as the
// runtime reads it: a key that is absent and one that is empty read alike.
#pragma once
#include <string>
#include <vector>

class ScriptProfile {
public:
    explicit ScriptProfile(std::string path) : path_(std::move(path)) {}

    bool HasSection(const std::string& section) const;
    std::vector<std::string> SectionNames() const;
    // Empty when absent.
    std::string Value(const std::string& section, const std::string& key) const;
    // The keys of a section in file order.
    std::vector<std::string> Keys(const std::string& section) const;

private:
    std::vector<std::string> List(const char* section) const;
    std::string path_;
};

// Exactly what the runtime's reading gives for the text: optional sign and
// digits, wrapping at 32 bits.
int32_t LenientNumber(const std::string& text);
// True when the text is a plain number the way an author writes one: an
// optional minus sign and decimal digits, inside the 32-bit signed or
// unsigned range.
bool IsPlainNumber(const std::string& text);
