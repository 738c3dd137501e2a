// "/restore": puts back what a backup saved. Each saved file is written
// through a scratch copy beside the target and swapped in, so the target is
// always either the patched or the original file, never half of one; a file
// in use is swapped at the next restart. Files the patch added are removed,
// with the folders it created for them. Registry records are put back last
// to first, so the state before the patch wins wherever two records overlap.
#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "RegistryState.h"
#include "Undo.h"
#include "UndoRecords.h"
#include "core/FileSwap.h"

namespace {

std::string ReadKey(const std::string& manifest, const std::string& section, const char* key) {
    std::vector<char> value(32768);
    GetPrivateProfileStringA(section.c_str(), key, "", value.data(), static_cast<DWORD>(value.size()),
                             manifest.c_str());
    return value.data();
}

class Restorer {
public:
    explicit Restorer(const std::string& folder) : folder_(folder), manifest_(JoinPath(folder, kManifestName)) {}

    int Run(std::string& message) {
        if (GetFileAttributesA(manifest_.c_str()) == INVALID_FILE_ATTRIBUTES) {
            message = "no backup in " + folder_ + " (" + kManifestName + " is missing)";
            return kUndoFailed;
        }
        std::string bytes;
        std::vector<RegistryRecord> registry;
        if (!ReadWholeFile(JoinPath(folder_, kRegistryFileName), bytes) || !DecodeRegistryRecords(bytes, registry)) {
            message = "the backup's " + std::string(kRegistryFileName) + " is missing or damaged; nothing was restored";
            return kUndoFailed;
        }
        int files = static_cast<int>(GetPrivateProfileIntA("Backup", "Files", 0, manifest_.c_str()));
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
        if (target.empty()) return;
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
    std::string failures_;
    bool restartNeeded_ = false;
};

}  // namespace

int Restore(const std::string& backupFolder, std::string& message) { return Restorer(backupFolder).Run(message); }
