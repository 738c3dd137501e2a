// The processing pass and its report, after a real verification pass, with
// real payloads, target files and registry lines.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <cstdint>
#include <string>

#include "actions/ProcessingPass.h"
#include "actions/Report.h"
#include "core/RunState.h"
#include "script/Verification.h"
#include "support/PassSetup.h"
#include "support/PayloadBytes.h"
#include "support/TestFiles.h"

namespace {

std::string Report() { return RunState.ReportText ? RunState.ReportText.get() : "<absent>"; }
std::string Error() { return RunState.ErrorText ? RunState.ErrorText.get() : "<none>"; }

std::string Line(const std::string& name, const std::string& path, const std::string& word) {
    return name + " " + path + " " + word + "\r\n\r\n";
}

std::string ContentWithHighCrc() {
    for (int i = 0;; ++i) {
        std::string content = "library version " + std::to_string(i);
        if (Crc32Of(content) & 0x80000000ul) return content;
    }
}

std::string RegistryString(const std::string& subkey, const char* name) {
    char value[256] = {};
    DWORD size = sizeof value;
    if (SHGetValueA(HKEY_CURRENT_USER, subkey.c_str(), name, nullptr, value, &size) != ERROR_SUCCESS) return "<absent>";
    return value;
}

class ProcessingPassTest : public ::testing::Test {
protected:
    FakeHost host_;  // answers the passes instead of a window
    ProcessingPassTest()
        : scratch_("processing"),
          state_(PrepareWork()),
          keyPath_("Software\\ZuliTest\\Processing-" + std::to_string(GetCurrentProcessId())) {}

    ~ProcessingPassTest() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZuliTest");  // only when no other test's key is left
    }

    std::string PrepareWork() {
        CreateDirectoryA((scratch_ / "work").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "app").c_str(), nullptr);
        return scratch_ / "work\\";
    }

    void WriteScript(const std::string& text) { WriteTestFile(Work("Setup.ini"), text); }
    std::string Work(const std::string& name) const { return scratch_ / ("work\\" + name); }
    std::string App(const std::string& relative = "") const { return scratch_ / ("app\\" + relative); }
    std::string AppFolder() const { return scratch_ / "app"; }

    ScratchFolder scratch_;
    PassState state_;
    std::string keyPath_;
};

