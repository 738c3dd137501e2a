// "/I": the patch has checked every file and is about to change them. The
// working Setup.ini names each target ("ExpandName") and what will happen
// to it; everything that will change is copied into the backup folder,
// with the registry values the registry lines will touch, and the manifest
// is written last, so that a backup is either whole or not there. The
// backup folder is one nobody else may write (OpenStore); the manifest
// records the size and CRC-32 of every copy, on the disk before it, and the
// folders the restore may write in. Once the backup is whole, the companion
// writes the folder it used back into the working Setup.ini
// ([Backup] Made=): a patch built with the companion goes on only then.
#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <map>
#include <vector>

#include "RegistryState.h"
#include "Undo.h"
#include "UndoRecords.h"
#include "actions/neutral/BytePatchRecords.h"
#include "actions/neutral/RegistryLine.h"
#include "actions/neutral/XorCombine.h"
#include "core/neutral/Crc32.h"
#include "core/neutral/LenientInteger.h"
#include "script/neutral/ActionCodes.h"
#include "script/ScriptKeys.h"
#include "script/neutral/FieldSplitter.h"

namespace {

class Script {
public:
    explicit Script(std::string path) : path_(std::move(path)) {}
    std::string Read(const std::string& section, const char* key) const {
        return ReadProfileValue(path_, section, key);
    }
    int Number(const std::string& section, const char* key) const {
        return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key, 0, path_.c_str()));
    }
    bool Write(const char* section, const char* key, const std::string& value) const {
        return WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str()) != 0;
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

