// The verification pass against real scripts and files in a working folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/RunState.h"
#include "script/Verification.h"
#include "support/PassSetup.h"
#include "support/TestFiles.h"

namespace {

// The texts of verification_test.rc.
const std::string kRequiredMissing = "Required and missing.";
const std::string kRequiredDiffers = "Required and different.";
const std::string kMissing = "Missing: ";
const std::string kDiffers = "Different: ";
const std::string kResetFolder = "Reset the folder?";

std::string Shown(const char* text) { return text ? "\"" + std::string(text) + "\"" : "none"; }

// A content whose CRC-32 has the top bit set, so that the script writes it as
// a negative number.
std::string ContentWithHighCrc() {
    for (int i = 0;; ++i) {
        std::string content = "installed version " + std::to_string(i);
        if (Crc32Of(content) & 0x80000000ul) return content;
    }
}

std::string SignedDecimal(unsigned long crc) {
    return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(crc)));
}

class VerificationTest : public ::testing::Test {
protected:
    FakeHost host_;  // answers the passes instead of a window
    VerificationTest() : scratch_("verification"), state_(PrepareWork()) {}

    std::string PrepareWork() {
        CreateDirectoryA((scratch_ / "work").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "app").c_str(), nullptr);
        return scratch_ / "work\\";
    }

    void WriteScript(const std::string& text) { WriteTestFile(scratch_ / "work\\Setup.ini", text); }
    std::string App(const std::string& relative = "") const { return scratch_ / ("app\\" + relative); }
    std::string AppFolder() const { return scratch_ / "app"; }

    const char* Slot(uint32_t n) const {
        return RunState.EntryPaths && n <= RunState.EntryCount ? RunState.EntryPaths[n] : nullptr;
    }
    std::string Error() const { return RunState.ErrorText ? RunState.ErrorText.get() : "<none>"; }

    ScratchFolder scratch_;
    PassState state_;
};

TEST_F(VerificationTest, NoEntriesSucceedsAtOnce) {
    const char* scripts[] = {
        "[Setup]\r\nProcCount=0\r\n[Proc1]\r\nAct=2\r\nDir=Reg\r\n",
        "[Setup]\r\nProcCount=-4\r\n[Proc1]\r\nAct=2\r\nDir=Reg\r\n",
        "[Other]\r\nKey=1\r\n",  // no "Setup" section at all
    };
    for (const char* script : scripts) {
        WriteScript(script);
        EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << script;
        EXPECT_EQ(RunState.EntryCount, 0u) << script;
        EXPECT_FALSE(RunState.ErrorText) << script << ": message " << Error();
    }
}

struct EntryCase {
    const char* label;
    std::string entry;   // body of [Proc1]; the test adds Dir and FILE
    bool fileThere;
    bool fileDiffers;
    uint32_t skipMissing;
    uint32_t skipDiffering;
    int expected;
    bool marked;
    std::string firstText;   // ErrorText before the path, when the pass fails
};

