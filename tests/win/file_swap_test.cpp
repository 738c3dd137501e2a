// The file swap on its own, without a script or a run: every way a swap
// ends, what the target is afterwards, and that no scratch file is left
// behind except the one a pending restart rename still needs.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "PatchTestSupport.h"
#include "core/FileSwap.h"

namespace {

// Wine reports "archive" on every file, so only these can be told apart.
constexpr DWORD kSeenAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kNone = 0;
constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kHiddenArchive = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

const char kOld[] = "the old content of the target";
const char kNew[] = "the new content, a little longer than the old one";
const char kCopied[] = "the content of a saved copy";
// An access list no new file of the folder gets by itself.
const char kOwnAccessList[] = "D:P(A;;FA;;;WD)(A;;FR;;;BU)";

// How the caller fills the scratch file, and whether it gets to the swap.
enum class Fill {
    Write,          // writes the new content, then commits
    CopySource,     // copies a saved file in, then commits
    StopHalfway,    // writes half, then fails: no commit
    CopyMissing,    // the copy's source is missing: no commit
};

// What the swap meets on the way.
enum class Hurdle {
    None,
    TargetHeldOpen,     // another program holds the target open (no delete sharing)
    NoRenameFileFolder, // the folder of WININIT.INI does not exist
};

struct SwapCase {
    const char* what;
    bool nt;
    bool targetExists;
    DWORD attributesBefore;  // of the target
    TargetAccess access;
    Fill fill;
    Hurdle hurdle;
    SwapTime when;
    DWORD keptAttributes;  // given by the caller; 0: taken over from the target
    // Expected
    SwapOutcome outcome;   // checked when the fill commits
    const char* contentAfter;  // of the target; null: no target
    DWORD attributesAfter;     // of the target, or of the pending scratch file
};

const SwapCase kCases[] = {
    {"replaced now", true, true, kNone, TargetAccess::HeldForReading, Fill::Write, Hurdle::None, SwapTime::Now, 0,
     SwapOutcome::Done, kNew, kNone},
    {"hidden and system kept", true, true, kHiddenSystem, TargetAccess::HeldForReading, Fill::Write, Hurdle::None,
     SwapTime::Now, 0, SwapOutcome::Done, kNew, kHiddenSystem},
    {"read-only dropped", true, true, kReadOnly, TargetAccess::HeldForReading, Fill::Write, Hurdle::None,
     SwapTime::Now, 0, SwapOutcome::Done, kNew, kNone},
    {"no target yet", true, false, kNone, TargetAccess::HeldForReading, Fill::Write, Hurdle::None, SwapTime::Now, 0,
     SwapOutcome::Done, kNew, kNone},
    {"a saved copy put back with its own attributes", true, true, kNone, TargetAccess::Free, Fill::CopySource,
     Hurdle::None, SwapTime::NowOrAtRestart, kReadOnlyHidden, SwapOutcome::Done, kCopied, kReadOnlyHidden},
    {"a saved copy put back, hidden and archive", true, true, kHiddenArchive, TargetAccess::Free, Fill::CopySource,
     Hurdle::None, SwapTime::Now, kHiddenArchive, SwapOutcome::Done, kCopied, kHidden},
    {"a saved copy where the target is gone", true, false, kNone, TargetAccess::Free, Fill::CopySource, Hurdle::None,
     SwapTime::NowOrAtRestart, kHiddenArchive, SwapOutcome::Done, kCopied, kHidden},
    {"target held open: not now", true, true, kHiddenSystem, TargetAccess::HeldForReading, Fill::Write,
     Hurdle::TargetHeldOpen, SwapTime::Now, 0, SwapOutcome::Failed, kOld, kHiddenSystem},
    {"target held open: at the restart instead", true, true, kHiddenSystem, TargetAccess::Free, Fill::CopySource,
     Hurdle::TargetHeldOpen, SwapTime::NowOrAtRestart, 0, SwapOutcome::AtRestart, kOld, kHiddenSystem},
    {"at the restart", true, true, kReadOnly, TargetAccess::HeldForReading, Fill::Write, Hurdle::None,
     SwapTime::AtRestart, 0, SwapOutcome::AtRestart, kOld, kNone},
    {"failure halfway through the writing", true, true, kHiddenSystem, TargetAccess::HeldForReading,
     Fill::StopHalfway, Hurdle::None, SwapTime::Now, 0, SwapOutcome::Failed, kOld, kHiddenSystem},
    {"the copy's source is missing", true, true, kReadOnly, TargetAccess::Free, Fill::CopyMissing, Hurdle::None,
     SwapTime::Now, 0, SwapOutcome::Failed, kOld, kReadOnly},
    {"95 family: replaced now by renames", false, true, kReadOnly, TargetAccess::HeldForReading, Fill::Write,
     Hurdle::None, SwapTime::Now, 0, SwapOutcome::Done, kNew, kNone},
    {"95 family: target held open", false, true, kReadOnly, TargetAccess::HeldForReading, Fill::Write,
     Hurdle::TargetHeldOpen, SwapTime::Now, 0, SwapOutcome::Failed, kOld, kReadOnly},
    {"95 family: at the restart through WININIT.INI", false, true, kHiddenSystem, TargetAccess::HeldForReading,
     Fill::Write, Hurdle::None, SwapTime::AtRestart, 0, SwapOutcome::AtRestart, kOld, kHiddenSystem},
    {"95 family: WININIT.INI cannot be written", false, true, kNone, TargetAccess::HeldForReading, Fill::Write,
     Hurdle::NoRenameFileFolder, SwapTime::AtRestart, 0, SwapOutcome::Failed, kOld, kNone},
};

DWORD SeenAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? INVALID_FILE_ATTRIBUTES : attributes & kSeenAttributes;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD put = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
}

