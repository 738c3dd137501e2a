#include "harness/PatchEnvironment.h"

#include <vector>

#include "support/TestFiles.h"

namespace {

struct Key {
    HKEY handle = nullptr;
    ~Key() {
        if (handle) RegCloseKey(handle);
    }
};

}  // namespace

std::string TemporaryFolder() {
    char temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof temp, temp);
    std::string folder(temp, length);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ZuliWorkFolder() {
    for (const std::string& entry : ZuliTmpEntries(TemporaryFolder()))
        if (entry.back() == '\\') return entry;
    return std::string();
}

void RemoveZuliWorkFolders() {
    for (const std::string& entry : ZuliTmpEntries(TemporaryFolder())) {
        if (entry.back() == '\\') RemoveTree(entry);
        else DeleteFileA(entry.c_str());
    }
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SetRegistryBytes(HKEY root, const std::string& subkey, const std::string& name, DWORD type,
                      const std::string& bytes) {
    Key key;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.handle, name.empty() ? nullptr : name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())) ==
           ERROR_SUCCESS;
}

bool SetRegistryString(HKEY root, const std::string& subkey, const std::string& name, const std::string& value) {
    return SetRegistryBytes(root, subkey, name, REG_SZ, std::string(value.c_str(), value.size() + 1));
}

bool ReadRegistryValue(HKEY root, const std::string& subkey, const std::string& name, DWORD* type,
                       std::string* data) {
    Key key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key.handle) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    if (RegQueryValueExA(key.handle, valueName, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return false;
    std::string buffer(size, '\0');
    if (RegQueryValueExA(key.handle, valueName, nullptr, type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    buffer.resize(size);
    *data = buffer;
    return true;
}

bool RegistryKeyExists(HKEY root, const std::string& subkey) {
    Key key;
    return RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key.handle) == ERROR_SUCCESS;
}

void DeleteRegistryTree(HKEY root, const std::string& subkey) {
    Key key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, &key.handle) != ERROR_SUCCESS) return;
    for (;;) {
        char name[1024];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DeleteRegistryTree(root, subkey + "\\" + name);
    }
    RegCloseKey(key.handle);
    key.handle = nullptr;
    RegDeleteKeyA(root, subkey.c_str());
}

std::string PendingRenames() {
    DWORD type = 0;
    std::string data;
    if (!ReadRegistryValue(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                           "PendingFileRenameOperations", &type, &data))
        return std::string();
    return data;
}

void RestartRenamesBelow(const std::string& folder) {
    const char* key = "System\\CurrentControlSet\\Control\\Session Manager";
    std::string data = PendingRenames();
    auto plain = [](std::string path) {
        if (!path.empty() && path[0] == '!') path.erase(0, 1);
        if (path.compare(0, 4, "\\??\\") == 0) path.erase(0, 4);
        return path;
    };
    auto below = [&folder](const std::string& path) {
        return path.size() > folder.size() && lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str()) == 0;
    };
    std::string kept;
    for (std::size_t at = 0; at < data.size() && data[at];) {
        const std::size_t destinationAt = data.find('\0', at) + 1;
        if (destinationAt == 0 || destinationAt >= data.size()) break;
        const std::size_t next = data.find('\0', destinationAt) + 1;
        const std::string source = plain(data.substr(at, destinationAt - 1 - at));
        const std::string destination = plain(data.substr(destinationAt, next - 1 - destinationAt));
        if (!below(source)) {
            kept += data.substr(at, next - at);
        } else if (destination.empty()) {
            DeleteFileA(source.c_str());
        } else {
            MoveFileExA(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        at = next == 0 ? data.size() : next;
    }
    HKEY manager = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &manager) != ERROR_SUCCESS) return;
    if (kept.empty()) {
        RegDeleteValueA(manager, "PendingFileRenameOperations");
    } else {
        kept += '\0';
        RegSetValueExA(manager, "PendingFileRenameOperations", 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE*>(kept.data()), static_cast<DWORD>(kept.size()));
    }
    RegCloseKey(manager);
}

uint32_t Crc32Of(const std::string& bytes) {
    uint32_t table[256];
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) crc = (crc >> 8) ^ table[(crc ^ b) & 0xFF];
    return crc ^ 0xFFFFFFFFu;
}

std::string SignedDecimal(uint32_t value) { return std::to_string(static_cast<int32_t>(value)); }

std::string XorDeltaPayload(const std::string& from, const std::string& to) {
    std::string delta = to;
    for (size_t i = 0; i < delta.size() && i < from.size(); ++i)
        delta[i] = static_cast<char>(delta[i] ^ from[i]);
    return delta;
}

std::string LittleEndian32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string BytePatchPayload(std::initializer_list<PatchRecordSpec> records) {
    std::string payload = LittleEndian32(static_cast<uint32_t>(records.size())) + LittleEndian32(0);
    for (const PatchRecordSpec& record : records) {
        payload += LittleEndian32(record.type);
        payload += LittleEndian32(static_cast<uint32_t>(record.pattern.size()));
        payload += record.pattern;
        payload += LittleEndian32(static_cast<uint32_t>(record.replacement.size()));
        payload += record.replacement;
    }
    return payload;
}
