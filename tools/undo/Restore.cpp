// "/restore": puts back what a backup saved. Each saved file is written
// through a scratch copy beside the target and swapped in, so the target is
// always either the patched or the original file, never half of one; a file
// in use is swapped at the next restart. Files the patch added are removed,
// with the folders it created for them. Registry records are put back last
// to first, so the state before the patch wins wherever two records overlap.
//
// Nothing is written before the whole backup has been checked: the backup
// folder must be one nobody else may write (OpenStore), every saved copy
// must have the size and CRC-32 the backup recorded, every target must lie
// in the folders the backup recorded, and every copy must be a file of the
// backup folder. A backup that fails any of these was damaged or planted,
// and restoring a part of it would leave the application neither as it was
// nor as it is.
#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "RegistryState.h"
#include "Undo.h"
#include "UndoRecords.h"
#include "core/FileSwap.h"
#include "core/neutral/Crc32.h"

namespace {

std::string ReadKey(const std::string& manifest, const std::string& section, const char* key) {
    std::vector<char> value(32768);
    GetPrivateProfileStringA(section.c_str(), key, "", value.data(), static_cast<DWORD>(value.size()),
                             manifest.c_str());
    return value.data();
}

class Restorer {
public:
    Restorer(const std::string& folder, bool force)
        : folder_(folder), manifest_(JoinPath(folder, kManifestName)), force_(force) {}

    int Run(std::string& message) {
        if (!OpenStore(folder_, false, message)) {
            message = "Nothing was restored: " + message;
            return kUndoFailed;
        }
        if (GetFileAttributesA(manifest_.c_str()) == INVALID_FILE_ATTRIBUTES) {
            message = "no backup in " + folder_ + " (" + kManifestName + " is missing)";
            return kUndoFailed;
        }
        std::vector<RegistryRecord> registry;
        const int files = static_cast<int>(GetPrivateProfileIntA("Backup", "Files", 0, manifest_.c_str()));
        if (!CheckFolders(message) || !CheckRegistry(registry, message)) return kUndoFailed;
        for (int n = 1; n <= files; ++n)
            if (!CheckFile("File" + std::to_string(n), message)) return kUndoFailed;
        for (std::size_t n = 0; n < registry.size(); ++n) NoteIfChangedSince(registry[n], n + 1);
        // Someone's later work is not overwritten unasked.
        if (!changedSince_.empty() && !force_) {
            message = "Nothing was restored: these files or registry entries are no longer what the patch left "
                      "there (edited or replaced since):\r\n" +
                      changedSince_ + "Run zuliundo.exe /restore /force to put the old versions back over them.";
            return kUndoFailed;
        }
        for (int n = files; n >= 1; --n) RestoreFile("File" + std::to_string(n));
        for (auto record = registry.rbegin(); record != registry.rend(); ++record)
            if (!RestoreRecord(*record)) Note("registry key " + record->hive + "\\" + record->subkey);
        if (!failures_.empty()) {
            message = "could not restore:\r\n" + failures_;
            return kUndoFailed;
        }
        message = restartNeeded_ ? "Restored; files in use are replaced when Windows restarts." : "Restored.";
        return restartNeeded_ ? kUndoRestartRequired : kUndoDone;
    }

private:
    void Note(const std::string& what) { failures_ += what + ": " + SystemErrorText(GetLastError()) + "\r\n"; }

    bool Refuse(const std::string& why, std::string& message) {
        message = "Nothing was restored: " + why;
        return false;
    }

    unsigned long long Number(const std::string& section, const char* key) {
        unsigned long long value = 0;
        return ParseDecimal(ReadKey(manifest_, section, key), value) ? value : ~0ULL;
    }

    // Whether `file` in the backup folder is a bare name whose size and
    // CRC-32 are those recorded under `section`.
    bool Intact(const std::string& file, const std::string& section, const char* sizeKey, const char* crcKey) {
        unsigned long long size = 0;
        uint32_t crc = 0;
        return IsBareFileName(file) && SumFile(JoinPath(folder_, file), false, size, crc) &&
               size == Number(section, sizeKey) && crc == Number(section, crcKey);
    }

