// The backup companion's "/restore" on a backup made by hand: every saved
// file comes back with its content and the attributes it had before the
// patch, through a scratch file of the system's naming, so that a file
// beside the target, whatever its name, is never touched.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PatchTestSupport.h"
#include "core/FileSwap.h"

namespace {

const char kOriginal[] = "the file as it was before the patch";
const char kPatched[] = "the file as the patch left it";
const char kNeighbour[] = "a file of the user's that happens to carry this name";

// Wine reports "archive" on every file, so only these can be told apart.
constexpr DWORD kSeenAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct RestoreCase {
    const char* what;
    DWORD attributesBefore;  // recorded in the backup
    bool patchedExists;      // false: the patch deleted or renamed the file
    DWORD patchedAttributes;
    bool heldOpen;           // another program holds the patched file open
    // Expected
    int exitCode;
    const char* contentAfter;  // right after the restore
};

const RestoreCase kCases[] = {
    {"hidden and archive come back", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, true,
     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, false, 0, kOriginal},
    {"read-only comes back", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, true, FILE_ATTRIBUTE_ARCHIVE, false, 0,
     kOriginal},
    {"hidden and system over a plain file", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true,
     FILE_ATTRIBUTE_NORMAL, false, 0, kOriginal},
    {"a file the patch removed", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, false, 0, false, 0, kOriginal},
    {"a file in use waits for the restart", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, true,
     FILE_ATTRIBUTE_ARCHIVE, true, 3010, kPatched},
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// A backup folder as "/I" leaves it: the manifest with one saved file (its
// folder recorded, its copy's size and CRC-32), its copy, an empty registry
// record file and the companion itself.
void MakeBackup(const std::string& folder, const std::string& target, DWORD attributes) {
    const std::string registry = std::string("ZULIREG1") + std::string(4, '\0');
    WriteTestFile(folder + "File1", kOriginal);
    WriteTestFile(folder + "Registry.dat", registry);
    WriteTestFile(folder + "Backup.ini",
                  "[Backup]\r\nFiles=1\r\nRegistry=Registry.dat\r\nRegistryRecords=0\r\nRegistrySize=" +
                      std::to_string(registry.size()) + "\r\nRegistryCrc=" + std::to_string(CrcOf(registry)) +
                      "\r\nFolders=1\r\nFolder1=" + target.substr(0, target.rfind('\\')) + "\r\n[File1]\r\nPath=" +
                      target + "\r\nState=saved\r\nCopy=File1\r\nSize=" + std::to_string(sizeof kOriginal - 1) +
                      "\r\nCrc=" + std::to_string(CrcOf(kOriginal)) + "\r\nAttributes=" + std::to_string(attributes) +
                      "\r\n");
    ASSERT_TRUE(CopyFileA((std::string(ZULI_DIST_DIR_WINE) + "/zuliundo.exe").c_str(),
                          (folder + "zuliundo.exe").c_str(), FALSE));
}

}  // namespace

TEST(UndoRestore, PutsBackContentAndAttributesAndTouchesNoFileBeside) {
    for (const RestoreCase& c : kCases) {
        SCOPED_TRACE(c.what);
        ScratchFolder app("undo app");
        ScratchFolder backup("undo backup");
        const std::string target = app / "program.dll";
        MakeBackup(backup.Path(), target, c.attributesBefore);
        // The name the companion once used for its scratch copy, taken.
        const std::string neighbour = target + ".zuliundo";
        WriteTestFile(neighbour, kNeighbour);
        if (c.patchedExists) {
            WriteTestFile(target, kPatched);
            ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.patchedAttributes));
        }
        HANDLE holder = c.heldOpen ? CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, 0, nullptr)
                                   : INVALID_HANDLE_VALUE;
        ASSERT_EQ(c.heldOpen, holder != INVALID_HANDLE_VALUE);

        EXPECT_EQ(RunProgram(Quoted(backup / "zuliundo.exe") + " /restore /quiet", backup.Path()), c.exitCode);
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);

        EXPECT_EQ(ReadTestFile(target), c.contentAfter);
        EXPECT_EQ(ReadTestFile(neighbour), kNeighbour) << "the file beside the target was overwritten";
        // What takes the target's place, now or at the restart.
        std::vector<std::string> scratch = ScratchFilesIn(app);
        const std::string restored = c.exitCode == 3010 && scratch.size() == 1 ? app / scratch[0] : target;
        if (c.exitCode == 3010) {
            ASSERT_EQ(scratch.size(), 1u) << "the saved copy waits beside the target";
            EXPECT_EQ(ReadTestFile(restored), kOriginal);
            bool pending = false;
            std::vector<std::string> renames = PendingRenames();
            for (std::size_t i = 0; i + 1 < renames.size(); i += 2)
                if (StrStrIA(renames[i].c_str(), scratch[0].c_str()) && StrStrIA(renames[i + 1].c_str(), "program.dll"))
                    pending = true;
            EXPECT_TRUE(pending) << "no rename of " << restored << " pending for the restart";
        } else {
            EXPECT_TRUE(scratch.empty()) << scratch.size() << " scratch files left";
        }
        EXPECT_EQ(GetFileAttributesA(restored.c_str()) & kSeenAttributes, c.attributesBefore & kSeenAttributes)
            << restored;

        ForgetPendingRenamesFrom(app);
    }
}

// A replacement the patch left for the next start (an entry with Delay=1)
// would put the patched file back over the restored one at the restart:
// the restore cancels every rename pending to its target, and no other.
TEST(UndoRestore, CancelsReplacementsPendingForItsTargets) {
    ScratchFolder app("undo pending");
    ScratchFolder backup("undo pending backup");
    const std::string target = app / "program.dll";
    const std::string other = app / "other.dll";
    MakeBackup(backup.Path(), target, FILE_ATTRIBUTE_ARCHIVE);
    WriteTestFile(target, kPatched);
    const SwapPlatform platform = SystemSwapPlatform();
    for (const char* waiting : {"waiting1.tmp", "waiting2.tmp", "unrelated.tmp"}) {
        WriteTestFile(app / waiting, kPatched);
        const std::string destination = std::string(waiting) == "unrelated.tmp" ? other : target;
        ASSERT_TRUE(ScheduleRenameAtRestart((app / waiting).c_str(), destination.c_str(), platform)) << waiting;
    }
    auto pendingTo = [&](const std::string& name) {
        int pairs = 0;
        std::vector<std::string> renames = PendingRenames();
        for (std::size_t i = 0; i + 1 < renames.size(); i += 2)
            if (StrStrIA(renames[i].c_str(), app.Path().c_str()) && StrStrIA(renames[i + 1].c_str(), name.c_str()))
                ++pairs;
        return pairs;
    };
    ASSERT_EQ(pendingTo("program.dll"), 2);
    ASSERT_EQ(pendingTo("other.dll"), 1);

    EXPECT_EQ(RunProgram(Quoted(backup / "zuliundo.exe") + " /restore /quiet", backup.Path()), 0);
    EXPECT_EQ(ReadTestFile(target), kOriginal);
    EXPECT_EQ(pendingTo("program.dll"), 0) << "the patched file would come back at the restart";
    EXPECT_EQ(pendingTo("other.dll"), 1) << "a rename to another file was cancelled";
    ForgetPendingRenamesFrom(app);
}
