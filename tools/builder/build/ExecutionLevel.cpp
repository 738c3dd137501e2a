#include "build/ExecutionLevel.h"

#include <windows.h>

#include "build/RuntimeImage.h"

namespace {
constexpr unsigned kManifestId = 1;  // CREATEPROCESS_MANIFEST_RESOURCE_ID
LPCSTR ManifestType() { return MAKEINTRESOURCEA(24); }  // RT_MANIFEST
}  // namespace

bool SetExecutionLevel(std::string& manifest, const std::string& level) {
    std::size_t element = manifest.find("<requestedExecutionLevel");
    if (element == std::string::npos) return false;
    std::size_t end = manifest.find('>', element);
    const std::string attribute = "level=\"";
    std::size_t value = manifest.find(attribute, element);
    if (value == std::string::npos || value > end) return false;
    value += attribute.size();
    std::size_t close = manifest.find('"', value);
    if (close == std::string::npos || close > end) return false;
    manifest.replace(value, close - value, level);
    return true;
}

bool AddManifestResource(const std::string& level, bool required, const std::string& runtimePath,
                         std::vector<ResourceItem>& items, std::string& error) {
    std::vector<WORD> languages = ResourceLanguages(runtimePath, ManifestType(), kManifestId);
    std::string manifest;
    if (languages.size() != 1 || !ReadProgramResource(runtimePath, ManifestType(), kManifestId, languages[0], manifest) ||
        !SetExecutionLevel(manifest, level)) {
        if (!required) return true;
        error = "[Settings] ExecutionLevel: the runtime \"" + runtimePath +
                "\" carries no application manifest with an execution level to set";
        return false;
    }
    items.push_back({ManifestType(), kManifestId, languages[0], manifest});
    return true;
}
