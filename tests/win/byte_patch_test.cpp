#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "../native/PatchReference.h"
#include "PatchTestSupport.h"
#include "actions/BytePatch.h"

using reference::BuildPayload;
using reference::Offset;
using reference::Record;

namespace {

std::string Text(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BytePatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.IsNT = 1;
        RunState.RebootPending = 0;
    }
    void TearDown() override { ForgetPendingRenamesFrom(folder_); }

    std::string Target() const { return folder_ / "target.exe"; }
    std::string Payload() const { return folder_ / "Proc1"; }

    ScratchFolder folder_{"bytepatch"};
};

}  // namespace

TEST_F(BytePatchTest, TableOfPatchesOnFiles) {
    struct Case {
        const char* what;
        std::string content;
        std::vector<Record> records;
        int expectedResult;
        std::string expected;  // the file afterwards: patched, or untouched on failure
    } cases[] = {
        {"41 41 41 41, type 2 41 41 -> 42 42", "AAAA", {{2, {0x41, 0x41}, {0x42, 0x42}}}, 1, "BBBB"},
        {"41 42 41 42, type 2 41 42 -> 58", "ABAB", {{2, {0x41, 0x42}, {0x58}}}, 1, "XBXB"},
        {"second record finds the first's bytes", "hello world", {{1, {'w', 'o'}, {'W', 'O'}}, {1, {'W', 'O', 'r'}, {'#'}}},
         1, "hello #Orld"},
        {"type 1 only the first, type 2 both", "ab-ab", {{1, {'a'}, {'x'}}, {2, {'b'}, {'y'}}}, 1, "xy-ay"},
        {"type 3 at O = L with RL 0", "abc", {{3, Offset(3), {}}}, 1, "abc"},
        {"type 3 at O = L - 1 with RL 2 fails", "abc", {{3, Offset(2), {'x', 'y'}}}, 0, "abc"},
        {"failing record first leaves the file untouched", "abcdef", {{1, {'z'}, {'q'}}, {1, {'a'}, {'A'}}}, 0,
         "abcdef"},
        {"failing record last leaves the file untouched", "abcdef", {{1, {'a'}, {'A'}}, {2, {'z'}, {'q'}}}, 0,
         "abcdef"},
        {"no records: written back as it is", "same", {}, 1, "same"},
        {"empty target, type 1 fails", "", {{1, {'a'}, {'b'}}}, 0, ""},
        {"empty target, type 2 fails", "", {{2, {'a'}, {'b'}}}, 0, ""},
        {"empty target, type 3 at 0 with RL 0", "", {{3, Offset(0), {}}}, 1, ""},
        {"empty target, type 3 at 0 with RL 1 fails", "", {{3, Offset(0), {'b'}}}, 0, ""},
        {"empty pattern fails its record", "abc", {{2, {}, {'b'}}}, 0, "abc"},
        {"type 3 with a short pattern fails", "abc", {{3, {0, 0}, {'b'}}}, 0, "abc"},
        {"type 2 with an empty replacement ends", "aaaa", {{2, {'a'}, {}}}, 1, "aaaa"},
        {"replacement stops at the content's end", "xxab", {{1, {'b'}, {'1', '2', '3'}}}, 1, "xxa1"},
    };
    for (const Case& c : cases) {
        UseEntryScript(folder_, "", c.content);
        WriteTestFile(Target(), c.content);
        WriteTestFile(Payload(), Text(BuildPayload(c.records)));
        EXPECT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), c.expectedResult) << c.what;
        EXPECT_EQ(ReadTestFile(Target()), c.expected) << c.what;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": scratch file left behind";
    }
    EXPECT_EQ(RunState.RebootPending, 0u);
}

