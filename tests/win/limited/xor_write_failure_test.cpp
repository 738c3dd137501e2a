// A new version that cannot be written in full (the disk or the user's quota
// is full) must leave the installed file as it was and no scratch file
// behind. Runs under a file-size limit (file_size_limit.sh): every write
// past kWriteLimit bytes fails, and the delta given here rebuilds a file
// longer than that.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "PatchTestSupport.h"
#include "actions/BytePatch.h"
#include "actions/FileActions.h"
#include "actions/XorDelta.h"
#include "core/Payload.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/Session.h"
#include "support/CabinetFixture.h"
#include "support/PayloadBytes.h"
#include "support/TempOverride.h"

namespace {

// Set by the launcher: the size limit and a delta file of kBigPayloadSize
// bytes made before the limit took hold.
constexpr DWORD kWriteLimit = ZULI_WRITE_LIMIT;
constexpr DWORD kBigPayloadSize = ZULI_BIG_PAYLOAD_SIZE;
const char kBigPayload[] = ZULI_BIG_PAYLOAD;
static_assert(kBigPayloadSize > kWriteLimit, "the delta must rebuild a file beyond the limit");

class XorWriteFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.IsNT = 1;
        RunState.RebootPending = 0;
    }
    void TearDown() override { ForgetPendingRenamesFrom(folder_); }

    std::string Target() const { return folder_ / "target.dll"; }

    ScratchFolder folder_{"xor write failure"};
};

// The "QVR*.TMP" scratch files in the folder of `path`.
std::vector<std::string> ScratchFilesBeside(const std::string& path) {
    std::string pattern = path.substr(0, path.find_last_of("\\/") + 1) + "QVR*.TMP";
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

bool MentionsFolder(const std::vector<std::string>& renames, const std::string& folder) {
    for (const std::string& item : renames)
        if (StrStrIA(item.c_str(), folder.c_str())) return true;
    return false;
}

}  // namespace

TEST_F(XorWriteFailureTest, TheLimitMakesLongWritesFail) {
    // Without this the other tests would prove nothing.
    EXPECT_TRUE(CanWrite(folder_ / "small.bin", kWriteLimit / 2)) << "a write within the limit must go through";
    EXPECT_FALSE(CanWrite(folder_ / "large.bin", kBigPayloadSize))
        << "a write of " << kBigPayloadSize << " bytes went through: the test does not run under the size limit of "
        << kWriteLimit << " bytes";
    HANDLE payload = CreateFileA(kBigPayload, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(payload, INVALID_HANDLE_VALUE) << kBigPayload << " was not made by the launcher";
    EXPECT_EQ(GetFileSize(payload, nullptr), kBigPayloadSize);
    CloseHandle(payload);
}

TEST_F(XorWriteFailureTest, FailedWriteKeepsTheOldContentAndLeavesNoScratchFile) {
    struct Case {
        const char* what;
        const char* delay;
    } cases[] = {
        {"immediate update", ""},
        {"update at the next restart", "1"},
    };
    const std::string old = "the installed version, a few bytes long";
    for (const Case& c : cases) {
        UseEntryScript(folder_, c.delay, old);
        WriteTestFile(Target(), old);
        EXPECT_EQ(ApplyXorDelta(Target().c_str(), kBigPayload), 0)
            << c.what << ": the new version could not be written, yet the update reported success";
        EXPECT_EQ(ReadTestFile(Target()), old) << c.what << ": the installed file must keep its old content";
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": a QVR scratch file was left behind";
        EXPECT_EQ(RunState.RebootPending, 0u) << c.what << ": nothing may wait for a restart";
        EXPECT_FALSE(MentionsFolder(PendingRenames(), folder_.Path()))
            << c.what << ": a rename was registered for the restart";
    }
}

TEST_F(XorWriteFailureTest, UpdateWithinTheLimitGoesThrough) {
    // The same limit does not stop a new version that fits.
    const std::string old = "the installed version";
    UseEntryScript(folder_, "", old);
    const std::string fresh = "the patched version, a little longer";
    WriteTestFile(Target(), old);
    WriteTestFile(folder_ / "Proc1", XorDeltaOf(old, fresh));
    EXPECT_EQ(ApplyXorDelta(Target().c_str(), (folder_ / "Proc1").c_str()), 1);
    EXPECT_EQ(ReadTestFile(Target()), fresh);
    EXPECT_TRUE(ScratchFilesIn(folder_).empty());
}

// Run, add, XOR delta and byte patch alike: a new version beyond the limit
// fails the entry and keeps the installed file whole. The byte patch's
// target is the big file itself, since no file the test writes can exceed
// the limit.
TEST_F(XorWriteFailureTest, EveryFileReplacingActionKeepsItsTarget) {
    const std::string old = "the installed version, a few bytes long";
    const std::string big(kBigPayloadSize, 'x');
    const std::string patch = std::string("\1\0\0\0\0\0\0\0\3\0\0\0\4\0\0\0\0\0\0\0\1\0\0\0", 24) + "y";
    WriteTestFile(folder_ / "Proc4", patch);
    struct Case {
        const char* what;
        std::function<int()> act;
        std::string target, installed;
    } cases[] = {
        {"run", [&] { return RunEntryFile(kBigPayload, Target().c_str()); }, Target(), old},
        {"add", [&] { return AddEntryFile(kBigPayload, Target().c_str()); }, Target(), old},
        {"XOR delta", [&] { return ApplyXorDelta(Target().c_str(), kBigPayload); }, Target(), old},
        {"byte patch", [&] { return ApplyBytePatch(kBigPayload, (folder_ / "Proc4").c_str()); }, kBigPayload, big},
    };
    for (const Case& c : cases) {
        UseEntryScript(folder_, "", c.installed);
        WriteTestFile(Target(), old);
        EXPECT_EQ(c.act(), 0) << c.what << ": the new version could not be written, yet the entry succeeded";
        EXPECT_TRUE(ReadTestFile(c.target) == c.installed) << c.what << ": the installed file must stay whole";
        EXPECT_TRUE(ScratchFilesBeside(c.target).empty()) << c.what << ": a QVR scratch file was left behind";
        EXPECT_EQ(ReadTestFile(kBigPayload), big) << c.what << ": the payload must stay for another try";
    }
}

// A cabinet written short is a failed extraction: nothing is unpacked and
// no cut cabinet stays behind.
TEST(CabinetWriteFailure, ShortCabinetFailsTheExtraction) {
    ScratchFolder temp("cabinet write failure");
    TempOverride redirect(temp.Path());
    DetectPlatform();
    BuildPathTable();
    const std::string cabinet = MakeStoredCabinet({{"Setup.ini", std::string(kBigPayloadSize, 's')}});
    ASSERT_GT(cabinet.size(), kWriteLimit);
    ASSERT_TRUE(SetPlainResource(ResPayloadCabinet, cabinet.data(), cabinet.size()));
    EXPECT_EQ(ExtractPayload(), 0);
    EXPECT_FALSE(FileExists(RunState.CabinetPath)) << "the cut cabinet stays behind";
    EXPECT_FALSE(FileExists(std::string(RunState.WorkFolder) + "Setup.ini")) << "a cut cabinet was unpacked";
}
