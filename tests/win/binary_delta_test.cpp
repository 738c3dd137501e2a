// The binary delta update (Act 8) on real files, and the "NewCRC" key of the
// update entries (Act 2, 3 and 8): the result checked before it replaces the
// target, and a target already at the new version recognised in the check.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "BinaryDeltaEncoder.h"
#include "PatchTestSupport.h"
#include "actions/BinaryDeltaUpdate.h"
#include "actions/BytePatch.h"
#include "actions/ProcessingPass.h"
#include "actions/XorDelta.h"
#include "actions/neutral/BinaryDelta.h"
#include "script/Verification.h"
#include "support/PassSetup.h"
#include "support/PayloadBytes.h"

namespace {

std::string DeltaOf(const std::string& oldContent, const std::string& newContent) {
    std::vector<uint8_t> old(oldContent.begin(), oldContent.end()), now(newContent.begin(), newContent.end()), out;
    EXPECT_TRUE(EncodeBinaryDelta(old, now, out));
    return std::string(out.begin(), out.end());
}

std::string SignedDecimal(uint32_t crc) { return std::to_string(static_cast<int32_t>(crc)); }

class BinaryDeltaTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.IsNT = 1;
        RunState.RebootPending = 0;
    }
    void TearDown() override { ForgetPendingRenamesFrom(folder_); }

    // The entry section "Proc1" of a script in the test folder, current.
    void UseEntry(const std::string& keys) {
        std::string script = folder_ / "Setup.ini";
        WriteTestFile(script, "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nAct=8\r\n" + keys);
        RunState.ScriptReader.SetFile(script.c_str());
        RunState.ScriptReader.SetSection("Proc1");
    }

    std::string Target() const { return folder_ / "target.dll"; }
    std::string Payload() const { return folder_ / "Proc1"; }

    ScratchFolder folder_{"binarydelta"};
};

TEST_F(BinaryDeltaTest, RebuildsTheNewVersion) {
    const std::string base = CodeLike(300000, 1);
    struct Case {
        const char* what;
        std::string oldContent, newContent, keys;
    } cases[] = {
        {"insertions", base,
         base.substr(0, 1000) + "inserted here" + base.substr(1000, 200000) + std::string(5000, 'x') +
             base.substr(200000),
         ""},
        {"deletions", base, base.substr(0, 5000) + base.substr(9000, 150000) + base.substr(280000), ""},
        {"moved blocks", base, base.substr(200000) + base.substr(100000, 100000) + base.substr(0, 100000), ""},
        {"empty old file", "", "a whole new file", ""},
        {"empty new file", base, "", ""},
        {"Delay 2 acts at once, NewCRC right", base, base.substr(10) + "!", "Delay=2\r\n"},
    };
    for (Case& c : cases) {
        if (c.keys.find("Delay=2") != std::string::npos)
            c.keys += "NewCRC=" + SignedDecimal(static_cast<uint32_t>(Crc32Of(c.newContent))) + "\r\n";
        UseEntry(c.keys);
        WriteTestFile(Target(), c.oldContent);
        WriteTestFile(Payload(), DeltaOf(c.oldContent, c.newContent));
        EXPECT_EQ(ApplyBinaryDelta(Target().c_str(), Payload().c_str()), 1) << c.what;
        EXPECT_TRUE(ReadTestFile(Target()) == c.newContent) << c.what;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": scratch file left behind";
        EXPECT_EQ(RunState.RebootPending, 0u) << c.what;
    }
}

TEST_F(BinaryDeltaTest, EachMalformedDeltaKeepsTheOldFile) {
    const std::string old = CodeLike(20000, 2);
    const std::string now = old.substr(0, 7000) + "new bytes" + old.substr(9000);
    const std::string good = DeltaOf(old, now);
    auto withField = [&](int field, uint32_t value) {
        std::string d = good;
        d.replace(4 + 4 * static_cast<std::size_t>(field), 4, Le32(value));
        return d;
    };
    // A delta that seeks past the old file's end and copies from there.
    std::string outside = "ZBD1" + Le32(20000) + Le32(4) + Le32(static_cast<uint32_t>(Crc32Of(old.substr(0, 4)))) +
                          Le32(8) + Le32(0) + Le32(0) + Le32(0) + std::string("\0\0\x80\x80\x04\x04\0\0", 8);
    struct Case {
        const char* what;
        std::string payload;
    } cases[] = {
        {"cut short in the header", good.substr(0, 20)},
        {"cut short in the streams", good.substr(0, good.size() - 3)},
        {"longer than its streams", good + "?"},
        {"not a binary delta (an XOR delta)", XorDeltaOf(old, now)},
        {"made for another old file", withField(0, 19999)},
        {"new size differs from the result", withField(1, static_cast<uint32_t>(now.size() + 1))},
        {"CRC differs from the result", withField(2, static_cast<uint32_t>(Crc32Of(now)) ^ 1)},
        {"stream sizes do not add up", withField(3, 0)},
        {"control stream reads outside the old file", outside},
        {"empty payload", ""},
    };
    UseEntry("");
    for (const Case& c : cases) {
        WriteTestFile(Target(), old);
        WriteTestFile(Payload(), c.payload);
        EXPECT_EQ(ApplyBinaryDelta(Target().c_str(), Payload().c_str()), 0) << c.what;
        EXPECT_TRUE(ReadTestFile(Target()) == old) << c.what << ": the old file changed";
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": scratch file left behind";
    }
    EXPECT_EQ(ApplyBinaryDelta(Target().c_str(), (folder_ / "Proc9").c_str()), 0) << "missing payload";
    EXPECT_TRUE(ReadTestFile(Target()) == old);

    // The same target takes the good delta.
    WriteTestFile(Payload(), good);
    EXPECT_EQ(ApplyBinaryDelta(Target().c_str(), Payload().c_str()), 1);
    EXPECT_TRUE(ReadTestFile(Target()) == now);
}

