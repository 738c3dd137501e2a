// The execution level of the patch executable's application manifest, as
// the patch author chooses it in [Settings] ExecutionLevel (the names it
// takes: project/ManifestValues.h).
#pragma once
#include <string>
#include <vector>

#include "build/PatchWriter.h"

// `manifest` (an application manifest's XML) with the level attribute of its
// requestedExecutionLevel element set to `level`; false when it has none.
bool SetExecutionLevel(std::string& manifest, const std::string& level);

// Adds the item that replaces the runtime's application manifest by a copy
// with `level`. A runtime without a manifest gets none, unless `required`:
// then false with a message.
bool AddManifestResource(const std::string& level, bool required, const std::string& runtimePath,
                         std::vector<ResourceItem>& items, std::string& error);
