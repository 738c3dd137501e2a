// The patch project's manifest: an INI file read line by line, so that every
// message can name the line it is about.
#pragma once
#include <string>
#include <vector>

#include "common/neutral/IniLexer.h"  // SameName

struct ManifestEntry {
    std::string key;
    std::string value;
    int line = 0;
};

struct ManifestSection {
    std::string name;
    int line = 0;
    std::vector<ManifestEntry> entries;
};

struct Manifest {
    std::string path;
    std::vector<ManifestSection> sections;

    // Case-insensitive lookups; null when absent.
    const ManifestSection* Section(const std::string& name) const;
    const ManifestEntry* Entry(const std::string& section, const std::string& key) const;
};

// Reads `path`. On failure returns false with a message in `error`.
bool ReadManifest(const std::string& path, Manifest& manifest, std::string& error);
