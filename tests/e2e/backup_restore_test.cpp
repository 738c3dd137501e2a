// The backup companion: a patch built with [Backup] Enabled=1 saves what it
// is about to change, and "zuliundo.exe /restore" from the backup folder,
// without the patch, puts the application back byte for byte.
#include <shlobj.h>

#include <functional>
#include <map>

#include "harness/E2eFixture.h"
#include "harness/UnattendedRun.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string CommonDataFolder() {
    char folder[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_APPDATA, TRUE);
    return folder;
}

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
    // The full patch with its backup box ticked, built by a builder in
    // `tools` that packs a stand-in in the companion's place: it ends with
    // the code an access violation leaves. Empty when the build failed.
    std::string BuildWithCrashingCompanion(PatchProject& project, const ScratchFolder& tools,
                                           const std::string& folder) {
        if (!CopyFileA((std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe").c_str(),
                       (tools.Path() + "zulibuild.exe").c_str(), FALSE) ||
            !CopyFileA((ExecutableFolder() + "uninstaller_probe.exe").c_str(), (tools.Path() + "zuliundo.exe").c_str(),
                       FALSE)) {
            ADD_FAILURE() << "cannot set up the stand-in companion in " << tools.Path();
            return std::string();
        }
        AddFullPatch(project);
        project.AddFile("Setup.ini", FullPatchScript() + "[Probe]\r\nExitCode=0xC0000005\r\n");
        project.UseBuilderIn(tools.Path());
        return BuildWithBackup(project, folder);
    }
    // Runs the backup's own restorer from `folder`, unattended, and checks
    // that the application's files and registry are `before` again. What
    // the full patch's run entry wrote is its program's doing, not the
    // patch's, and goes first.
    void RestoreAndExpect(const std::string& folder, const std::map<std::string, std::string>& before,
                          const std::string& options = "/restore /quiet") {
        DeleteFileA((App() + "recorded.txt").c_str());
        std::string restorer = folder + "\\zuliundo.exe";
        ASSERT_TRUE(FileExists(restorer)) << "the backup carries its restorer";
        EXPECT_EQ(RunProgram(Quoted(restorer) + " " + options, backups_->Path()), 0);
        std::map<std::string, std::string> after = Machine();
        EXPECT_TRUE(before == after) << "differences after the restore:\n" << Describe(before, after);
    }
    // The full patch with its backup in `folder`, built and run unattended;
    // false (with the failure added) when either failed. What the run
    // entry's program wrote is its own doing, not the patch's, and goes.
    bool ApplyFullPatchWithBackup(const std::string& title, const std::string& folder) {
        PatchProject project(title);
        AddFullPatch(project);
        const std::string exe = BuildWithBackup(project, folder);
        const int code = exe.empty() ? -1 : RunUnattended(exe, "/quiet").exitCode;
        EXPECT_EQ(code, 0) << "the patch " << title << " did not run";
        DeleteFileA((App() + "recorded.txt").c_str());
        return code == 0;
    }
    // The folder of the one backup in `store` (a folder per patch).
    static std::string BackupIn(const std::string& store) {
        std::vector<std::string> found;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((store + "\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = entry.cFileName;
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
                    FileExists(store + "\\" + name + "\\Backup.ini"))
                    found.push_back(store + "\\" + name);
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        EXPECT_EQ(found.size(), 1u) << "backups in " << store;
        return found.empty() ? store + "\\(none)" : found.front();
    }
    std::unique_ptr<ScratchFolder> backups_;
};

}  // namespace

