// What a backup holds: the state before the patch of every file and
// registry value the patch will touch. Kept in the backup folder as
// "Backup.ini" (files, readable) and "Registry.dat" (registry, binary).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct FileRecord {
    std::string path;           // the target as the runtime resolved it, made full
    bool present = false;       // false: the patch adds it; restore removes it
    DWORD attributes = 0;
    std::string copy;           // name of the saved copy in the backup folder
    unsigned long long size = 0;  // of the saved copy
    uint32_t crc = 0;             // CRC-32 of the saved copy
    std::string createdFolder;  // top-most folder that did not exist ("" none)
    // What the patch leaves there, where the script tells: the restore
    // checks that the file is still that before it puts the old one back.
    enum class Expected { Unknown, Absent, Crc } expected = Expected::Unknown;
    uint32_t expectedCrc = 0;
};

// What the restore accepts from a manifest. A full path (a drive's or a
// network share's) with no component of dots alone ("." or ".."), no
// wildcard and no ':' after the drive names the file it seems to name, so
// that whether it lies in a folder can be told from its text.
bool IsPlainFullPath(const std::string& path);
// Whether `path` lies below `folder`, not `folder` itself (case aside).
bool LiesBelow(const std::string& path, const std::string& folder);
// A bare file name: no folder, drive or stream, not dots alone.
bool IsBareFileName(const std::string& name);
// A decimal number as the manifest writes it; false for anything else.
bool ParseDecimal(const std::string& text, unsigned long long& value);

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

// What a value holds, as a backup records what the patch leaves in it and
// a restore compares: "value,<type>,<size>,<CRC-32 of the data>".
std::string RegistryValueState(DWORD type, const void* data, std::size_t size);

// Registry.dat
std::string EncodeRegistryRecords(const std::vector<RegistryRecord>& records);
bool DecodeRegistryRecords(const std::string& bytes, std::vector<RegistryRecord>& records);

// The root of a hive token (exact, with case); null for any other text.
HKEY RootOfHive(const std::string& hive);