TEST_F(VerificationTest, OneEntryCasesOfPresenceCrcAndOptions) {
    const std::string content = ContentWithHighCrc();
    const unsigned long crc = Crc32Of(content);
    const std::string crcSigned = "CRC=" + SignedDecimal(crc) + "\r\n";
    const std::string crcUnsigned = "CRC=" + std::to_string(crc) + "\r\n";
    const std::string missingPlain = kMissing + "\n";
    const std::string missingRequired = kRequiredMissing + "\n" + kMissing;
    const std::string differsPlain = kDiffers + "\n";
    const std::string differsRequired = kRequiredDiffers + "\n" + kDiffers;

    const EntryCase cases[] = {
        {"CRC written as a negative number", "Act=2\r\n" + crcSigned, true, false, 0, 0, 1, false, ""},
        {"CRC written unsigned", "Act=2\r\n" + crcUnsigned, true, false, 0, 0, 1, false, ""},
        {"Act 3 checks the CRC too", "Act=3\r\n" + crcSigned, true, true, 0, 0, 0, false, differsPlain},
        {"Act 3 with DONTChk 1 leaves the CRC out", "Act=3\r\nDONTChk=1\r\nCRC=5\r\n", true, true, 0, 0, 1, false, ""},
        {"DONTChk 0 does not", "Act=3\r\nDONTChk=0\r\nCRC=5\r\n", true, true, 0, 0, 0, false, differsPlain},
        {"DONTChk means nothing for Act 2", "Act=2\r\nDONTChk=1\r\nCRC=5\r\n", true, true, 0, 0, 0, false, differsPlain},
        {"missing, option off, CANTMISS: plain message", "Act=2\r\nCANTMISS=1\r\n" + crcSigned, false, false, 0, 0, 0, false, missingPlain},
        {"missing, option on, CANTMISS", "Act=2\r\nCANTMISS=1\r\n" + crcSigned, false, false, 1, 0, 0, false, missingRequired},
        {"CANTMISS of 0 is set too", "Act=2\r\nCANTMISS=0\r\n" + crcSigned, false, false, 1, 0, 0, false, missingRequired},
        {"missing, option on, no CANTMISS: marked", "Act=2\r\n" + crcSigned, false, false, 1, 0, 1, true, ""},
        {"missing, option 2 is not on", "Act=2\r\n" + crcSigned, false, false, 2, 0, 0, false, missingPlain},
        {"the differing option does not cover missing files", "Act=2\r\n" + crcSigned, false, false, 0, 1, 0, false, missingPlain},
        {"differs, option off", "Act=2\r\n" + crcSigned, true, true, 0, 0, 0, false, differsPlain},
        {"differs, option on, CANTDIFF", "Act=2\r\nCANTDIFF=1\r\n" + crcSigned, true, true, 0, 1, 0, false, differsRequired},
        {"differs, option on, CANTDIFF of 0", "Act=2\r\nCANTDIFF=0\r\n" + crcSigned, true, true, 0, 1, 0, false, differsRequired},
        {"differs, option on, no CANTDIFF: marked", "Act=2\r\n" + crcSigned, true, true, 0, 1, 1, true, ""},
        {"differs, CANTDIFF empty is not set", "Act=2\r\nCANTDIFF=\r\n" + crcSigned, true, true, 0, 1, 1, true, ""},
        {"Act 5 missing", "Act=5\r\n", false, false, 0, 0, 0, false, missingPlain},
        {"Act 6 missing, option on", "Act=6\r\n", false, false, 1, 0, 1, true, ""},
        {"Act 7 missing", "Act=7\r\n", false, false, 0, 0, 0, false, missingPlain},
        {"Act 7 present", "Act=7\r\nCRC=5\r\n", true, true, 0, 0, 1, false, ""},
        {"Act 5 present, no CRC check", "Act=5\r\nCRC=5\r\n", true, true, 0, 0, 1, false, ""},
        {"Act 4 missing", "Act=4\r\n", false, false, 0, 0, 1, false, ""},
        {"Act 1 missing", "Act=1\r\n", false, false, 0, 0, 1, false, ""},
        {"no Act: a run entry", "", false, false, 0, 0, 1, false, ""},
        {"Act 9 missing", "Act=9\r\n", false, false, 0, 0, 1, false, ""},
        {"Act -1 missing", "Act=-1\r\n", false, false, 0, 0, 1, false, ""},
    };
    for (const EntryCase& c : cases) {
        const std::string target = App("target.dll");
        DeleteFileA(target.c_str());
        if (c.fileThere) WriteTestFile(target, c.fileDiffers ? content + " changed" : content);
        WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=target.dll\r\nDir=" + AppFolder() + "\r\n" + c.entry);
        RunState.SkipMissingOption = c.skipMissing;
        RunState.SkipDifferingOption = c.skipDiffering;
        RunState.ErrorText.reset();

        EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), c.expected) << c.label << ": message " << Error();
        if (c.expected == 1) {
            ASSERT_EQ(RunState.EntryCount, 1u) << c.label;
            EXPECT_EQ(Shown(Slot(1)), Shown((target + (c.marked ? "**" : "")).c_str())) << c.label;
            EXPECT_FALSE(RunState.ErrorText) << c.label << ": message " << Error();
        } else {
            EXPECT_EQ(RunState.EntryCount, 0u) << c.label;
            EXPECT_EQ(RunState.EntryPaths, nullptr) << c.label;
            EXPECT_EQ(Error(), c.firstText + target + "\n" + kResetFolder) << c.label;
        }
    }
}