TEST_F(BackupE2e, RestoreAfterThePatchLeavesFilesAndRegistryAsBefore) {
    std::map<std::string, std::string> before = Machine();
    std::string folder = backups_->Path() + "Full Patch";
    PatchProject project("backup full");
    AddFullPatch(project);
    project.AddSetting("ExecutionLevel=asInvoker");
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    const std::string log = backups_->Path() + "run.log";
    UnattendedResult patched = RunUnattended(exe, "/quiet /log=" + Quoted(log));
    ASSERT_EQ(patched.exitCode, 0);
    ASSERT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew()) << "the patch ran after its backup";
    ASSERT_FALSE(FileExists(App() + "obsolete.txt"));
    const std::string backup = BackupIn(folder);
    EXPECT_NE(ReadTestFile(log).find("Backup: made in " + backup + "\r\n"), std::string::npos) << ReadTestFile(log);
    const std::string manifest = ReadTestFile(backup + "\\Backup.ini");
    EXPECT_NE(manifest.find(Dir() + "\\settings.ini"), std::string::npos);
    EXPECT_NE(manifest.find("Title=" + Res(1) + "\r\n"), std::string::npos) << manifest;
    // The companion the backup keeps runs at the patch's execution level.
    const std::string companionManifest = ProgramManifest(folder + "\\zuliundo.exe");
    EXPECT_NE(companionManifest.find("level=\"asInvoker\""), std::string::npos) << companionManifest;
    RestoreAndExpect(folder, before);
    EXPECT_EQ(ReadTestFile(App() + "obsolete.txt"), "no longer needed") << "the deleted file";
    EXPECT_EQ(ReadTestFile(App() + "old.txt"), "a file that gets a new name") << "the renamed file";
    EXPECT_FALSE(FileExists(App() + "renamed.txt"));
    EXPECT_EQ(ReadTestFile(App() + "settings.ini"), AppFiles::Settings()) << "the INI file";
    EXPECT_FALSE(FolderExists(App() + "plugins")) << "the folder the patch made for its new file";
}

// The same patch run a second time (by a deployment that retries, or a
// user who runs it again) finds its files already changed: the companion
// keeps the backup of the first run instead of saving the patched files
// over it, and the restore still gives the application as it was before.
TEST_F(BackupE2e, ASecondRunKeepsTheFirstBackup) {
    std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Twice";
    PatchProject project("backup twice");
    // NewCRC lets the second run pass the check on the updated file.
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\nAddReg=1\r\n"
                                 "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" +
                                     SignedDecimal(Crc32Of(AppFiles::CoreOld())) +
                                     "\r\nNewCRC=" + SignedDecimal(Crc32Of(AppFiles::CoreNew())) +
                                     "\r\n[AddReg]\r\n1=HKCU,Software\\ZuliE2E\\Patched,Version,1,4,2.0\r\n");
    project.AddFile("Proc1", XorDeltaPayload(AppFiles::CoreOld(), AppFiles::CoreNew()));
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    const std::string first = backups_->Path() + "first.log";
    ASSERT_EQ(RunUnattended(exe, "/quiet /log=" + Quoted(first)).exitCode, 0) << ReadTestFile(first);
    const std::string backup = BackupIn(folder);
    const std::string manifest = ReadTestFile(backup + "\\Backup.ini");
    const std::string log = backups_->Path() + "again.log";
    EXPECT_EQ(RunUnattended(exe, "/quiet /log=" + Quoted(log)).exitCode, 0);
    const std::string logged = ReadTestFile(log);
    EXPECT_NE(logged.find("Backup: kept the one made earlier in " + backup + "\r\n"), std::string::npos) << logged;
    EXPECT_EQ(ReadTestFile(backup + "\\Backup.ini"), manifest) << "the first backup's manifest was replaced";
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew());
    RestoreAndExpect(folder, before);
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

