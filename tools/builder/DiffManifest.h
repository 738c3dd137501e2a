// The manifest (patch.ini) that "zulibuild diff" writes: every text, the
// settings, the font and the cabinet's file list; or the author's own
// template manifest with the cabinet's file list put in.
#pragma once
#include <string>
#include <vector>

// A manifest of default texts and settings for a patch titled `name`, whose
// cabinet holds `files`.
std::string DefaultManifestText(const std::string& name, const std::vector<std::string>& files);

// The template manifest `templateText` with its [Cabinet] section replaced by
// one that packs `files`, and every required text it leaves out added from
// the defaults. Sections it lacks ([Settings], [Font]) come from the
// defaults too.
std::string TemplateManifestText(const std::string& templateText, const std::string& name,
                                 const std::vector<std::string>& files);

// The file names a manifest's [Cabinet] Files key lists (empty when none).
std::vector<std::string> ManifestCabinetFiles(const std::string& manifestText);
