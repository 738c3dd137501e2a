// [Icon]: an .ico file that replaces the runtime's icon group 105 and its
// images in the patch executable.
#pragma once
#include <string>
#include <vector>

#include "build/PatchWriter.h"

// The items that take out the runtime's icon group 105 with its images and
// add those of the .ico file; false with a message when the file is no icon.
bool AddIconResources(const std::string& iconPath, const std::string& runtimePath, std::vector<ResourceItem>& items,
                      std::string& error);