// A companion that crashes has made no backup: the patch stops before any
// change. A stand-in packed in the companion's place ends with the code an
// access violation leaves.
TEST_F(BackupE2e, ACompanionThatCrashesStopsThePatchBeforeAnyChange) {
    std::map<std::string, std::string> before = Machine();
    ScratchFolder tools("zuli e2e stand-in companion");
    PatchProject project("backup crashed");
    const std::string folder = backups_->Path() + "Crashed";
    const std::string exe = BuildWithCrashingCompanion(project, tools, folder);
    ASSERT_FALSE(exe.empty());

    const std::string log = backups_->Path() + "run.log";
    UnattendedResult run = RunUnattended(exe, "/quiet /log=" + Quoted(log));
    EXPECT_EQ(run.exitCode, 1603);
    std::map<std::string, std::string> after = Machine();
    EXPECT_TRUE(before == after) << "changed although the companion crashed:\n" << Describe(before, after);
    const std::string logged = ReadTestFile(log);
    EXPECT_NE(logged.find("Uninstaller.exe /I: ran, exit code 3221225477 (0xC0000005)"), std::string::npos) << logged;
    EXPECT_NE(logged.find("Backup failed"), std::string::npos) << logged;
    EXPECT_FALSE(FolderExists(folder)) << "the stand-in made no backup";
    // The stand-in's record is none of the patch's files: once it is gone,
    // nothing the run unpacked may be left in the working folder.
    const std::string work = ZuliWorkFolder();
    ASSERT_FALSE(work.empty()) << "the stand-in's record went with the working folder";
    EXPECT_EQ(ReadTestFile(work + "uninstaller.txt").substr(0, 26), "command=Uninstaller.exe /I");
    EXPECT_TRUE(DeleteFileA((work + "uninstaller.txt").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(work.c_str())) << work << " holds more than the stand-in's record";
    ExpectSessionGone();
}

// In the wizard, a companion that crashed is reported in a message box, and
// the work page then says that nothing was changed: never that the update
// is complete.
TEST_F(BackupE2e, TheWorkPageSaysNothingChangedWhenTheBackupFailed) {
    std::map<std::string, std::string> before = Machine();
    ScratchFolder tools("zuli e2e stand-in companion");
    PatchProject project("backup failed wizard");
    const std::string exe = BuildWithCrashingCompanion(project, tools, backups_->Path() + "Crashed");
    ASSERT_FALSE(exe.empty());

    WizardRun run;
    ASSERT_TRUE(run.Start(exe));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(run.WalkTo(ResCheckCaption));
    HWND box = run.PressForMessageBox(IdNext);
    ASSERT_NE(box, nullptr) << "no message box about the backup";
    EXPECT_NE(MessageBoxText(box).find("Backup failed: nothing was changed"), std::string::npos)
        << MessageBoxText(box);
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IdNext); }));
    EXPECT_EQ(WindowText(dialog), PageTitle(ResWorkCaption));
    EXPECT_EQ(ControlText(dialog, IdNotice), "Backup failed: nothing was changed");
    EXPECT_NE(ControlText(dialog, IdNotice), Res(ResWorkDoneNotice));
    std::map<std::string, std::string> after = Machine();
    EXPECT_TRUE(before == after) << "changed although the backup failed:\n" << Describe(before, after);
    ASSERT_TRUE(run.WalkTo(ResMakerCaption));
    EXPECT_NE(run.PressToExit(IdNext), -1);
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

// A replacement the patch left for the restart (Delay=1), restored before
// that restart: the restore takes the waiting file for what the patch wrote,
// cancels the replacement and drops the file that waited, so the restart
// that follows finds nothing of the patch to carry out.
TEST_F(BackupE2e, ARestoreBeforeTheRestartOutlastsTheRestart) {
    const std::map<std::string, std::string> before = Machine();
    PatchProject project("backup delayed");
    AddFullPatch(project);
    std::string script = FullPatchScript();
    const std::string entry = "[Proc1]\r\nFILE=core.dll\r\n";
    const std::size_t at = script.find(entry);
    ASSERT_NE(at, std::string::npos) << script;
    script.insert(at + entry.size(), "Delay=1\r\nNewCRC=" + SignedDecimal(Crc32Of(AppFiles::CoreNew())) + "\r\n");
    project.AddFile("Setup.ini", script);
    const std::string folder = backups_->Path() + "Delayed";
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    ASSERT_EQ(RunUnattended(exe, "/quiet").exitCode, 3010);
    ASSERT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld()) << "replaced before the restart";
    ASSERT_NE(PendingRenames().find("core.dll"), std::string::npos) << "nothing waits for the restart";

    RestoreAndExpect(folder, before);
    EXPECT_EQ(PendingRenames().find("core.dll"), std::string::npos) << "the replacement still waits for the restart";
    RestartRenamesBelow(App());
    const std::map<std::string, std::string> restarted = Machine();
    EXPECT_TRUE(before == restarted) << "differences after the restart:\n" << Describe(before, restarted);
}

