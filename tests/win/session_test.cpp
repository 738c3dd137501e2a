// The table of paths, the working folder and the clean-up at the end.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "support/TempOverride.h"
#include "support/TestFiles.h"

namespace {

std::string Text(const char* field) { return field ? field : "(absent)"; }

bool EndsInBackslash(const char* text) {
    std::string s = Text(text);
    return !s.empty() && s.back() == '\\';
}

std::string WithBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return WithBackslash(path);
}

}  // namespace

TEST(DetectPlatform, SetsIsNTFromThePlatformId) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    uint32_t expected = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
    RunState.IsNT = 7;
    EXPECT_EQ(DetectPlatform(), expected);
    EXPECT_EQ(RunState.IsNT, expected);
}

TEST(BuildPathTable, FillsEveryFieldUnderTheTemporaryDirectory) {
    ScratchFolder temp("path table");
    TempOverride redirect(temp.Path());
    BuildPathTable();
    std::string work = temp.Path() + "ZuliTmp\\";
    EXPECT_EQ(Text(RunState.WorkFolder), work);

    struct FileCase {
        const char* name;
        const char* field;
        std::string expected;
    } files[] = {
        {"ScriptPath", RunState.ScriptPath, work + "Setup.ini"},
        {"CabinetPath", RunState.CabinetPath, work + "Data.cab"},
        {"SideImagePath", RunState.SideImagePath, work + "Setup.img"},
        {"BrandImagePath", RunState.BrandImagePath, work + "Zuli.img"},
    };
    for (const FileCase& c : files) EXPECT_EQ(Text(c.field), c.expected) << c.name;

    char windows[MAX_PATH + 1] = {}, system[MAX_PATH + 1] = {}, current[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    GetSystemDirectoryA(system, sizeof system);
    GetCurrentDirectoryA(sizeof current, current);
    struct FolderCase {
        const char* name;
        const char* field;
        std::string expected;
    } folders[] = {
        {"WorkFolder", RunState.WorkFolder, work},
        {"WindowsFolder", RunState.WindowsFolder, WithBackslash(windows)},
        {"SystemFolder", RunState.SystemFolder, WithBackslash(system)},
        {"CurrentFolder", RunState.CurrentFolder, WithBackslash(current)},
        {"StartMenuFolder", RunState.StartMenuFolder, ShellFolder(CSIDL_STARTMENU)},
        {"ProgramsFolder", RunState.ProgramsFolder, ShellFolder(CSIDL_PROGRAMS)},
        {"FavoritesFolder", RunState.FavoritesFolder, ShellFolder(CSIDL_FAVORITES)},
        {"DocumentsFolder", RunState.DocumentsFolder, ShellFolder(CSIDL_PERSONAL)},
        {"TemplatesFolder", RunState.TemplatesFolder, ShellFolder(CSIDL_TEMPLATES)},
        {"DesktopFolder", RunState.DesktopFolder, ShellFolder(CSIDL_DESKTOPDIRECTORY)},
        {"AppDataFolder", RunState.AppDataFolder, ShellFolder(CSIDL_APPDATA)},
    };
    for (const FolderCase& c : folders) {
        EXPECT_TRUE(EndsInBackslash(c.field)) << c.name << " is \"" << Text(c.field) << "\"";
        EXPECT_EQ(Text(c.field), c.expected) << c.name;
    }
    // The script's "TEMP" token names the templates folder, which is not the
    // temporary directory.
    EXPECT_NE(Text(RunState.TemplatesFolder), temp.Path());
    ASSERT_NE(RunState.PreviousFolder, nullptr);
    EXPECT_STREQ(RunState.PreviousFolder, "");
    // This test program carries neither cursor name: both paths stay absent.
    EXPECT_EQ(RunState.BusyCursorPath, nullptr);
    EXPECT_EQ(RunState.LinkCursorPath, nullptr);
}

TEST(BuildPathTable, CursorPathsFollowTheirResources) {
    ScratchFolder temp("cursors");
    TempOverride redirect(temp.Path());
    ASSERT_TRUE(SetPlainResource(ResBusyCursorName, "wait.ani", 9));
    ASSERT_TRUE(SetPlainResource(ResLinkCursorName, "link.cur", 8));  // no terminator stored
    BuildPathTable();
    EXPECT_EQ(Text(RunState.BusyCursorPath), temp.Path() + "ZuliTmp\\wait.ani");
    EXPECT_EQ(Text(RunState.LinkCursorPath), temp.Path() + "ZuliTmp\\link.cur");
}

TEST(BuildPathTable, CreatesTheWorkingFolderAndReusesALeftOne) {
    ScratchFolder temp("reuse");
    TempOverride redirect(temp.Path());
    std::string work = temp.Path() + "ZuliTmp\\";
    ASSERT_FALSE(FileExists(work));
    BuildPathTable();
    DWORD attributes = GetFileAttributesA(work.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "working folder not created";
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    WriteTestFile(work + "left.txt", "from an earlier run");
    BuildPathTable();
    EXPECT_EQ(Text(RunState.WorkFolder), work);
    EXPECT_EQ(ReadTestFile(work + "left.txt"), "from an earlier run");
}

TEST(CleanUpSession, DeletesFilesButKeepsReadOnlyFilesAndSubfolders) {
    ScratchFolder temp("clean up");
    TempOverride redirect(temp.Path());
    BuildPathTable();
    std::string work = RunState.WorkFolder;
    WriteTestFile(work + "Setup.ini", "[Setup]");
    WriteTestFile(work + "Proc1", "payload");
    WriteTestFile(work + "locked.txt", "read-only");
    SetFileAttributesA((work + "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((work + "sub").c_str(), nullptr);
    WriteTestFile(work + "sub\\inner.txt", "inside");
    RunState.EditBackgroundBrush = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ brush = RunState.EditBackgroundBrush;

    EXPECT_EQ(CleanUpSession(), 0) << "the folder cannot go while it holds a read-only file";
    struct Case {
        const char* name;
        bool kept;
    } cases[] = {{"Setup.ini", false}, {"Proc1", false}, {"locked.txt", true},
                 {"sub", true}, {"sub\\inner.txt", true}, {"", true}};
    for (const Case& c : cases)
        EXPECT_EQ(FileExists(work + c.name), c.kept) << "\"" << c.name << "\" expected " << (c.kept ? "kept" : "deleted");
    EXPECT_EQ(GetObjectType(brush), 0u) << "brush not deleted";
    EXPECT_EQ(RunState.EditBackgroundBrush, nullptr);

    // Without them the folder itself goes.
    SetFileAttributesA((work + "locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(work + "sub");
    EXPECT_EQ(CleanUpSession(), 1);
    EXPECT_FALSE(FileExists(work));
}
