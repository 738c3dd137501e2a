// Target folder resolution: directory tokens, the registry accessor against
// the real (Wine) registry under a key of the test's own, and the bound on
// folder length.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/RunState.h"
#include "script/FolderResolution.h"
#include "core/RegistryAccessor.h"
#include "support/TestFiles.h"
#include "support/PassSetup.h"

namespace {

const char kFolderError[] = "Registry folder not found\n\nReset the folder?";

char* RunStateRecord::*const kFolderFields[] = {
    &RunStateRecord::CurrentFolder,   &RunStateRecord::WindowsFolder,   &RunStateRecord::SystemFolder,
    &RunStateRecord::PreviousFolder,  &RunStateRecord::StartMenuFolder, &RunStateRecord::ProgramsFolder,
    &RunStateRecord::FavoritesFolder, &RunStateRecord::DocumentsFolder, &RunStateRecord::TemplatesFolder,
    &RunStateRecord::DesktopFolder,   &RunStateRecord::AppDataFolder,
};

std::string Shown(const char* text) { return text ? "\"" + std::string(text) + "\"" : "none"; }

class FolderResolutionTest : public ::testing::Test {
protected:
    FakeHost host_;  // answers the passes instead of a window
    FolderResolutionTest()
        : scratch_("folders"),
          keyPath_("Software\\ZuliTest\\FolderResolution-" + std::to_string(GetCurrentProcessId())) {}

    void SetUp() override {
        // Distinct stand-ins, so that each token shows which field it took.
        const char* names[] = {"Current", "Windows", "System", "", "StartMenu", "Programs",
                               "Favorites", "Documents", "Templates", "Desktop", "AppData"};
        int i = 0;
        for (char* RunStateRecord::*field : kFolderFields) {
            RunState.*field = NewPathBuffer();
            ASSERT_TRUE(RunState.*field);
            if (names[i][0]) std::strcpy(RunState.*field, ("Q:\\" + std::string(names[i]) + "\\").c_str());
            ++i;
        }
        RunState.Registry = RegistryAccessor();  // as at start: no root yet
        RunState.ErrorText.reset();

        WriteTestFile(scratch_ / "Setup.ini", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nDir=Reg\r\n");
        RunState.ScriptReader.Clear();
        RunState.ScriptReader.SetFile((scratch_ / "Setup.ini").c_str());
        RunState.ScriptReader.SetSection("Proc1");

        CreateDirectoryA((scratch_ / "app").c_str(), nullptr);
        WriteTestFile(scratch_ / "app\\viewer.exe", "MZ");
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key_.put(), nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        for (char* RunStateRecord::*field : kFolderFields) {
            std::free(RunState.*field);
            RunState.*field = nullptr;
        }
        RunState.ScriptReader.Clear();
        RunState.ErrorText.reset();
        key_.reset();
        SHDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZuliTest");  // only when no other test's key is left
    }

    void SetValue(const char* name, DWORD type, const std::string& data, bool withTerminator = true) {
        DWORD size = static_cast<DWORD>(data.size() + (withTerminator ? 1 : 0));
        ASSERT_EQ(RegSetValueExA(key_.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()), size),
                  ERROR_SUCCESS);
    }

    void SetRegKey(const std::string& line) {
        ASSERT_TRUE(WritePrivateProfileStringA("Proc1", "RegKey", line.c_str(), (scratch_ / "Setup.ini").c_str()));
    }

    // scratch folder without its trailing backslash
    std::string Scratch() const { return scratch_.Path().substr(0, scratch_.Path().size() - 1); }