// Two patches that share a backup folder: each keeps a backup of its own,
// named by the patch. "/list" names both; a restore that does not say which
// is refused and changes nothing; each restored by name puts back what its
// own patch changed, the later patch first.
TEST_F(BackupE2e, PatchesSharingAFolderKeepBackupsOfTheirOwnRestoredByName) {
    const std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Shared";
    PatchProject first("backup shared first");
    first.SetText(1, "backup shared first");
    AddFullPatch(first);
    const std::string firstExe = BuildWithBackup(first, folder);
    PatchProject second("backup shared second");
    second.SetText(1, "backup shared second");
    second.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFILE=later.txt\r\nAct=1\r\nDir=Reg\r\n"
                                "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n");
    second.AddFile("Proc1", "added by the second patch");
    const std::string secondExe = BuildWithBackup(second, folder);
    ASSERT_FALSE(firstExe.empty());
    ASSERT_FALSE(secondExe.empty());

    ASSERT_EQ(RunUnattended(firstExe, "/quiet").exitCode, 0);
    DeleteFileA((App() + "recorded.txt").c_str());  // the run entry's program's own doing
    const std::map<std::string, std::string> afterFirst = Machine();
    const std::string secondLog = backups_->Path() + "second.log";
    ASSERT_EQ(RunUnattended(secondExe, "/quiet /log=" + Quoted(secondLog)).exitCode, 0) << ReadTestFile(secondLog);
    ASSERT_EQ(ReadTestFile(App() + "later.txt"), "added by the second patch");
    const std::map<std::string, std::string> afterBoth = Machine();

    const std::string restorer = Quoted(folder + "\\zuliundo.exe");
    const std::string log = backups_->Path() + "list.log";
    std::string listed;
    ASSERT_EQ(RunCaptured(restorer + " /list /quiet /log=" + Quoted(log), listed), 0);
    // "  Patch-XXXXXXXX: <title>, made ..." for each.
    auto nameOf = [&listed](const std::string& title) {
        const std::size_t at = listed.find(": " + title + ",");
        const std::size_t start = at == std::string::npos ? at : listed.rfind("Patch-", at);
        return start == std::string::npos ? std::string() : listed.substr(start, at - start);
    };
    const std::string firstName = nameOf("backup shared first"), secondName = nameOf("backup shared second");
    ASSERT_FALSE(firstName.empty()) << listed;
    ASSERT_FALSE(secondName.empty()) << listed;
    EXPECT_NE(firstName, secondName);
    EXPECT_NE(ReadTestFile(log).find(secondName), std::string::npos) << ReadTestFile(log);
    EXPECT_NE(ReadTestFile(log).find("Exit code: 0"), std::string::npos) << ReadTestFile(log);

    EXPECT_EQ(RunProgram(restorer + " /restore /quiet", backups_->Path()), 87) << "restored without being told which";
    EXPECT_EQ(RunProgram(restorer + " /restore Patch-00000000 /quiet", backups_->Path()), 1603);
    const std::map<std::string, std::string> unchanged = Machine();
    EXPECT_TRUE(afterBoth == unchanged) << "a refused restore changed:\n" << Describe(afterBoth, unchanged);

    RestoreAndExpect(folder, afterFirst, "/restore " + secondName + " /quiet");
    RestoreAndExpect(folder, before, "/restore " + firstName + " /quiet");
}

// A restore that cannot put everything back (here the key of the values the
// patch added may be read, not changed or deleted, and it comes last) puts
// nothing back: the files and registry values it had already restored go
// back to what the patch left, and what cannot be undone at once (that very
// key) is undone by the next start. Once the key is free again, the restore
// gives the application as it was.
TEST_F(BackupE2e, ARestoreThatFailsHalfwayLeavesTheApplicationAsPatched) {
    const std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Halfway";
    ASSERT_TRUE(ApplyFullPatchWithBackup("backup halfway", folder));
    const std::map<std::string, std::string> patched = Machine();

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kTestRoot) + "\\Patched").c_str(), 0,
                            READ_CONTROL | WRITE_DAC, &key),
              ERROR_SUCCESS);
    ASSERT_TRUE(SetKeyAccessList(key, "D:P(A;;KR;;;WD)"));
    const std::string log = backups_->Path() + "halfway.log";
    const int code =
        RunProgram(Quoted(folder + "\\zuliundo.exe") + " /restore /quiet /log=" + Quoted(log), backups_->Path());
    EXPECT_TRUE(SetKeyAccessList(key, kFullKeyAccess));
    RegCloseKey(key);
    EXPECT_EQ(code, 1603) << ReadTestFile(log);
    EXPECT_NE(ReadTestFile(log).find("Nothing was restored: cannot put back the registry key HKCU\\" +
                                     std::string(kTestRoot) + "\\Patched"),
              std::string::npos)
        << ReadTestFile(log);
    const std::map<std::string, std::string> after = Machine();
    EXPECT_TRUE(patched == after) << "the failed restore left:\n" << Describe(patched, after);

    RestoreAndExpect(folder, before);
}

