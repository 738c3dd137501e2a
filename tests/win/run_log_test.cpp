// The administrator's log as the runtime writes it: every line whole,
// however long, read back from the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/RunLog.h"
#include "support/TestFiles.h"

TEST(RunLog, LinesOfAnyLengthAreWrittenWhole) {
    ScratchFolder logs("run log lines");
    const std::string log = logs / "run.log";
    ASSERT_TRUE(OpenRunLog(log.c_str()));
    // The registry line of a long binary value, and texts around the size
    // the lines were once cut at.
    const std::string binary = "HKCU,Software\\ZuliTest,Blob,1," + std::string(5000, 'a');
    const std::string belowOldCut = std::string(1021, 'n');
    const std::string exact = std::string(1024, 'x');
    LogRegistryLine("AddReg", 12, binary.c_str(), 1);
    LogLine("%s", belowOldCut.c_str());
    LogLine("%s", exact.c_str());
    NoteActionOutcome("Action 2 (XOR-delta update)", binary.c_str(), "done");
    LogLine("Check %u: CRC found %08X, expected %08X; %d lines; 0x%x", 7u, 0xBEEFu, 0x1234ABCDu, -3, 0xABu);
    CloseRunLog(3010);

    const std::string logged = ReadTestFile(log);
    EXPECT_NE(logged.find("\r\nRegistry AddReg 12: " + binary + ": done\r\n"), std::string::npos);
    EXPECT_NE(logged.find("\r\n" + belowOldCut + "\r\n"), std::string::npos);
    EXPECT_NE(logged.find("\r\n" + exact + "\r\n"), std::string::npos);
    EXPECT_NE(logged.find("\r\nAction 2 (XOR-delta update): " + binary + ": done\r\n"), std::string::npos);
    EXPECT_NE(logged.find("\r\nCheck 7: CRC found 0000BEEF, expected 1234ABCD; -3 lines; 0xab\r\n"), std::string::npos)
        << logged.substr(logged.size() > 400 ? logged.size() - 400 : 0);
    EXPECT_NE(logged.find("\r\nExit code: 3010\r\n\r\n"), std::string::npos);
    EXPECT_EQ(logged.compare(0, 8, "Started "), 0);
}

// Writes one line to the log and what wsprintfA makes of it to `expected`.
template <typename... Arguments>
void LogAndExpect(std::string& expected, const char* format, Arguments... arguments) {
    char line[1100];
    wsprintfA(line, format, arguments...);
    expected += line;
    expected += "\r\n";
    LogLine(format, arguments...);
}

// Short lines read as wsprintf writes them: every conversion the runtime's
// lines use, and a width of nearly the whole line.
TEST(RunLog, ConversionsReadAsWsprintfWritesThem) {
    ScratchFolder logs("run log conversions");
    const std::string log = logs / "run.log";
    ASSERT_TRUE(OpenRunLog(log.c_str()));
    const std::string before = ReadTestFile(log);
    std::string expected;
    LogAndExpect(expected, "Check %u: %s: CRC found %08X, expected %08X: %s", 3u, "C:\\App\\a.dll", 0xBEEFu,
                 0xFFFFFFFFu, "passed");
    LogAndExpect(expected, "%s %04u-%02u-%02u %02u:%02u:%02u", "Ended", 2026u, 1u, 9u, 0u, 5u, 59u);
    LogAndExpect(expected, "%d|%d|%05d|%5d|%ld|%lu", -87, 0, -42, -42, -2147483647L - 1, 4294967295UL);
    LogAndExpect(expected, "exit code %u (0x%X), 0x%x, 100%% done", 3010u, 3010u, 0xABCDu);
    LogAndExpect(expected, "%s|%s|", "", static_cast<const char*>(nullptr));
    LogAndExpect(expected, "wide %0999u.", 7u);
    CloseRunLog(0);
    const std::string logged = ReadTestFile(log);
    EXPECT_EQ(logged.substr(before.size(), expected.size()), expected);
}

// The log is the file named, never one a link leads to: a link, or a second
// name of a file, could have the run append to a file of somebody else's
// choosing. Both are refused, and the file they lead to stays as it was.
// Only the second name is made here: Wine 8 reports CreateSymbolicLinkA done
// without making a link, and shows the host's symbolic link to a file as the
// file itself, not as a reparse point.
TEST(RunLog, ASecondNameOfAFileIsRefused) {
    ScratchFolder logs("run log links");
    const std::string precious = logs / "precious.txt";
    WriteTestFile(precious, "not a log");

    const std::string hardLink = logs / "hard.log";
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), precious.c_str(), nullptr)) << GetLastError();
    EXPECT_FALSE(OpenRunLog(hardLink.c_str())) << "a second name of a file";
    CloseRunLog(0);
    EXPECT_EQ(ReadTestFile(precious), "not a log");

    // The file itself, with its one name, is a log as any other.
    DeleteFileA(hardLink.c_str());
    ASSERT_TRUE(OpenRunLog(precious.c_str()));
    CloseRunLog(0);
    EXPECT_EQ(ReadTestFile(precious).compare(0, 17, "not a logStarted "), 0) << ReadTestFile(precious);
}

TEST(RunLog, AMissingFolderIsMadeAndAFolderIsNoLog) {
    ScratchFolder logs("run log folders");
    const std::string log = logs / "deploy\\2026\\patch.log";
    ASSERT_TRUE(OpenRunLog(log.c_str()));
    LogLine("in a new folder");
    CloseRunLog(0);
    EXPECT_NE(ReadTestFile(log).find("\r\nin a new folder\r\n"), std::string::npos);

    EXPECT_FALSE(OpenRunLog(logs.Path().c_str())) << "a folder";
    CloseRunLog(0);
}