    bool CheckFolders(std::string& message) {
        const int count = static_cast<int>(GetPrivateProfileIntA("Backup", "Folders", 0, manifest_.c_str()));
        for (int n = 1; n <= count; ++n) {
            std::string folder = ReadKey(manifest_, "Backup", ("Folder" + std::to_string(n)).c_str());
            if (!IsPlainFullPath(folder))
                return Refuse("the backup's folder list names \"" + folder + "\", which is not a plain full path.",
                              message);
            folders_.push_back(folder);
        }
        return true;
    }

    bool CheckRegistry(std::vector<RegistryRecord>& registry, std::string& message) {
        std::string bytes;
        if (!Intact(kRegistryFileName, "Backup", "RegistrySize", "RegistryCrc") ||
            !ReadWholeFile(JoinPath(folder_, kRegistryFileName), bytes) || !DecodeRegistryRecords(bytes, registry))
            return Refuse("the backup's " + std::string(kRegistryFileName) + " is missing or damaged.", message);
        return true;
    }

    // A target must lie in a folder the backup recorded, named so that its
    // text says where it is.
    bool Confined(const std::string& path) const {
        if (!IsPlainFullPath(path)) return false;
        for (const std::string& folder : folders_)
            if (LiesBelow(path, folder)) return true;
        return false;
    }

    bool CheckFile(const std::string& section, std::string& message) {
        const std::string target = ReadKey(manifest_, section, "Path");
        const std::string state = ReadKey(manifest_, section, "State");
        if (!Confined(target))
            return Refuse(section + " names \"" + target + "\", which is not a full path inside the application's " +
                              "folders that the backup recorded (no \"..\" is allowed).",
                          message);
        NoteIfChangedSince(section, target);
        if (state == "saved") {
            const std::string copy = ReadKey(manifest_, section, "Copy");
            if (!IsBareFileName(copy))
                return Refuse(section + ": the saved copy \"" + copy + "\" of " + target +
                                  " is not a file of the backup folder.",
                              message);
            if (!Intact(copy, section, "Size", "Crc"))
                return Refuse("the saved copy " + copy + " of " + target +
                                  " is missing or damaged: its size or CRC-32 is not what the backup recorded.",
                              message);
            return true;
        }
        const std::string created = ReadKey(manifest_, section, "CreatedFolder");
        if (state != "added" || (!created.empty() && (!Confined(created) || !LiesBelow(target, created))))
            return Refuse(section + " of the backup is damaged.", message);
        return true;
    }

    // Whether the target is still what the patch left there, where the
    // backup knows it.
    void NoteIfChangedSince(const std::string& section, const std::string& target) {
        const std::string expected = ReadKey(manifest_, section, "Expected");
        bool changed = false;
        if (expected == "absent") {
            changed = GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        } else if (expected == "crc") {
            // Read only where there is a CRC to compare with. A file the
            // patch replaces at the restart is, until then, the one waiting
            // to take its place.
            char pending[FileSwap::kPathSize] = {};
            const std::string patched =
                PendingRenameSourceFor(target.c_str(), pending, SystemSwapPlatform()) ? pending : target;
            unsigned long long size = 0;
            uint32_t crc = 0;
            changed = !SumFile(patched, false, size, crc) || crc != Number(section, "ExpectedCrc");
        }
        if (changed) changedSince_ += "  " + target + "\r\n";
    }

    // Whether a registry value or key is still what the patch's lines left
    // there, where the backup knows it.
    void NoteIfChangedSince(const RegistryRecord& record, std::size_t number) {
        const std::string expected = ReadKey(manifest_, "Registry", ("Expected" + std::to_string(number)).c_str());
        if (expected.empty() || !RootOfHive(record.hive)) return;
        RegistryRecord now;
        now.kind = record.kind;
        now.hive = record.hive;
        now.subkey = record.subkey;
        now.value.name = record.value.name;
        const bool value = record.kind == RegistryRecordKind::Value;
        bool changed = !(value ? CaptureValue(now) : CaptureKey(now));
        if (!changed && expected == "absent") {
            changed = now.present;
        } else if (!changed && expected == "present") {
            changed = !now.present;
        } else if (!changed && value) {
            const std::string& data = now.value.data;
            changed = !now.present ||
                      expected != "value," + std::to_string(now.value.type) + "," + std::to_string(data.size()) + "," +
                                      std::to_string(Crc32Update(0, reinterpret_cast<const unsigned char*>(data.data()),
                                                                 data.size()));
        }
        if (changed)
            changedSince_ += "  " + record.hive + "\\" + record.subkey +
                             (value ? " (value \"" + record.value.name + "\")" : std::string(" (key)")) + "\r\n";
    }