// Whether the system has `scratch` renamed over `target` at its next start.
bool RenamePendingOnNt(const std::string& scratch, const std::string& target) {
    std::vector<std::string> pending = PendingRenames();
    for (std::size_t i = 0; i + 1 < pending.size(); i += 2)
        if (StrStrIA(pending[i].c_str(), scratch.c_str()) && StrStrIA(pending[i + 1].c_str(), target.c_str()))
            return pending[i + 1][0] == '!';  // replacing
    return false;
}

std::string ShortName(const std::string& path) {
    char buffer[MAX_PATH + 1] = {};
    GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return buffer;
}

// The rename lines of a WININIT.INI.
std::vector<std::string> RenameLines(const std::string& file) {
    std::vector<char> buffer(32768, '\0');
    DWORD n = GetPrivateProfileSectionA("rename", buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> lines;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += strlen(p) + 1) lines.push_back(p);
    return lines;
}

class FileSwapTest : public ::testing::Test {
protected:
    void TearDown() override { ForgetPendingRenamesFrom(folder_); }

    ScratchFolder folder_{"fileswap"};
};

}  // namespace

TEST_F(FileSwapTest, EveryWayASwapEndsLeavesTheTargetWholeAndNoStrayScratchFile) {
    // Files beside the target that a fixed scratch name could have hit.
    const std::string target = folder_ / "target.dll";
    const std::string bystanders[] = {target + ".zuliundo", folder_ / "target.tmp", folder_ / "target.dll~"};
    const std::string source = folder_ / "saved copy";
    WriteTestFile(source, kCopied);
    const std::string windowsFolder = folder_ / "windows";
    ASSERT_TRUE(CreateDirectoryA(windowsFolder.c_str(), nullptr));
    const std::string missingFolder = folder_ / "no such folder";
    WriteTestFile(folder_ / "fresh.txt", "a new file of the folder");
    const bool aclsKept = SetAccessList(folder_ / "fresh.txt", kOwnAccessList);
    WriteTestFile(folder_ / "fresh2.txt", "another new file of the folder");
    const std::string ownList = AccessListOf(folder_ / "fresh.txt");
    ASSERT_TRUE(aclsKept && ownList != AccessListOf(folder_ / "fresh2.txt"))
        << "the file system keeps no access list of its own for a file: the access list checks would prove nothing";

    for (const SwapCase& c : kCases) {
        SCOPED_TRACE(c.what);
        for (const std::string& bystander : bystanders) WriteTestFile(bystander, "a file of its own: " + bystander);
        DeleteFileA((windowsFolder + "\\WININIT.INI").c_str());
        if (c.targetExists) {
            WriteTestFile(target, kOld);
            if (c.nt) {
                ASSERT_TRUE(SetAccessList(target, kOwnAccessList));
            }
            ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.attributesBefore ? c.attributesBefore
                                                                              : FILE_ATTRIBUTE_NORMAL));
        }
        const std::string accessListBefore = AccessListOf(target);
        const SwapPlatform platform{
            c.nt, c.hurdle == Hurdle::NoRenameFileFolder ? missingFolder.c_str() : windowsFolder.c_str()};

        SwapOutcome outcome = SwapOutcome::Failed;
        std::string scratch;
        HANDLE holder = INVALID_HANDLE_VALUE;
        {
            FileSwap swap(platform);
            ASSERT_EQ(swap.Begin(target.c_str(), c.access), 1);
            scratch = swap.ScratchPath();
            EXPECT_EQ(swap.TargetHandle() != INVALID_HANDLE_VALUE,
                      c.access == TargetAccess::HeldForReading && c.targetExists);
            EXPECT_EQ(PathFindFileNameA(scratch.c_str())[0], 'Q') << scratch;
            bool filled = false;
            switch (c.fill) {
                case Fill::Write:
                    filled = WriteAll(swap.ScratchHandle(), kNew);
                    EXPECT_TRUE(filled);
                    break;
                case Fill::CopySource:
                    filled = swap.CopyIntoScratch(source.c_str()) == 1;
                    EXPECT_TRUE(filled);
                    break;
                case Fill::StopHalfway:
                    EXPECT_TRUE(WriteAll(swap.ScratchHandle(), std::string(kNew, sizeof kNew / 2)));
                    break;
                case Fill::CopyMissing:
                    EXPECT_EQ(swap.CopyIntoScratch((folder_ / "missing copy").c_str()), 0);
                    break;
            }
            if (c.hurdle == Hurdle::TargetHeldOpen)
                holder = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
            if (c.keptAttributes) swap.KeepAttributes(c.keptAttributes);
            if (filled) {
                outcome = swap.Commit(c.when);
                EXPECT_EQ(static_cast<int>(outcome), static_cast<int>(c.outcome));
            }
        }
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);

        // The target: new, or byte for byte the old one.
        if (c.contentAfter) {
            EXPECT_EQ(ReadTestFile(target), c.contentAfter);
        } else {
            EXPECT_FALSE(FileExists(target));
        }
        std::vector<std::string> left = ScratchFilesIn(folder_);
        const std::string stand = outcome == SwapOutcome::AtRestart ? scratch : target;
        if (c.contentAfter) {
            EXPECT_EQ(SeenAttributes(stand), c.attributesAfter) << stand;
        }
        if (outcome == SwapOutcome::AtRestart) {
            // The scratch file waits for the restart, with the new content.
            ASSERT_EQ(left.size(), 1u);
            EXPECT_EQ(folder_ / left[0], scratch);
            EXPECT_EQ(ReadTestFile(scratch), c.fill == Fill::CopySource ? kCopied : kNew);
            if (c.nt) {
                EXPECT_TRUE(RenamePendingOnNt(scratch, target)) << "no replacing rename pending for " << scratch;
            } else {
                std::vector<std::string> lines = RenameLines(windowsFolder + "\\WININIT.INI");
                ASSERT_EQ(lines.size(), 1u);
                EXPECT_EQ(lines[0], ShortName(target) + "=" + ShortName(scratch));
            }
        } else {
            EXPECT_TRUE(left.empty()) << left.size() << " scratch files left, the first " << left[0];
            EXPECT_FALSE(FileExists(windowsFolder + "\\WININIT.INI")) << "a rename scheduled for nothing";
        }
        // Under Wine read-only is the file's write permission, which its
        // access list shows too: only a list without it can be compared.
        if (c.nt && c.targetExists && !((c.attributesBefore | c.attributesAfter) & FILE_ATTRIBUTE_READONLY)) {
            EXPECT_EQ(accessListBefore, ownList);
            EXPECT_EQ(AccessListOf(stand), ownList) << stand;
        }
        for (const std::string& bystander : bystanders)
            EXPECT_EQ(ReadTestFile(bystander), "a file of its own: " + bystander);

        ForgetPendingRenamesFrom(folder_);
        for (const std::string& name : left) {
            SetFileAttributesA((folder_ / name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder_ / name).c_str());
        }
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(target.c_str());
    }
}

