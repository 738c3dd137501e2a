// "/restore": puts back what a backup saved, as one transaction with the
// journal a patch keeps: every saved file is first copied to a scratch file
// beside its target, the plan goes on the disk, and only then does each
// take its target's place (a target another program holds open at the next
// restart) and the registry records go back, last to first, so that the
// state before the patch wins wherever two records overlap. Any failure
// undoes all of it, and a restore cut short is undone by the next start of
// a patch or of this companion: the application ends restored or as it was.
// Files the patch added are removed, with the folders it created for them.
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
#include "core/RegistryPriorState.h"
#include "core/TransactionJournal.h"
#include "core/TransactionSteps.h"

namespace {

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
        if (!RestoreAllOrNothing(files, registry, message)) return kUndoFailed;
        message = restartNeeded_ ? "Restored; files in use are replaced when Windows restarts." : "Restored.";
        return restartNeeded_ ? kUndoRestartRequired : kUndoDone;
    }

private:
    bool Refuse(const std::string& why, std::string& message) {
        message = "Nothing was restored: " + why;
        return false;
    }

    unsigned long long Number(const std::string& section, const char* key) {
        unsigned long long value = 0;
        return ParseDecimal(ReadProfileValue(manifest_, section, key), value) ? value : ~0ULL;
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
            std::string folder = ReadProfileValue(manifest_, "Backup", ("Folder" + std::to_string(n)).c_str());
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
        const std::string target = ReadProfileValue(manifest_, section, "Path");
        const std::string state = ReadProfileValue(manifest_, section, "State");
        if (!Confined(target))
            return Refuse(section + " names \"" + target + "\", which is not a full path inside the application's " +
                              "folders that the backup recorded (no \"..\" is allowed).",
                          message);
        NoteIfChangedSince(section, target);
        if (state == "saved") {
            const std::string copy = ReadProfileValue(manifest_, section, "Copy");
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
        const std::string created = ReadProfileValue(manifest_, section, "CreatedFolder");
        if (state != "added" || (!created.empty() && (!Confined(created) || !LiesBelow(target, created))))
            return Refuse(section + " of the backup is damaged.", message);
        return true;
    }

    // Whether the target is still what the patch left there, where the
    // backup knows it.
    void NoteIfChangedSince(const std::string& section, const std::string& target) {
        const std::string expected = ReadProfileValue(manifest_, section, "Expected");
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
        const std::string expected = ReadProfileValue(manifest_, "Registry", ("Expected" + std::to_string(number)).c_str());
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
            changed = !now.present ||
                      expected != RegistryValueState(now.value.type, now.value.data.data(), now.value.data.size());
        }
        if (changed)
            changedSince_ += "  " + record.hive + "\\" + record.subkey +
                             (value ? " (value \"" + record.value.name + "\")" : std::string(" (key)")) + "\r\n";
    }

    // One step of the restore's plan, with the texts its PlanStep points to.
    struct PlannedFile {
        StepKind kind;
        std::string target, aside, staged;
        PlanStep Step() const {
            return {kind, target.c_str(), aside.empty() ? nullptr : aside.c_str(),
                    staged.empty() ? nullptr : staged.c_str()};
        }
    };

    bool Fail(const std::string& what, std::string& message) {
        message = "Nothing was restored: " + what + ": " + SystemErrorText(GetLastError());
        return false;
    }

    // A fresh empty file beside `target`, for the old version's second name.
    static bool Reserve(const std::string& target, std::string& name) {
        char made[FileSwap::kPathSize] = {};
        if (!CreateScratchFile(target.c_str(), made)) return false;
        name = made;
        return true;
    }

    // The folders above `folder` that are missing are made, each a step of
    // the plan (undone by removing it while empty), the highest first.
    bool MakeFolders(const std::string& folder, std::vector<PlannedFile>& plan) {
        if (folder.empty() || GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        if (!MakeFolders(FolderOf(folder), plan)) return false;
        plan.push_back({StepKind::CreatedFolder, folder, "", ""});
        return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    }

    // What putting the record's file back takes: the saved copy as a fresh
    // scratch file beside the target (with the attributes it had before the
    // patch, and the target's owner and access list, as the patch kept the
    // original's), or the target's delete; a target another program holds
    // open is replaced (or deleted) at the next restart.
    bool Prepare(const std::string& section, std::vector<PlannedFile>& plan, std::string& message) {
        const std::string target = ReadProfileValue(manifest_, section, "Path");
        const bool exists = GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        const bool held = exists && HeldAgainstRename(target.c_str());
        PlannedFile file{held ? StepKind::ReplaceAtRestart : StepKind::Replace, target, "", ""};
        if (ReadProfileValue(manifest_, section, "State") == "saved") {
            if (!MakeFolders(FolderOf(target), plan)) return Fail("cannot create the folder of " + target, message);
            FileSwap swap(SystemSwapPlatform());
            char prepared[FileSwap::kPathSize] = {};
            if (!swap.Begin(target.c_str(), TargetAccess::Free) ||
                !swap.CopyIntoScratch(JoinPath(folder_, ReadProfileValue(manifest_, section, "Copy")).c_str()))
                return Fail("cannot prepare " + target, message);
            swap.KeepAttributes(
                GetPrivateProfileIntA(section.c_str(), "Attributes", FILE_ATTRIBUTE_NORMAL, manifest_.c_str()));
            if (!swap.Seal(prepared)) return Fail("cannot prepare " + target, message);
            file.staged = prepared;
        } else if (!exists) {
            return true;  // added by the patch, and gone already
        } else if (held) {
            file.kind = StepKind::DeleteAtRestart;
        }
        if (exists && file.kind == StepKind::Replace && !Reserve(target, file.aside)) {
            if (!file.staged.empty()) DeleteFileA(file.staged.c_str());
            return Fail("cannot prepare " + target, message);
        }
        if (file.kind != StepKind::Replace) restartNeeded_ = true;
        plan.push_back(file);
        return true;
    }

    // The registry as it is now, for every key and value a record puts
    // back, in the form the journal keeps.
    static bool CaptureRegistry(const std::vector<RegistryRecord>& registry, ByteBuffer& prior) {
        for (const RegistryRecord& record : registry) {
            const HKEY root = RootOfHive(record.hive);
            if (!root) continue;
            const uint32_t number = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(root));
            const int ok = record.kind == RegistryRecordKind::Value
                               ? CaptureWriteState(prior, number, record.subkey.c_str(), record.value.name.c_str())
                               : CaptureKeyState(prior, number, record.subkey.c_str());
            if (!ok || (!record.createdKey.empty() && !CaptureKeyState(prior, number, record.createdKey.c_str())))
                return false;
        }
        return !prior.Failed();
    }

    // The patch may have left a replacement or a delete of a target for the
    // next start, which would undo the restore then: cancelled before the
    // restore's own steps (which may be for the restart too), and scheduled
    // again when the restore is undone.
    struct Cancelled {
        std::string source, target;
    };
    bool CancelPending(const std::vector<PlannedFile>& plan, std::vector<Cancelled>& cancelled) {
        const SwapPlatform platform = SystemSwapPlatform();
        for (const PlannedFile& file : plan) {
            if (file.kind == StepKind::CreatedFolder) continue;
            char waiting[FileSwap::kPathSize] = {};
            if (PendingRenameSourceFor(file.target.c_str(), waiting, platform))
                cancelled.push_back({waiting, file.target});
            if (!CancelRenamesAtRestartTo(file.target.c_str(), platform) ||
                !CancelRenameAtRestart(file.target.c_str(), nullptr, platform))
                return false;
        }
        return true;
    }

    static void Reschedule(const std::vector<Cancelled>& cancelled) {
        for (const Cancelled& rename : cancelled)
            ScheduleRenameAtRestart(rename.source.c_str(), rename.target.c_str(), SystemSwapPlatform());
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

    // Every file and registry value goes back in one transaction, with the
    // journal a patch keeps: everything prepared beside its target, the
    // plan on the disk, then each put in place and the registry written; a
    // failure undoes it all, and so does the next start of a patch or of
    // this companion after a restore cut short.
    bool RestoreAllOrNothing(int files, const std::vector<RegistryRecord>& registry, std::string& message) {
        const SwapPlatform platform = SystemSwapPlatform();
        std::vector<PlannedFile> plan;
        ByteBuffer prior;
        bool prepared = true;
        for (int n = 1; n <= files && prepared; ++n) prepared = Prepare("File" + std::to_string(n), plan, message);
        if (prepared && !CaptureRegistry(registry, prior)) prepared = Fail("cannot read the registry as it is", message);
        ByteBuffer body, sealed;
        if (prepared) {
            AppendPlanHeader(body, static_cast<uint32_t>(plan.size()));
            for (const PlannedFile& file : plan) AppendPlanStep(body, file.Step());
            AppendPlanRegistry(body, prior.Data(), prior.Size());
            SealJournal(body, sealed);
        }
        TransactionJournal journal;
        if (!prepared || sealed.Failed() || !journal.Write(sealed)) {
            if (prepared) Fail("cannot write the restore's journal", message);
            for (auto file = plan.rbegin(); file != plan.rend(); ++file) UndoStep(file->Step(), platform);
            return false;
        }
        std::vector<Cancelled> cancelled;
        bool done = CancelPending(plan, cancelled);
        if (!done) Fail("a change the patch left for the restart cannot be cancelled", message);
        for (std::size_t i = 0; i < plan.size() && done; ++i)
            if (!CommitStep(plan[i].Step(), platform)) done = Fail("cannot put back " + plan[i].target, message);
        for (auto record = registry.rbegin(); record != registry.rend() && done; ++record)
            if (!RestoreRecord(*record))
                done = Fail("cannot put back the registry key " + record->hive + "\\" + record->subkey, message);
        if (!done) {
            const DWORD error = GetLastError();
            if (RollBackJournal(sealed.Data(), sealed.Size(), platform)) journal.Remove();
            else message += "\r\nThe next start of a patch or of this restore finishes undoing it.";
            Reschedule(cancelled);
            SetLastError(error);
            restartNeeded_ = false;
            return false;
        }
        journal.MarkCommitted();
        for (auto file = plan.rbegin(); file != plan.rend(); ++file) FinishStep(file->Step(), platform);
        journal.Remove();
        // What waited for the restart in the patch's place, and the folders
        // the patch made for files it added.
        for (const Cancelled& rename : cancelled)
            if (Confined(rename.source)) {
                SetFileAttributesA(rename.source.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(rename.source.c_str());
            }
        for (int n = 1; n <= files; ++n) {
            const std::string section = "File" + std::to_string(n);
            const std::string created = ReadProfileValue(manifest_, section, "CreatedFolder");
            if (ReadProfileValue(manifest_, section, "State") == "added" && !created.empty())
                RemoveEmptyFolders(created, FolderOf(ReadProfileValue(manifest_, section, "Path")));
        }
        return true;
    }

    std::string folder_;
    std::string manifest_;
    std::vector<std::string> folders_;
    std::string changedSince_;
    bool force_;
    bool restartNeeded_ = false;
};

}  // namespace

int Restore(const std::string& backupFolder, bool force, std::string& message) {
    return Restorer(backupFolder, force).Run(message);
}
