#include "build/IconResource.h"

#include <set>

#include "build/RuntimeImage.h"
#include "common/Files.h"
#include "core/neutral/LittleEndian.h"

namespace {

constexpr unsigned kIconGroupId = 105;
constexpr std::size_t kDirectoryBytes = 6, kFileEntryBytes = 16, kGroupEntryBytes = 14;

uint16_t Word(const std::string& bytes, std::size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

void PutWord(std::string& bytes, uint16_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

}  // namespace

bool AddIconResources(const std::string& iconPath, const std::string& runtimePath, std::vector<ResourceItem>& items,
                      std::string& error) {
    std::string file;
    if (!ReadFileBytes(iconPath, file)) {
        error = "[Icon] File: cannot read \"" + iconPath + "\"";
        return false;
    }
    // ICONDIR: reserved 0, type 1, count; then 16-byte entries.
    std::size_t count = file.size() >= kDirectoryBytes ? Word(file, 4) : 0;
    if (file.size() < kDirectoryBytes || Word(file, 0) != 0 || Word(file, 2) != 1 || count == 0 ||
        file.size() < kDirectoryBytes + count * kFileEntryBytes) {
        error = "[Icon] File: \"" + iconPath + "\" is not an icon file (.ico)";
        return false;
    }

    LPCSTR iconType = MAKEINTRESOURCEA(3), groupType = MAKEINTRESOURCEA(14);
    std::vector<WORD> languages = ResourceLanguages(runtimePath, groupType, kIconGroupId);
    WORD language = languages.empty() ? MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL) : languages.front();

    std::string group;
    PutWord(group, 0);
    PutWord(group, 1);
    PutWord(group, static_cast<uint16_t>(count));
    std::set<unsigned> added;
    std::vector<ResourceItem> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryBytes + i * kFileEntryBytes;
        uint32_t size = ReadLittleEndian32(reinterpret_cast<const unsigned char*>(file.data()) + entry + 8);
        uint32_t offset = ReadLittleEndian32(reinterpret_cast<const unsigned char*>(file.data()) + entry + 12);
        if (offset > file.size() || size > file.size() - offset || size == 0) {
            error = "[Icon] File: image " + std::to_string(i + 1) + " of \"" + iconPath + "\" lies outside the file";
            return false;
        }
        unsigned id = static_cast<unsigned>(i + 1);
        images.push_back({iconType, id, language, file.substr(offset, size)});
        added.insert(id);
        // The group entry: the file entry's first 12 bytes, then the image's id.
        group += file.substr(entry, 12);
        PutWord(group, static_cast<uint16_t>(id));
    }

    // Take out the runtime's group and the images it names (those not
    // replaced under the same id and language).
    for (WORD old : languages) {
        std::string oldGroup;
        if (!ReadProgramResource(runtimePath, groupType, kIconGroupId, old, oldGroup)) continue;
        std::size_t oldCount = oldGroup.size() >= kDirectoryBytes ? Word(oldGroup, 4) : 0;
        for (std::size_t i = 0; i < oldCount && kDirectoryBytes + (i + 1) * kGroupEntryBytes <= oldGroup.size(); ++i) {
            unsigned id = Word(oldGroup, kDirectoryBytes + i * kGroupEntryBytes + 12);
            if (old != language || !added.count(id)) items.push_back({iconType, id, old, std::string(), true});
        }
        if (old != language) items.push_back({groupType, kIconGroupId, old, std::string(), true});
    }
    items.insert(items.end(), images.begin(), images.end());
    items.push_back({groupType, kIconGroupId, language, group});
    return true;
}
