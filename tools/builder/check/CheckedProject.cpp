#include "check/CheckedProject.h"

#include <windows.h>

#include <cstdio>

#include "check/PayloadFiles.h"
#include "check/ScriptCheck.h"
#include "common/Cabinet.h"

namespace {

constexpr const char* kManifestName = "patch.ini";

}  // namespace

bool LoadCheckedProject(const std::string& projectArgument, CheckedProject& project, std::string& error) {
    std::string folder = projectArgument;
    project.manifestPath = projectArgument;
    DWORD attributes = GetFileAttributesA(projectArgument.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (folder.back() != '\\') folder += '\\';
        project.manifestPath = folder + kManifestName;
    } else {
        std::size_t slash = folder.find_last_of("\\/");
        folder = slash == std::string::npos ? std::string(".\\") : folder.substr(0, slash + 1);
    }
    if (!ReadManifest(project.manifestPath, project.manifest, error)) return false;
    if (!LoadProject(project.manifest, folder, project.patch, error)) return false;
    for (const std::string& warning : project.patch.warnings) project.findings.Warning(warning, std::string());

    PayloadFiles payload;
    if (project.patch.readyCabinet.empty()) {
        payload.UseFiles(project.patch.cabinetFiles);
    } else {
        if (!CheckCabinet(project.patch.readyCabinet, project.readyCabinet, error) ||
            !payload.UseReadyCabinet(project.readyCabinet, project.patch.readyCabinet, error)) {
            error = project.manifestPath + ": [Cabinet] Ready: " + error;
            return false;
        }
    }
    CheckScript(payload, project.findings);
    return true;
}

std::vector<std::string> FindingLines(const Findings& findings, bool warnings) {
    std::vector<std::string> lines;
    for (const Finding& finding : findings.All()) {
        if (finding.warning != warnings) continue;
        std::string line = warnings ? "warning: " : "";
        line += finding.where;
        if (!finding.message.empty()) line += ": " + finding.message;
        lines.push_back(line);
    }
    return lines;
}

void PrintWarnings(const Findings& findings) {
    for (const std::string& line : FindingLines(findings, true)) std::fprintf(stderr, "zulibuild: %s\n", line.c_str());
}

std::string MistakeText(const Findings& findings) {
    std::string text;
    std::vector<std::string> lines = FindingLines(findings, false);
    for (const std::string& line : lines) text += line + "\n";
    return text + std::to_string(lines.size()) + (lines.size() == 1 ? " mistake" : " mistakes") + " found";
}
