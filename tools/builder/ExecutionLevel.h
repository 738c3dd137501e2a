// The execution level of the patch executable's application manifest, as
// the patch author chooses it in [Settings] ExecutionLevel.
#pragma once
#include <string>
#include <vector>

#include "PatchWriter.h"

// The level written when the manifest names none.
constexpr const char* kDefaultExecutionLevel = "highestAvailable";

// The spelling Windows reads of `value` (asInvoker, highestAvailable or
// requireAdministrator, matched without case); empty when it is none of them.
std::string CanonicalExecutionLevel(const std::string& value);

// `manifest` (an application manifest's XML) with the level attribute of its
// requestedExecutionLevel element set to `level`; false when it has none.
bool SetExecutionLevel(std::string& manifest, const std::string& level);

// Adds the item that replaces the runtime's application manifest by a copy
// with `level`. A runtime without a manifest gets none, unless `required`:
// then false with a message.
bool AddManifestResource(const std::string& level, bool required, const std::string& runtimePath,
                         std::vector<ResourceItem>& items, std::string& error);
