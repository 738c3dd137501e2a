// Faults met by the file-replacing actions (run, add, XOR delta, byte patch)
// during a real processing pass, one row per fault. Every row holds the same
// promise: each target ends byte-for-byte as the old or the new version, no
// scratch file is left, and the report says "Failed" exactly where the old
// file was kept. The write failure of a full disk runs under a size limit of
// its own (limited/xor_write_failure_test.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "actions/ProcessingPass.h"
#include "core/RunState.h"
#include "script/Verification.h"
#include "support/PassSetup.h"
#include "support/PayloadBytes.h"
#include "support/TestFiles.h"

namespace {

constexpr int kEntries = 4;  // acts 0 to 3, one target each
const char* const kNames[kEntries] = {"tool.exe", "notes.txt", "lib.dll", "data.bin"};
const char* const kReportNames[kEntries] = {"Run file", "Add file", "Update file", "Replace bytes"};

// Public: the rows' faults reach the targets and payloads through it.
class UpdateFaultsTest : public ::testing::Test {
public:
    FakeHost host_;  // answers the passes instead of a window
    UpdateFaultsTest() : scratch_("update faults"), state_(PrepareWork()) {
        old_[0] = "the installed tool";
        old_[1] = "the installed notes";
        old_[2] = "the installed library, version one";
        old_[3] = "the installed data block";
        new_[0] = ReadTestFile(ExecutableFolder() + "run_entry_child.exe");
        new_[1] = "the notes of the new version";
        new_[2] = "the library, version two and longer";
        new_[3] = "NEW installed data block";
    }

    std::string PrepareWork() {
        CreateDirectoryA((scratch_ / "work").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "app").c_str(), nullptr);
        return scratch_ / "work\\";
    }
    std::string Work(const std::string& name) const { return scratch_ / ("work\\" + name); }
    std::string Target(int i) const { return scratch_ / (std::string("app\\") + kNames[i]); }

    // Old targets, payloads and script as a fresh patch finds them, then the
    // verification pass that accepts them.
    void Prepare() {
        for (int i = 0; i < kEntries; ++i) {
            SetFileAttributesA(Target(i).c_str(), FILE_ATTRIBUTE_NORMAL);
            WriteTestFile(Target(i), old_[i]);
        }
        DeleteFileA((Target(0) + ".done").c_str());
        WriteTestFile(Work("Proc1"), new_[0]);
        WriteTestFile(Work("Proc2"), new_[1]);
        WriteTestFile(Work("Proc3"), XorOf(old_[2], new_[2]));
        WriteTestFile(Work("Proc4"), Le32(1) + Le32(0) + Le32(3) + Le32(4) + Le32(0) + Le32(3) + "NEW");
        const std::string dir = "Dir=" + (scratch_ / "app") + "\r\n";
        WriteTestFile(Work("Setup.ini"),
                      "[Setup]\r\nProcCount=4\r\n"
                      "[Proc1]\r\nFile=tool.exe\r\nAct=0\r\n" + dir +
                      "[Proc2]\r\nFile=notes.txt\r\nAct=1\r\n" + dir +
                      "[Proc3]\r\nFile=lib.dll\r\nAct=2\r\nCRC=" + std::to_string(Crc32Of(old_[2])) + "\r\n" + dir +
                      "[Proc4]\r\nFile=data.bin\r\nAct=3\r\nCRC=" + std::to_string(Crc32Of(old_[3])) + "\r\n" + dir);
        RunState.ReportText.reset();
        ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1);
    }

    std::vector<std::string> ScratchFilesLeft() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((scratch_ / "app\\QVR*.TMP").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do names.push_back(found.cFileName);
        while (FindNextFileA(find, &found));
        FindClose(find);
        return names;
    }

    ScratchFolder scratch_;
    PassState state_;
    std::string old_[kEntries];
    std::string new_[kEntries];
};

// Holds every target open the way another program would, until the row ends.
struct Holders {
    std::vector<HANDLE> handles;
    ~Holders() {
        for (HANDLE h : handles) CloseHandle(h);
    }
};

}  // namespace

