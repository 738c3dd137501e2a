// Patches built by zulibuild from the real runtime, run as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Driver.h"
#include "support/TempOverride.h"
#include "support/TestFiles.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string DemoProject() { return std::string(ZULI_SOURCE_DIR_WINE) + "/examples/demo/patch/"; }
const std::vector<std::string> kPackedFiles = {"Setup.ini", "Proc1", "Proc2", "Proc4",
                                               "Setup.img", "Zuli.img", "link.cur"};

// A copy of the demo project with one manifest line changed.
void CopyDemoProject(const std::string& to, const std::string& from, const std::string& replacement) {
    for (const std::string& name : kPackedFiles)
        ASSERT_TRUE(CopyFileA((DemoProject() + name).c_str(), (to + name).c_str(), FALSE)) << name;
    CreateDirectoryA((to + "texts").c_str(), nullptr);
    for (const char* text : {"intro.txt", "info.txt", "agreement.txt", "closing.txt"})
        ASSERT_TRUE(CopyFileA((DemoProject() + "texts\\" + text).c_str(), (to + "texts\\" + text).c_str(), FALSE));
    std::string manifest = ReadTestFile(DemoProject() + "patch.ini");
    std::size_t at = manifest.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    manifest.replace(at, from.size(), replacement);
    WriteTestFile(to + "patch.ini", manifest);
}

void BuildPatch(const std::string& project, const std::string& output) {
    std::string runtime = std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe";
    std::string builder = std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe";
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

TEST(BuiltPatch, StartGateZeroEndsSilentlyWithoutWindow) {
    ScratchFolder work("gate zero");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    CopyDemoProject(work / "project\\", "StartGate=1", "StartGate=0");
    BuildPatch(work / "project\\", work / "patch.exe");

    ScratchFolder temp("gate zero temp");
    TempOverride redirect(temp.Path());
    DrivenProgram patch;
    ASSERT_TRUE(patch.Start(Quoted(work / "patch.exe"), work.Path()));
    EXPECT_EQ(patch.WaitForExit(), 0);
    // It stopped before extraction: the working folder exists, empty.
    std::string workFolder = temp / "ZuliTmp\\";
    EXPECT_TRUE(FileExists(workFolder));
    EXPECT_TRUE(FolderIsEmpty(workFolder)) << "something was unpacked";
}

TEST(BuiltPatch, UnpacksEveryFileIntoTheWorkingFolderAndRemovesItAtTheEnd) {
    ScratchFolder work("unpack");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    CopyDemoProject(work / "project\\", "StartGate=1", "StartGate=1");
    BuildPatch(work / "project\\", work / "patch.exe");

    ScratchFolder temp("unpack temp");
    TempOverride redirect(temp.Path());
    std::string workFolder = temp / "ZuliTmp\\";
    // A left-over working folder with a longer stale script is reused.
    CreateDirectoryA(workFolder.c_str(), nullptr);
    WriteTestFile(workFolder + "Setup.ini", std::string(5000, ';'));

    DrivenProgram patch;
    ASSERT_TRUE(patch.Start(Quoted(work / "patch.exe"), work.Path()));
    HWND wizard = patch.WaitForWindow("#32770", "DemoApp 1.1 Update");
    ASSERT_NE(wizard, nullptr) << "the wizard never appeared";
    for (const std::string& name : kPackedFiles)
        EXPECT_EQ(ReadTestFile(workFolder + name), ReadTestFile(DemoProject() + name))
            << name << " not unpacked under its stored name";
    EXPECT_FALSE(FileExists(workFolder + "Data.cab")) << "the cabinet file stays";

    // Back/Cancel on the first page ends the wizard; the working folder goes.
    ASSERT_TRUE(PressButton(wizard, 2000));
    EXPECT_EQ(patch.WaitForExit(), 0);
    EXPECT_FALSE(FileExists(workFolder)) << "the working folder was not removed; it holds" << FolderListing(workFolder);
}

TEST(BuiltPatch, AlteredCreditsEndSilentlyAndLeaveNothing) {
    ScratchFolder work("altered credits");
    CreateDirectoryA((work / "project").c_str(), nullptr);
    CopyDemoProject(work / "project\\", "StartGate=1", "StartGate=1");
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
    EXPECT_EQ(patch.WaitForExit(), 0);
    EXPECT_FALSE(FileExists(temp / "ZuliTmp\\")) << "the unpacked files were left behind";
}
