#include "project/Manifest.h"

#include "common/Files.h"

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
    std::string text;
    if (!ReadFileBytes(path, text)) {
        error = path + ": cannot read the manifest";
        return false;
    }
    if (HasUtf8Mark(text)) text.erase(0, kUtf8MarkSize);
    manifest.path = path;
    ManifestSection* current = nullptr;
    for (const IniLine& line : LexIni(text)) {
        std::string where = path + " line " + std::to_string(line.number) + ": ";
        switch (line.kind) {
        case IniLineKind::Blank:
        case IniLineKind::Comment:
            continue;
        case IniLineKind::Section:
            if (!line.closed) {
                error = where + "a section name must end with ']'";
                return false;
            }
            if (manifest.Section(line.name)) {
                error = where + "section [" + line.name + "] appears twice";
                return false;
            }
            manifest.sections.push_back(ManifestSection{line.name, line.number, {}});
            current = &manifest.sections.back();
            continue;
        case IniLineKind::Text:
            error = where + "expected key=value";
            return false;
        case IniLineKind::Key:
            break;
        }
        if (!current) {
            error = where + "a key before the first section";
            return false;
        }
        ManifestEntry entry{line.name, line.value, line.number};
        for (const ManifestEntry& earlier : current->entries) {
            if (SameName(earlier.key, entry.key)) {
                error = where + "[" + current->name + "] " + entry.key + " is given twice (first on line " +
                        std::to_string(earlier.line) + ")";
                return false;
            }
        }
        current->entries.push_back(entry);
    }
    return true;
}