TEST_F(UpdateFaultsTest, EveryTargetIsOldOrNewAndTheReportSaysWhich) {
    struct Row {
        const char* fault;
        // Applied after the check passed, before the processing pass.
        std::function<void(UpdateFaultsTest&, Holders&)> apply;
        bool replaced[kEntries];  // else the target must be exactly as before
        DWORD attributesAfter;    // of each replaced target, 0: not looked at
    };
    std::string realWork;
    const Row rows[] = {
        {"no fault", [](UpdateFaultsTest&, Holders&) {}, {true, true, true, true}, 0},
        {"payload missing",
         [](UpdateFaultsTest& t, Holders&) {
             for (int n = 1; n <= kEntries; ++n) DeleteFileA(t.Work("Proc" + std::to_string(n)).c_str());
         },
         {false, false, false, false}, 0},
        {"target held open for writing by another program",
         [](UpdateFaultsTest& t, Holders& h) {
             for (int i = 0; i < kEntries; ++i)
                 h.handles.push_back(CreateFileA(t.Target(i).c_str(), GENERIC_READ | GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                 nullptr));
         },
         {false, false, false, false}, 0},
        {"target held open for reading, not shared for deleting",
         [](UpdateFaultsTest& t, Holders& h) {
             for (int i = 0; i < kEntries; ++i)
                 h.handles.push_back(CreateFileA(t.Target(i).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
         },
         {false, false, false, false}, 0},
        {"target read-only",
         [](UpdateFaultsTest& t, Holders&) {
             for (int i = 0; i < kEntries; ++i) SetFileAttributesA(t.Target(i).c_str(), FILE_ATTRIBUTE_READONLY);
         },
         {true, true, true, true}, FILE_ATTRIBUTE_NORMAL},
        {"target hidden and system",
         [](UpdateFaultsTest& t, Holders&) {
             for (int i = 0; i < kEntries; ++i)
                 SetFileAttributesA(t.Target(i).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
         },
         {true, true, true, true}, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {"target changed between check and update",
         [](UpdateFaultsTest& t, Holders&) {
             for (int i = 0; i < kEntries; ++i) {
                 t.old_[i] = "changed by another program while the check page waited";
                 WriteTestFile(t.Target(i), t.old_[i]);
             }
         },
         // Run and add replace whatever is there; the updates apply only to
         // the version the check accepted.
         {true, true, false, false}, 0},
        // A working folder that start-up could not build is empty: the bare
        // "Proc" names would then be found in the current folder, whatever
        // files of the user's carry those names.
        {"no working folder",
         [&realWork](UpdateFaultsTest& t, Holders&) {
             realWork = RunState.WorkFolder;
             SetCurrentDirectoryA(realWork.c_str());
             ASSERT_TRUE(FileExists(t.Work("Proc1")));
             RunState.WorkFolder[0] = '\0';
         },
         {false, false, false, false}, 0},
    };
    for (const Row& row : rows) {
        const std::string oldTexts[kEntries] = {old_[0], old_[1], old_[2], old_[3]};
        Prepare();
        std::string report;
        {
            Holders holders;
            row.apply(*this, holders);
            for (HANDLE h : holders.handles) ASSERT_NE(h, INVALID_HANDLE_VALUE) << row.fault;
            if (row.attributesAfter & FILE_ATTRIBUTE_HIDDEN) {
                ASSERT_TRUE(GetFileAttributesA(Target(0).c_str()) & FILE_ATTRIBUTE_HIDDEN)
                    << "the file system keeps no hidden attribute: the row would prove nothing";
            }
            RunProcessingPass(host_);
            report = RunState.ReportText ? RunState.ReportText.get() : "";
        }
        if (!realWork.empty()) {
            lstrcpynA(RunState.WorkFolder, realWork.c_str(), kPathBufferSize);
            SetCurrentDirectoryA(ExecutableFolder().c_str());
        }
        realWork.clear();

        std::string expectedReport;
        for (int i = 0; i < kEntries; ++i) {
            const std::string& expected = row.replaced[i] ? new_[i] : old_[i];
            EXPECT_TRUE(ReadTestFile(Target(i)) == expected)
                << row.fault << ": " << kNames[i] << " is neither kept nor replaced whole; expected the "
                << (row.replaced[i] ? "new" : "old") << " version";
            expectedReport += std::string(kReportNames[i]) + " " + Target(i) + " " +
                              (row.replaced[i] ? "OK" : "Failed") + "\r\n\r\n";
            if (row.replaced[i] && row.attributesAfter) {
                const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
                EXPECT_EQ(GetFileAttributesA(Target(i).c_str()) & kept, row.attributesAfter & kept)
                    << row.fault << ": attributes of " << kNames[i];
            }
        }
        EXPECT_EQ(report, expectedReport) << row.fault;
        EXPECT_TRUE(ScratchFilesLeft().empty()) << row.fault << ": scratch file left, first "
                                                << (ScratchFilesLeft().empty() ? "" : ScratchFilesLeft()[0]);
        EXPECT_TRUE(FileExists(Work("Setup.ini"))) << row.fault << ": the working folder was touched";
        EXPECT_EQ(FileExists(Target(0) + ".done"), row.replaced[0]) << row.fault << ": the run entry's program";
        for (int i = 0; i < kEntries; ++i) old_[i] = oldTexts[i];
    }
}

// On the NT family the replacement keeps who may do what with the file: the
// old file's access list, not the one a new file of the folder would get.
TEST_F(UpdateFaultsTest, ReplacementKeepsTheAccessList) {
    RunState.IsNT = 1;
    const char* kOwn = "D:P(A;;FA;;;WD)(A;;FR;;;BU)";
    Prepare();
    for (int i = 0; i < kEntries; ++i) ASSERT_TRUE(SetAccessList(Target(i), kOwn)) << kNames[i];
    const std::string own = AccessListOf(Target(0));
    WriteTestFile(scratch_ / "app\\fresh.txt", "a new file of the folder");
    ASSERT_NE(own, AccessListOf(scratch_ / "app\\fresh.txt"))
        << "the file system keeps no access list of its own for a file: the test would prove nothing";
    RunProcessingPass(host_);
    for (int i = 0; i < kEntries; ++i) {
        EXPECT_EQ(ReadTestFile(Target(i)), new_[i]) << kNames[i];
        EXPECT_EQ(AccessListOf(Target(i)), own) << kNames[i];
    }
}
