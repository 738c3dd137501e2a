#include "build/PatchWriter.h"

#include <windows.h>

#include <cstring>
#include <fstream>

#include "common/SystemMessage.h"

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace

bool WritePatch(const std::string& image, const std::vector<ResourceItem>& items, const std::string& output,
                std::string& error) {
    std::string partial = output + ".partial";
    SetFileAttributesA(partial.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(partial.c_str());
    if (!WriteBytes(partial, image)) {
        error = "cannot write \"" + partial + "\"";
        DeleteFileA(partial.c_str());
        return false;
    }
    HANDLE update = BeginUpdateResourceA(partial.c_str(), FALSE);
    if (!update) {
        error = "cannot add resources to \"" + partial + "\": " + SystemMessage(GetLastError());
        DeleteFileA(partial.c_str());
        return false;
    }
    for (const ResourceItem& item : items) {
        std::string data = item.data;  // UpdateResourceA takes a non-const pointer
        if (!UpdateResourceA(update, item.type, MAKEINTRESOURCEA(item.id), item.language,
                             item.remove ? nullptr : &data[0], item.remove ? 0 : static_cast<DWORD>(data.size()))) {
            error = "cannot " + std::string(item.remove ? "remove" : "add") + " resource " + std::to_string(item.id) +
                    ": " + SystemMessage(GetLastError());
            EndUpdateResourceA(update, TRUE);
            DeleteFileA(partial.c_str());
            return false;
        }
    }
    if (!EndUpdateResourceA(update, FALSE)) {
        error = "cannot write the resources into \"" + partial + "\": " + SystemMessage(GetLastError());
        DeleteFileA(partial.c_str());
        return false;
    }
    if (!MoveFileExA(partial.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = "cannot replace \"" + output + "\": " + SystemMessage(GetLastError());
        DeleteFileA(partial.c_str());
        return false;
    }
    return true;
}
