// Folder handling with Traditional Chinese (Big5, code page 950) names whose
// trail bytes are 0x5C, the byte of a backslash. CTest runs this program
// under the zh_TW.BIG5 locale, from which Wine takes the ANSI code page.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "script/FolderResolution.h"
#include "support/TempOverride.h"
#include "support/TestFiles.h"
#include "support/PassSetup.h"

namespace {

// "功能許": the first and last characters end in 0x5C.
const char kFolderName[] = "\xA5\x5C\xAF\xE0\xB3\x5C";
// "許許": a name of two characters, both ending in 0x5C.
const char kMissingName[] = "\xB3\x5C\xB3\x5C";
// "許.exe"
const char kProgramName[] = "\xB3\x5C.exe";

std::string Hex(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "<";
            out += digits[c >> 4];
            out += digits[c & 15];
            out += ">";
        }
    }
    return out;
}

std::string Shown(const char* text) { return text ? "\"" + Hex(text) + "\"" : "none"; }

// The names in `folder`, in Hex form, sorted, separated by blanks.
std::string EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (find.valid()) {
        do {
            if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
                names.push_back(Hex(found.cFileName));
        } while (FindNextFileA(find.get(), &found));
    }
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
    return out;
}

// Removes `folder` and everything in it, joining each found name to its
// folder rather than taking paths apart, so trail bytes 0x5C do no harm.
void RemoveWhole(const std::string& folder);

void RemoveContents(const std::string& folder) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find.valid()) return;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
        const std::string path = folder + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveWhole(path);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(find.get(), &found));
}

void RemoveWhole(const std::string& folder) {
    RemoveContents(folder);
    RemoveDirectoryA(folder.c_str());
}

class Big5PathTest : public ::testing::Test {
protected:
    FakeHost host_;  // answers the passes instead of a window
    Big5PathTest()
        : scratch_("big5"),
          keyPath_("Software\\ZuliTest\\Big5Path-" + std::to_string(GetCurrentProcessId()) + "\\" + kFolderName) {}

    void SetUp() override {
        if (GetACP() != 950) {
            // A skip counts as a pass: on a build machine that would leave
            // double-byte names untested without anyone noticing.
            const char* ci = std::getenv("CI");
            if (ci && std::strcmp(ci, "true") == 0)
                FAIL() << "needs the ANSI code page 950 (Big5), got " << GetACP()
                       << "; generate the zh_TW.BIG5 locale (scripts/install-deps.sh)";
            GTEST_SKIP() << "needs the ANSI code page 950 (Big5), got " << GetACP()
                         << "; run under LC_ALL=zh_TW.BIG5 with that locale generated (scripts/install-deps.sh)";
        }
        ASSERT_TRUE(IsDBCSLeadByte(0xB3)) << "0xB3 must lead a double-byte character under code page 950";
        folder_ = scratch_.Path() + kFolderName;
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << "error " << GetLastError();
        WriteTestFile(folder_ + "\\" + kProgramName, "MZ");

        RunState.PreviousFolder = NewPathBuffer();
        RunState.ErrorText.reset();
        RunState.Registry = RegistryAccessor();
        WriteTestFile(scratch_ / "Setup.ini", "[Proc1]\r\nDir=Reg\r\n");
        RunState.ScriptReader.Clear();
        RunState.ScriptReader.SetFile((scratch_ / "Setup.ini").c_str());
        RunState.ScriptReader.SetSection("Proc1");
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key_.put(), nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        // Removed here, because a name whose last byte is 0x5C looks like it
        // ends in a backslash to a byte-wise tree walk.
        if (!folder_.empty()) RemoveWhole(folder_);
        std::free(RunState.PreviousFolder);
        RunState.PreviousFolder = nullptr;
        RunState.ScriptReader.Clear();
        RunState.ErrorText.reset();
        key_.reset();
        std::string top = "Software\\ZuliTest\\Big5Path-" + std::to_string(GetCurrentProcessId());
        SHDeleteKeyA(HKEY_CURRENT_USER, top.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZuliTest");  // only when no other test's key is left
    }

    std::string Scratch() const { return scratch_.Path().substr(0, scratch_.Path().size() - 1); }

    ScratchFolder scratch_;
    std::string keyPath_;
    std::string folder_;  // scratch + kFolderName, no trailing backslash
    UniqueKey key_;
};

TEST_F(Big5PathTest, FileSystemKeepsTheNameWhole) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(FindFirstFileA(folder_.c_str(), &found));
    ASSERT_TRUE(find.valid());
    EXPECT_EQ(Hex(found.cFileName), Hex(kFolderName));
    EXPECT_TRUE(PathIsDirectoryA(folder_.c_str()));
    EXPECT_TRUE(FileExists(folder_ + "\\" + kProgramName));
}

// The project's folder functions take a trail byte 0x5C for part of a
// character, never for a separator: the chain below is made of exactly the
// named folders, nothing more and nothing cut short.
TEST_F(Big5PathTest, FolderChainOfTrailByteNamesIsCreatedWhole) {
    const std::string middle = folder_ + "\\" + kMissingName;
    const std::string deepest = middle + "\\" + kMissingName;
    EXPECT_EQ(CreateFolderPath(deepest.c_str()), 1);
    EXPECT_TRUE(PathIsDirectoryA(deepest.c_str())) << Hex(deepest);
    EXPECT_EQ(EntriesOf(folder_), Hex(kProgramName) + " " + Hex(kMissingName));
    EXPECT_EQ(EntriesOf(middle), Hex(kMissingName));
    EXPECT_EQ(EntriesOf(deepest), "");
    EXPECT_EQ(CreateFolderPath(deepest.c_str()), 0) << "a folder that exists already gives 0";
}