// A second Begin would lose the first scratch file; a path the ANSI calls
// cannot hold whole would name some other file. Neither creates anything.
TEST_F(FileSwapTest, RefusesASecondBeginAndAnOverlongPath) {
    const std::string target = folder_ / "target.dll";
    WriteTestFile(target, kOld);
    {
        FileSwap swap(SwapPlatform{true, nullptr});
        ASSERT_EQ(swap.Begin(target.c_str(), TargetAccess::Free), 1);
        EXPECT_EQ(swap.Begin(target.c_str(), TargetAccess::Free), 0);
        EXPECT_EQ(ScratchFilesIn(folder_).size(), 1u);
    }
    const std::string overlong = folder_.Path() + std::string(MAX_PATH, 'x');
    {
        FileSwap swap(SwapPlatform{true, nullptr});
        EXPECT_EQ(swap.Begin(overlong.c_str(), TargetAccess::Free), 0);
    }
    EXPECT_TRUE(ScratchFilesIn(folder_).empty());
    EXPECT_EQ(ReadTestFile(target), kOld);
}

// The reason a swap failed is still the last error after the clean-up, for
// whoever reports it, even when the clean-up itself meets an error (here:
// another program holds the scratch file, so it cannot be removed).
TEST_F(FileSwapTest, AFailedSwapKeepsItsReasonThroughTheCleanUp) {
    const std::string target = folder_ / "target.dll";
    WriteTestFile(target, kOld);
    HANDLE holder = INVALID_HANDLE_VALUE;
    {
        FileSwap swap(SwapPlatform{true, nullptr});
        ASSERT_EQ(swap.Begin(target.c_str(), TargetAccess::Free), 1);
        EXPECT_EQ(swap.CopyIntoScratch((folder_ / "missing copy").c_str()), 0);
        holder = CreateFileA(swap.ScratchPath(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    for (const std::string& name : ScratchFilesIn(folder_)) DeleteFileA((folder_ / name).c_str());
    EXPECT_EQ(ReadTestFile(target), kOld);
}