TEST_F(BytePatchTest, MissingOrShortPayloadFailsTheEntry) {
    const std::string content = "content to keep";
    UseEntryScript(folder_, "", content);
    std::string whole = Text(BuildPayload({{1, {'k'}, {'K'}}}));
    struct Case {
        const char* what;
        std::string payload;
        bool present;
    } cases[] = {
        {"missing payload", "", false},
        {"empty payload", "", true},
        {"shorter than its header", whole.substr(0, 7), true},
        {"record cut in its pattern", whole.substr(0, 16), true},
        {"record cut in its replacement", whole.substr(0, whole.size() - 1), true},
    };
    for (const Case& c : cases) {
        WriteTestFile(Target(), content);
        DeleteFileA(Payload().c_str());
        if (c.present) WriteTestFile(Payload(), c.payload);
        EXPECT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), 0) << c.what;
        EXPECT_EQ(ReadTestFile(Target()), content) << c.what;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what;
    }
}

TEST_F(BytePatchTest, TargetHeldOpenKeepsItsContent) {
    UseEntryScript(folder_, "", "AAAA");
    WriteTestFile(Target(), "AAAA");
    WriteTestFile(Payload(), Text(BuildPayload({{2, {'A'}, {'B'}}})));
    for (DWORD share : {DWORD(0), DWORD(FILE_SHARE_READ), DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE)}) {
        HANDLE holder = CreateFileA(Target().c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), 0) << "share mode " << share;
        CloseHandle(holder);
        EXPECT_EQ(ReadTestFile(Target()), "AAAA") << "share mode " << share;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << "share mode " << share;
    }
    EXPECT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), 1);
    EXPECT_EQ(ReadTestFile(Target()), "BBBB");
}

TEST_F(BytePatchTest, DeferredPatchOfAReadOnlyTarget) {
    UseEntryScript(folder_, "1", "old bytes here");
    WriteTestFile(Target(), "old bytes here");
    SetFileAttributesA(Target().c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTestFile(Payload(), Text(BuildPayload({{1, {'o', 'l', 'd'}, {'n', 'e', 'w'}}})));
    ASSERT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), 1);
    EXPECT_EQ(RunState.RebootPending, 1u);
    EXPECT_EQ(ReadTestFile(Target()), "old bytes here");
    std::vector<std::string> scratch = ScratchFilesIn(folder_);
    ASSERT_EQ(scratch.size(), 1u);
    EXPECT_EQ(ReadTestFile(folder_ / scratch[0]), "new bytes here");
    EXPECT_EQ(GetFileAttributesA((folder_ / scratch[0]).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(BytePatchTest, FailingRecordWithDelaySchedulesNothing) {
    UseEntryScript(folder_, "1", "abc");
    WriteTestFile(Target(), "abc");
    WriteTestFile(Payload(), Text(BuildPayload({{1, {'z'}, {'y'}}})));
    EXPECT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), 0);
    EXPECT_EQ(RunState.RebootPending, 0u);
    EXPECT_TRUE(ScratchFilesIn(folder_).empty());
}

// Larger than what is mapped whole: the records run through views, with a
// match placed across the edge of the first view.
TEST_F(BytePatchTest, LargeFileThroughViews) {
    std::string content(80u << 20, 'x');
    const std::size_t edge = 16u << 20;
    content.replace(edge - 3, 6, "needle");
    content.replace(content.size() - 6, 6, "needle");
    UseEntryScript(folder_, "", content);
    WriteTestFile(Target(), content);
    WriteTestFile(Payload(), Text(BuildPayload({{2, {'n', 'e', 'e', 'd', 'l', 'e'}, {'N', 'E', 'E', 'D', 'L', 'E'}},
                                               {3, Offset(static_cast<uint32_t>(content.size() - 1)), {'!'}}})));
    ASSERT_EQ(ApplyBytePatch(Target().c_str(), Payload().c_str()), 1);
    std::string after = ReadTestFile(Target());
    ASSERT_EQ(after.size(), content.size());
    EXPECT_EQ(after.substr(edge - 3, 6), "NEEDLE");
    EXPECT_EQ(after.substr(after.size() - 6), "NEEDL!");
    EXPECT_EQ(after.find("needle"), std::string::npos);
}
