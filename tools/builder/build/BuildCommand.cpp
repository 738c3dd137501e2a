#include "build/BuildCommand.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <vector>

#include "build/BackupCompanion.h"
#include "build/ExecutionLevel.h"
#include "build/IconResource.h"
#include "build/PatchWriter.h"
#include "build/RuntimeImage.h"
#include "build/VersionResource.h"
#include "check/CheckedProject.h"
#include "common/Cabinet.h"
#include "common/Console.h"
#include "common/Files.h"
#include "core/ResourceIds.h"
#include "core/neutral/CreditSeal.h"
#include "project/ManifestValues.h"

namespace {

// Prints every line of `message` and that nothing was written.
int Fail(const std::string& message) {
    PrintMessageLines(message);
    std::fprintf(stderr, "zulibuild: nothing was written\n");
    return 1;
}

// Replaces the plain bytes of the sealed credits by their scrambled form and
// adds the seal.
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

}  // namespace

int RunBuild(const std::string& runtimeArgument, const std::string& projectArgument,
             const std::string& outputArgument) {
    std::string runtime = FullPath(runtimeArgument), output = FullPath(outputArgument);
    if (lstrcmpiA(runtime.c_str(), output.c_str()) == 0) return Fail("the output would overwrite the runtime");

    CheckedProject project;
    std::string error;
    if (!LoadCheckedProject(FullPath(projectArgument), project, error)) return Fail(error);
    PrintWarnings(project.findings);
    if (project.findings.HasMistakes()) return Fail(MistakeText(project.findings));
    PatchProject& patch = project.patch;

    const bool levelGiven = !patch.executionLevel.empty();
    const std::string level = levelGiven ? patch.executionLevel : kDefaultExecutionLevel;
    std::string scratchScript, scratchCompanion;
    if (!AddBackupCompanion(project.manifest, patch, output, level, scratchScript, scratchCompanion, error))
        return Fail(error);
    std::string cabinet = project.readyCabinet;
    bool packed = !patch.readyCabinet.empty() || BuildCabinet(patch.cabinetFiles, cabinet, error);
    if (!scratchScript.empty()) DeleteFileA(scratchScript.c_str());
    if (!scratchCompanion.empty()) DeleteFileA(scratchCompanion.c_str());
    if (!packed) return Fail(project.manifestPath + ": [Cabinet]: " + error);

    std::string image;
    if (!ReadBareRuntime(runtime, image, error)) return Fail(error);

    std::map<unsigned, std::string> resources = patch.resources;
    SealCredits(resources);
    resources[ResPayloadCabinet] = cabinet;
    std::vector<ResourceItem> items;
    for (const auto& resource : resources)
        items.push_back({MAKEINTRESOURCEA(10) /* RT_RCDATA */, resource.first,
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), resource.second});
    const std::string& title = patch.resources.at(ResPatchTitle);
    AddVersionResource(patch.version, title.substr(0, title.find('\0')), runtime, items);
    if (!patch.iconPath.empty() && !AddIconResources(patch.iconPath, runtime, items, error))
        return Fail(project.manifestPath + ": " + error);
    if (!AddManifestResource(level, levelGiven, runtime, items, error))
        return Fail(project.manifestPath + ": " + error);
    if (!WritePatch(image, items, output, error)) return Fail(error);

    // The one setting that changes what a failed run leaves behind is named,
    // so that a build log tells which kind of patch went out.
    auto transaction = resources.find(ResTransactionSetting);
    bool allOrNothing = transaction != resources.end() && transaction->second == std::string(1, '\1');
    std::printf("zulibuild: wrote %s: %u resources, payload cabinet of %u bytes; %s\n", output.c_str(),
                static_cast<unsigned>(resources.size()), static_cast<unsigned>(cabinet.size()),
                !allOrNothing  ? "changes entry by entry"
                : patch.backup ? "changes all or nothing, with the backup companion ([Backup] Enabled=1)"
                               : "changes all or nothing (Transaction=1)");
    return 0;
}
