// The run, add, delete, INI and rename actions against real files under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "actions/FileActions.h"
#include "core/RunState.h"
#include "support/StartedPrograms.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"

namespace {

// A scratch folder with a script whose entry section "Proc1" is current on
// ScriptReader, as the processing pass leaves it for an action.
class FileActionsTest : public ::testing::Test {
protected:
    FileActionsTest() : folder_("file-actions") {}

    void SetUp() override {
        RunState.ScriptReader.Clear();
        RunState.DialogWindow = nullptr;
    }
    void TearDown() override { RunState.ScriptReader.Clear(); }

    // Writes the script with `entryLines` as the body of [Proc1].
    void UseEntry(const std::string& entryLines) {
        const std::string script = folder_ / "Setup.ini";
        WriteTestFile(script, "[Setup]\r\nProcCount=1\r\n[Proc1]\r\n" + entryLines);
        RunState.ScriptReader.SetFile(script.c_str());
        RunState.ScriptReader.SetSection("Proc1");
    }

    std::string Path(const std::string& relative) const { return folder_ / relative; }

    ScratchFolder folder_;
};

std::string IniValue(const std::string& file, const char* section, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, file.c_str());
    return value;
}

bool IniHasSection(const std::string& file, const char* section) {
    char names[4096] = {};
    DWORD length = GetPrivateProfileSectionNamesA(names, sizeof names, file.c_str());
    for (const char* name = names; name < names + length && *name; name += lstrlenA(name) + 1)
        if (lstrcmpiA(name, section) == 0) return true;
    return false;
}

// ---- Act 0: run -------------------------------------------------------------

class RunEntryTest : public FileActionsTest {
protected:
    void SetUp() override {
        FileActionsTest::SetUp();
        CreateDirectoryA(Path("app").c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ExecutableFolder() + "run_entry_child.exe").c_str(), Path("Proc1").c_str(), FALSE))
            << "the child program must sit beside the test";
        target_ = Path("app\\tool.exe");
        mark_ = target_ + ".done";
    }
    void TearDown() override {
        // The child must be gone before the scratch folder goes.
        if (release_) {
            SetEvent(release_);
            WaitForMark();
            CloseHandle(release_);
        }
        FileActionsTest::TearDown();
    }
    void CreateRelease(bool released) {
        release_ = CreateEventA(nullptr, TRUE, released ? TRUE : FALSE, "ZuliRunEntryChildRelease");
        ASSERT_NE(release_, nullptr);
    }
    // The child writes its mark as its last act, then ends: its mark is
    // complete and its program free once it has ended. Generous bounds only
    // keep a broken run from hanging the suite.
    bool WaitForMark() const {
        const bool marked = WaitUntil([&] { return FileExists(mark_); }, 120000);
        return WaitForStartedProgramsToEnd() && marked;
    }

    std::string target_;
    std::string mark_;
    HANDLE release_ = nullptr;
};

TEST_F(RunEntryTest, SyncMissingMovesThePayloadAndWaitsForTheProgram) {
    UseEntry("Act=0\r\n");
    CreateRelease(true);
    EXPECT_EQ(RunEntryFile(Path("Proc1").c_str(), target_.c_str()), 1);
    // Waited: the child's last act is already done when the action returns.
    EXPECT_TRUE(FileExists(mark_)) << "the action returned before the program ended";
    EXPECT_FALSE(FileExists(Path("Proc1"))) << "the payload leaves the working folder";
    EXPECT_TRUE(FileExists(target_)) << "the moved program stays at the target";
    std::string startedIn = ReadTestFile(mark_);
    EXPECT_EQ(lstrcmpiA(startedIn.c_str(), Path("app").c_str()), 0)
        << "started in '" << startedIn << "', expected the target's folder";
}

TEST_F(RunEntryTest, SyncOneOpensThroughTheShellAndReturnsAtOnce) {
    UseEntry("Act=0\r\nSync=1\r\n");
    CreateRelease(false);  // the child blocks until released
    EXPECT_EQ(RunEntryFile(Path("Proc1").c_str(), target_.c_str()), 1);
    // Returned while the child still waits for its release.
    EXPECT_FALSE(FileExists(mark_)) << "the action waited for the opened program";
    EXPECT_FALSE(FileExists(Path("Proc1")));
    SetEvent(release_);
    EXPECT_TRUE(WaitForMark()) << "the shell did not start the program";
}

TEST_F(RunEntryTest, ReplacesAReadOnlyFileAtTheTarget) {
    UseEntry("Act=0\r\n");
    CreateRelease(true);
    WriteTestFile(target_, "old program");
    SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RunEntryFile(Path("Proc1").c_str(), target_.c_str()), 1);
    EXPECT_TRUE(FileExists(mark_));
    EXPECT_NE(ReadTestFile(target_), "old program");
}

