// Patches built by zulibuild from the real runtime, run as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Driver.h"
#include "harness/PatchEnvironment.h"
#include "harness/UnattendedRun.h"
#include "support/TempOverride.h"
#include "support/TestFiles.h"
#include "wizard/ControlIds.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }
std::string Demo() { return std::string(ZULI_SOURCE_DIR_WINE) + "/examples/demo/"; }

// The demo project as zulibuild diff makes it from the demo application's
// two versions (with the options of examples/demo/make_project.sh), with one
// manifest line changed. `to` is an empty folder.
void MakeDemoProject(const std::string& to, const std::string& from, const std::string& replacement) {
    std::string folder = to.substr(0, to.size() - 1);
    std::string diff = Quoted(Builder()) + " diff " + Quoted(Demo() + "installed/DemoApp") + " " +
                       Quoted(Demo() + "updated/DemoApp") + " " + Quoted(folder) + " --template " +
                       Quoted(Demo() + "template") +
                       " --dir Reg --regkey \"HKCU,Software\\ZuliDemo\\DemoApp,InstallPath\" --required app.txt"
                       " --addreg \"HKCU,Software\\ZuliDemo\\DemoApp,Version,1,4,1.1\"";
    ASSERT_EQ(RunProgram(diff), 0) << diff;
    std::string manifest = ReadTestFile(to + "patch.ini");
    std::size_t at = manifest.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    manifest.replace(at, from.size(), replacement);
    WriteTestFile(to + "patch.ini", manifest);
}

// The files the project's manifest packs into the cabinet.
std::vector<std::string> PackedFiles(const std::string& project) {
    char list[4096] = {};
    GetPrivateProfileStringA("Cabinet", "Files", "", list, sizeof list, (project + "patch.ini").c_str());
    std::vector<std::string> files;
    std::string all = list;
    for (std::size_t at = 0; at <= all.size();) {
        std::size_t comma = all.find(',', at);
        if (comma == std::string::npos) comma = all.size();
        if (comma > at) files.push_back(all.substr(at, comma - at));
        at = comma + 1;
    }
    return files;
}

void BuildPatch(const std::string& project, const std::string& output) {
    std::string runtime = std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe";
    std::string builder = Builder();
    std::string folder = project.substr(0, project.size() - 1);  // no trailing backslash inside quotes
    ASSERT_EQ(RunProgram(Quoted(builder) + " " + Quoted(runtime) + " " + Quoted(folder) + " " + Quoted(output)), 0)
        << "zulibuild failed";
    ASSERT_TRUE(FileExists(output));
}

std::string FolderListing(const std::string& folder) {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names += std::string(" ") + found.cFileName;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

bool FolderIsEmpty(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") empty = false;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return empty;
}

}  // namespace

TEST(BuiltPatch, StartGateZeroEndsSilentlyWithoutWindowAndMakesNothing) {
    ScratchFolder work("gate zero");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    MakeDemoProject(work / "project\\", "StartGate=1", "StartGate=0");
    BuildPatch(work / "project\\", work / "patch.exe");

    ScratchFolder temp("gate zero temp");
    TempOverride redirect(temp.Path());
    DrivenProgram patch;
    ASSERT_TRUE(patch.Start(Quoted(work / "patch.exe"), work.Path()));
    EXPECT_EQ(patch.WaitForExit(), 1603) << "the patch was not applied";
    // It stopped before making a working folder.
    EXPECT_TRUE(FolderIsEmpty(temp.Path())) << "left behind:" << FolderListing(temp.Path());
}

TEST(BuiltPatch, UnpacksEveryFileIntoTheWorkingFolderAndRemovesItAtTheEnd) {
    ScratchFolder work("unpack");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    MakeDemoProject(work / "project\\", "StartGate=1", "StartGate=1");
    BuildPatch(work / "project\\", work / "patch.exe");

    ScratchFolder temp("unpack temp");
    TempOverride redirect(temp.Path());
    // A left-over folder of the old fixed name, with a longer stale script,
    // is not the run's: it stays as it is.
    std::string stale = temp / "ZuliTmp\\";
    CreateDirectoryA(stale.c_str(), nullptr);
    WriteTestFile(stale + "Setup.ini", std::string(5000, ';'));

    DrivenProgram patch;
    ASSERT_TRUE(patch.Start(Quoted(work / "patch.exe"), work.Path()));
    HWND wizard = patch.WaitForWindow("#32770", "DemoApp 1.1 Update");
    ASSERT_NE(wizard, nullptr) << "the wizard never appeared";
    std::vector<std::string> entries = ZuliTmpEntries(temp.Path());
    ASSERT_EQ(entries.size(), 2u) << "one working folder of its own besides the stale one";
    std::string workFolder = entries[0] == stale ? entries[1] : entries[0];
    std::vector<std::string> packed = PackedFiles(work / "project\\");
    EXPECT_EQ(packed.size(), 8u) << "the script, four payload files, two images and the cursor";
    for (const std::string& name : packed)
        EXPECT_EQ(ReadTestFile(workFolder + name), ReadTestFile(work / "project\\" + name))
            << name << " not unpacked under its stored name";
    EXPECT_FALSE(FileExists(workFolder + "Data.cab")) << "the cabinet file stays";

    // Back/Cancel on the first page ends the wizard; the working folder goes.
    ASSERT_TRUE(PressButton(wizard, IdBack));
    EXPECT_EQ(patch.WaitForExit(), 1602);
    EXPECT_FALSE(FileExists(workFolder)) << "the working folder was not removed; it holds" << FolderListing(workFolder);
    EXPECT_EQ(ReadTestFile(stale + "Setup.ini"), std::string(5000, ';')) << "the stale folder was touched";
}

