// The table of paths, the working folder and the clean-up at the end.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>

#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "core/WorkFolder.h"
#include "support/CabinetFixture.h"
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

// "ZuliTmp", eight hexadecimal digits and a backslash, directly in `temp`.
bool IsWorkFolderName(const std::string& path, const std::string& temp) {
    if (path.size() != temp.size() + 16 || path.compare(0, temp.size(), temp) != 0) return false;
    std::string name = path.substr(temp.size());
    if (name.compare(0, 7, "ZuliTmp") != 0 || name.back() != '\\') return false;
    for (std::size_t i = 7; i < 15; ++i)
        if (!isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::string NameAt(uint32_t seed, int attempt) {
    char name[24] = {};
    FormatWorkFolderName(name, seed, attempt);
    return name;
}

bool ServeCabinet(const std::string& cabinet) {
    return SetPlainResource(ResPayloadCabinet, cabinet.data(), cabinet.size());
}

std::string Sddl(void* descriptor) {
    char* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                              &text, nullptr))
        return "(unreadable)";
    std::string result = text;
    LocalFree(text);
    return result;
}

uint32_t PinnedSeed() { return 0x12345678; }

// Pins the seed of the folder names for the life of the object.
struct PinnedNames {
    PinnedNames() { FolderNameSeed = PinnedSeed; }
    ~PinnedNames() { FolderNameSeed = saved; }
    FolderNameSeedSource saved = FolderNameSeed;
};

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
    ASSERT_EQ(BuildPathTable(), 1);
    std::string work = Text(RunState.WorkFolder);
    EXPECT_TRUE(IsWorkFolderName(work, temp.Path())) << work;
    EXPECT_TRUE(IsPlainFolder(RunState.WorkFolder)) << "the working folder was not created";

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
    EXPECT_EQ(CleanUpSession(), 1);
}

TEST(BuildPathTable, CursorPathsFollowTheirResourcesAndStayInTheWorkingFolder) {
    ScratchFolder temp("cursors");
    TempOverride redirect(temp.Path());
    ASSERT_TRUE(SetPlainResource(ResBusyCursorName, "wait.ani", 9));
    ASSERT_TRUE(SetPlainResource(ResLinkCursorName, "link.cur", 8));  // no terminator stored
    ASSERT_EQ(BuildPathTable(), 1);
    std::string work = Text(RunState.WorkFolder);
    EXPECT_EQ(Text(RunState.BusyCursorPath), work + "wait.ani");
    EXPECT_EQ(Text(RunState.LinkCursorPath), work + "link.cur");
    EXPECT_EQ(CleanUpSession(), 1);

    // A cursor name that leads out of the working folder ends the start-up.
    ASSERT_TRUE(SetPlainResource(ResLinkCursorName, "..\\link.cur", 12));
    EXPECT_EQ(BuildPathTable(), 0);
    EXPECT_TRUE(ZuliTmpEntries(temp.Path()).empty()) << "a working folder was made";
    ASSERT_TRUE(SetPlainResource(ResLinkCursorName, "link.cur", 8));  // for the tests after this one
}

TEST(BuildPathTable, EveryRunGetsANewFolderOfItsOwn) {
    ScratchFolder temp("two runs");
    TempOverride redirect(temp.Path());
    ASSERT_EQ(BuildPathTable(), 1);
    std::string first = RunState.WorkFolder;
    WriteTestFile(first + "Setup.ini", "the first run's script");
    ASSERT_EQ(BuildPathTable(), 1);
    std::string second = RunState.WorkFolder;
    EXPECT_NE(first, second);
    EXPECT_TRUE(IsWorkFolderName(second, temp.Path())) << second;
    EXPECT_FALSE(FileExists(second + "Setup.ini"));
    EXPECT_EQ(ReadTestFile(first + "Setup.ini"), "the first run's script");
}