TEST_F(RunEntryTest, TargetThatCannotBeDeletedStartsNothing) {
    UseEntry("Act=0\r\n");
    CreateRelease(true);
    // A non-empty folder stands where the program should go.
    CreateDirectoryA(target_.c_str(), nullptr);
    WriteTestFile(target_ + "\\inside.txt", "x");
    EXPECT_EQ(RunEntryFile(Path("Proc1").c_str(), target_.c_str()), 0);
    EXPECT_TRUE(FileExists(Path("Proc1"))) << "the payload stays when the target cannot be replaced";
    EXPECT_EQ(ReadTestFile(target_ + "\\inside.txt"), "x");
    // The release is set: a program started by mistake writes its mark and ends.
    ASSERT_TRUE(WaitForStartedProgramsToEnd()) << "a started program still runs";
    EXPECT_FALSE(FileExists(mark_)) << "a program was started";
    CloseHandle(release_);
    release_ = nullptr;
}

TEST_F(FileActionsTest, RunEntryThatIsNoProgramFailsWhenWaitedFor) {
    UseEntry("Act=0\r\n");
    CreateDirectoryA(Path("app").c_str(), nullptr);
    WriteTestFile(Path("Proc1"), "plain text, not a program");
    EXPECT_EQ(RunEntryFile(Path("Proc1").c_str(), Path("app\\notes.exe").c_str()), 0);
    EXPECT_EQ(ReadTestFile(Path("app\\notes.exe")), "plain text, not a program") << "moved before the start";
}

TEST_F(FileActionsTest, RunEntryWithMissingPayloadFailsAndKeepsTheTarget) {
    UseEntry("Act=0\r\n");
    WriteTestFile(Path("tool.exe"), "installed");
    EXPECT_EQ(RunEntryFile(Path("Proc1").c_str(), Path("tool.exe").c_str()), 0);
    EXPECT_EQ(ReadTestFile(Path("tool.exe")), "installed") << "the installed file went with the payload";
}

// ---- Act 1: add ---------------------------------------------------------------

TEST_F(FileActionsTest, AddCreatesTheWholeFolderChain) {
    UseEntry("Act=1\r\n");
    WriteTestFile(Path("Proc1"), "payload bytes");
    const std::string target = Path("one\\two\\three\\added.txt");
    EXPECT_EQ(AddEntryFile(Path("Proc1").c_str(), target.c_str()), 1);
    EXPECT_EQ(ReadTestFile(target), "payload bytes");
    EXPECT_EQ(ReadTestFile(Path("Proc1")), "payload bytes") << "the payload stays in the working folder";
}

TEST_F(FileActionsTest, AddReplacesAReadOnlyFile) {
    UseEntry("Act=1\r\n");
    WriteTestFile(Path("Proc1"), "new content");
    const std::string target = Path("existing.txt");
    WriteTestFile(target, "old content");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(AddEntryFile(Path("Proc1").c_str(), target.c_str()), 1);
    EXPECT_EQ(ReadTestFile(target), "new content");
}

TEST_F(FileActionsTest, AddFailsAndKeepsATargetThatCannotBeDeleted) {
    UseEntry("Act=1\r\n");
    WriteTestFile(Path("Proc1"), "new content");
    const std::string target = Path("locked.txt");
    WriteTestFile(target, "in use");
    HANDLE inUse = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    EXPECT_EQ(AddEntryFile(Path("Proc1").c_str(), target.c_str()), 0);
    CloseHandle(inUse);
    EXPECT_EQ(ReadTestFile(target), "in use");
}

TEST_F(FileActionsTest, AddFailsWhenThePayloadIsMissing) {
    UseEntry("Act=1\r\n");
    EXPECT_EQ(AddEntryFile(Path("Proc1").c_str(), Path("added.txt").c_str()), 0);
    EXPECT_FALSE(FileExists(Path("added.txt")));
    WriteTestFile(Path("installed.txt"), "installed");
    EXPECT_EQ(AddEntryFile(Path("Proc1").c_str(), Path("installed.txt").c_str()), 0);
    EXPECT_EQ(ReadTestFile(Path("installed.txt")), "installed") << "the installed file went with the payload";
}

// ---- Act 4: delete ------------------------------------------------------------

