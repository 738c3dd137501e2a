#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PatchTestSupport.h"
#include "actions/ScratchCopy.h"
#include "actions/XorDelta.h"
#include "core/neutral/HeapText.h"

namespace {

std::string ShortName(const std::string& path) {
    char buffer[MAX_PATH + 1] = {};
    GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return buffer;
}

// The keys of one section of a profile file, in order.
std::vector<std::string> SectionLines(const std::string& file, const char* section) {
    std::vector<char> buffer(32768, '\0');
    DWORD n = GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> lines;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += strlen(p) + 1) lines.push_back(p);
    return lines;
}

class RenameFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.IsNT = 0;
        windowsFolder_ = folder_.Path();
        RunState.WindowsFolder = &windowsFolder_[0];
    }
    void TearDown() override {
        RunState.IsNT = 1;
        RunState.WindowsFolder = nullptr;
    }

    ScratchFolder folder_{"wininit"};
    std::string windowsFolder_;
};

}  // namespace

TEST_F(RenameFileTest, OneLinePerDestinationTheLaterSourceWinning) {
    UseEntryScript(folder_, "1");
    RunState.ScriptReader.SetSection("Proc1");
    std::string destination = folder_ / "A long target name.dll";
    std::string other = folder_ / "other.dll";
    std::string first = folder_ / "QVR1.TMP";
    std::string second = folder_ / "QVR2.TMP";
    for (const std::string& p : {destination, other, first, second}) WriteTestFile(p, "x");

    EXPECT_NE(ScheduleReplaceAtRestart(first.c_str(), destination.c_str()), 0);
    EXPECT_NE(ScheduleReplaceAtRestart(other.c_str(), other.c_str()), 0);
    EXPECT_NE(ScheduleReplaceAtRestart(second.c_str(), destination.c_str()), 0);

    std::vector<std::string> lines = SectionLines(folder_ / "WININIT.INI", "rename");
    ASSERT_EQ(lines.size(), 2u) << "one line per destination";
    EXPECT_EQ(lines[0], ShortName(destination) + "=" + ShortName(second)) << "the later scratch file wins";
    EXPECT_EQ(lines[1], ShortName(other) + "=" + ShortName(other));
    EXPECT_EQ(ShortName(destination).find(' '), std::string::npos) << "short forms are written";

    // The script reader is back where it was: same file, same section.
    HeapText file = RunState.ScriptReader.CopyFilePath();
    HeapText section = RunState.ScriptReader.CopySectionName();
    EXPECT_STREQ(file.get(), (folder_ / "Setup.ini").c_str());
    EXPECT_STREQ(section.get(), "Proc1");
    EXPECT_EQ(RunState.ScriptReader.ReadInteger("Delay"), 1);
    EXPECT_EQ(RunState.ScriptReader.ReadInteger("Act"), 2);
}

TEST_F(RenameFileTest, DeferredDeltaOnTheNinetyFiveFamily) {
    UseEntryScript(folder_, "1", "old version");
    RunState.RebootPending = 0;
    std::string target = folder_ / "target.dll";
    std::string payload = folder_ / "Proc1";
    WriteTestFile(target, "old version");
    WriteTestFile(payload, XorDeltaOf("old version", "new"));
    ASSERT_EQ(ApplyXorDelta(target.c_str(), payload.c_str()), 1);
    EXPECT_EQ(RunState.RebootPending, 1u);
    EXPECT_EQ(ReadTestFile(target), "old version");
    std::vector<std::string> scratch = ScratchFilesIn(folder_);
    ASSERT_EQ(scratch.size(), 1u);
    EXPECT_EQ(ReadTestFile(folder_ / scratch[0]), "new");
    std::vector<std::string> lines = SectionLines(folder_ / "WININIT.INI", "rename");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], ShortName(target) + "=" + ShortName(folder_ / scratch[0]));
    EXPECT_EQ(RunState.ScriptReader.ReadInteger("Delay"), 1) << "script reader still on the entry";
}

TEST_F(RenameFileTest, UnwritableRenameFileFailsAndLeavesNothingPending) {
    UseEntryScript(folder_, "1", "old");
    RunState.RebootPending = 0;
    windowsFolder_ = folder_ / "no such folder\\";
    RunState.WindowsFolder = &windowsFolder_[0];
    std::string target = folder_ / "target.dll";
    std::string payload = folder_ / "Proc1";
    WriteTestFile(target, "old");
    WriteTestFile(payload, XorDeltaOf("old", "new"));
    EXPECT_EQ(ApplyXorDelta(target.c_str(), payload.c_str()), 0);
    EXPECT_EQ(RunState.RebootPending, 0u);
    EXPECT_EQ(ReadTestFile(target), "old");
    EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << "scratch file of a failed schedule left behind";
    HeapText section = RunState.ScriptReader.CopySectionName();
    EXPECT_STREQ(section.get(), "Proc1");
}

TEST_F(RenameFileTest, ImmediateUpdateWithoutMoveFileEx) {
    UseEntryScript(folder_, "", "old version");
    std::string target = folder_ / "target.dll";
    std::string payload = folder_ / "Proc1";
    WriteTestFile(target, "old version");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTestFile(payload, XorDeltaOf("old version", "newer version!"));
    EXPECT_EQ(ApplyXorDelta(target.c_str(), payload.c_str()), 1);
    EXPECT_EQ(ReadTestFile(target), "newer version!");
    EXPECT_TRUE(ScratchFilesIn(folder_).empty());
}