TEST(BuildPathTable, NeverUsesANameThatIsTakenByAFileAFolderOrALink) {
    ScratchFolder temp("taken names");
    ScratchFolder elsewhere("link target");
    TempOverride redirect(temp.Path());
    PinnedNames pinned;
    std::string file = temp / NameAt(PinnedSeed(), 0);
    file.pop_back();
    std::string folder = temp / NameAt(PinnedSeed(), 1);
    std::string link = temp / NameAt(PinnedSeed(), 2);
    link.pop_back();
    WriteTestFile(file, "a file under the first name");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteTestFile(folder + "Setup.ini", "a planted script");
    WriteTestFile(elsewhere / "keep.txt", "the user's file");
    ASSERT_TRUE(MakeFolderLink(link, elsewhere.Path()));

    ASSERT_EQ(BuildPathTable(), 1);
    EXPECT_EQ(Text(RunState.WorkFolder), temp / NameAt(PinnedSeed(), 3));
    EXPECT_EQ(ReadTestFile(file), "a file under the first name");
    EXPECT_EQ(ReadTestFile(folder + "Setup.ini"), "a planted script");
    EXPECT_TRUE(IsLink(link));
    EXPECT_EQ(ReadTestFile(elsewhere / "keep.txt"), "the user's file");
    EXPECT_EQ(ZuliTmpEntries(elsewhere.Path()).size(), 0u);
    EXPECT_EQ(CleanUpSession(), 1);
    EXPECT_EQ(ZuliTmpEntries(temp.Path()).size(), 3u) << "the clean-up touched a name that was not the run's";
    RemoveLink(link);
}

TEST(BuildPathTable, AlwaysPicksOnePath) {
    PinnedNames pinned;
    std::string a = NameAt(PinnedSeed(), 0), b = NameAt(PinnedSeed(), 1);
    EXPECT_EQ(a, "ZuliTmp12345678\\");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.size(), b.size()) << "every name has the same length";
}

namespace {

// The three who may open the working folder, in the order the list names them.
struct PrivateSids {
    PrivateSids() {
        HANDLE token = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            DWORD length = 0;
            GetTokenInformation(token, TokenUser, userBuffer, sizeof userBuffer, &length);
            CloseHandle(token);
        }
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system);
        AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                 &administrators);
    }
    ~PrivateSids() {
        FreeSid(system);
        FreeSid(administrators);
    }
    PSID User() { return reinterpret_cast<TOKEN_USER*>(userBuffer)->User.Sid; }
    bool IsOneOfThem(PSID sid) {
        return EqualSid(sid, User()) || EqualSid(sid, system) || EqualSid(sid, administrators);
    }
    unsigned char userBuffer[256] = {};
    PSID system = nullptr, administrators = nullptr;
};

std::vector<ACCESS_ALLOWED_ACE*> Entries(PACL dacl) {
    std::vector<ACCESS_ALLOWED_ACE*> entries;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (GetAce(dacl, i, &ace)) entries.push_back(static_cast<ACCESS_ALLOWED_ACE*>(ace));
    }
    return entries;
}

}  // namespace

// The user's unelevated programs share the user's SID with an elevated run:
// the elevated run's folder lets in SYSTEM and the Administrators only.
TEST(PrivateSecurity, LetsInSystemAndAdministratorsAndTheUserOnlyWhenNotElevatedAndInheritsNothing) {
    PrivateSids sids;
    ASSERT_TRUE(IsValidSid(sids.User()));
    struct Case {
        bool elevated;
        std::vector<PSID> expected;
    } cases[] = {
        {false, {sids.User(), sids.system, sids.administrators}},
        {true, {sids.system, sids.administrators}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elevated ? "elevated" : "not elevated");
        PrivateSecurity security;
        ASSERT_EQ(MakePrivateSecurityFor(security, c.elevated), 1);
        ASSERT_TRUE(IsValidSecurityDescriptor(&security.descriptor));
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ASSERT_TRUE(GetSecurityDescriptorControl(&security.descriptor, &control, &revision));
        EXPECT_TRUE(control & SE_DACL_PROTECTED) << "entries of the temporary directory would be inherited";
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        ASSERT_TRUE(GetSecurityDescriptorDacl(&security.descriptor, &present, &dacl, &defaulted));
        ASSERT_TRUE(present && dacl) << "no access list lets everyone in";
        ASSERT_TRUE(IsValidAcl(dacl));
        std::vector<ACCESS_ALLOWED_ACE*> entries = Entries(dacl);
        ASSERT_EQ(entries.size(), c.expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i]->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << "entry " << i;
            EXPECT_EQ(entries[i]->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << "entry " << i;
            EXPECT_EQ(entries[i]->Mask, static_cast<DWORD>(FILE_ALL_ACCESS)) << "entry " << i;
            EXPECT_TRUE(EqualSid(&entries[i]->SidStart, c.expected[i])) << "entry " << i;
        }
    }
}

