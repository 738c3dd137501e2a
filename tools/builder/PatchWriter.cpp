#include "PatchWriter.h"

#include <windows.h>

#include <cstring>
#include <fstream>

#include "Project.h"
#include "SystemMessage.h"
#include "core/neutral/LittleEndian.h"

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace

bool ReadRuntime(const std::string& path, std::string& image, std::string& error) {
    if (!ReadFileBytes(path, image) || image.empty()) {
        error = "cannot read the runtime \"" + path + "\"";
        return false;
    }
    constexpr std::size_t kNewHeaderAt = 0x3C;
    bool program = image.size() > kNewHeaderAt + 4 && image.compare(0, 2, "MZ") == 0;
    if (program) {
        uint32_t header = ReadLittleEndian32(reinterpret_cast<const unsigned char*>(image.data()) + kNewHeaderAt);
        program = header < image.size() && image.size() - header > 24 &&
                  image.compare(header, 4, std::string("PE\0\0", 4)) == 0;
    }
    if (!program) {
        error = "the runtime \"" + path + "\" is not a Windows program";
        return false;
    }
    return true;
}

bool WritePatch(const std::string& image, const std::map<unsigned, std::string>& resources,
                const std::string& output, std::string& error) {
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
    for (const auto& resource : resources) {
        std::string data = resource.second;  // UpdateResourceA takes a non-const pointer
        if (!UpdateResourceA(update, MAKEINTRESOURCEA(10) /* RT_RCDATA */, MAKEINTRESOURCEA(resource.first),
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &data[0], static_cast<DWORD>(data.size()))) {
            error = "cannot add resource " + std::to_string(resource.first) + ": " + SystemMessage(GetLastError());
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
