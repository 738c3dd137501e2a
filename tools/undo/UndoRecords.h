// What a backup holds: the state before the patch of every file and
// registry value the patch will touch. Kept in the backup folder as
// "Backup.ini" (files, readable) and "Registry.dat" (registry, binary).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct FileRecord {
    std::string path;           // the target as the runtime resolved it
    bool present = false;       // false: the patch adds it; restore removes it
    DWORD attributes = 0;
    std::string copy;           // name of the saved copy in the backup folder
    std::string createdFolder;  // top-most folder that did not exist ("" none)
};

struct RegistryValue {
    std::string name;  // "" for the key's default value
    DWORD type = 0;
    std::string data;
};

struct RegistryNode {
    std::string path;  // below the record's key; "" for the key itself
    std::vector<RegistryValue> values;
};

enum class RegistryRecordKind : unsigned char { Value = 1, Key = 2 };

struct RegistryRecord {
    RegistryRecordKind kind = RegistryRecordKind::Value;
    std::string hive;    // "HKCU", "HKLM", ...
    std::string subkey;
    bool present = false;
    RegistryValue value;               // Value records (name set even when absent)
    std::vector<RegistryNode> tree;    // Key records, when present
    std::string createdKey;            // top-most key that did not exist ("" none)
};

// Registry.dat
std::string EncodeRegistryRecords(const std::vector<RegistryRecord>& records);
bool DecodeRegistryRecords(const std::string& bytes, std::vector<RegistryRecord>& records);

// The root of a hive token (exact, with case); null for any other text.
HKEY RootOfHive(const std::string& hive);
