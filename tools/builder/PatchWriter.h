// Writing the patch executable: a copy of the runtime with every resource
// added, made under a temporary name beside the output and renamed only when
// complete, so that a failed build leaves no half-made patch.
#pragma once
#include <map>
#include <string>

// Checks that `path` is a readable Windows program; its bytes in `image`.
bool ReadRuntime(const std::string& path, std::string& image, std::string& error);

// Writes `image` with `resources` (RT_RCDATA, language neutral, stored as
// given) to `output`.
bool WritePatch(const std::string& image, const std::map<unsigned, std::string>& resources,
                const std::string& output, std::string& error);