    // The patch may have left a replacement or a delete of the target for
    // the next start, which would undo the restore then. The file that was
    // to take the target's place goes too: the restart would have consumed
    // it, and nothing else knows of it.
    bool CancelPending(const std::string& target) {
        const SwapPlatform platform = SystemSwapPlatform();
        char waiting[FileSwap::kPathSize] = {};
        const bool replacement = PendingRenameSourceFor(target.c_str(), waiting, platform) != 0;
        if (!CancelRenamesAtRestartTo(target.c_str(), platform) ||
            !CancelRenameAtRestart(target.c_str(), nullptr, platform))
            return false;
        if (replacement && Confined(waiting)) {
            SetFileAttributesA(waiting, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(waiting);
        }
        return true;
    }

    // The saved copy goes to a fresh scratch file beside the target first,
    // then takes the target's place in one rename; a target another program
    // holds open is replaced at the restart. The file gets back the
    // attributes it had before the patch, and keeps the owner and access
    // list the target has (the patch kept the original's).
    bool PutBack(const std::string& target, const std::string& copy, DWORD attributes) {
        CreateFolderChain(FolderOf(target));
        FileSwap swap(SystemSwapPlatform());
        if (!swap.Begin(target.c_str(), TargetAccess::Free) || !swap.CopyIntoScratch(copy.c_str())) return false;
        swap.KeepAttributes(attributes);
        const SwapOutcome outcome = swap.Commit(SwapTime::NowOrAtRestart);
        if (outcome == SwapOutcome::AtRestart) restartNeeded_ = true;
        return outcome != SwapOutcome::Failed;
    }

    bool Remove(const std::string& target) {
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileA(target.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
            GetLastError() == ERROR_PATH_NOT_FOUND)
            return true;
        if (!MoveFileExA(target.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return false;
        restartNeeded_ = true;
        return true;
    }

    // Removes `created` and the folders below it on the way to nothing,
    // only while they are empty: a file someone put there since stays.
    static void RemoveEmptyFolders(const std::string& created, const std::string& fileFolder) {
        std::string folder = fileFolder;
        while (!folder.empty() && folder.size() >= created.size()) {
            if (!RemoveDirectoryA(folder.c_str())) return;
            if (lstrcmpiA(folder.c_str(), created.c_str()) == 0) return;
            folder = folder.substr(0, folder.find_last_of('\\'));
        }
    }

    void RestoreFile(const std::string& section) {
        std::string target = ReadKey(manifest_, section, "Path");
        if (!CancelPending(target)) {
            Note(target + " (a change waiting for the restart could not be cancelled)");
            return;
        }
        if (ReadKey(manifest_, section, "State") == "saved") {
            DWORD attributes = GetPrivateProfileIntA(section.c_str(), "Attributes", FILE_ATTRIBUTE_NORMAL,
                                                     manifest_.c_str());
            if (!PutBack(target, JoinPath(folder_, ReadKey(manifest_, section, "Copy")), attributes)) Note(target);
            return;
        }
        if (!Remove(target)) {
            Note(target);
            return;
        }
        std::string created = ReadKey(manifest_, section, "CreatedFolder");
        if (!created.empty()) RemoveEmptyFolders(created, target.substr(0, target.find_last_of('\\')));
    }

    std::string folder_;
    std::string manifest_;
    std::vector<std::string> folders_;
    std::string failures_;
    std::string changedSince_;
    bool force_;
    bool restartNeeded_ = false;
};

}  // namespace

int Restore(const std::string& backupFolder, bool force, std::string& message) {
    return Restorer(backupFolder, force).Run(message);
}