TEST_F(VerificationTest, AFileThatCannotBeReadCountsAsDiffering) {
    const std::string content = ContentWithHighCrc();
    const std::string target = App("locked.dll");
    WriteTestFile(target, content);
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=locked.dll\r\nAct=2\r\nCRC=" +
                SignedDecimal(Crc32Of(content)) + "\r\nDir=" + AppFolder() + "\r\n");
    HANDLE locked = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), 0);
    CloseHandle(locked);
    EXPECT_EQ(Error(), kDiffers + "\n" + target + "\n" + kResetFolder);
}

TEST_F(VerificationTest, FailureAtEntryThreeOfFiveStopsThere) {
    WriteTestFile(App("one.txt"), "1");
    WriteTestFile(App("two.txt"), "2");
    CreateDirectoryA(App("later").c_str(), nullptr);
    WriteScript("[Setup]\r\nProcCount=5\r\n"
                "[Proc1]\r\nFile=one.txt\r\nAct=7\r\nDir=" + AppFolder() + "\r\n"
                "[Proc2]\r\nFile=two.txt\r\nAct=7\r\nDir=Pre\r\n"
                "[Proc3]\r\nFile=three.txt\r\nAct=6\r\nDir=Pre\r\nSub=sub\r\n"
                // If these were resolved, entry 4 would become the previous
                // folder and entry 5 would compose the registry message.
                "[Proc4]\r\nFile=four.txt\r\nAct=7\r\nDir=" + App("later") + "\r\n"
                "[Proc5]\r\nFile=five.txt\r\nAct=7\r\nDir=Reg\r\n");
    EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), 0);
    EXPECT_EQ(RunState.EntryCount, 0u);
    EXPECT_EQ(RunState.EntryPaths, nullptr);
    EXPECT_EQ(Error(), kMissing + "\n" + App("sub\\three.txt") + "\n" + kResetFolder);
    EXPECT_STREQ(RunState.PreviousFolder, AppFolder().c_str()) << "a later entry was resolved";
    EXPECT_EQ(host_.range, 5);
    EXPECT_EQ(host_.shown, 3) << "the bar went past the failing entry";
}

TEST_F(VerificationTest, EveryEntryPassingLeavesTheTableAndTheBarAtTheEnd) {
    WriteTestFile(App("one.txt"), "1");
    CreateDirectoryA(App("sub").c_str(), nullptr);
    WriteTestFile(App("sub\\two.txt"), "2");
    const std::string fixed = scratch_ / "fixed";
    WriteScript("[Setup]\r\nProcCount=4\r\n"
                "[Proc1]\r\nFILE=one.txt\r\nAct=7\r\nDir=" + AppFolder() + "\\\r\n"
                "[Proc2]\r\nfile=two.txt\r\nAct=5\r\nDir=Pre\r\nSub=sub\r\n"
                // "Pre" is entry 2's folder, not its sub-folder.
                "[Proc3]\r\nAct=4\r\nDir=Pre\r\nFile=gone.txt\r\n"
                // A Sub with a drive letter replaces the folder; no FILE: the folder itself.
                "[Proc4]\r\nAct=0\r\nDir=Pre\r\nSub=" + fixed + "\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    ASSERT_EQ(RunState.EntryCount, 4u);
    const std::string expected[] = {App("one.txt"), App("sub\\two.txt"), App("gone.txt"), fixed};
    for (uint32_t n = 1; n <= 4; ++n)
        EXPECT_EQ(Shown(Slot(n)), Shown(expected[n - 1].c_str())) << "entry " << n;
    EXPECT_EQ(Slot(0), nullptr);
    EXPECT_EQ(host_.range, 4);
    EXPECT_EQ(host_.shown, 4);
}

TEST_F(VerificationTest, EachPassRebuildsTheTable) {
    WriteTestFile(App("one.txt"), "1");
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=one.txt\r\nAct=7\r\nDir=" + AppFolder() + "\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1);
    RunState.SkipMissingOption = 1;
    WriteScript("[Setup]\r\nProcCount=2\r\n"
                "[Proc1]\r\nFile=one.txt\r\nAct=7\r\nDir=" + AppFolder() + "\r\n"
                "[Proc2]\r\nFile=none.txt\r\nAct=7\r\nDir=Pre\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    ASSERT_EQ(RunState.EntryCount, 2u);
    EXPECT_EQ(Shown(Slot(2)), Shown((App("none.txt") + "**").c_str()));
    // The file appears: the next pass no longer marks it.
    WriteTestFile(App("none.txt"), "now here");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(2)), Shown(App("none.txt").c_str()));
}