// The backup box unticked (the builder warns of it): the run patches without
// a backup, and the log says so, for nothing else would.
TEST_F(BackupE2e, ARunWithTheBackupBoxUntickedLogsThatNoBackupWasMade) {
    const std::string folder = backups_->Path() + "Unticked";
    PatchProject project("backup unticked");
    AddFullPatch(project);
    project.SetOptionDefaults("000");
    project.AddManifest("[Backup]\r\nEnabled=1\r\nFolder=" + folder + "\r\n");
    const std::string exe = project.Build();
    ASSERT_FALSE(exe.empty()) << project.BuildLog();
    const std::string log = backups_->Path() + "unticked.log";
    ASSERT_EQ(RunUnattended(exe, "/quiet /log=" + Quoted(log)).exitCode, 0) << ReadTestFile(log);
    EXPECT_NE(ReadTestFile(log).find("Backup: none made, as the backup option is off\r\n"), std::string::npos)
        << ReadTestFile(log);
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew());
    EXPECT_FALSE(FolderExists(folder)) << "a backup was made";
}

namespace {

// The companion's message box (its caption `caption`) and exit code, when
// it runs as an administrator would start it, with nobody told to be quiet.
struct Answer {
    int exitCode = -1;
    std::string message;
};

Answer RunAndAnswer(const std::string& commandLine, const std::string& workFolder, const char* caption) {
    Answer answer;
    DrivenProgram program;
    if (!program.Start(commandLine, workFolder)) return answer;
    HWND box = program.WaitForWindow("#32770", caption);
    if (!box) return answer;
    answer.message = MessageBoxText(box);
    PressButton(box, IDOK);
    answer.exitCode = program.WaitForExit();
    return answer;
}

}  // namespace

// A backup folder that is a link (a junction or symbolic link, which could
// lead anywhere), or that lies below a link in the common application data
// folder, where every user may make folders: the companion refuses it, and
// the patch stops before it changes anything. Nothing is written through
// the link.
TEST_F(BackupE2e, ALinkInTheBackupFolderStopsThePatchBeforeAnyChange) {
    struct LinkCase {
        const char* what;
        std::string link;    // made a link to `elsewhere`
        std::string folder;  // the patch's [Backup] Folder
        std::string refused; // what the message says is refused
    };
    const std::string common = CommonDataFolder() + "\\Zuli e2e linked parent";
    const LinkCase cases[] = {
        {"the backup folder itself", backups_->Path() + "linked store", backups_->Path() + "linked store",
         "the backup folder " + backups_->Path() + "linked store"},
        {"a folder above it, below the common application data folder", common, "Zuli e2e linked parent\\Store",
         "the folder above the backup folder " + common},
    };
    const std::string elsewhere = backups_->Path() + "elsewhere";
    ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), nullptr));
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveLink(c.link);
        ASSERT_TRUE(MakeFolderLink(c.link, elsewhere));
        std::map<std::string, std::string> before = Machine();
        PatchProject project("backup link");
        AddFullPatch(project);
        std::string exe = BuildWithBackup(project, c.folder);
        ASSERT_FALSE(exe.empty());

        std::string log = backups_->Path() + "run.log";
        UnattendedResult run = RunUnattended(exe, "/quiet /log=" + Quoted(log));
        EXPECT_EQ(run.exitCode, 1603);
        std::map<std::string, std::string> after = Machine();
        EXPECT_TRUE(before == after) << "changed although the backup was refused:\n" << Describe(before, after);
        EXPECT_NE(ReadTestFile(log).find("Backup failed"), std::string::npos) << ReadTestFile(log);
        std::map<std::string, std::string> through;
        SnapshotFiles(elsewhere + "\\", "", through);
        EXPECT_TRUE(through.empty()) << "written through the link:\n" << Describe({}, through);
        ExpectSessionGone();

        // The companion on its own, as the patch starts it, says why.
        ScratchFolder work("backup link work");
        ASSERT_TRUE(CopyFileA((std::string(ZULI_DIST_DIR_WINE) + "/zuliundo.exe").c_str(),
                              (work / "Uninstaller.exe").c_str(), FALSE));
        WriteTestFile(work / "Setup.ini", "[Setup]\r\nProcCount=0\r\n[Backup]\r\nFolder=" + c.folder + "\r\n");
        Answer answer = RunAndAnswer(Quoted(work / "Uninstaller.exe") + " /I", work.Path(), "Backup");
        EXPECT_EQ(answer.exitCode, 1603);
        EXPECT_NE(answer.message.find(c.refused + " is refused: it is a link"),
                  std::string::npos)
            << answer.message;
        SnapshotFiles(elsewhere + "\\", "", through);
        EXPECT_TRUE(through.empty()) << "written through the link:\n" << Describe({}, through);
        EXPECT_TRUE(RemoveLink(c.link));
    }
}