TEST_F(BinaryDeltaTest, HeldTargetFailsAndKeepsItsContent) {
    const std::string old = CodeLike(5000, 3), now = "v2" + old;
    UseEntry("");
    WriteTestFile(Target(), old);
    WriteTestFile(Payload(), DeltaOf(old, now));
    const DWORD shares[] = {0, FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE};
    for (DWORD share : shares) {
        HANDLE holder = CreateFileA(Target().c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE) << "share " << share;
        EXPECT_EQ(ApplyBinaryDelta(Target().c_str(), Payload().c_str()), 0) << "share " << share;
        CloseHandle(holder);
        EXPECT_TRUE(ReadTestFile(Target()) == old) << "share " << share;
        EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << "share " << share << ": scratch file left behind";
    }
    EXPECT_EQ(ApplyBinaryDelta(Target().c_str(), Payload().c_str()), 1) << "released again";
    EXPECT_TRUE(ReadTestFile(Target()) == now);
}

TEST_F(BinaryDeltaTest, DeferredUpdateWaitsForTheRestart) {
    const std::string old = CodeLike(5000, 4), now = old.substr(100) + "tail";
    UseEntry("Delay=1\r\n");
    WriteTestFile(Target(), old);
    WriteTestFile(Payload(), DeltaOf(old, now));
    ASSERT_EQ(ApplyBinaryDelta(Target().c_str(), Payload().c_str()), 1);
    EXPECT_EQ(RunState.RebootPending, 1u);
    EXPECT_TRUE(ReadTestFile(Target()) == old) << "target changed before the restart";
    std::vector<std::string> scratch = ScratchFilesIn(folder_);
    ASSERT_EQ(scratch.size(), 1u);
    EXPECT_TRUE(ReadTestFile(folder_ / scratch[0]) == now);
    ForgetPendingRenamesFrom(folder_);
    DeleteFileA((folder_ / scratch[0]).c_str());
}

// "NewCRC" that does not match the new content: each update action fails and
// the target keeps the old content; the right value lets it through.
TEST_F(BinaryDeltaTest, NewCrcMismatchKeepsTheOldFile) {
    const std::string old = "the installed version of the file";
    struct Case {
        const char* what;
        std::string newContent, payload;
        std::function<int(const char*, const char*)> apply;
    } cases[] = {
        {"XOR delta", "the patched version of the file!", XorDeltaOf(old, "the patched version of the file!"),
         ApplyXorDelta},
        {"byte patch", "THE installed version of the file", WriteAtOffsetPatch(0, "THE"), ApplyBytePatch},
        {"binary delta", "patched: the installed version", DeltaOf(old, "patched: the installed version"),
         ApplyBinaryDelta},
    };
    for (const Case& c : cases) {
        const uint32_t right = static_cast<uint32_t>(Crc32Of(c.newContent));
        for (uint32_t newCrc : {right ^ 0x80000000u, right}) {
            UseEntry("CRC=" + SignedDecimal(static_cast<uint32_t>(Crc32Of(old))) + "\r\nNewCRC=" +
                     SignedDecimal(newCrc) + "\r\n");
            WriteTestFile(Target(), old);
            WriteTestFile(Payload(), c.payload);
            const bool matches = newCrc == right;
            EXPECT_EQ(c.apply(Target().c_str(), Payload().c_str()), matches ? 1 : 0) << c.what;
            EXPECT_TRUE(ReadTestFile(Target()) == (matches ? c.newContent : old)) << c.what << " NewCRC " << newCrc;
            EXPECT_TRUE(ScratchFilesIn(folder_).empty()) << c.what << ": scratch file left behind";
        }
    }
}

std::string Line(const std::string& name, const std::string& path, const std::string& word) {
    return name + " " + path + " " + word + "\r\n\r\n";
}

// Both passes over a script of update entries, with real files.
class UpToDateTest : public ::testing::Test {
protected:
    FakeHost host_;  // answers the passes instead of a window
    UpToDateTest() : scratch_("uptodate"), state_(PrepareWork()) {}