    ScratchFolder scratch_;
    std::string keyPath_;
    UniqueKey key_;
};

TEST_F(FolderResolutionTest, EveryFixedTokenGivesItsFolder) {
    struct Case {
        const char* token;
        char* RunStateRecord::*field;
    } cases[] = {
        {"Me", &RunStateRecord::CurrentFolder},       {"Win", &RunStateRecord::WindowsFolder},
        {"Sys", &RunStateRecord::SystemFolder},       {"STMU", &RunStateRecord::StartMenuFolder},
        {"PROG", &RunStateRecord::ProgramsFolder},    {"FAVO", &RunStateRecord::FavoritesFolder},
        {"DOC", &RunStateRecord::DocumentsFolder},    {"TEMP", &RunStateRecord::TemplatesFolder},
        {"DESK", &RunStateRecord::DesktopFolder},     {"APPD", &RunStateRecord::AppDataFolder},
    };
    for (const Case& c : cases) {
        HeapText folder = ResolveFolder(c.token, host_);
        EXPECT_EQ(Shown(folder.get()), Shown(RunState.*c.field)) << "token " << c.token;
        EXPECT_STREQ(RunState.PreviousFolder, RunState.*c.field) << "PreviousFolder after token " << c.token;
        EXPECT_NE(folder.get(), RunState.*c.field) << "token " << c.token << " must give a copy";
        HeapText again = ResolveFolder("Pre", host_);
        EXPECT_EQ(Shown(again.get()), Shown(RunState.*c.field)) << "\"Pre\" after token " << c.token;
    }
    EXPECT_FALSE(RunState.ErrorText);
}

TEST_F(FolderResolutionTest, TokensAreComparedWithCase) {
    // None of these is a token: each is a literal folder and becomes the
    // folder for a following "Pre".
    const char* literals[] = {"me",   "ME",   "win", "SYS", "reg",  "pre", "ask", "Ask ",
                              " Me",  "stmu", "Prog", "doc", "Temp", "temp", "desk", "appd",
                              "C:\\Program Files\\Example", "..\\relative\\folder"};
    for (const char* literal : literals) {
        HeapText folder = ResolveFolder(literal, host_);
        EXPECT_EQ(Shown(folder.get()), Shown(literal)) << "token \"" << literal << "\"";
        EXPECT_STREQ(RunState.PreviousFolder, literal);
        HeapText previous = ResolveFolder("Pre", host_);
        EXPECT_EQ(Shown(previous.get()), Shown(literal)) << "\"Pre\" after \"" << literal << "\"";
    }
    EXPECT_FALSE(RunState.ErrorText);
}

TEST_F(FolderResolutionTest, TempIsTheTemplatesFolderNotTheTemporaryDirectory) {
    char templates[MAX_PATH + 1] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, templates, CSIDL_TEMPLATES, TRUE));
    PathAddBackslashA(templates);
    std::strcpy(RunState.TemplatesFolder, templates);
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    ASSERT_STRNE(templates, temporary);

    HeapText folder = ResolveFolder("TEMP", host_);
    EXPECT_EQ(Shown(folder.get()), Shown(templates));
}

TEST_F(FolderResolutionTest, PreviousFolderIsTheFolderBeforeSubAndFile) {
    HeapText start = ResolveFolder("Pre", host_);
    EXPECT_EQ(Shown(start.get()), "\"\"") << "\"Pre\" before any resolution is the empty folder";

    // Entry 1: a folder, then its Sub and FILE joined as the verification pass does.
    HeapText folder = ResolveFolder("C:\\Games\\Viewer", host_);
    ASSERT_TRUE(folder);
    char target[MAX_PATH + 1] = {};
    std::strcpy(target, folder.get());
    AppendPath(target, "Plugins");
    AppendPath(target, "help.bmp");
    EXPECT_STREQ(target, "C:\\Games\\Viewer\\Plugins\\help.bmp");
    // Entry 2 with "Pre" gets entry 1's folder, not its sub-folder.
    HeapText previous = ResolveFolder("Pre", host_);
    EXPECT_EQ(Shown(previous.get()), "\"C:\\Games\\Viewer\"");

    // A Sub holding a full path replaces the folder in the target only.
    folder = ResolveFolder("Win", host_);
    std::strcpy(target, folder.get());
    AppendPath(target, "D:\\Elsewhere");
    EXPECT_STREQ(target, "D:\\Elsewhere");
    previous = ResolveFolder("Pre", host_);
    EXPECT_EQ(Shown(previous.get()), Shown(RunState.WindowsFolder));
}

