// The backups in a store folder: one folder per patch, named by the patch
// ("Patch-" and the eight hex digits of its identity), beside the companion
// that restores them. A store may also hold, at its top, the one backup that
// companions before named backups made there; it is listed and restored as
// the others.
#include <windows.h>

#include "Undo.h"
#include "UndoRecords.h"

namespace {

std::string ManifestValue(const std::string& manifest, const char* key) {
    return ReadProfileValue(manifest, "Backup", key);
}

bool HoldsBackup(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(JoinPath(folder, kManifestName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string BackupNameOf(uint32_t patchIdentity) {
    char name[16];
    wsprintfA(name, "Patch-%08lX", static_cast<unsigned long>(patchIdentity));
    return name;
}

std::vector<StoredBackup> BackupsIn(const std::string& store) {
    std::vector<StoredBackup> backups;
    if (HoldsBackup(store)) backups.push_back({kTopBackupName, store});
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(JoinPath(store, "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return backups;
    do {
        const std::string name = found.cFileName;
        // Links are never followed: the restore would refuse them anyway.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || !IsBareFileName(name))
            continue;
        const std::string folder = JoinPath(store, name);
        if (HoldsBackup(folder)) backups.push_back({name, folder});
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return backups;
}

std::string DescribeBackups(const std::string& store) {
    const std::vector<StoredBackup> backups = BackupsIn(store);
    if (backups.empty()) return "No backups in " + store + ".\r\n";
    std::string text = "Backups in " + store + ":\r\n";
    for (const StoredBackup& backup : backups) {
        const std::string manifest = JoinPath(backup.folder, kManifestName);
        const std::string title = ManifestValue(manifest, "Title");
        const std::string made = ManifestValue(manifest, "Made");
        text += "  " + backup.name + ": " + (title.empty() ? "(no title)" : title);
        if (!made.empty()) text += ", made " + made;
        text += ", " + ManifestValue(manifest, "Files") + " files, " + ManifestValue(manifest, "RegistryRecords") +
                " registry records\r\n";
    }
    text += "Restore one with: zuliundo.exe /restore " + backups.front().name + "\r\n";
    return text;
}

int FindBackup(const std::string& store, const std::string& name, std::string& folder, std::string& message) {
    if (!name.empty()) {
        if (name != kTopBackupName && !IsBareFileName(name)) {
            message = "\"" + name + "\" is not the name of a backup (a folder name of the backup folder).";
            return kUndoBadCommandLine;
        }
        folder = name == kTopBackupName ? store : JoinPath(store, name);
        if (HoldsBackup(folder)) return kUndoDone;
        message = "Nothing was restored: there is no backup named " + name + " in " + store + ".\r\n\r\n" +
                  DescribeBackups(store);
        return kUndoFailed;
    }
    const std::vector<StoredBackup> backups = BackupsIn(store);
    if (backups.size() == 1) {
        folder = backups.front().folder;
        return kUndoDone;
    }
    if (backups.empty()) {
        message = "Nothing was restored: there is no backup in " + store + " (" + kManifestName + " is missing).";
        return kUndoFailed;
    }
    message = "Nothing was restored: the folder holds more than one backup; name the one to restore.\r\n\r\n" +
              DescribeBackups(store);
    return kUndoBadCommandLine;
}