TEST_F(FileActionsTest, DeleteCases) {
    UseEntry("Act=4\r\n");
    struct Case {
        const char* name;
        bool create;
        bool readOnly;
        int expected;
    } cases[] = {
        {"missing.txt", false, false, 1},
        {"plain.txt", true, false, 1},
        {"readonly.txt", true, true, 1},
    };
    for (const Case& c : cases) {
        const std::string target = Path(c.name);
        if (c.create) WriteTestFile(target, "x");
        if (c.readOnly) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(DeleteEntryFile(target.c_str()), c.expected) << c.name;
        EXPECT_FALSE(FileExists(target)) << c.name << " is still there";
    }
}

TEST_F(FileActionsTest, DeleteFailsForAFileInUse) {
    UseEntry("Act=4\r\n");
    const std::string target = Path("busy.txt");
    WriteTestFile(target, "x");
    HANDLE inUse = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    EXPECT_EQ(DeleteEntryFile(target.c_str()), 0);
    CloseHandle(inUse);
    EXPECT_TRUE(FileExists(target));
}

TEST_F(FileActionsTest, OverlongTargetIsAMissingFileAndNeverAShorterOne) {
    UseEntry("Act=4\r\n");
    // The first 260 characters of the long path name a real file.
    std::string shortPart = Path("");
    while (shortPart.size() < 260 - 4 - 101) {  // folders of 100 characters
        shortPart += std::string(100, 'd');
        CreateDirectoryA(shortPart.c_str(), nullptr);
        shortPart += "\\";
    }
    shortPart += std::string(260 - 4 - shortPart.size(), 'n') + ".txt";
    ASSERT_EQ(shortPart.size(), 260u);
    WriteTestFile(shortPart, "keep me");
    ASSERT_TRUE(FileExists(shortPart)) << "the file system refused a 260-character path";
    const std::string overlong = shortPart + "\\more.txt";
    EXPECT_EQ(DeleteEntryFile(overlong.c_str()), 1) << "a path no ANSI call reaches counts as missing";
    EXPECT_EQ(AddEntryFile(Path("Proc1").c_str(), overlong.c_str()), 0);
    EXPECT_EQ(RenameEntryFile(overlong.c_str(), "other.txt"), 0);
    EXPECT_EQ(ReadTestFile(shortPart), "keep me");
}

// ---- Act 5: INI ----------------------------------------------------------------

const char kInitialIni[] =
    "[Settings]\r\nMode=1\r\nOld=x\r\nKeep=y\r\n"
    "[Gone]\r\nA=1\r\n"
    "[Other]\r\nB=2\r\n";

