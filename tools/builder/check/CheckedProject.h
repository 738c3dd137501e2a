// A patch project read and checked as a whole: the manifest, the files it
// names, and the script with its payloads, read the way the runtime will.
// Used by the build and by "zulibuild check" alike, so both refuse the same.
#pragma once
#include <string>
#include <vector>

#include "check/neutral/Findings.h"
#include "project/Manifest.h"
#include "project/Project.h"

struct CheckedProject {
    std::string manifestPath;
    Manifest manifest;
    PatchProject patch;
    std::string readyCabinet;  // the bytes of a ready cabinet, trimmed to its size field
    Findings findings;         // the script's mistakes and warnings, and the manifest's warnings
};

// `projectArgument` is a project folder holding patch.ini, or a manifest.
// False with `error` when the manifest cannot be used at all; otherwise the
// findings tell whether the project can be built.
bool LoadCheckedProject(const std::string& projectArgument, CheckedProject& project, std::string& error);

// Each finding as one line: "warning: where: message" or "where: message".
std::vector<std::string> FindingLines(const Findings& findings, bool warnings);

// Prints every warning, one line each.
void PrintWarnings(const Findings& findings);

// Every mistake, one line each, and how many were found.
std::string MistakeText(const Findings& findings);