TEST_F(Big5PathTest, CopyCreatesAMissingChainOfTrailByteNames) {
    const std::string middle = folder_ + "\\" + kMissingName;
    // The file's own name ends in 0x5C too, so a cut at the last 0x5C byte
    // would fall inside it.
    const std::string target = middle + "\\" + kMissingName + "\\" + kMissingName;
    EXPECT_NE(CopyFileCreatingFolders((folder_ + "\\" + kProgramName).c_str(), target.c_str()), 0);
    EXPECT_EQ(ReadTestFile(target), "MZ");
    EXPECT_EQ(EntriesOf(folder_), Hex(kProgramName) + " " + Hex(kMissingName));
    EXPECT_EQ(EntriesOf(middle), Hex(kMissingName));
    EXPECT_EQ(EntriesOf(middle + "\\" + kMissingName), Hex(kMissingName));
}

// The working folder under a temporary directory whose name ends in a trail
// byte 0x5C: made inside that directory, and every path of the table in it.
TEST_F(Big5PathTest, WorkingFolderUnderATemporaryDirectoryEndingInATrailByte) {
    TempOverride redirect(folder_);
    ASSERT_EQ(BuildPathTable(), 1);
    const std::string work = RunState.WorkFolder;
    ASSERT_GT(work.size(), folder_.size() + 1);
    EXPECT_EQ(Hex(work.substr(0, folder_.size() + 1)), Hex(folder_ + "\\"));
    const std::string name = work.substr(folder_.size() + 1);
    EXPECT_EQ(name.compare(0, 7, "ZuliTmp"), 0) << Hex(name);
    EXPECT_EQ(name.back(), '\\');
    EXPECT_EQ(EntriesOf(folder_), Hex(kProgramName) + " " + Hex(name.substr(0, name.size() - 1)))
        << "the working folder is not where the temporary directory is";
    EXPECT_EQ(Shown(RunState.ScriptPath), Shown((work + "Setup.ini").c_str()));
    EXPECT_EQ(Shown(RunState.CabinetPath), Shown((work + "Data.cab").c_str()));
    EXPECT_EQ(Shown(RunState.SideImagePath), Shown((work + "Setup.img").c_str()));
    EXPECT_EQ(Shown(RunState.BrandImagePath), Shown((work + "Zuli.img").c_str()));
    EXPECT_EQ(CleanUpSession(), 1);
    EXPECT_EQ(EntriesOf(folder_), Hex(kProgramName)) << "the working folder stays";
}

TEST_F(Big5PathTest, LiteralFolderSurvivesResolution) {
    HeapText folder = ResolveFolder(folder_.c_str(), host_);
    EXPECT_EQ(Shown(folder.get()), Shown(folder_.c_str()));
    EXPECT_EQ(Shown(RunState.PreviousFolder), Shown(folder_.c_str()));
    HeapText previous = ResolveFolder("Pre", host_);
    EXPECT_EQ(Shown(previous.get()), Shown(folder_.c_str()));

    char target[MAX_PATH + 1] = {};
    std::strcpy(target, folder.get());
    ASSERT_TRUE(AppendPath(target, kProgramName));
    EXPECT_EQ(Hex(target), Hex(folder_ + "\\" + kProgramName));
    EXPECT_TRUE(FileExists(target));
}

TEST_F(Big5PathTest, RegistryFolderLosesOnlyItsLastComponent) {
    struct Case {
        const char* name;
        std::string data;
        std::string expected;
        const char* what;
    } cases[] = {
        {"Program", folder_ + "\\" + kProgramName, folder_, "a program's file gives its folder"},
        {"Folder", folder_, folder_, "an existing directory ending in 0x5C is kept"},
        {"FolderSlash", folder_ + "\\", folder_ + "\\", "and kept with its backslash"},
        {"Missing", Scratch() + "\\" + kMissingName, Scratch(), "a missing name of 0x5C trail bytes goes whole"},
        {"Deeper", folder_ + "\\" + kMissingName + "\\" + kMissingName, folder_ + "\\" + kMissingName,
         "a missing directory loses one component"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(RegSetValueExA(key_.get(), c.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.data.c_str()),
                                 static_cast<DWORD>(c.data.size() + 1)),
                  ERROR_SUCCESS);
        // The subkey's own last name ends in 0x5C too.
        std::string regKey = "HKCU," + keyPath_ + "," + c.name;
        ASSERT_TRUE(WritePrivateProfileStringA("Proc1", "RegKey", regKey.c_str(), (scratch_ / "Setup.ini").c_str()));

        HeapText direct = ReadRegistryFolder();
        EXPECT_EQ(Shown(direct.get()), Shown(c.expected.c_str())) << c.what;
        HeapText folder = ResolveFolder("Reg", host_);
        EXPECT_EQ(Shown(folder.get()), Shown(c.expected.c_str())) << c.what << " (through ResolveFolder)";
        EXPECT_EQ(Shown(RunState.PreviousFolder), Shown(c.expected.c_str())) << c.what;
        EXPECT_FALSE(RunState.ErrorText) << c.what;
    }
}

}  // namespace