TEST_F(ProcessingPassTest, ReportOfEveryKindOfEntryAndTheRegistry) {
    RunState.SkipMissingOption = 1;
    RunState.SkipDifferingOption = 1;

    const std::string oldLibrary = ContentWithHighCrc();
    const std::string newLibrary = "library version two, longer than before";
    WriteTestFile(App("lib.dll"), oldLibrary);
    WriteTestFile(App("other.dll"), "not the version the patch expects");
    WriteTestFile(App("patch.bin"), "abcdef");
    WriteTestFile(App("present.doc"), "d");
    WriteTestFile(App("settings.ini"), "[Main]\r\nMode=1\r\n");
    WriteTestFile(App("old-name.txt"), "r");
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "run_entry_child.exe").c_str(), Work("Proc12").c_str(), FALSE));

    WriteTestFile(Work("Proc1"), "added content");
    WriteTestFile(Work("Proc2"), XorOf(oldLibrary, newLibrary));
    WriteTestFile(Work("Proc3"), "never used");
    WriteTestFile(Work("Proc4"), WriteAtOffsetPatch(0, "XY"));

    const std::string crc = std::to_string(static_cast<int32_t>(static_cast<uint32_t>(Crc32Of(oldLibrary))));
    const std::string dir = "Dir=" + AppFolder() + "\r\n";
    WriteScript("[Setup]\r\nProcCount=12\r\nAddReg=1\r\nDelReg=0\r\n"
                "[Proc1]\r\nFile=new\\added.txt\r\nAct=1\r\n" + dir +
                "[Proc2]\r\nFile=lib.dll\r\nAct=2\r\nCRC=" + crc + "\r\n" + dir +
                "[Proc3]\r\nFile=other.dll\r\nAct=2\r\nCRC=" + crc + "\r\n" + dir +
                "[Proc4]\r\nFile=patch.bin\r\nAct=3\r\nDONTChk=1\r\nCRC=1\r\n" + dir +
                "[Proc5]\r\nFile=gone.txt\r\nAct=4\r\n" + dir +
                "[Proc6]\r\nFile=present.doc\r\nAct=7\r\n" + dir +
                "[Proc7]\r\nFile=whatever\r\nAct=9\r\n" + dir +
                "[Proc8]\r\nFile=settings.ini\r\nAct=5\r\nCount=2\r\nINIKey1=Main,Mode,2\r\n" + dir +
                "[Proc9]\r\nFile=old-name.txt\r\nAct=6\r\nNewName=new-name.txt\r\n" + dir +
                "[Proc10]\r\nFile=absent.doc\r\nAct=7\r\n" + dir +
                "[Proc11]\r\nFile=nothing.exe\r\n" + dir +
                "[Proc12]\r\nFile=tool.exe\r\nAct=0\r\n" + dir +
                "[AddReg]\r\n1=HKCU," + keyPath_ + ",Installed,1,4,yes\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    RunProcessingPass(host_);

    const std::string expected =
        Line("Add file", App("new\\added.txt"), "OK") +
        Line("Update file", App("lib.dll"), "OK") +
        Line("Update file", App("other.dll**"), "Skipped") +
        Line("Replace bytes", App("patch.bin"), "OK") +
        Line("Delete file", App("gone.txt"), "OK") +
        Line("Update INI file", App("settings.ini"), "Failed") +
        Line("Rename file", App("old-name.txt"), "OK") +
        Line("Update document", App("absent.doc**"), "Skipped") +
        Line("Run file", App("nothing.exe"), "Failed") +
        Line("Run file", App("tool.exe"), "OK") +
        "Update registry   OK\r\n\r\n";
    EXPECT_EQ(Report(), expected);

    // What the actions did on disk.
    EXPECT_EQ(ReadTestFile(App("new\\added.txt")), "added content");
    EXPECT_EQ(ReadTestFile(App("lib.dll")), newLibrary);
    EXPECT_EQ(ReadTestFile(App("other.dll")), "not the version the patch expects") << "a skipped entry was run";
    EXPECT_TRUE(FileExists(Work("Proc3")));
    EXPECT_EQ(ReadTestFile(App("patch.bin")), "XYcdef");
    char mode[16] = {};
    GetPrivateProfileStringA("Main", "Mode", "", mode, sizeof mode, App("settings.ini").c_str());
    EXPECT_STREQ(mode, "2") << "the good INI line is written despite the missing one";
    EXPECT_EQ(ReadTestFile(App("new-name.txt")), "r");
    EXPECT_TRUE(FileExists(App("tool.exe.done"))) << "the run entry did not wait for its program";
    EXPECT_EQ(RegistryString(keyPath_, "Installed"), "yes");

    EXPECT_EQ(host_.shown, 12);
    HeapText section = RunState.ScriptReader.CopySectionName();
    EXPECT_STREQ(section.get(), "RenReg") << "the registry sections leave the last one current";
}

TEST_F(ProcessingPassTest, RegistrySummaryFailsWhenAnySectionFails) {
    WriteScript("[Setup]\r\nProcCount=0\r\nDelReg=1\r\n"
                "[DelReg]\r\n1=HKCU," + keyPath_ + "\\NoSuchKey,NoSuchValue\r\n");
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1);
    RunProcessingPass(host_);
    EXPECT_EQ(Report(), "Update registry   Failed\r\n\r\n");
}

TEST_F(ProcessingPassTest, RegistrySectionsRunWithoutEntries) {
    // No verification pass at all: no table, EntryCount 0.
    WriteScript("[Setup]\r\nAddReg=2\r\n"
                "[AddReg]\r\n1=HKCU," + keyPath_ + ",First,1,2,a\r\n2=HKCU," + keyPath_ + ",Second,1,2,b\r\n");
    RunState.ScriptReader.SetFile(RunState.ScriptPath);
    RunProcessingPass(host_);
    EXPECT_EQ(Report(), "Update registry   OK\r\n\r\n") << "one summary line, whatever the line count";
    EXPECT_EQ(RegistryString(keyPath_, "First"), "a");
    EXPECT_EQ(RegistryString(keyPath_, "Second"), "b");
}