// A backup whose manifest was planted or changed, or whose saved copy was
// damaged: the restore checks everything before it writes, refuses the
// whole backup with a message that says what is wrong, and changes neither
// the application nor anything outside it. The backup as it was made still
// restores afterwards.
TEST_F(BackupE2e, APlantedOrDamagedBackupIsRefusedBeforeAnyChange) {
    std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Full Patch";
    ASSERT_TRUE(ApplyFullPatchWithBackup("backup planted", folder));
    const std::map<std::string, std::string> patched = Machine();

    const std::string backup = BackupIn(folder);
    const std::string manifest = backup + "\\Backup.ini";
    const std::string made = ReadTestFile(manifest);
    const std::string settingsPath = "Path=" + Dir() + "\\settings.ini\r\n";
    const std::size_t record = made.find(settingsPath);
    ASSERT_NE(record, std::string::npos) << made;
    const std::size_t copyAt = made.find("Copy=", record) + 5;
    const std::string copy = made.substr(copyAt, made.find("\r\n", copyAt) - copyAt);
    const std::string saved = ReadTestFile(backup + "\\" + copy);
    ASSERT_EQ(saved, AppFiles::Settings()) << copy;
    // A file outside the application and the backup that a planted backup
    // would overwrite, and one it would copy from.
    const std::string parent = App().substr(0, Dir().find_last_of('\\') + 1);
    const std::string victim = parent + "zuli e2e victim.txt";
    const std::string planted = backups_->Path() + "planted.txt";
    WriteTestFile(victim, "the victim's own content");
    WriteTestFile(planted, "[Main]\r\nVersion=1\r\n");

    struct PlantCase {
        const char* what;
        std::string from, to;     // in the manifest
        std::string damagedCopy;  // the saved copy's new bytes, or ""
        std::string expected;     // in the message
    };
    const PlantCase cases[] = {
        {"a path with ..", settingsPath, "Path=" + Dir() + "\\..\\zuli e2e victim.txt\r\n", "",
         Dir() + "\\..\\zuli e2e victim.txt\", which is not a full path inside the application's folders"},
        {"a full path outside the recorded folders", settingsPath, "Path=" + victim + "\r\n", "",
         victim + "\", which is not a full path inside the application's folders"},
        {"a copy above the backup folder", "Copy=" + copy + "\r\n", "Copy=..\\planted.txt\r\n", "",
         "the saved copy \"..\\planted.txt\" of " + Dir() + "\\settings.ini is not a file of the backup folder"},
        {"a copy with a full path", "Copy=" + copy + "\r\n", "Copy=" + planted + "\r\n", "",
         "the saved copy \"" + planted + "\" of " + Dir() + "\\settings.ini is not a file of the backup folder"},
        {"a saved copy whose CRC-32 differs", "", "", "[Main]\r\nVersion=6\r\n",
         "the saved copy " + copy + " of " + Dir() + "\\settings.ini is missing or damaged"},
        {"a saved copy of another size", "", "", "[Main]\r\nVersion=1\r\n\r\n",
         "the saved copy " + copy + " of " + Dir() + "\\settings.ini is missing or damaged"},
    };
    for (const PlantCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = made;
        if (!c.from.empty()) {
            const std::size_t at = text.find(c.from);
            ASSERT_NE(at, std::string::npos) << c.from;
            text.replace(at, c.from.size(), c.to);
        }
        WriteTestFile(manifest, text);
        WriteTestFile(backup + "\\" + copy, c.damagedCopy.empty() ? saved : c.damagedCopy);

        Answer answer = RunAndAnswer(Quoted(folder + "\\zuliundo.exe") + " /restore", backups_->Path(), "zuliundo");
        EXPECT_EQ(answer.exitCode, 1603);
        EXPECT_EQ(answer.message.find("Nothing was restored: "), 0u) << answer.message;
        EXPECT_NE(answer.message.find(c.expected), std::string::npos) << answer.message;
        std::map<std::string, std::string> after = Machine();
        EXPECT_TRUE(patched == after) << "changed by a refused restore:\n" << Describe(patched, after);
        EXPECT_EQ(ReadTestFile(victim), "the victim's own content");
        EXPECT_EQ(ReadTestFile(planted), "[Main]\r\nVersion=1\r\n");
    }

    WriteTestFile(manifest, made);
    WriteTestFile(backup + "\\" + copy, saved);
    RestoreAndExpect(folder, before);
    EXPECT_EQ(ReadTestFile(victim), "the victim's own content");
    DeleteFileA(victim.c_str());
}