TEST_F(FolderResolutionTest, RegistryValuesNameTheFolder) {
    std::string app = Scratch() + "\\app";
    ASSERT_TRUE(SetEnvironmentVariableA("ZULI_FOLDER_TEST", Scratch().c_str()));
    SetValue("Program", REG_SZ, app + "\\viewer.exe");
    SetValue("Folder", REG_SZ, app);
    SetValue("FolderSlash", REG_SZ, app + "\\");
    SetValue("NotThere", REG_SZ, Scratch() + "\\gone\\deeper");
    SetValue("Expand", REG_EXPAND_SZ, "%ZULI_FOLDER_TEST%\\app\\viewer.exe");
    SetValue("ExpandFolder", REG_EXPAND_SZ, "%ZULI_FOLDER_TEST%\\app");
    SetValue("Unterminated", REG_SZ, app + "\\viewer.exe", false);
    SetValue(nullptr, REG_SZ, app + "\\viewer.exe");  // the key's default value

    struct Case {
        std::string regKey;
        std::string expected;
        const char* what;
    } cases[] = {
        {"HKCU," + keyPath_ + ",Program", app, "a program's file gives its folder"},
        {"HKCU," + keyPath_ + ",Folder", app, "an existing directory is kept"},
        {"HKCU," + keyPath_ + ",FolderSlash", app + "\\", "an existing directory is kept as written"},
        {"HKCU," + keyPath_ + ",NotThere", Scratch() + "\\gone", "a missing directory loses its last part"},
        {"HKCU," + keyPath_ + ",Expand", app, "REG_EXPAND_SZ is expanded"},
        {"HKCU," + keyPath_ + ",ExpandFolder", app, "REG_EXPAND_SZ naming a directory"},
        {"HKCU," + keyPath_ + ",Unterminated", app, "a text stored without terminator"},
        {"HKCU," + keyPath_, app, "two fields read the default value"},
        {",,HKCU,,," + keyPath_ + ",,Program,", app, "runs of commas are one separator"},
        {"HKCU," + keyPath_ + ",Program,ignored,more", app, "text after the third field is ignored"},
    };
    for (const Case& c : cases) {
        SetRegKey(c.regKey);
        RunState.ErrorText.reset();
        HeapText folder = ResolveFolder("Reg", host_);
        EXPECT_EQ(Shown(folder.get()), Shown(c.expected.c_str())) << c.what << " (RegKey " << c.regKey << ")";
        EXPECT_STREQ(RunState.PreviousFolder, c.expected.c_str()) << c.what;
        EXPECT_FALSE(RunState.ErrorText) << c.what;
    }
    SetEnvironmentVariableA("ZULI_FOLDER_TEST", nullptr);
}

TEST_F(FolderResolutionTest, UnreadableRegistryFolderFailsWithTheFolderMessage) {
    SetValue("Program", REG_SZ, Scratch() + "\\app\\viewer.exe");
    SetValue("Expand", REG_EXPAND_SZ, "%ZULI_FOLDER_TEST%\\x");
    struct Case {
        const char* regKey;  // null: no RegKey line
        std::string line;
        const char* what;
    } cases[] = {
        {nullptr, "", "no RegKey"},
        {"x", "HKCU," + keyPath_ + ",Absent", "value absent"},
        {"x", "HKCU," + keyPath_ + "\\NoSuchKey,Program", "key absent"},
        {"x", "HKCU," + keyPath_ + "\\NoSuchKey", "key absent, default value"},
    };
    // First operation of the run with a lower-case hive: no root to open under.
    SetRegKey("hklm," + keyPath_ + ",Program");
    std::strcpy(RunState.PreviousFolder, "Q:\\Kept\\");
    HeapText folder = ResolveFolder("Reg", host_);
    EXPECT_EQ(Shown(folder.get()), "none") << "\"hklm\" as the first registry operation";
    EXPECT_EQ(Shown(RunState.ErrorText.get()), Shown(kFolderError));
    EXPECT_STREQ(RunState.PreviousFolder, "Q:\\Kept\\") << "a failed resolution keeps PreviousFolder";

    for (const Case& c : cases) {
        if (c.regKey)
            SetRegKey(c.line);
        else
            WritePrivateProfileStringA("Proc1", "RegKey", nullptr, (scratch_ / "Setup.ini").c_str());
        RunState.ErrorText.reset();
        folder = ResolveFolder("Reg", host_);
        EXPECT_EQ(Shown(folder.get()), "none") << c.what;
        EXPECT_EQ(Shown(RunState.ErrorText.get()), Shown(kFolderError)) << c.what;
        EXPECT_STREQ(RunState.PreviousFolder, "Q:\\Kept\\") << c.what;
    }
}

TEST_F(FolderResolutionTest, UnknownHiveKeepsThePreviousRoot) {
    SetValue("Program", REG_SZ, Scratch() + "\\app\\viewer.exe");
    SetRegKey("HKCU," + keyPath_ + ",Program");
    ASSERT_TRUE(ResolveFolder("Reg", host_));
    // The root of the last operation stays: "hklm" now reads under HKCU.
    SetRegKey("hklm," + keyPath_ + ",Program");
    HeapText folder = ResolveFolder("Reg", host_);
    EXPECT_EQ(Shown(folder.get()), Shown((Scratch() + "\\app").c_str()));
}

