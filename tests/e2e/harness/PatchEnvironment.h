// The machine around a patch run, as the end-to-end tests see it: the
// runtime's working folder, registry values, file checks and the CRC-32 the
// patch scripts carry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

// %TEMP%\ of this Wine prefix, with a trailing backslash.
std::string TemporaryFolder();
// The runtime's working folder: the (first) "ZuliTmp*" folder in %TEMP%,
// with a trailing backslash; empty when there is none (so never hand it to
// RemoveTree: use RemoveZuliWorkFolders).
std::string ZuliWorkFolder();
// Removes every "ZuliTmp*" entry of %TEMP% (links themselves, not what they
// lead to).
void RemoveZuliWorkFolders();
bool FolderExists(const std::string& path);

// Registry helpers on the prefix's registry.
bool SetRegistryString(HKEY root, const std::string& subkey, const std::string& name, const std::string& value);
bool SetRegistryBytes(HKEY root, const std::string& subkey, const std::string& name, DWORD type,
                      const std::string& bytes);
// The value's type and raw data; false when the key or value is missing.
bool ReadRegistryValue(HKEY root, const std::string& subkey, const std::string& name, DWORD* type,
                       std::string* data);
bool RegistryKeyExists(HKEY root, const std::string& subkey);
void DeleteRegistryTree(HKEY root, const std::string& subkey);

// The replacements Windows will carry out at the next restart (the NT
// family keeps them in the session manager's PendingFileRenameOperations).
std::string PendingRenames();
// What the next start of the system does with the renames whose source lies
// below `folder` (carried out in list order, a rename with no destination
// being a delete), and then forgets them; the rest stay listed.
void RestartRenamesBelow(const std::string& folder);

// CRC-32 of IEEE 802.3 over `bytes`, and the signed decimal form the scripts
// write it in.
uint32_t Crc32Of(const std::string& bytes);
std::string SignedDecimal(uint32_t value);

// Payload builders: an XOR delta turning `from` into `to`, and a byte-patch
// payload of (type, pattern, replacement) records.
std::string XorDeltaPayload(const std::string& from, const std::string& to);
struct PatchRecordSpec {
    uint32_t type;
    std::string pattern;
    std::string replacement;
};
std::string BytePatchPayload(std::initializer_list<PatchRecordSpec> records);
std::string LittleEndian32(uint32_t value);