// Wine does not keep an access list as given: it turns it into the host's
// file mode and shows the list that mode stands for, and gives files made
// inside the mode of the host's defaults rather than the inherited entries.
// What can be seen is that the folder lets nobody in but the user (and
// SYSTEM), where the temporary directory lets everyone read.
TEST(BuildPathTable, TheWorkingFolderLetsInNobodyElse) {
    ScratchFolder temp("private");
    TempOverride redirect(temp.Path());
    DetectPlatform();
    if (RunState.IsNT != 1) GTEST_SKIP() << "access lists exist on the NT family only";
    ASSERT_EQ(BuildPathTable(), 1);
    std::string work = RunState.WorkFolder;
    PrivateSids sids;
    {
        std::string path = work.substr(0, work.size() - 1);
        std::vector<unsigned char> descriptor(4096);
        DWORD needed = 0;
        ASSERT_TRUE(GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                                     static_cast<DWORD>(descriptor.size()), &needed))
            << path;
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted));
        ASSERT_TRUE(present && dacl) << path << ": no access list, everyone is let in";
        bool userHasAll = false;
        for (ACCESS_ALLOWED_ACE* ace : Entries(dacl)) {
            EXPECT_TRUE(sids.IsOneOfThem(&ace->SidStart)) << path << " lets in another: " << Sddl(descriptor.data());
            if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&ace->SidStart, sids.User()) &&
                (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS)
                userHasAll = true;
        }
        EXPECT_TRUE(userHasAll) << path << ": the run's own user is shut out: " << Sddl(descriptor.data());
    }
    CleanUpSession();
}

// With a long temporary directory the working folder's paths no longer fit:
// start-up must end without making or deleting anything, least of all in the
// current folder, which a path that failed to build would fall back to.
TEST(BuildPathTable, ALongTemporaryDirectoryEndsTheStartUpAndTouchesNothing) {
    ScratchFolder base("long temp");
    ScratchFolder current("current folder");
    const char* userFiles[] = {"Data.cab", "Setup.ini", "Proc1", "Setup.img"};
    for (const char* name : userFiles) WriteTestFile(current / name, std::string("the user's ") + name);
    char previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    ASSERT_TRUE(ServeCabinet(MakeStoredCabinet({{"Setup.ini", "x"}, {"Proc1", "y"}})));

    // The longest that fits leaves room for "ZuliTmp" + 8 digits + "\" and
    // "Setup.ini" within 259 characters.
    struct Case {
        std::size_t length;  // of TEMP, without its trailing backslash
        int expected;
    } cases[] = {{200, 1}, {233, 1}, {234, 0}, {252, 0}, {255, 0}, {259, 0}, {300, 0}};
    for (const Case& c : cases) {
        std::string temp = base.Path() + std::string(c.length - base.Path().size(), 'T');
        if (c.expected == 1) {
            ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr)) << c.length;
        }
        {
            TempOverride redirect(temp);
            EXPECT_EQ(BuildPathTable(), c.expected) << "TEMP of " << c.length << " characters";
            CleanUpSession();
        }
        for (const char* name : userFiles)
            EXPECT_EQ(ReadTestFile(current / name), std::string("the user's ") + name)
                << name << " with TEMP of " << c.length << " characters";
        EXPECT_TRUE(ZuliTmpEntries(current.Path()).empty()) << c.length;
        if (c.expected == 1) {
            EXPECT_TRUE(ZuliTmpEntries(temp).empty()) << "the working folder stays, TEMP of " << c.length;
            RemoveDirectoryA(temp.c_str());
        }
    }
    SetCurrentDirectoryA(previous);
}