TEST_F(ProcessingPassTest, NothingToDoLeavesTheReportAbsent) {
    const char* scripts[] = {
        "[Setup]\r\nProcCount=0\r\nAddReg=0\r\nDelReg=0\r\nRenReg=0\r\n",
        "[Setup]\r\nAddReg=-1\r\n",
        "[Other]\r\nX=1\r\n",
    };
    for (const char* script : scripts) {
        WriteScript(script);
        ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << script;
        RunProcessingPass(host_);
        EXPECT_FALSE(RunState.ReportText) << script << ": report " << Report();
    }
}

TEST_F(ProcessingPassTest, EntriesOnOneTargetRunInEntryOrder) {
    WriteTestFile(Work("Proc1"), "first");
    WriteTestFile(Work("Proc3"), "third");
    const std::string dir = "Dir=" + AppFolder() + "\r\n";
    WriteScript("[Setup]\r\nProcCount=3\r\n"
                "[Proc1]\r\nFile=same.txt\r\nAct=1\r\n" + dir +
                "[Proc2]\r\nFile=same.txt\r\nAct=4\r\n" + dir +
                "[Proc3]\r\nFile=same.txt\r\nAct=1\r\n" + dir);
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    RunProcessingPass(host_);
    EXPECT_EQ(ReadTestFile(App("same.txt")), "third");
    EXPECT_EQ(Report(), Line("Add file", App("same.txt"), "OK") + Line("Delete file", App("same.txt"), "OK") +
                            Line("Add file", App("same.txt"), "OK"));
}

TEST_F(ProcessingPassTest, ReportIsOnlyEverExtended) {
    const std::string dir = "Dir=" + AppFolder() + "\r\n";
    WriteScript("[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=x.txt\r\nAct=4\r\n" + dir);
    AppendReportLine(8, " ", 0, false);
    ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host_), 1) << Error();
    RunProcessingPass(host_);
    EXPECT_EQ(Report(), "Update registry   Failed\r\n\r\n" + Line("Delete file", App("x.txt"), "OK"));
}

TEST(AppendReportLine, NamesWordsAndTheSkippedFlag) {
    struct Case {
        int code;
        const char* path;
        int result;
        bool skipped;
        const char* expected;
    } cases[] = {
        {0, "C:\\a.exe", 1, false, "Run file C:\\a.exe OK\r\n\r\n"},
        {6, "C:\\b.txt", 0, false, "Rename file C:\\b.txt Failed\r\n\r\n"},
        {2, "C:\\c.dll**", 1, true, "Update file C:\\c.dll** Skipped\r\n\r\n"},  // skipped wins over the result
        {7, "C:\\d.doc**", 0, true, "Update document C:\\d.doc** Skipped\r\n\r\n"},
        {8, " ", -5, false, "Update registry   OK\r\n\r\n"},  // any non-zero result is success
        {9, "C:\\e", 1, false, "<absent>"},   // no report name: no line
        {-1, "C:\\f", 1, true, "<absent>"},
    };
    for (const Case& c : cases) {
        RunState.ReportText.reset();
        AppendReportLine(c.code, c.path, c.result, c.skipped);
        EXPECT_EQ(Report(), c.expected) << "code " << c.code << " result " << c.result << " skipped " << c.skipped;
    }
    // A report that is some other text than the one last extended (here put
    // in place directly) is extended from its own end, line after line.
    RunState.ReportText = CopyText("Earlier line\r\n\r\n");
    AppendReportLine(1, "C:\\g", 1, false);
    AppendReportLine(4, "C:\\h", 0, false);
    EXPECT_EQ(Report(), "Earlier line\r\n\r\nAdd file C:\\g OK\r\n\r\nDelete file C:\\h Failed\r\n\r\n");
    RunState.ReportText.reset();
}

}  // namespace
