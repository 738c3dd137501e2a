// The two jobs of the backup companion.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Exit codes, the ones deployment tools understand. kBackupFailed is also
// the code that makes the patch stop before it changes anything.
constexpr int kUndoDone = 0;
constexpr int kUndoBadCommandLine = 87;
constexpr int kUndoFailed = 1603;
constexpr int kUndoRestartRequired = 3010;
constexpr int kUndoAnotherRun = 1618;  // a patch (or another restore) is running

// "/I", run by the patch in its working folder: backs up everything the
// script there is about to change. kUndoDone or kUndoFailed (with `message`).
int BackUp(const std::string& workFolder, std::string& message);
// "/restore", run from the store: puts everything back that the backup in
// `backupFolder` saved. Refused when a file is no longer what the patch left
// there, unless `force`.
int Restore(const std::string& backupFolder, bool force, std::string& message);

// The backups in a store folder (BackupStore.cpp): one folder per patch,
// named by BackupNameOf.
struct StoredBackup {
    std::string name;    // the folder's name; kTopBackupName for the store's own
    std::string folder;  // full path
};
constexpr const char kTopBackupName[] = ".";
std::string BackupNameOf(uint32_t patchIdentity);
std::vector<StoredBackup> BackupsIn(const std::string& store);
// One line per backup (name, title, when made, how much), for "/list".
std::string DescribeBackups(const std::string& store);
// The folder of the backup `name` in `store`, or of its only backup when
// `name` is empty: kUndoDone, or kUndoFailed / kUndoBadCommandLine with
// `message` (none of that name; several and none named).
int FindBackup(const std::string& store, const std::string& name, std::string& folder, std::string& message);

// The manifest of a backup, in the backup folder.
constexpr const char kManifestName[] = "Backup.ini";
constexpr const char kRegistryFileName[] = "Registry.dat";
constexpr const char kCompanionName[] = "zuliundo.exe";

// Small helpers shared by both jobs.
std::string JoinPath(const std::string& folder, const std::string& name);
std::string SystemErrorText(unsigned long error);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool ReadWholeFile(const std::string& path, std::string& bytes);
// A value of an INI file ("" when missing), up to the profile functions'
// longest.
std::string ReadProfileValue(const std::string& file, const std::string& section, const char* key);
// The path without its last component.
std::string FolderOf(const std::string& path);
// Creates `folder` and every missing folder above it.
bool CreateFolderChain(const std::string& folder);
// The path made absolute, with "." and ".." resolved and no trailing
// backslash ("" when it cannot be).
std::string FullPath(const std::string& path);
// The common application data folder ("C:\ProgramData").
std::string CommonDataFolder();
// The size and CRC-32 of a file; `flush` also puts it on the disk first.
bool SumFile(const std::string& path, bool flush, unsigned long long& size, uint32_t& crc);

// The backup folder ("store"), made when `make`: every folder of its path
// that is missing is created with the store's access list
// (core/BackupStoreSafety.h); the store itself, when it exists already, and
// every folder between the common application data folder and it that this
// run did not make must be trusted. False with `message` when one is not.
bool OpenStore(const std::string& store, bool make, std::string& message);