TEST(RegistryAccessor, HiveTokensAreExactAndUnknownOnesKeepTheRoot) {
    struct Case {
        const char* token;
        HKEY expected;  // root afterwards, starting from HKEY_USERS
    } cases[] = {
        {"HKCR", HKEY_CLASSES_ROOT},     {"HKCU", HKEY_CURRENT_USER},   {"HKLM", HKEY_LOCAL_MACHINE},
        {"HKUS", HKEY_USERS},            {"HKPD", HKEY_PERFORMANCE_DATA}, {"HKCC", HKEY_CURRENT_CONFIG},
        {"HKDD", HKEY_DYN_DATA},         {"hklm", HKEY_USERS},          {"Hkcu", HKEY_USERS},
        {"HKEY_LOCAL_MACHINE", HKEY_USERS}, {"HKLM ", HKEY_USERS},      {"", HKEY_USERS},
        {nullptr, HKEY_USERS},
    };
    for (const Case& c : cases) {
        RegistryAccessor registry;
        registry.SetRoot("HKUS");
        registry.SetRoot(c.token);
        EXPECT_EQ(registry.Root(), c.expected) << "token " << Shown(c.token);
    }
    RegistryAccessor fresh;
    EXPECT_EQ(fresh.Root(), nullptr);
    fresh.SetRoot("hkcu");
    EXPECT_EQ(fresh.Root(), nullptr) << "an unknown token before the first root leaves none";
    EXPECT_FALSE(fresh.ReadPathValue("Software", nullptr));
}

TEST(RegistryAccessor, AFolderInAKeyThatMayOnlyBeReadIsRead) {
    const char* const kKey = "Software\\ZuliTest\\ReadOnlyFolder";
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const char folder[] = "C:\\Program Files\\App";
    ASSERT_EQ(RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder),
              ERROR_SUCCESS);
    ASSERT_TRUE(SetKeyAccessList(key.get(), kReadOnlyKeyAccess));
    RegistryAccessor registry;
    registry.SetRoot("HKCU");
    HeapText read = registry.ReadPathValue(kKey, "Path");
    EXPECT_TRUE(read) << "asked for more than reading";
    EXPECT_STREQ(read ? read.get() : "", folder);
    EXPECT_TRUE(SetKeyAccessList(key.get(), kFullKeyAccess));
    key.reset();
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kKey), ERROR_SUCCESS);
}

TEST_F(FolderResolutionTest, OverLongFoldersAreRejected) {
    // 260 characters fit PreviousFolder; 261 do not.
    std::string fits = "C:\\" + std::string(257, 'f');
    std::string tooLong = fits + "g";
    HeapText folder = ResolveFolder(fits.c_str(), host_);
    EXPECT_EQ(Shown(folder.get()), Shown(fits.c_str())) << "a folder of 260 characters";
    EXPECT_EQ(std::string(RunState.PreviousFolder), fits);

    std::strcpy(RunState.PreviousFolder, "Q:\\Kept\\");
    folder = ResolveFolder(tooLong.c_str(), host_);
    EXPECT_EQ(Shown(folder.get()), "none") << "a literal folder of 261 characters";
    EXPECT_EQ(Shown(RunState.ErrorText.get()), Shown(kFolderError));
    EXPECT_STREQ(RunState.PreviousFolder, "Q:\\Kept\\");

    RunState.ErrorText.reset();
    SetValue("Long", REG_SZ, Scratch() + "\\" + std::string(300, 'x') + "\\viewer.exe");
    SetRegKey("HKCU," + keyPath_ + ",Long");
    folder = ResolveFolder("Reg", host_);
    EXPECT_EQ(Shown(folder.get()), "none") << "a registry folder over 260 characters";
    EXPECT_EQ(Shown(RunState.ErrorText.get()), Shown(kFolderError));
    EXPECT_STREQ(RunState.PreviousFolder, "Q:\\Kept\\");
}

TEST_F(FolderResolutionTest, EntryWithoutDirCannotBeResolved) {
    HeapText folder = ResolveFolder(nullptr, host_);
    EXPECT_EQ(Shown(folder.get()), "none");
    EXPECT_EQ(Shown(RunState.ErrorText.get()), Shown(kFolderError));
}

}  // namespace