TEST(CleanUpSession, DeletesWhatTheCabinetListsAndNothingElse) {
    ScratchFolder temp("clean up");
    ScratchFolder elsewhere("clean up elsewhere");
    TempOverride redirect(temp.Path());
    ASSERT_TRUE(ServeCabinet(MakeStoredCabinet({{"Setup.ini", "[Setup]"},
                                                                        {"Proc1", "payload"},
                                                                        {"locked.txt", "read-only"},
                                                                        {"sub", "a folder in its place"},
                                                                        {"linked", "a link in its place"}})));
    ASSERT_EQ(BuildPathTable(), 1);
    std::string work = RunState.WorkFolder;
    WriteTestFile(work + "Setup.ini", "[Setup]");
    WriteTestFile(work + "Proc1", "payload");
    WriteTestFile(work + "locked.txt", "read-only");
    SetFileAttributesA((work + "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTestFile(work + "foreign.txt", "put there by another program");
    CreateDirectoryA((work + "sub").c_str(), nullptr);
    WriteTestFile(work + "sub\\inner.txt", "inside");
    WriteTestFile(elsewhere / "keep.txt", "the user's file");
    ASSERT_TRUE(MakeFolderLink(work + "linked", elsewhere.Path()));
    RunState.EditBackgroundBrush = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ brush = RunState.EditBackgroundBrush;

    EXPECT_EQ(CleanUpSession(), 0) << "the folder cannot go while it holds what the run did not make";
    struct Case {
        const char* name;
        bool kept;
    } cases[] = {{"Setup.ini", false},  {"Proc1", false},          {"locked.txt", true}, {"foreign.txt", true},
                 {"sub", true},         {"sub\\inner.txt", true}, {"linked", true},     {"", true}};
    for (const Case& c : cases)
        EXPECT_EQ(FileExists(work + c.name), c.kept) << "\"" << c.name << "\" expected " << (c.kept ? "kept" : "deleted");
    EXPECT_EQ(ReadTestFile(elsewhere / "keep.txt"), "the user's file") << "the clean-up followed the link";
    EXPECT_EQ(GetObjectType(brush), 0u) << "brush not deleted";
    EXPECT_EQ(RunState.EditBackgroundBrush, nullptr);

    // Without them the folder itself goes.
    SetFileAttributesA((work + "locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((work + "locked.txt").c_str());
    DeleteFileA((work + "foreign.txt").c_str());
    RemoveTree(work + "sub");
    ASSERT_TRUE(RemoveLink(work + "linked"));
    EXPECT_EQ(CleanUpSession(), 1);
    EXPECT_FALSE(FileExists(work));
    EXPECT_EQ(CleanUpSession(), 0) << "a second clean-up has nothing of its own left";
}

TEST(CleanUpSession, NeverTouchesAFolderTheRunDidNotMake) {
    ScratchFolder current("not made");
    WriteTestFile(current / "Setup.ini", "the user's own");
    ASSERT_TRUE(ServeCabinet(MakeStoredCabinet({{"Setup.ini", "x"}})));
    // A path table that failed to build leaves the working folder unset; a
    // folder filled in by hand is not the run's either.
    ScratchFolder temp("not made temp");
    TempOverride redirect(temp.Path() + std::string(300, 'x'));
    ASSERT_EQ(BuildPathTable(), 0);
    lstrcpynA(RunState.WorkFolder, current.Path().c_str(), kPathBufferSize);
    EXPECT_EQ(CleanUpSession(), 0);
    EXPECT_EQ(ReadTestFile(current / "Setup.ini"), "the user's own");
}
