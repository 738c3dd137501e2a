#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "PatchTestSupport.h"
#include "actions/XorDelta.h"

namespace {

std::string Varied(std::size_t size, uint32_t seed) {
    std::string s(size, '\0');
    for (char& c : s) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 23);
    }
    return s;
}

class XorDeltaTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.IsNT = 1;
        RunState.RebootPending = 0;
    }
    void TearDown() override { ForgetPendingRenamesFrom(folder_); }

    std::string Target() const { return folder_ / "target.dll"; }
    std::string Payload() const { return folder_ / "Proc1"; }

    ScratchFolder folder_{"xordelta"};
};

}  // namespace

TEST_F(XorDeltaTest, ImmediateUpdateRebuildsTheNewVersion) {
    struct Case {
        const char* what;
        std::string oldContent, newContent;
        std::string delay;
    } cases[] = {
        {"delta longer than the old file", "short old", "a considerably longer new version", ""},
        {"delta shorter than the old file", "a long old version of the file", "new", ""},
        {"empty delta", "old content", "", ""},
        {"empty old file", "", "brand new", ""},
        {"Delay 2 acts at once", "version one", "version two!", "2"},
        {"Delay 0 acts at once", "version one", "VERSION 1", "0"},
        {"binary with zeros", std::string("\0\1\2\0", 4), std::string("\0\0\2\0\7", 5), ""},
        // Files beyond one chunk: the shorter one ends inside the first.
        {"old file beyond a chunk, short delta", Varied((1u << 20) + 5, 1), "new", ""},
        {"delta beyond a chunk, short old file", "old", Varied((1u << 20) + 9, 2), ""},
        {"both beyond a chunk", Varied((2u << 20) + 3, 3), Varied((1u << 20) + 1, 4), ""},
        // Large enough to be flushed while still being written.
        {"flushed while written", Varied(70u << 20, 5), Varied((70u << 20) + 7, 6), ""},
    };
    for (const Case& c : cases) {
        UseEntryScript(folder_, c.delay, c.oldContent);
        WriteTestFile(Target(), c.oldContent);
        WriteTestFile(Payload(), XorDeltaOf(c.oldContent, c.newContent));
        EXPECT_EQ(ApplyXorDelta(Target().c_str(), Payload().c_str()), 1) << c.what;
        EXPECT_EQ(ReadTestFile(Target()), c.newContent) << c.what;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": scratch file left behind";
        EXPECT_EQ(RunState.RebootPending, 0u) << c.what;
    }
}

TEST_F(XorDeltaTest, ReadOnlyTargetBecomesAnOrdinaryFile) {
    UseEntryScript(folder_, "", "old");
    WriteTestFile(Target(), "old");
    SetFileAttributesA(Target().c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTestFile(Payload(), XorDeltaOf("old", "new!"));
    EXPECT_EQ(ApplyXorDelta(Target().c_str(), Payload().c_str()), 1);
    EXPECT_EQ(ReadTestFile(Target()), "new!");
    EXPECT_EQ(GetFileAttributesA(Target().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(XorDeltaTest, VanishedTargetIsTakenAsEmpty) {
    UseEntryScript(folder_, "");
    WriteTestFile(Payload(), "whole new file");
    EXPECT_EQ(ApplyXorDelta(Target().c_str(), Payload().c_str()), 1);
    EXPECT_EQ(ReadTestFile(Target()), "whole new file");
}

TEST_F(XorDeltaTest, FailuresKeepTheTargetAndLeaveNoScratchFile) {
    const std::string old = "the installed version";
    UseEntryScript(folder_, "", old);
    WriteTestFile(Target(), old);

    // Missing payload.
    EXPECT_EQ(ApplyXorDelta(Target().c_str(), (folder_ / "Proc9").c_str()), 0) << "missing payload";
    EXPECT_EQ(ReadTestFile(Target()), old);
    EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << "missing payload";

    WriteTestFile(Payload(), XorDeltaOf(old, "the patched version"));
    struct Case {
        const char* what;
        DWORD share;
    } holders[] = {
        // Held open by another program: either it cannot be read (taken as
        // anything but empty would be wrong) or it cannot be replaced.
        {"held without any sharing", 0},
        {"held for reading and writing, shared for reading", FILE_SHARE_READ},
        {"held, shared for reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE},
    };
    for (const Case& c : holders) {
        HANDLE holder = CreateFileA(Target().c_str(), GENERIC_READ | GENERIC_WRITE, c.share, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE) << c.what;
        EXPECT_EQ(ApplyXorDelta(Target().c_str(), Payload().c_str()), 0) << c.what;
        CloseHandle(holder);
        EXPECT_EQ(ReadTestFile(Target()), old) << c.what;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": scratch file left behind";
    }
    EXPECT_EQ(RunState.RebootPending, 0u);

    // Released again, the same update goes through.
    EXPECT_EQ(ApplyXorDelta(Target().c_str(), Payload().c_str()), 1);
    EXPECT_EQ(ReadTestFile(Target()), "the patched version");
}

TEST_F(XorDeltaTest, TargetFolderThatTakesNoNewFileFails) {
    UseEntryScript(folder_, "");
    WriteTestFile(Payload(), "x");
    std::string target = folder_ / "no such folder\\target.dll";
    EXPECT_EQ(ApplyXorDelta(target.c_str(), Payload().c_str()), 0);
    EXPECT_FALSE(FileExists(target));
}

TEST_F(XorDeltaTest, DeferredUpdateIsScheduledAndLeavesTheTargetAlone) {
    struct Case {
        const char* what;
        std::string oldContent, newContent;
        DWORD attributes;
    } cases[] = {
        {"delta shorter than the old file", "a long old version of the file", "new", FILE_ATTRIBUTE_NORMAL},
        {"delta longer", "old", "the new and longer one", FILE_ATTRIBUTE_NORMAL},
        {"read-only target", "old bytes", "new bytes", FILE_ATTRIBUTE_READONLY},
    };
    for (const Case& c : cases) {
        RunState.RebootPending = 0;
        UseEntryScript(folder_, "1", c.oldContent);
        WriteTestFile(Target(), c.oldContent);
        SetFileAttributesA(Target().c_str(), c.attributes);
        WriteTestFile(Payload(), XorDeltaOf(c.oldContent, c.newContent));
        ASSERT_EQ(ApplyXorDelta(Target().c_str(), Payload().c_str()), 1) << c.what;
        EXPECT_EQ(RunState.RebootPending, 1u) << c.what;
        EXPECT_EQ(ReadTestFile(Target()), c.oldContent) << c.what << ": target changed before the restart";

        std::vector<std::string> scratch = ScratchFilesIn(folder_);
        ASSERT_EQ(scratch.size(), 1u) << c.what;
        std::string scratchPath = folder_ / scratch[0];
        EXPECT_EQ(ReadTestFile(scratchPath), c.newContent) << c.what << ": scratch file holds exactly the new content";

        // The system keeps the rename as a pair: source, then "!" and the
        // destination for a replacing move.
        std::vector<std::string> pending = PendingRenames();
        bool registered = false;
        for (std::size_t i = 0; i + 1 < pending.size(); i += 2)
            if (StrStrIA(pending[i].c_str(), scratch[0].c_str()) && StrStrIA(pending[i + 1].c_str(), "target.dll"))
                registered = pending[i + 1][0] == '!';
        EXPECT_TRUE(registered) << c.what << ": no replacing rename pending for " << scratchPath;

        ForgetPendingRenamesFrom(folder_);
        SetFileAttributesA(scratchPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(scratchPath.c_str());
    }
}
