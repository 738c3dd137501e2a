// zulibuild RUNTIME PROJECT OUTPUT
//
// Makes a patch executable: a copy of the runtime carrying the texts and
// settings of the project's manifest as numbered resources, the sealed
// credits scrambled, and the payload cabinet. See README.md.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Cabinet.h"
#include "Manifest.h"
#include "PatchWriter.h"
#include "Project.h"
#include "core/neutral/CreditSeal.h"

namespace {

constexpr const char* kManifestName = "patch.ini";

int Usage() {
    std::fprintf(stderr,
                 "usage: zulibuild RUNTIME PROJECT OUTPUT\n"
                 "  RUNTIME  the bare runtime, zulirt.exe\n"
                 "  PROJECT  a patch project folder holding %s, or the manifest itself\n"
                 "  OUTPUT   the patch executable to write\n",
                 kManifestName);
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "zulibuild: %s\nzulibuild: nothing was written\n", message.c_str());
    return 1;
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Usage();
    std::string runtime = FullPath(argv[1]), project = FullPath(argv[2]), output = FullPath(argv[3]);

    std::string manifestPath = project, folder = project;
    DWORD attributes = GetFileAttributesA(project.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (folder.back() != '\\') folder += '\\';
        manifestPath = folder + kManifestName;
    } else {
        std::size_t slash = folder.find_last_of("\\/");
        folder = slash == std::string::npos ? std::string(".\\") : folder.substr(0, slash + 1);
    }
    if (lstrcmpiA(runtime.c_str(), output.c_str()) == 0) return Fail("the output would overwrite the runtime");

    std::string error;
    Manifest manifest;
    if (!ReadManifest(manifestPath, manifest, error)) return Fail(error);
    PatchProject patch;
    if (!LoadProject(manifest, folder, patch, error)) return Fail(error);

    std::string cabinet;
    bool packed = patch.readyCabinet.empty() ? BuildCabinet(patch.cabinetFiles, cabinet, error)
                                             : CheckCabinet(patch.readyCabinet, cabinet, error);
    if (!packed) return Fail(manifestPath + ": [Cabinet]: " + error);

    std::string image;
    if (!ReadRuntime(runtime, image, error)) return Fail(error);

    std::map<unsigned, std::string> resources = patch.resources;
    SealCredits(resources);
    resources[2000] = cabinet;
    if (!WritePatch(image, resources, output, error)) return Fail(error);

    std::printf("zulibuild: wrote %s: %u resources, payload cabinet of %u bytes\n", output.c_str(),
                static_cast<unsigned>(resources.size()), static_cast<unsigned>(cabinet.size()));
    return 0;
}
