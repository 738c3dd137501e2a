#include "Manifest.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const ManifestSection* Manifest::Section(const std::string& name) const {
    for (const ManifestSection& section : sections)
        if (SameName(section.name, name)) return &section;
    return nullptr;
}

const ManifestEntry* Manifest::Entry(const std::string& sectionName, const std::string& key) const {
    const ManifestSection* section = Section(sectionName);
    if (!section) return nullptr;
    for (const ManifestEntry& entry : section->entries)
        if (SameName(entry.key, key)) return &entry;
    return nullptr;
}

bool ReadManifest(const std::string& path, Manifest& manifest, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot read the manifest";
        return false;
    }
    manifest.path = path;
    std::string line;
    int number = 0;
    ManifestSection* current = nullptr;
    auto where = [&]() { return path + " line " + std::to_string(number) + ": "; };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        std::string text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') continue;
        if (text[0] == '[') {
            if (text.back() != ']') {
                error = where() + "a section name must end with ']'";
                return false;
            }
            std::string name = Trim(text.substr(1, text.size() - 2));
            if (manifest.Section(name)) {
                error = where() + "section [" + name + "] appears twice";
                return false;
            }
            manifest.sections.push_back(ManifestSection{name, number, {}});
            current = &manifest.sections.back();
            continue;
        }
        std::size_t equals = text.find('=');
        if (equals == std::string::npos) {
            error = where() + "expected key=value";
            return false;
        }
        if (!current) {
            error = where() + "a key before the first section";
            return false;
        }
        ManifestEntry entry{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1)), number};
        for (const ManifestEntry& earlier : current->entries) {
            if (SameName(earlier.key, entry.key)) {
                error = where() + "[" + current->name + "] " + entry.key + " is given twice (first on line " +
                        std::to_string(earlier.line) + ")";
                return false;
            }
        }
        current->entries.push_back(entry);
    }
    return true;
}