bool SameFile(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The shortest leading folder of `path` (a file's folder) that is missing:
// the patch creates it, and the restore removes it again when it is empty.
std::string FirstMissingFolder(const std::string& folder) {
    std::string parent = FolderOf(folder);
    if (!parent.empty() && parent != folder && GetFileAttributesA(parent.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::string higher = FirstMissingFolder(parent);
        return higher.empty() ? parent : higher;
    }
    return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES ? folder : std::string();
}

std::string BackupFolder(const Script& script) {
    std::string folder = script.Read(kBackupSection, "Folder");
    if (folder.empty()) folder = "Zuli Backup";
    char expanded[MAX_PATH * 2] = {};
    if (ExpandEnvironmentStringsA(folder.c_str(), expanded, sizeof expanded)) folder = expanded;
    return PathIsRelativeA(folder.c_str()) ? JoinPath(CommonDataFolder(), folder) : folder;
}

class Backup {
public:
    Backup(const std::string& workFolder) : script_(JoinPath(workFolder, "Setup.ini")) {}

    int Run(std::string& message) {
        const std::string store = FullPath(BackupFolder(script_));
        if (store.empty()) return Fail("cannot resolve the backup folder " + BackupFolder(script_), message);
        // Each patch's backup has a folder of its own in the store, named
        // by the patch: patches that share a store never touch each other's.
        const uint32_t identity = PatchIdentity();
        folder_ = JoinPath(store, BackupNameOf(identity));
        if (!OpenStore(store, true, message) || !OpenStore(folder_, true, message)) return kUndoFailed;
        std::string manifest = JoinPath(folder_, kManifestName);
        const std::string patch = std::to_string(identity);
        // This patch's own backup is kept, never taken again: a second run,
        // or a retry, finds files the patch already changed (or, after a
        // roll-back, the same files the backup holds).
        if (GetFileAttributesA(manifest.c_str()) != INVALID_FILE_ATTRIBUTES &&
            Script(manifest).Read(kBackupSection, "Patch") == patch) {
            if (!script_.Write(kBackupSection, kBackupKeptKey, "1") ||
                !script_.Write(kBackupSection, kBackupMadeKey, folder_))
                return Fail("cannot write the backup folder into " + script_.Path(), message);
            return kUndoDone;
        }
        // A manifest of the same name that is not this patch's (the
        // identities collide) is never reused, and neither is anything left
        // in the folder without one (a backup cut short, or one a run that
        // was rolled back gave up): it is cleared first.
        if (!DeleteFileA(manifest.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            return Fail("cannot replace " + manifest, message);
        ClearFolder();
        patch_ = patch;
        if (!RecordFiles(message) || !RecordRegistry(message)) return kUndoFailed;
        const std::string registry = EncodeRegistryRecords(registry_);
        registrySize_ = registry.size();
        registryCrc_ = Crc32Update(0, reinterpret_cast<const unsigned char*>(registry.data()), registry.size());
        if (!WriteWholeFile(JoinPath(folder_, kRegistryFileName), registry))
            return Fail("cannot write " + JoinPath(folder_, kRegistryFileName), message);
        char self[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string companion = JoinPath(store, kCompanionName);
        unsigned long long size = 0;
        uint32_t crc = 0;
        if (!CopyFileA(self, companion.c_str(), FALSE) || !SumFile(companion, true, size, crc))
            return Fail("cannot copy " + std::string(kCompanionName) + " into " + store, message);
        if (WriteManifest(manifest, message) != kUndoDone) return kUndoFailed;
        // The patch takes this, and nothing else, as the sign that its
        // backup is there.
        if (!script_.Write(kBackupSection, kBackupMadeKey, folder_))
            return Fail("cannot write the backup folder into " + script_.Path(), message);
        return kUndoDone;
    }

private:
    int Fail(const std::string& what, std::string& message) {
        message = what + ": " + SystemErrorText(GetLastError());
        return kUndoFailed;
    }

    void ClearFolder() const {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(JoinPath(folder_, "*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string file = JoinPath(folder_, found.cFileName);
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }

    // What tells this patch from others: every entry's file, folder, action
    // and versions, and every registry line, as the patch carries them (not
    // as this run resolved or skipped them).
    uint32_t PatchIdentity() const {
        std::string text;
        const int count = script_.Number(kSetupSection, kProcCountKey);
        for (int n = 1; n <= count; ++n) {
            const std::string section = kEntrySectionPrefix + std::to_string(n);
            for (const char* key : {kFileKey, kDirKey, kSubKey, kActKey, kCrcKey, kNewCrcKey, kRegKeyKey})
                text += script_.Read(section, key) + '\n';
        }
        for (const char* registry : {kAddRegSection, kDelRegSection, kRenRegSection}) {
            const int lines = script_.Number(kSetupSection, registry);
            for (int n = 1; n <= lines; ++n) text += script_.Read(registry, std::to_string(n).c_str()) + '\n';
        }
        return Crc32Update(0, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    }

    // The record of `path` (a full path, as records hold them).
    FileRecord* Find(const std::string& path) {
        for (FileRecord& record : files_)
            if (SameFile(record.path, path)) return &record;
        return nullptr;
    }

    // What an entry leaves in its target, where the script tells: its
    // NewCRC, the payload a replacement copies in, nothing after a delete
    // or a rename. A later entry's word replaces an earlier one's, and an
    // entry that does not tell leaves it unknown.
    FileRecord ExpectedAfter(const std::string& section, int act) {
        FileRecord state;
        // NewCRC is read as the runtime reads it.
        const std::string newCrc = script_.Read(section, kNewCrcKey);
        if (act == kActDelete || act == kActRename) {
            state.expected = FileRecord::Expected::Absent;
        } else if (!newCrc.empty()) {
            state.expected = FileRecord::Expected::Crc;
            state.expectedCrc = static_cast<uint32_t>(ParseLenientInteger(newCrc.c_str()));
        } else if (act == kActAdd) {
            unsigned long long size = 0;
            const std::string payload = JoinPath(FolderOf(script_.Path()), section);
            if (SumFile(payload, false, size, state.expectedCrc)) state.expected = FileRecord::Expected::Crc;
        }
        return state;
    }

    static std::string Lower(const std::string& text) {
        std::vector<char> lower(text.begin(), text.end());
        lower.push_back('\0');
        CharLowerA(lower.data());
        return lower.data();
    }

    // The content an entry finds in `path` (full): what an earlier entry was
    // worked out to leave there, or the file as it is (none: empty) when no
    // entry touched it yet. False when an earlier entry left it unknown.
    bool ContentBefore(const std::string& path, std::string& bytes) {
        auto worked = worked_.find(Lower(path));
        if (worked != worked_.end()) {
            bytes = worked->second.substr(1);
            return worked->second[0] == '+';
        }
        bytes.clear();
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES || ReadWholeFile(path, bytes);
    }

    // What an update without NewCRC leaves in its file, worked out before
    // the run as the runtime applies it: the XOR delta, the byte patterns,
    // the INI lines (written by the system's own profile functions into a
    // scratch copy in the backup folder). False where it cannot be told.
    bool WorkOut(const std::string& section, int act, const std::string& path, std::string& bytes) {
        std::string payload;
        if (!ContentBefore(path, bytes)) return false;
        if (act == kActIniKeys) return WorkOutIni(section, bytes);
        if (!ReadWholeFile(JoinPath(FolderOf(script_.Path()), section), payload)) return false;
        if (act == kActXorDelta) {
            const std::size_t both = bytes.size() < payload.size() ? bytes.size() : payload.size();
            if (both) XorCombine(reinterpret_cast<unsigned char*>(&payload[0]),
                                 reinterpret_cast<const unsigned char*>(bytes.data()), both);
            bytes.swap(payload);
            return true;
        }
        if (act != kActBytePatch || bytes.empty() || payload.empty()) return false;
        MemoryPatchContent content(reinterpret_cast<unsigned char*>(&bytes[0]), bytes.size());
        return ApplyPatchPayload(content, reinterpret_cast<const unsigned char*>(payload.data()), payload.size()) == 1;
    }

    bool WorkOutIni(const std::string& section, std::string& bytes) {
        const std::string scratch = JoinPath(folder_, "IniResult.tmp");
        bool ok = WriteWholeFile(scratch, bytes);
        const int count = script_.Number(section, kCountKey);
        for (int line = 1; ok && line <= count; ++line) {
            HeapText fields[3];  // section, key, value, as the runtime splits them
            const std::string text = script_.Read(section, (kIniKeyPrefix + std::to_string(line)).c_str());
            ok = SplitFields(text.c_str(), fields, 3) != 0 &&
                 WritePrivateProfileStringA(fields[0].get(), fields[1] ? fields[1].get() : nullptr,
                                            fields[2] ? fields[2].get() : nullptr, scratch.c_str());
        }
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, scratch.c_str());
        ok = ok && ReadWholeFile(scratch, bytes);
        DeleteFileA(scratch.c_str());
        return ok;
    }


    // A renamed file's content, as the entries before left it, moves to
    // its new name unchanged.
    FileRecord ExpectedOfRenamed(const std::string& oldPath) {
        const FileRecord* old = Find(FullPath(oldPath));
        return old ? *old : FileRecord();
    }

    void Expect(const std::string& target, const FileRecord& state) {
        if (FileRecord* record = Find(FullPath(target))) {
            record->expected = state.expected;
            record->expectedCrc = state.expectedCrc;
        }
    }

    // The folders the restore may write in: those of the targets, or above
    // the first folder the patch creates for one.
    void AddFolder(const std::string& folder) {
        for (const std::string& earlier : folders_)
            if (SameFile(earlier, folder) || LiesBelow(folder, earlier)) return;
        folders_.push_back(folder);
    }

    bool AddFile(const std::string& target, std::string& message) {
        // The restore takes only full paths without "." or ".." in them.
        const std::string path = FullPath(target);
        if (path.empty()) {
            SetLastError(ERROR_BAD_PATHNAME);
            Fail("cannot resolve " + target, message);
            return false;
        }
        if (Find(path)) return true;  // its state before the patch is saved already
        FileRecord record;
        record.path = path;
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            record.present = true;
            record.attributes = attributes;
            record.copy = "File" + std::to_string(files_.size() + 1);
            std::string copy = JoinPath(folder_, record.copy);
            SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!CopyFileA(path.c_str(), copy.c_str(), FALSE)) {
                Fail("cannot copy " + path + " into the backup folder", message);
                return false;
            }
            SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
            // On the disk before the manifest that vouches for it.
            if (!SumFile(copy, true, record.size, record.crc)) {
                Fail("cannot write the copy of " + path + " in the backup folder", message);
                return false;
            }
        } else if (attributes == INVALID_FILE_ATTRIBUTES) {
            record.createdFolder = FirstMissingFolder(FolderOf(path));
        } else {
            return true;  // a folder: no action of the patch can change it
        }
        AddFolder(FolderOf(record.createdFolder.empty() ? path : record.createdFolder));
        // As it is until an entry changes it.
        record.expected = record.present ? FileRecord::Expected::Crc : FileRecord::Expected::Absent;
        record.expectedCrc = record.crc;
        files_.push_back(record);
        return true;
    }

    bool RecordFiles(std::string& message) {
        int count = script_.Number("Setup", "ProcCount");
        for (int n = 1; n <= count; ++n) {
            std::string section = "Proc" + std::to_string(n);
            std::string path = script_.Read(section, "ExpandName");
            int act = script_.Number(section, "Act");
            if (script_.Read(section, "Dir") == "Reg") rootSeen_ = FirstField(script_.Read(section, "RegKey"));
            // Skipped entries ("**") change nothing, and neither do actions
            // that only check their file or that this companion does not know.
            if (path.empty() || (path.size() >= 2 && path.compare(path.size() - 2, 2, "**") == 0)) continue;
            const ActionInfo* action = FindAction(act);
            if (!action || !action->changesFile) continue;
            if (!AddFile(path, message)) return false;
            const std::string full = FullPath(path);
            // A rename also creates (or replaces) the file of the new name.
            if (act == kActRename) {
                std::string newName = script_.Read(section, "NewName");
                if (!newName.empty() && !AddFile(JoinPath(FolderOf(path), newName), message)) return false;
                if (!newName.empty()) {
                    const std::string renamed = FullPath(JoinPath(FolderOf(path), newName));
                    Expect(renamed, ExpectedOfRenamed(path));
                    std::string moved;
                    worked_[Lower(renamed)] = (ContentBefore(full, moved) ? "+" : "-") + moved;
                }
            }
            FileRecord after = ExpectedAfter(section, act);
            std::string bytes;
            bool worked = false;
            // Worked out only where the script does not tell (reading the
            // file once more): a later entry on the same file without
            // NewCRC then finds it unknown.
            if ((act == kActXorDelta || act == kActBytePatch || act == kActIniKeys) &&
                after.expected == FileRecord::Expected::Unknown && (worked = WorkOut(section, act, full, bytes))) {
                after.expected = FileRecord::Expected::Crc;
                after.expectedCrc =
                    Crc32Update(0, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
            }
            Expect(path, after);
            worked_[Lower(full)] = worked ? "+" + bytes : "-";
        }
        return true;
    }

    static std::string FirstField(const std::string& text) {
        HeapText fields[1];
        SplitFields(text.c_str(), fields, 1);
        return fields[0] ? fields[0].get() : "";
    }

    bool AddRegistry(RegistryRecordKind kind, const std::string& subkey, const std::string& name,
                     std::string& message) {
        RegistryRecord record;
        record.kind = kind;
        record.hive = rootSeen_;
        record.subkey = subkey;
        record.value.name = name;
        bool read = kind == RegistryRecordKind::Value ? CaptureValue(record) : CaptureKey(record);
        if (!read) {
            message = "cannot read the registry key " + rootSeen_ + "\\" + subkey;
            return false;
        }
        registry_.push_back(record);
        return true;
    }

    // What the registry lines leave, line by line as the patch runs them,
    // for every key and value a record names: "absent", "present" (a key),
    // "value,<type>,<size>,<crc>", or "" where it cannot be told. The
    // restore checks each record's against the registry, as it checks files.
    static std::string Identity(const std::string& hive, const std::string& subkey, const char* name) {
        return Lower(hive + "\\" + subkey + (name ? std::string("\\v:") + name : std::string("\\k")));
    }
    std::string& Leaves(const std::string& subkey, const char* name) {
        return leaves_[Identity(rootSeen_, subkey, name)];
    }
    // A key deleted or moved takes every value and key below it along.
    void Vanish(const std::string& subkey) {
        const std::string prefix = Identity(rootSeen_, subkey, nullptr);
        const std::string below = prefix.substr(0, prefix.size() - 2) + "\\";
        for (auto& leaf : leaves_)
            if (leaf.first == prefix || leaf.first.compare(0, below.size(), below) == 0) leaf.second = "absent";
    }
    // What a value holds before the line that reads it: what an earlier line
    // left, or else what the backup saw.
    std::string StateBefore(const std::string& subkey, const std::string& name) {
        auto earlier = leaves_.find(Identity(rootSeen_, subkey, name.c_str()));
        if (earlier != leaves_.end()) return earlier->second;
        for (const RegistryRecord& record : registry_)
            if (record.kind == RegistryRecordKind::Value && record.hive == rootSeen_ &&
                lstrcmpiA(record.subkey.c_str(), subkey.c_str()) == 0 &&
                lstrcmpiA(record.value.name.c_str(), name.c_str()) == 0)
                return record.present ? RegistryValueState(record.value.type, record.value.data.data(), record.value.data.size())
                                      : "absent";
        return std::string();
    }
    void FollowLine(int kind, const RegistryLine& line, const std::string& subkey, const std::string& sibling) {
        if (kind == RegistryAdd) {
            Leaves(subkey, line.ValueName ? line.ValueName.get() : "") =
                RegistryValueState(line.Type, line.Data.get(), line.Size);
        } else if (line.ValueName) {
            const std::string moved = kind == RegistryRename ? StateBefore(subkey, line.ValueName.get()) : "";
            Leaves(subkey, line.ValueName.get()) = "absent";
            if (kind == RegistryRename) Leaves(subkey, line.NewName.get()) = moved == "absent" ? "" : moved;
        } else {
            Vanish(subkey);
            Leaves(subkey, nullptr) = "absent";
            if (kind == RegistryRename) Leaves(sibling, nullptr) = "present";
        }
    }

    bool RecordRegistry(std::string& message) {
        const char* sections[] = {"AddReg", "DelReg", "RenReg"};
        for (int kind = RegistryAdd; kind <= RegistryRename; ++kind) {
            int count = script_.Number("Setup", sections[kind - 1]);
            for (int n = 1; n <= count; ++n) {
                RegistryLine line;
                std::string text = script_.Read(sections[kind - 1], std::to_string(n).c_str());
                if (!ParseRegistryLine(text.c_str(), kind, line)) continue;  // the runtime will not run it
                // An unknown hive token keeps the root of the operation before.
                if (RootOfHive(line.Hive.get())) rootSeen_ = line.Hive.get();
                std::string subkey = line.Subkey.get();
                std::string name = line.ValueName ? line.ValueName.get() : "";
                bool ok = true;
                std::string sibling;
                if (kind == RegistryAdd || line.ValueName) {
                    ok = AddRegistry(RegistryRecordKind::Value, subkey, name, message);
                    if (ok && kind == RegistryRename)
                        ok = AddRegistry(RegistryRecordKind::Value, subkey, line.NewName.get(), message);
                } else {
                    ok = AddRegistry(RegistryRecordKind::Key, subkey, "", message);
                    if (ok && kind == RegistryRename) {
                        std::size_t slash = subkey.find_last_of('\\');
                        sibling = slash == std::string::npos ? std::string(line.NewName.get())
                                                             : subkey.substr(0, slash + 1) + line.NewName.get();
                        ok = AddRegistry(RegistryRecordKind::Key, sibling, "", message);
                    }
                }
                if (!ok) return false;
                FollowLine(kind, line, subkey, sibling);
            }
        }
        return true;
    }

    // The local time, as a list of backups shows it.
    static std::string Now() {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char text[32];
        wsprintfA(text, "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
        return text;
    }

    int WriteManifest(const std::string& manifest, std::string& message) {
        // Written beside and renamed at the end: a manifest that exists is whole.
        std::string partial = manifest + ".partial";
        DeleteFileA(partial.c_str());
        std::string text = "; The state before the patch. Restore it with: zuliundo.exe /restore " +
                           folder_.substr(folder_.find_last_of('\\') + 1) + "\r\n[Backup]\r\n";
        text += "Patch=" + patch_ + "\r\nTitle=" + script_.Read(kBackupSection, "Title") + "\r\nMade=" + Now() +
                "\r\nFiles=" + std::to_string(files_.size()) + "\r\nRegistry=" + kRegistryFileName +
                "\r\nRegistryRecords=" + std::to_string(registry_.size()) + "\r\nRegistrySize=" +
                std::to_string(registrySize_) + "\r\nRegistryCrc=" + std::to_string(registryCrc_) + "\r\nFolders=" +
                std::to_string(folders_.size()) + "\r\n";
        for (std::size_t i = 0; i < folders_.size(); ++i)
            text += "Folder" + std::to_string(i + 1) + "=" + folders_[i] + "\r\n";
        text += "[Registry]\r\n";
        for (std::size_t i = 0; i < registry_.size(); ++i) {
            const RegistryRecord& record = registry_[i];
            auto leaf = leaves_.find(Identity(record.hive, record.subkey,
                                              record.kind == RegistryRecordKind::Value ? record.value.name.c_str()
                                                                                       : nullptr));
            if (leaf != leaves_.end() && !leaf->second.empty())
                text += "Expected" + std::to_string(i + 1) + "=" + leaf->second + "\r\n";
        }
        for (std::size_t i = 0; i < files_.size(); ++i) {
            const FileRecord& file = files_[i];
            text += "[File" + std::to_string(i + 1) + "]\r\nPath=" + file.path + "\r\n";
            if (file.present)
                text += "State=saved\r\nCopy=" + file.copy + "\r\nSize=" + std::to_string(file.size) +
                        "\r\nCrc=" + std::to_string(file.crc) + "\r\nAttributes=" + std::to_string(file.attributes) +
                        "\r\n";
            else
                text += "State=added\r\nCreatedFolder=" + file.createdFolder + "\r\n";
            if (file.expected == FileRecord::Expected::Absent) text += "Expected=absent\r\n";
            if (file.expected == FileRecord::Expected::Crc)
                text += "Expected=crc\r\nExpectedCrc=" + std::to_string(file.expectedCrc) + "\r\n";
        }
        if (!WriteWholeFile(partial, text) ||
            !MoveFileExA(partial.c_str(), manifest.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileA(partial.c_str());
            return Fail("cannot write " + manifest, message);
        }
        return kUndoDone;
    }

    Script script_;
    std::string folder_;
    std::string patch_;
    std::string rootSeen_;
    std::vector<FileRecord> files_;
    std::vector<std::string> folders_;
    std::vector<RegistryRecord> registry_;
    std::map<std::string, std::string> leaves_;
    // Lower-cased full path of every file an entry changed -> the content the
    // entries so far leave there, after a "+" ("-": unknown).
    std::map<std::string, std::string> worked_;  // Identity -> what the lines leave there
    unsigned long long registrySize_ = 0;
    uint32_t registryCrc_ = 0;
};

}  // namespace

int BackUp(const std::string& workFolder, std::string& message) { return Backup(workFolder).Run(message); }