TEST_F(VerificationTest, UnresolvableFolderFailsWithTheFolderMessage) {
    WriteScript("[Setup]\r\nProcCount=2\r\n"
                "[Proc1]\r\nFile=a.txt\r\nAct=4\r\nDir=" + AppFolder() + "\r\n"
                "[Proc2]\r\nFile=b.txt\r\nAct=4\r\n");  // no Dir
    EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), 0);
    EXPECT_EQ(Error(), "Registry folder not found\n\n" + kResetFolder);
    EXPECT_EQ(RunState.EntryCount, 0u);
}

TEST_F(VerificationTest, FillFolderModeShowsWindowsFolderWithSub) {
    host_.confirmed = "typed by the user";
    WriteScript("[Setup]\r\nProcCount=3\r\n"
                "[Proc1]\r\nFile=viewer.dll\r\nAct=2\r\nDir=Win\r\nSub=ZuliApp\\bin\r\n"
                "[Proc2]\r\nFile=x\r\nDir=Reg\r\n"
                "[Proc3]\r\nFile=x\r\nDir=Reg\r\n");
    EXPECT_EQ(VerifyEntries(VerifyMode::FillFolder, host_), 1);
    std::string windows = RunState.WindowsFolder;  // ends with a backslash
    EXPECT_EQ(host_.offers, std::vector<std::string>{windows + "ZuliApp\\bin"})
        << "the folder page offers the folder and Sub, no FILE";
    EXPECT_EQ(RunState.EntryCount, 0u);
    EXPECT_EQ(RunState.EntryPaths, nullptr);
    EXPECT_FALSE(RunState.ErrorText) << "entries after the first were looked at: " << Error();
}

TEST_F(VerificationTest, FillFolderModeLeavesTheBoxAloneForAsk) {
    host_.confirmed = "C:\\Chosen\\Before";
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.dll\r\nDir=Ask\r\n");
    EXPECT_EQ(VerifyEntries(VerifyMode::FillFolder, host_), 1);
    EXPECT_TRUE(host_.offers.empty()) << "a folder was offered for an entry that asks for it";
    EXPECT_EQ(RunState.EntryCount, 0u);
}

TEST_F(VerificationTest, FirstEntryTakesTheConfirmedFolderWhenTheFolderPageIsShown) {
    CreateDirectoryA(App("chosen").c_str(), nullptr);
    WriteTestFile(App("chosen\\main.exe"), "m");
    WriteTestFile(App("chosen\\second.dll"), "s");
    WriteTestFile(App("chosen\\third.dll"), "t");
    host_.confirmed = App("chosen");
    RunState.PageTable[5] = 1;
    // Entry 1's own token is ignored, even "Reg" without a RegKey.
    WriteScript("[Setup]\r\nProcCount=3\r\n"
                "[Proc1]\r\nFile=main.exe\r\nAct=7\r\nDir=Reg\r\n"
                "[Proc2]\r\nFile=second.dll\r\nAct=7\r\nDir=Pre\r\n"
                "[Proc3]\r\nFile=third.dll\r\nAct=7\r\nDir=Me\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(1)), Shown(App("chosen\\main.exe").c_str()));
    EXPECT_EQ(Shown(Slot(2)), Shown(App("chosen\\second.dll").c_str()));
    EXPECT_EQ(Shown(Slot(3)), Shown(App("chosen\\third.dll").c_str()));
    EXPECT_STREQ(RunState.CurrentFolder, App("chosen").c_str());
    EXPECT_STREQ(RunState.PreviousFolder, App("chosen").c_str());
}

TEST_F(VerificationTest, EntryOnesSubIsJoinedOnceWhenTheFolderPageIsShown) {
    CreateDirectoryA(App("plugins").c_str(), nullptr);
    WriteTestFile(App("plugins\\x.txt"), "x");
    WriteTestFile(App("readme.txt"), "r");
    RunState.PageTable[5] = 1;
    WriteScript("[Setup]\r\nProcCount=2\r\n"
                "[Proc1]\r\nFile=x.txt\r\nAct=7\r\nDir=" + AppFolder() + "\r\nSub=plugins\r\n"
                "[Proc2]\r\nFile=readme.txt\r\nAct=7\r\nDir=" + AppFolder() + "\r\n");
    // The folder page shows entry 1's folder with Sub; the user confirms it.
    ASSERT_EQ(VerifyEntries(VerifyMode::FillFolder, host_), 1);
    ASSERT_EQ(host_.offers, std::vector<std::string>{App("plugins")});
    host_.confirmed = host_.offers.back();
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(1)), Shown(App("plugins\\x.txt").c_str())) << "the folder shown is the folder checked";
    EXPECT_STREQ(RunState.CurrentFolder, App("plugins").c_str()) << "\"Me\" means what the user confirmed";
    // Without the folder page entry 1 joins its Sub as every other entry does.
    RunState.PageTable[5] = 0;
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(1)), Shown(App("plugins\\x.txt").c_str()));
}