TEST_F(FileActionsTest, IniLinesOfThreeTwoFourAndOneFields) {
    UseEntry(
        "Act=5\r\nCount=5\r\n"
        "INIKey1=Settings,Mode,2\r\n"     // three fields: write the value
        "INIKey2=Settings,Old\r\n"        // two fields: delete the key
        "INIKey3=Other,C,3,ignored\r\n"   // four fields: the fourth is ignored
        "INIKey4=Gone\r\n"                // one field: delete the section
        "INIKey5=,,Other,,,D,,4,\r\n");   // runs of commas are one separator
    const std::string target = Path("app.ini");
    WriteTestFile(target, kInitialIni);
    EXPECT_EQ(UpdateIniEntries(target.c_str()), 1);

    struct Expect {
        const char* section;
        const char* key;
        const char* value;
    } expected[] = {
        {"Settings", "Mode", "2"},
        {"Settings", "Old", "<absent>"},
        {"Settings", "Keep", "y"},
        {"Other", "B", "2"},
        {"Other", "C", "3"},
        {"Other", "D", "4"},
        {"Gone", "A", "<absent>"},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(IniValue(target, e.section, e.key), e.value) << "[" << e.section << "] " << e.key;
    EXPECT_FALSE(IniHasSection(target, "Gone")) << "the one-field line keeps its section";
    EXPECT_TRUE(IniHasSection(target, "Settings"));
}

// A target named without a folder (an empty folder box) is the file in the
// current folder, where the check looked, never one in the Windows folder.
TEST_F(FileActionsTest, IniTargetWithoutAFolderIsTheOneInTheCurrentFolder) {
    UseEntry("Act=5\r\nCount=1\r\nINIKey1=Settings,Mode,2\r\n");
    const std::string name = "zuli-ini-" + std::to_string(GetCurrentProcessId()) + ".ini";
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string inWindows = std::string(windows) + "\\" + name;
    char previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
    WriteTestFile(Path(name), kInitialIni);
    const int result = UpdateIniEntries(name.c_str());
    SetCurrentDirectoryA(previous);
    const bool wroteWindows = FileExists(inWindows);
    DeleteFileA(inWindows.c_str());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(IniValue(Path(name), "Settings", "Mode"), "2") << "the file the check saw was not written";
    EXPECT_FALSE(wroteWindows) << "a new file was written into the Windows folder";
}

TEST_F(FileActionsTest, IniCountBelowOneSucceedsWithoutTouchingTheFile) {
    const char* entries[] = {
        "Act=5\r\nCount=0\r\nINIKey1=Settings,Mode,9\r\n",
        "Act=5\r\nCount=-3\r\nINIKey1=Settings,Mode,9\r\n",
        "Act=5\r\nINIKey1=Settings,Mode,9\r\n",
    };
    for (const char* entry : entries) {
        UseEntry(entry);
        const std::string target = Path("untouched.ini");
        WriteTestFile(target, kInitialIni);
        EXPECT_EQ(UpdateIniEntries(target.c_str()), 1) << entry;
        EXPECT_EQ(ReadTestFile(target), kInitialIni) << entry;
    }
}

TEST_F(FileActionsTest, IniLineMissingEmptyOrOnlyCommasWritesNothingAndFails) {
    const char* entries[] = {
        "Act=5\r\nCount=2\r\nINIKey2=Settings,Mode,2\r\n",          // line 1 missing
        "Act=5\r\nCount=2\r\nINIKey1=\r\nINIKey2=Settings,Mode,2\r\n",   // line 1 empty
        "Act=5\r\nCount=2\r\nINIKey1=,,,\r\nINIKey2=Settings,Mode,2\r\n", // line 1 commas only
    };
    for (const char* entry : entries) {
        UseEntry(entry);
        const std::string target = Path("faulty.ini");
        WriteTestFile(target, kInitialIni);
        EXPECT_EQ(UpdateIniEntries(target.c_str()), 0) << entry;
        // The good line after the faulty one is still written; nothing else changes.
        EXPECT_EQ(IniValue(target, "Settings", "Mode"), "2") << entry;
        for (const char* section : {"Settings", "Gone", "Other"})
            EXPECT_TRUE(IniHasSection(target, section)) << entry << ": lost [" << section << "]";
        EXPECT_EQ(IniValue(target, "Settings", "Old"), "x") << entry;
        EXPECT_EQ(IniValue(target, "Other", "B"), "2") << entry;
    }
}

TEST_F(FileActionsTest, IniReadsItsLinesFromTheCurrentEntryOnly) {
    const std::string script = Path("Setup.ini");
    WriteTestFile(script,
                  "[Proc1]\r\nAct=5\r\nCount=1\r\nINIKey1=Settings,Mode,one\r\n"
                  "[Proc2]\r\nAct=5\r\nCount=1\r\nINIKey1=Settings,Mode,two\r\n");
    RunState.ScriptReader.SetFile(script.c_str());
    RunState.ScriptReader.SetSection("Proc2");
    const std::string target = Path("entry.ini");
    WriteTestFile(target, kInitialIni);
    EXPECT_EQ(UpdateIniEntries(target.c_str()), 1);
    EXPECT_EQ(IniValue(target, "Settings", "Mode"), "two");
    EXPECT_EQ(IniValue(script, "Proc2", "Count"), "1") << "the script itself was written to";
}

// ---- Act 6: rename ---------------------------------------------------------------

TEST_F(FileActionsTest, RenameWithinTheFolder) {
    UseEntry("Act=6\r\nNewName=renamed.txt\r\n");
    CreateDirectoryA(Path("app").c_str(), nullptr);
    const std::string target = Path("app\\original.txt");
    WriteTestFile(target, "content");
    EXPECT_EQ(RenameEntryFile(target.c_str(), "renamed.txt"), 1);
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(ReadTestFile(Path("app\\renamed.txt")), "content");
}

TEST_F(FileActionsTest, RenameWithoutNewNameFailsAndKeepsTheFile) {
    UseEntry("Act=6\r\n");
    const std::string target = Path("original.txt");
    WriteTestFile(target, "content");
    EXPECT_EQ(RenameEntryFile(target.c_str(), nullptr), 0);
    EXPECT_EQ(ReadTestFile(target), "content");
}

TEST_F(FileActionsTest, RenameOntoAnExistingFileFailsAndKeepsBoth) {
    UseEntry("Act=6\r\nNewName=taken.txt\r\n");
    const std::string target = Path("original.txt");
    WriteTestFile(target, "content");
    WriteTestFile(Path("taken.txt"), "other");
    EXPECT_EQ(RenameEntryFile(target.c_str(), "taken.txt"), 0);
    EXPECT_EQ(ReadTestFile(target), "content");
    EXPECT_EQ(ReadTestFile(Path("taken.txt")), "other");
}

}  // namespace