    std::string PrepareWork() {
        CreateDirectoryA((scratch_ / "work").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "app").c_str(), nullptr);
        return scratch_ / "work\\";
    }
    std::string Work(const std::string& name) const { return scratch_ / ("work\\" + name); }
    std::string App(const std::string& name) const { return scratch_ / ("app\\" + name); }
    std::string Report() const { return RunState.ReportText ? RunState.ReportText.get() : "<absent>"; }
    std::string Error() const { return RunState.ErrorText ? RunState.ErrorText.get() : "<none>"; }

    ScratchFolder scratch_;
    PassState state_;
};

TEST_F(UpToDateTest, SecondRunReportsEveryEntryUpToDate) {
    const std::string oldLibrary = CodeLike(40000, 5);
    const std::string newLibrary = oldLibrary.substr(0, 10000) + "inserted" + oldLibrary.substr(12000);
    const std::string oldData = "data file, first version", newData = "data file, second version!";
    const std::string oldBytes = "abcdef", newBytes = "XYcdef";
    WriteTestFile(App("lib.dll"), oldLibrary);
    WriteTestFile(App("data.bin"), oldData);
    WriteTestFile(App("bytes.bin"), oldBytes);
    WriteTestFile(Work("Proc1"), DeltaOf(oldLibrary, newLibrary));
    WriteTestFile(Work("Proc2"), XorDeltaOf(oldData, newData));
    WriteTestFile(Work("Proc3"), WriteAtOffsetPatch(0, "XY"));
    auto crcs = [](const std::string& o, const std::string& n) {
        return "CRC=" + SignedDecimal(static_cast<uint32_t>(Crc32Of(o))) + "\r\nNewCRC=" +
               SignedDecimal(static_cast<uint32_t>(Crc32Of(n))) + "\r\n";
    };
    const std::string dir = "Dir=" + scratch_ / "app" + "\r\n";
    WriteTestFile(Work("Setup.ini"), "[Setup]\r\nProcCount=3\r\n"
                                     "[Proc1]\r\nFile=lib.dll\r\nAct=8\r\n" + crcs(oldLibrary, newLibrary) + dir +
                                     "[Proc2]\r\nFile=data.bin\r\nAct=2\r\n" + crcs(oldData, newData) + dir +
                                     "[Proc3]\r\nFile=bytes.bin\r\nAct=3\r\n" + crcs(oldBytes, newBytes) + dir);

    // The skip options stay off: an up-to-date file is not a differing one.
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    RunProcessingPass(host_);
    EXPECT_EQ(Report(), Line("Update file", App("lib.dll"), "OK") + Line("Update file", App("data.bin"), "OK") +
                            Line("Replace bytes", App("bytes.bin"), "OK"));
    EXPECT_TRUE(ReadTestFile(App("lib.dll")) == newLibrary);
    EXPECT_EQ(ReadTestFile(App("data.bin")), newData);
    EXPECT_EQ(ReadTestFile(App("bytes.bin")), newBytes);

    RunState.ReportText.reset();
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    RunProcessingPass(host_);
    EXPECT_EQ(Report(), Line("Update file", App("lib.dll**"), "Skipped") +
                            Line("Update file", App("data.bin**"), "Skipped") +
                            Line("Replace bytes", App("bytes.bin**"), "Skipped"));
    EXPECT_TRUE(ReadTestFile(App("lib.dll")) == newLibrary);
    EXPECT_EQ(ReadTestFile(App("data.bin")), newData);
    EXPECT_EQ(ReadTestFile(App("bytes.bin")), newBytes);
}

TEST_F(UpToDateTest, BinaryDeltaIsCheckedLikeTheXorDelta) {
    const std::string dir = "Dir=" + scratch_ / "app" + "\r\n";
    WriteTestFile(App("lib.dll"), "some other version");
    struct Case {
        const char* what;
        std::string entry;
        int result;
        std::string path;  // as the check leaves it
    } cases[] = {
        {"CRC matches", "File=lib.dll\r\nCRC=" + SignedDecimal(static_cast<uint32_t>(Crc32Of("some other version"))),
         1, App("lib.dll")},
        {"CRC differs", "File=lib.dll\r\nCRC=12345", 0, ""},
        {"CRC differs, NewCRC differs too", "File=lib.dll\r\nCRC=12345\r\nNewCRC=54321", 0, ""},
        {"file missing", "File=absent.dll\r\nCRC=0", 0, ""},
        {"CRC differs, DONTChk means nothing here", "File=lib.dll\r\nCRC=12345\r\nDONTChk=1", 0, ""},
    };
    for (const Case& c : cases) {
        WriteTestFile(Work("Setup.ini"), "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nAct=8\r\n" + c.entry + "\r\n" + dir);
        ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), c.result) << c.what;
        if (c.result) {
            EXPECT_EQ(RunState.EntryPaths[1], c.path) << c.what;
        }
    }
}

}  // namespace
