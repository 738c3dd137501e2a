// zulibuild RUNTIME PROJECT OUTPUT
// zulibuild check PROJECT
// zulibuild delta OLD NEW OUT
//
// Makes a patch executable: a copy of the runtime carrying the texts and
// settings of the project's manifest as numbered resources, the sealed
// credits scrambled, and the payload cabinet. See README.md.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BackupCompanion.h"
#include "Cabinet.h"
#include "CheckedProject.h"
#include "DeltaCommand.h"
#include "DiffCommand.h"
#include "ExecutionLevel.h"
#include "IconResource.h"
#include "PatchWriter.h"
#include "RuntimeImage.h"
#include "VersionResource.h"
#include "core/neutral/CreditSeal.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zulibuild RUNTIME PROJECT OUTPUT   build a patch\n"
                 "       zulibuild check PROJECT            check a project without building\n"
                 "       zulibuild diff OLD NEW PROJECT [options]\n"
                 "                                          a project from two folders (zulibuild diff: options)\n"
                 "       zulibuild delta OLD NEW OUT        the binary delta (Act 8) from file OLD to NEW\n"
                 "  RUNTIME  the bare runtime, zulirt.exe\n"
                 "  PROJECT  a patch project folder holding patch.ini, or the manifest itself\n"
                 "  OUTPUT   the patch executable to write\n");
    return 2;
}

// Prints every line of `message`; a build adds that nothing was written.
int Fail(const std::string& message, bool building = true) {
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        std::fprintf(stderr, "zulibuild: %s\n", message.substr(start, end - start).c_str());
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (building) std::fprintf(stderr, "zulibuild: nothing was written\n");
    return 1;
}

std::string MistakeText(const Findings& findings) {
    std::string text;
    std::vector<std::string> lines = FindingLines(findings, false);
    for (const std::string& line : lines) text += line + "\n";
    return text + std::to_string(lines.size()) + (lines.size() == 1 ? " mistake" : " mistakes") + " found";
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n && n < sizeof full ? std::string(full) : path;
}

// Replaces the plain bytes of the sealed credits by their scrambled form and
// adds the seal (resource 30).
void SealCredits(std::map<unsigned, std::string>& resources) {
    std::vector<SealedItem> items;
    for (unsigned id : kSealedResourceIds) {
        auto found = resources.find(id);
        if (found == resources.end()) items.push_back({id, nullptr, 0});
        else items.push_back({id, reinterpret_cast<const unsigned char*>(found->second.data()), found->second.size()});
    }
    uint32_t seal = ComputeCreditSeal(items.data(), items.size());
    for (unsigned id : kSealedResourceIds) {
        auto found = resources.find(id);
        if (found == resources.end()) continue;
        std::string& bytes = found->second;
        ScrambleSealed(id, seal, reinterpret_cast<unsigned char*>(&bytes[0]), bytes.size());
    }
    unsigned char stored[kSealSize];
    StoreSeal(seal, stored);
    resources[kSealResourceId] = std::string(reinterpret_cast<const char*>(stored), kSealSize);
}

int CheckCommand(const std::string& projectArgument) {
    CheckedProject project;
    std::string error;
    if (!LoadCheckedProject(FullPath(projectArgument), project, error)) return Fail(error, false);
    for (const std::string& line : FindingLines(project.findings, true)) std::fprintf(stderr, "zulibuild: %s\n", line.c_str());
    if (project.findings.HasMistakes()) return Fail(MistakeText(project.findings), false);
    std::printf("zulibuild: %s: no mistakes found\n", project.manifestPath.c_str());
    return 0;
}

int BuildCommand(const std::string& runtime, const std::string& projectArgument, const std::string& output) {
    if (lstrcmpiA(runtime.c_str(), output.c_str()) == 0) return Fail("the output would overwrite the runtime");

    CheckedProject project;
    std::string error;
    if (!LoadCheckedProject(projectArgument, project, error)) return Fail(error);
    for (const std::string& line : FindingLines(project.findings, true)) std::fprintf(stderr, "zulibuild: %s\n", line.c_str());
    if (project.findings.HasMistakes()) return Fail(MistakeText(project.findings));
    PatchProject& patch = project.patch;

    std::string scratchScript;
    if (!AddBackupCompanion(project.manifest, patch, output, scratchScript, error)) return Fail(error);
    std::string cabinet = project.readyCabinet;
    bool packed = !patch.readyCabinet.empty() || BuildCabinet(patch.cabinetFiles, cabinet, error);
    if (!scratchScript.empty()) DeleteFileA(scratchScript.c_str());
    if (!packed) return Fail(project.manifestPath + ": [Cabinet]: " + error);

    std::string image;
    if (!ReadBareRuntime(runtime, image, error)) return Fail(error);

    std::map<unsigned, std::string> resources = patch.resources;
    SealCredits(resources);
    resources[2000] = cabinet;
    std::vector<ResourceItem> items;
    for (const auto& resource : resources)
        items.push_back({MAKEINTRESOURCEA(10) /* RT_RCDATA */, resource.first,
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), resource.second});
    const std::string& title = patch.resources.at(1);
    AddVersionResource(patch.version, title.substr(0, title.find('\0')), runtime, items);
    if (!patch.iconPath.empty() && !AddIconResources(patch.iconPath, runtime, items, error))
        return Fail(project.manifestPath + ": " + error);
    bool levelGiven = !patch.executionLevel.empty();
    if (!AddManifestResource(levelGiven ? patch.executionLevel : kDefaultExecutionLevel, levelGiven, runtime, items,
                             error))
        return Fail(project.manifestPath + ": " + error);
    if (!WritePatch(image, items, output, error)) return Fail(error);

    std::printf("zulibuild: wrote %s: %u resources, payload cabinet of %u bytes\n", output.c_str(),
                static_cast<unsigned>(resources.size()), static_cast<unsigned>(cabinet.size()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && lstrcmpiA(argv[1], "diff") == 0) return RunDiff(argc - 2, argv + 2);
    if (argc >= 2 && lstrcmpiA(argv[1], "delta") == 0) return RunDelta(argc - 2, argv + 2);
    if (argc >= 2 && lstrcmpiA(argv[1], "check") == 0) return argc == 3 ? CheckCommand(argv[2]) : Usage();
    if (argc != 4) return Usage();
    return BuildCommand(FullPath(argv[1]), FullPath(argv[2]), FullPath(argv[3]));
}