// What the user changed after the patch (a file the patch added or updated,
// an INI file, a value it wrote, a key it deleted, a value it renamed) is no longer what the
// patch left there: the restore names it, and nothing else, and changes
// nothing; only /force puts the old state back over it. Each case patches
// again (the backup of the first run is kept) and ends restored.
TEST_F(BackupE2e, ARestoreRefusesWhatChangedSinceThePatchUnlessForced) {
    const std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Edited";
    PatchProject project("backup edited");
    AddFullPatch(project);
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    const std::string root = std::string("HKCU\\") + kTestRoot;
    struct EditCase {
        const char* what;
        std::function<void()> edit;
        std::string named;  // in the refusal
    } cases[] = {
        {"the plug-in the patch added", [this] { WriteTestFile(App() + "plugins\\new.dll", "the user's own build"); },
         App() + "plugins\\new.dll"},
        // Updates without NewCRC: what they leave is worked out from their payloads.
        {"a file the XOR delta updated", [this] { WriteTestFile(App() + "core.dll", "the user's own core"); },
         App() + "core.dll"},
        {"a file the byte patterns changed", [this] { WriteTestFile(App() + "data.bin", "other data"); },
         App() + "data.bin"},
        {"the INI file the patch wrote keys into",
         [this] { WritePrivateProfileStringA("Main", "Theme", "dark", (App() + "settings.ini").c_str()); },
         App() + "settings.ini"},
        {"a value the patch wrote",
         [] { SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Patched", "Version", "9.9"); },
         root + "\\Patched (value \"Version\")"},
        {"a key the patch deleted, made again",
         [] { SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Gone", "Mine", "1"); },
         root + "\\Gone (key)"},
        {"a value the patch renamed",
         [] { SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\App", "NewName", "edited"); },
         root + "\\App (value \"NewName\")"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(RunUnattended(exe, "/quiet").exitCode, 0);
        c.edit();
        DeleteFileA((App() + "recorded.txt").c_str());  // the run entry's program's own doing
        const std::map<std::string, std::string> edited = Machine();
        const Answer refused = RunAndAnswer(Quoted(folder + "\\zuliundo.exe") + " /restore", folder, "zuliundo");
        EXPECT_EQ(refused.exitCode, 1603);
        EXPECT_NE(refused.message.find("\r\n  " + c.named + "\r\n"), std::string::npos) << refused.message;
        EXPECT_NE(refused.message.find("/force"), std::string::npos) << refused.message;
        // Only the one thing edited: everything else is as the patch left it.
        std::size_t listed = 0;
        for (std::size_t at = refused.message.find("\r\n  "); at != std::string::npos;
             at = refused.message.find("\r\n  ", at + 1))
            ++listed;
        EXPECT_EQ(listed, 1u) << refused.message;
        const std::map<std::string, std::string> after = Machine();
        EXPECT_TRUE(edited == after) << "the refused restore changed:\n" << Describe(edited, after);

        RestoreAndExpect(folder, before, "/restore /force /quiet");
    }
}

// A restore and a patch never run at once: a patch's wizard that is open
// makes the restore end with 1618 before it touches anything, and a patch
// started while a restore runs (here, while its closing message is up) ends
// with 1618 too, changing nothing.
TEST_F(BackupE2e, RestoreAndPatchRefuseEachOther) {
    std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Exclusive";
    PatchProject project("backup exclusive");
    AddFullPatch(project);
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());
    ASSERT_EQ(RunUnattended(exe, "/quiet").exitCode, 0);
    const std::string restorer = Quoted(folder + "\\zuliundo.exe");
    const std::map<std::string, std::string> patched = Machine();

    {
        WizardRun wizard;
        ASSERT_TRUE(wizard.Start(exe)) << "the wizard did not appear";
        EXPECT_EQ(RunProgram(restorer + " /restore /quiet", backups_->Path()), 1618);
        const std::map<std::string, std::string> now = Machine();
        EXPECT_TRUE(patched == now) << "the refused restore changed:\n" << Describe(patched, now);
        EXPECT_EQ(wizard.PressToExit(IdBack), 1602);
    }

    DrivenProgram restore;
    ASSERT_TRUE(restore.Start(restorer + " /restore", folder));
    HWND box = restore.WaitForWindow("#32770", "zuliundo");
    ASSERT_NE(box, nullptr) << "the restore's closing message did not appear";
    const std::map<std::string, std::string> restored = Machine();
    const std::string log = backups_->Path() + "refused.log";
    EXPECT_EQ(RunUnattended(exe, "/quiet /log=" + Quoted(log)).exitCode, 1618) << ReadTestFile(log);
    const std::map<std::string, std::string> now = Machine();
    EXPECT_TRUE(restored == now) << "the patch changed while the restore ran:\n" << Describe(restored, now);
    PressButton(box, IDOK);
    EXPECT_EQ(restore.WaitForExit(), 0);
    DeleteFileA((App() + "recorded.txt").c_str());
    const std::map<std::string, std::string> after = Machine();
    EXPECT_TRUE(before == after) << "differences after the restore:\n" << Describe(before, after);
}

// Asked for its help, the companion answers with it and exit code 0, as the
// patch does; a switch it does not know is refused with 87.
TEST_F(BackupE2e, TheCompanionAnswersHelpAndRefusesUnknownSwitches) {
    const std::string companion = Quoted(std::string(ZULI_DIST_DIR_WINE) + "/zuliundo.exe");
    const Answer help = RunAndAnswer(companion + " /?", backups_->Path(), "zuliundo");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.message.find("/restore"), std::string::npos) << help.message;
    EXPECT_EQ(RunProgram(companion + " /unknown /quiet", backups_->Path()), 87);
}

// A run that fails (a target held open by another program, so the whole run
// is rolled back) changed nothing, and leaves no backup: it gives up the one
// it made. The retry, once the program has closed (and the user has changed
// a setting meanwhile), backs up the state it finds, and the restore gives
// exactly that.
TEST_F(BackupE2e, AFailedRunLeavesNoBackupAndTheRetryBacksUpWhatItFinds) {
    const std::map<std::string, std::string> before = Machine();
    const std::string folder = backups_->Path() + "Retried";
    PatchProject project("backup retried");
    AddFullPatch(project);
    std::string exe = BuildWithBackup(project, folder);
    ASSERT_FALSE(exe.empty());

    const std::string heldLog = backups_->Path() + "held.log";
    {
        // Reading shared, deleting not: the check and the prepare pass, the
        // commit cannot replace it.
        HANDLE held = CreateFileA((App() + "core.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(RunUnattended(exe, "/quiet /log=" + Quoted(heldLog)).exitCode, 1603) << ReadTestFile(heldLog);
        CloseHandle(held);
    }
    const std::map<std::string, std::string> afterFailure = Machine();
    EXPECT_TRUE(before == afterFailure) << "the failed run changed:\n" << Describe(before, afterFailure);
    const std::string failed = ReadTestFile(heldLog);
    const std::size_t madeAt = failed.find("Backup: made in ");
    ASSERT_NE(madeAt, std::string::npos) << failed;
    const std::string given = failed.substr(madeAt + 16, failed.find("\r\n", madeAt) - madeAt - 16);
    EXPECT_NE(failed.find("Backup: given up, as nothing was changed: " + given + "\r\n"), std::string::npos)
        << failed;
    EXPECT_FALSE(FileExists(given + "\\Backup.ini")) << "the failed run left its backup";

    WritePrivateProfileStringA("Main", "Theme", "dark", (App() + "settings.ini").c_str());
    const std::map<std::string, std::string> found = Machine();
    const std::string log = backups_->Path() + "retry.log";
    ASSERT_EQ(RunUnattended(exe, "/quiet /log=" + Quoted(log)).exitCode, 0) << ReadTestFile(log);
    EXPECT_NE(ReadTestFile(log).find("Backup: made in " + BackupIn(folder)), std::string::npos) << ReadTestFile(log);
    ASSERT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew());
    RestoreAndExpect(folder, found);
}
