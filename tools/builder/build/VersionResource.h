// The patch executable's version resource, from [Version] of the manifest,
// so that a patch no longer calls itself the runtime in Explorer's
// properties and in a signature prompt.
#pragma once
#include <string>
#include <vector>

#include "build/PatchWriter.h"
#include "project/Project.h"

// The items that replace the runtime's version resource: its old entries
// taken out, the new one (US English, Unicode strings) added. Keys left out
// default to: ProductName and FileDescription the patch title, FileVersion
// 1.0.0.0, ProductVersion the file version.
void AddVersionResource(const VersionFields& version, const std::string& title, const std::string& runtimePath,
                        std::vector<ResourceItem>& items);

// The bytes of a VS_VERSIONINFO block; exposed for tests.
std::string BuildVersionInfo(const VersionFields& version, const std::string& title);
