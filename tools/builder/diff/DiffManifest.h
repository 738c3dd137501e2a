// The manifest (patch.ini) that "zulibuild diff" writes: the title, the
// settings, the font and the cabinet's file list (every other text has its
// default); or the author's own template manifest with the cabinet's file
// list put in.
#pragma once
#include <string>
#include <vector>

// A manifest of default settings for a patch titled `name`, whose cabinet
// holds `files`.
std::string DefaultManifestText(const std::string& name, const std::vector<std::string>& files);

// The template manifest `templateText` with its [Cabinet] section replaced by
// one that packs `files`, and the title `name` when it gives none. Sections
// it lacks ([Settings], [Font]) come from the defaults.
std::string TemplateManifestText(const std::string& templateText, const std::string& name,
                                 const std::vector<std::string>& files);

// Whether the manifest gives `key` in `section` (both matched without case).
bool ManifestGivesKey(const std::string& manifestText, const std::string& section, const std::string& key);

// The file names a manifest's [Cabinet] Files key lists (empty when none).
std::vector<std::string> ManifestCabinetFiles(const std::string& manifestText);
