#include "ScriptProfile.h"

#include <windows.h>

#include <cstdint>

#include "Manifest.h"
#include "script/neutral/LenientInteger.h"

std::vector<std::string> ScriptProfile::List(const char* section) const {
    // The profile functions report a too small buffer by filling it; grow
    // until the list fits.
    for (DWORD size = 4096;; size *= 4) {
        std::string buffer(size, '\0');
        DWORD length = section ? GetPrivateProfileStringA(section, nullptr, "", &buffer[0], size, path_.c_str())
                               : GetPrivateProfileSectionNamesA(&buffer[0], size, path_.c_str());
        if (length + 2 >= size && size < (1u << 26)) continue;
        std::vector<std::string> items;
        for (std::size_t at = 0; at < length && buffer[at];) {
            std::string item = buffer.c_str() + at;
            at += item.size() + 1;
            items.push_back(item);
        }
        return items;
    }
}

std::vector<std::string> ScriptProfile::SectionNames() const { return List(nullptr); }

std::vector<std::string> ScriptProfile::Keys(const std::string& section) const { return List(section.c_str()); }

bool ScriptProfile::HasSection(const std::string& section) const {
    for (const std::string& name : SectionNames())
        if (SameName(name, section)) return true;
    return false;
}

std::string ScriptProfile::Value(const std::string& section, const std::string& key) const {
    for (DWORD size = 1024;; size *= 4) {
        std::string buffer(size, '\0');
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", &buffer[0], size, path_.c_str());
        if (length + 1 >= size && size < (1u << 26)) continue;
        buffer.resize(length);
        return buffer;
    }
}

int32_t LenientNumber(const std::string& text) { return ParseLenientInteger(text.c_str()); }

bool IsPlainNumber(const std::string& text) {
    std::size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    if (at == text.size() || text.size() - at > 10) return false;
    if (text.find_first_not_of("0123456789", at) != std::string::npos) return false;
    uint64_t value = std::stoull(text.substr(at));
    return at ? value <= 0x80000000ull : value <= 0xFFFFFFFFull;
}