TEST_F(VerificationTest, FolderBoxTooLongForAnyPathFailsNamingItWhole) {
    const std::string typed = "C:\\" + std::string(300, 'f');
    host_.confirmed = typed;
    RunState.PageTable[5] = 1;
    std::strcpy(RunState.CurrentFolder, "C:\\Before\\");
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=main.exe\r\nAct=4\r\nDir=Win\r\n");
    EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), 0);
    EXPECT_EQ(Error(), kMissing + "\n" + typed + "\n" + kResetFolder);
    EXPECT_STREQ(RunState.CurrentFolder, "C:\\Before\\") << "a cut-down folder was taken";
}

// A path beyond the ANSI limit is a missing file, named in full, never cut.
TEST_F(VerificationTest, OverlongTargetPathIsAMissingFileNamedWhole) {
    const std::string longName = std::string(240, 'n') + ".dll";
    const std::string whole = App(longName);
    ASSERT_GT(whole.size(), 260u);

    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=" + longName + "\r\nAct=2\r\nDir=" + AppFolder() + "\r\n");
    EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host_), 0);
    EXPECT_EQ(Error(), kMissing + "\n" + whole + "\n" + kResetFolder);

    RunState.SkipMissingOption = 1;
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(1)), Shown((whole + "**").c_str())) << "marked, with the whole path";

    // Entries that need no file keep the whole path unmarked.
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=" + longName + "\r\nAct=4\r\nDir=" + AppFolder() +
                "\r\nSub=deeper\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(1)), Shown(App("deeper\\" + longName).c_str()));
}

TEST_F(VerificationTest, LongestReachablePathTakesTheMark) {
    // Folder and name that join to exactly 259 characters, the most the
    // platform's join produces.
    std::string folder = AppFolder();
    const std::size_t nameLength = 259 - folder.size() - 1;
    const std::string name = std::string(nameLength - 4, 'm') + ".txt";
    const std::string whole = folder + "\\" + name;
    ASSERT_EQ(whole.size(), 259u);
    RunState.SkipMissingOption = 1;
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=" + name + "\r\nAct=6\r\nDir=" + folder + "\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    EXPECT_EQ(Shown(Slot(1)), Shown((whole + "**").c_str()));
}

}  // namespace

TEST_F(VerificationTest, AFolderAskedForIsTheHostsAnswer) {
    WriteTestFile(App("asked.txt"), "a");
    WriteTestFile(App("after.txt"), "b");
    WriteScript("[Setup]\r\nProcCount=2\r\n"
                "[Proc1]\r\nFile=asked.txt\r\nAct=7\r\nDir=Ask\r\n"
                "[Proc2]\r\nFile=after.txt\r\nAct=7\r\nDir=Pre\r\n");
    const std::string tooLong = "C:\\" + std::string(300, 'f');
    struct Case {
        const char* what;
        std::vector<std::string> answers;
        int expected;
        std::string error;
    } cases[] = {
        {"answered", {AppFolder()}, 1, "<none>"},
        {"nobody answers", {}, 0, kResetFolder + "\n\n"},
        {"an answer no folder can be", {tooLong}, 0, "Registry folder not found\n\n" + kResetFolder},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.answers = c.answers;
        RunState.ErrorText.reset();
        EXPECT_EQ(VerifyEntries(VerifyMode::Checking, host), c.expected) << c.what << ": " << Error();
        EXPECT_EQ(Error(), c.error) << c.what;
        EXPECT_EQ(host.questions, 1) << c.what << ": the question is asked once, by entry 1";
        if (c.expected == 1) {
            EXPECT_EQ(Shown(Slot(1)), Shown(App("asked.txt").c_str())) << c.what;
            EXPECT_EQ(Shown(Slot(2)), Shown(App("after.txt").c_str())) << c.what << ": \"Pre\" is the answer";
        }
    }
}
