#include "RegistryState.h"

#include <vector>

namespace {

struct Key {
    HKEY handle = nullptr;
    ~Key() {
        if (handle) RegCloseKey(handle);
    }
};

bool KeyExists(HKEY root, const std::string& path) {
    Key key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key.handle) == ERROR_SUCCESS;
}

// The shortest leading part of `path` that does not exist: deleting it
// later removes every key the patch created on the way down.
std::string FirstMissingKey(HKEY root, const std::string& path) {
    for (std::size_t at = 0;; ++at) {
        at = path.find('\\', at);
        std::string prefix = at == std::string::npos ? path : path.substr(0, at);
        if (!prefix.empty() && !KeyExists(root, prefix)) return prefix;
        if (at == std::string::npos) return std::string();
    }
}

bool ReadValues(HKEY key, std::vector<RegistryValue>& values) {
    DWORD count = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<char> name(longestName + 2);
    std::vector<unsigned char> data(longestData + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) !=
            ERROR_SUCCESS)
            return false;
        values.push_back({std::string(name.data(), nameLength), type,
                          std::string(reinterpret_cast<char*>(data.data()), dataLength)});
    }
    return true;
}

bool ReadTree(HKEY root, const std::string& base, const std::string& relative, std::vector<RegistryNode>& tree) {
    Key key;
    std::string path = relative.empty() ? base : base + "\\" + relative;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key.handle) != ERROR_SUCCESS) return false;
    RegistryNode node;
    node.path = relative;
    if (!ReadValues(key.handle, node.values)) return false;
    tree.push_back(node);
    char name[1024];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        LONG status = RegEnumKeyExA(key.handle, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return true;
        if (status != ERROR_SUCCESS) return false;
        if (!ReadTree(root, base, relative.empty() ? name : relative + "\\" + name, tree)) return false;
    }
}

// Deletes a key with everything below it; a key that is not there is fine.
bool DeleteTree(HKEY root, const std::string& path) {
    {
        Key key;
        LONG opened = RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key.handle);
        if (opened == ERROR_FILE_NOT_FOUND) return true;
        if (opened != ERROR_SUCCESS) return false;
        char name[1024];
        for (;;) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key.handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (!DeleteTree(root, path + "\\" + name)) return false;
        }
    }
    return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool WriteValue(HKEY key, const RegistryValue& value) {
    return RegSetValueExA(key, value.name.c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool CreateKey(HKEY root, const std::string& path, Key& key) {
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.handle, nullptr) ==
           ERROR_SUCCESS;
}

}  // namespace

bool CaptureValue(RegistryRecord& record) {
    HKEY root = RootOfHive(record.hive);
    if (!root) return true;  // the line itself fails; nothing of it changes
    Key key;
    if (RegOpenKeyExA(root, record.subkey.c_str(), 0, KEY_READ, &key.handle) != ERROR_SUCCESS) {
        record.present = false;
        record.createdKey = FirstMissingKey(root, record.subkey);
        return true;
    }
    DWORD size = 0, type = 0;
    LONG status = RegQueryValueExA(key.handle, record.value.name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        record.present = false;
        return true;
    }
    if (status != ERROR_SUCCESS) return false;
    std::string data(size, '\0');
    if (RegQueryValueExA(key.handle, record.value.name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
        return false;
    data.resize(size);
    record.present = true;
    record.value.type = type;
    record.value.data = data;
    return true;
}

bool CaptureKey(RegistryRecord& record) {
    HKEY root = RootOfHive(record.hive);
    if (!root) return true;
    if (!KeyExists(root, record.subkey)) {
        record.present = false;
        record.createdKey = FirstMissingKey(root, record.subkey);
        return true;
    }
    record.present = true;
    return ReadTree(root, record.subkey, std::string(), record.tree);
}

bool RestoreRecord(const RegistryRecord& record) {
    HKEY root = RootOfHive(record.hive);
    if (!root) return true;
    bool ok = true;
    if (record.kind == RegistryRecordKind::Value) {
        if (record.present) {
            Key key;
            ok = CreateKey(root, record.subkey, key) && WriteValue(key.handle, record.value);
        } else {
            Key key;
            if (RegOpenKeyExA(root, record.subkey.c_str(), 0, KEY_ALL_ACCESS, &key.handle) == ERROR_SUCCESS) {
                LONG status = RegDeleteValueA(key.handle, record.value.name.c_str());
                ok = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
            }
        }
    } else {
        ok = DeleteTree(root, record.subkey);
        if (ok && record.present) {
            for (const RegistryNode& node : record.tree) {
                Key key;
                std::string path = node.path.empty() ? record.subkey : record.subkey + "\\" + node.path;
                if (!CreateKey(root, path, key)) return false;
                for (const RegistryValue& value : node.values) ok = WriteValue(key.handle, value) && ok;
            }
        }
    }
    if (!record.createdKey.empty()) ok = DeleteTree(root, record.createdKey) && ok;
    return ok;
}
