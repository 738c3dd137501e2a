// Writing the patch executable: a copy of the runtime with every resource
// added, made under a temporary name beside the output and renamed only when
// complete, so that a failed build leaves no half-made patch.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct ResourceItem {
    LPCSTR type;          // MAKEINTRESOURCE of a resource type
    unsigned id;
    WORD language;
    std::string data;     // stored as given
    bool remove = false;  // take the runtime's resource out instead
};

// Writes `image` with `items` applied in order to `output`.
bool WritePatch(const std::string& image, const std::vector<ResourceItem>& items, const std::string& output,
                std::string& error);
