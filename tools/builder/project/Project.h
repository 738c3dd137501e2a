// A patch project: the manifest turned into the resources to write and the
// files to pack into the payload cabinet.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "common/Cabinet.h"
#include "project/Manifest.h"

// [Version]: what the patch executable says about itself; empty keys are
// left out of the version resource.
struct VersionFields {
    std::string productName, companyName, fileDescription, legalCopyright;
    std::string fileVersion, productVersion;  // as written: 1 to 4 numbers separated by dots
    bool given = false;
};

struct PatchProject {
    std::string folder;                       // with a trailing backslash
    std::map<unsigned, std::string> resources;  // plain bytes by id (the seal and the cabinet come later)
    std::vector<CabinetFile> cabinetFiles;
    std::string readyCabinet;  // path of a ready cabinet, when given instead
    VersionFields version;
    std::string iconPath;      // [Icon] File: an .ico file replacing the runtime's icon
    std::string executionLevel;  // [Settings] ExecutionLevel as Windows spells it; empty when not given
    bool backup = false;       // [Backup] Enabled=1: the backup companion goes into the cabinet
    std::string backupFolder;  // [Backup] Folder as given; empty when not given
    std::string supportAddress;  // [Texts] SupportAddress: where users get help; empty when not given
    std::vector<std::string> warnings;  // printed; the build goes on
};

// The [Texts] key of the support address that the default texts of the check
// error box name.
constexpr const char kSupportAddressKey[] = "SupportAddress";

// Interprets the manifest; every message names the manifest, the section and
// key or the resource, and where it helps the line.
bool LoadProject(const Manifest& manifest, const std::string& folder, PatchProject& project, std::string& error);
