// The backup companion: a patch built with [Backup] Enabled=1 saves what it
// is about to change, and "zuliundo.exe /restore" from the backup folder,
// without the patch, puts the application back byte for byte.
#include <map>

#include "harness/E2eFixture.h"
#include "harness/UnattendedRun.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Every file below `folder` (relative name -> attributes and bytes), and
// every folder.
void SnapshotFiles(const std::string& folder, const std::string& relative, std::map<std::string, std::string>& out) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + relative + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = relative + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[path + "\\"] = "folder";
            SnapshotFiles(folder, path + "\\", out);
        } else {
            out[path] = std::to_string(found.dwFileAttributes) + ":" + ReadTestFile(folder + path);
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

// Every key and value below `subkey` (path -> type and bytes).
void SnapshotRegistry(HKEY root, const std::string& subkey, std::map<std::string, std::string>& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out[subkey + "\\"] = "key";
    for (DWORD i = 0;; ++i) {
        char name[512];
        BYTE data[4096];
        DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
        out[subkey + "\\" + name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataLength);
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children) SnapshotRegistry(root, subkey + "\\" + child, out);
}

std::string Describe(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after) {
    std::string text;
    for (const auto& item : before) {
        auto now = after.find(item.first);
        if (now == after.end()) text += "  gone: " + item.first + "\n";
        else if (now->second != item.second) text += "  changed: " + item.first + "\n";
    }
    for (const auto& item : after)
        if (!before.count(item.first)) text += "  new: " + item.first + "\n";
    return text;
}

class BackupE2e : public WizardE2e {
protected:
    void SetUp() override {
        WizardE2e::SetUp();
        backups_ = std::make_unique<ScratchFolder>("zuli e2e backups");
        // A read-only file among the targets keeps its attribute through the round trip.
        SetFileAttributesA((App() + "readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    void TearDown() override {
        SetFileAttributesA((App() + "readme.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        WizardE2e::TearDown();
    }
    std::map<std::string, std::string> Machine() const {
        std::map<std::string, std::string> state;
        SnapshotFiles(App(), "", state);
        SnapshotRegistry(HKEY_CURRENT_USER, kTestRoot, state);
        return state;
    }
    // The patch with its backup box ticked by default.
    std::string BuildWithBackup(PatchProject& project, const std::string& folder) {
        project.SetOptionDefaults("100");
        project.AddManifest("[Backup]\r\nEnabled=1\r\nFolder=" + folder + "\r\n");
        std::string exe = project.Build();
        EXPECT_FALSE(exe.empty()) << "zulibuild failed:\n" << project.BuildLog();
        return exe;
    }
    // Runs the backup's own restorer from `folder`, unattended, and checks
    // that the application's files and registry are `before` again. What
    // the full patch's run entry wrote is its program's doing, not the
    // patch's, and goes first.
    void RestoreAndExpect(const std::string& folder, const std::map<std::string, std::string>& before) {
        DeleteFileA((App() + "recorded.txt").c_str());
        std::string restorer = folder + "\\zuliundo.exe";
        ASSERT_TRUE(FileExists(restorer)) << "the backup carries its restorer";
        EXPECT_EQ(RunProgram(Quoted(restorer) + " /restore /quiet", backups_->Path()), 0);
        std::map<std::string, std::string> after = Machine();
        EXPECT_TRUE(before == after) << "differences after the restore:\n" << Describe(before, after);
    }
    std::unique_ptr<ScratchFolder> backups_;
};

}  // namespace

TEST_F(BackupE2e, RestoreAfterThePatchLeavesFilesAndRegistryAsBefore) {
    std::map<std::string, std::string> before = Machine();
    std::string folder = backups_->Path() + "Full Patch";
    PatchProject project("backup full");
    AddFullPatch(project);
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    UnattendedResult patched = RunUnattended(exe, "/quiet");
    ASSERT_EQ(patched.exitCode, 0);
    ASSERT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew()) << "the patch ran after its backup";
    ASSERT_FALSE(FileExists(App() + "obsolete.txt"));
    EXPECT_TRUE(FileExists(folder + "\\Backup.ini"));
    EXPECT_NE(ReadTestFile(folder + "\\Backup.ini").find(Dir() + "\\settings.ini"), std::string::npos);
    RestoreAndExpect(folder, before);
    EXPECT_EQ(ReadTestFile(App() + "obsolete.txt"), "no longer needed") << "the deleted file";
    EXPECT_EQ(ReadTestFile(App() + "old.txt"), "a file that gets a new name") << "the renamed file";
    EXPECT_FALSE(FileExists(App() + "renamed.txt"));
    EXPECT_EQ(ReadTestFile(App() + "settings.ini"), AppFiles::Settings()) << "the INI file";
    EXPECT_FALSE(FolderExists(App() + "plugins")) << "the folder the patch made for its new file";
}

TEST_F(BackupE2e, ABackupThatCannotBeWrittenStopsThePatchBeforeAnyChange) {
    std::map<std::string, std::string> before = Machine();
    // A file stands where the backup folder would go.
    WriteTestFile(backups_->Path() + "blocked", "not a folder");
    PatchProject project("backup blocked");
    AddFullPatch(project);
    std::string exe = BuildWithBackup(project, backups_->Path() + "blocked\\Full Patch");
    ASSERT_FALSE(exe.empty());

    std::string log = backups_->Path() + "run.log";
    UnattendedResult run = RunUnattended(exe, "/quiet /log=" + Quoted(log));
    EXPECT_EQ(run.exitCode, 1603);
    EXPECT_EQ(run.windowsSeen, "") << "the companion asks nobody in a quiet run";
    std::map<std::string, std::string> after = Machine();
    EXPECT_TRUE(before == after) << "changed although the backup failed:\n" << Describe(before, after);
    EXPECT_NE(ReadTestFile(log).find("Backup failed"), std::string::npos) << ReadTestFile(log);
    ExpectSessionGone();
}

// Every action that changes an existing file is backed up, the binary delta
// (Act 8) too: the full patch plus a binary-delta update of a real program,
// hidden, whose attributes come back with it.
TEST_F(BackupE2e, EveryChangingActionTheBinaryDeltaTooIsRestored) {
    const std::string oldProgram = ReadTestFile(ExecutableFolder() + "sample_app_v1.exe");
    const std::string newProgram = ReadTestFile(ExecutableFolder() + "sample_app_v2.exe");
    ASSERT_FALSE(oldProgram.empty());
    ASSERT_NE(oldProgram, newProgram);
    const std::string program = App() + "sample.exe";
    WriteTestFile(program, oldProgram);
    ASSERT_TRUE(SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    std::map<std::string, std::string> before = Machine();

    PatchProject project("backup binary delta");
    AddFullPatch(project);
    const std::string delta = backups_->Path() + "Proc9";
    const std::string make = Quoted(std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe") + " delta " +
                             Quoted(ExecutableFolder() + "sample_app_v1.exe") + " " +
                             Quoted(ExecutableFolder() + "sample_app_v2.exe") + " " + Quoted(delta);
    ASSERT_EQ(RunProgram(make), 0) << make;
    std::string script = FullPatchScript();
    const std::string count = "ProcCount=8\r\n";
    const std::size_t at = script.find(count);
    ASSERT_NE(at, std::string::npos) << script;
    script.replace(at, count.size(), "ProcCount=9\r\n");
    script += "[Proc9]\r\nFILE=sample.exe\r\nAct=8\r\nDir=Pre\r\nCRC=" + SignedDecimal(Crc32Of(oldProgram)) +
              "\r\nNewCRC=" + SignedDecimal(Crc32Of(newProgram)) + "\r\nCANTMISS=1\r\n";
    project.AddFile("Setup.ini", script);
    project.AddFile("Proc9", ReadTestFile(delta));
    const std::string folder = backups_->Path() + "Binary Delta";
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    UnattendedResult patched = RunUnattended(exe, "/quiet");
    ASSERT_EQ(patched.exitCode, 0);
    ASSERT_TRUE(ReadTestFile(program) == newProgram) << "the binary delta did not run";
    ASSERT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew()) << "the rest of the patch did not run";
    RestoreAndExpect(folder, before);
    EXPECT_TRUE(ReadTestFile(program) == oldProgram) << "the binary delta's file is still the new release";
    EXPECT_EQ(GetFileAttributesA(program.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
}