TEST(BuiltPatch, AlteredCreditsEndSilentlyAndLeaveNothing) {
    ScratchFolder work("altered credits");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    MakeDemoProject(work / "project\\", "StartGate=1", "StartGate=1");
    BuildPatch(work / "project\\", work / "patch.exe");
    // Replace the maker's name by a plain text, as a resource editor would.
    HANDLE update = BeginUpdateResourceA((work / "patch.exe").c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    char name[] = "Somebody Else";
    ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(262),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), name, sizeof name));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    ScratchFolder temp("altered temp");
    TempOverride redirect(temp.Path());
    DrivenProgram patch;
    ASSERT_TRUE(patch.Start(Quoted(work / "patch.exe"), work.Path()));
    EXPECT_EQ(patch.WaitForExit(), 1603) << "the patch was not applied";
    EXPECT_TRUE(FolderIsEmpty(temp.Path())) << "the unpacked files were left behind:" << FolderListing(temp.Path());
}

namespace {

// Copies the files below `from` into `to` (both with trailing backslashes);
// the relative names of the files copied.
std::vector<std::string> CopyTree(const std::string& from, const std::string& to, const std::string& relative = "") {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((from + relative + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CreateDirectoryA((to + relative + name).c_str(), nullptr);
            for (const std::string& inner : CopyTree(from, to, relative + name + "\\")) names.push_back(inner);
        } else {
            CopyFileA((from + relative + name).c_str(), (to + relative + name).c_str(), FALSE);
            names.push_back(relative + name);
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

}  // namespace

TEST(BuiltPatch, QuietAppliesTheDemoPatchWithoutAWindowAndLogsEveryFile) {
    ScratchFolder work("demo quiet");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    MakeDemoProject(work / "project\\", "StartGate=1", "StartGate=1");
    BuildPatch(work / "project\\", work / "patch.exe");

    ScratchFolder app("demo quiet app");
    CopyTree(Demo() + "installed\\DemoApp\\", app.Path());
    std::string folder = app.Path().substr(0, app.Path().size() - 1);
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\ZuliDemo\\DemoApp", "InstallPath", folder));

    UnattendedResult run = RunUnattended(work / "patch.exe", "/quiet /log=" + Quoted(work / "demo.log"));
    std::string log = ReadTestFile(work / "demo.log");
    EXPECT_EQ(run.exitCode, 0) << log;
    EXPECT_EQ(run.windowsSeen, "");

    // The new version, file for file; INI files by their keys.
    for (const std::string& name : CopyTree(Demo() + "updated\\DemoApp\\", work / "expected\\")) {
        if (name.size() > 4 && name.substr(name.size() - 4) == ".ini") {
            EXPECT_TRUE(FileExists(app / name)) << name;
        } else {
            EXPECT_EQ(ReadTestFile(app / name), ReadTestFile(Demo() + "updated\\DemoApp\\" + name)) << name;
        }
    }
    EXPECT_FALSE(FileExists(app / "obsolete.txt"));
    // Every file the patch touches is named in the log, with its result: a
    // new project is one transaction, whose files are replaced (or deleted).
    std::string script = work / "project\\Setup.ini";
    int count = static_cast<int>(GetPrivateProfileIntA("Setup", "ProcCount", 0, script.c_str()));
    EXPECT_GT(count, 0);
    for (int n = 1; n <= count; ++n) {
        std::string section = "Proc" + std::to_string(n);
        char file[MAX_PATH] = {};
        GetPrivateProfileStringA(section.c_str(), "FILE", "", file, sizeof file, script.c_str());
        EXPECT_NE(log.find("Check " + std::to_string(n) + ": "), std::string::npos) << section << "\n" << log;
        const std::string named = "\\" + std::string(file) + ": ";
        EXPECT_TRUE(log.find(named + "replaced") != std::string::npos || log.find(named + "deleted") != std::string::npos)
            << file << "\n" << log;
    }
    EXPECT_NE(log.find("Transaction: committed; the application was changed"), std::string::npos) << log;
    EXPECT_NE(log.find("Exit code: 0"), std::string::npos) << log;
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\ZuliDemo");
}
