// Unpacking the payload cabinet (resource 2000) into the working folder. The
// tests serve resource 2000 through SetPlainResource, as start-up does for
// the sealed resources.
#include <gtest/gtest.h>

#include <string>

#include "core/Payload.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "support/CabinetFixture.h"
#include "support/TempOverride.h"
#include "support/TestFiles.h"

namespace {

void ServeCabinet(const std::string& bytes) {
    ASSERT_TRUE(SetPlainResource(ResPayloadCabinet, bytes.data(), bytes.size()));
}

// A folder whose "extrac32.exe" is the recording child: it records its command
// line and keeps a copy of the cabinet it was handed.
struct FakeExtractor {
    ScratchFolder folder{"fake extractor"};
    FakeExtractor() {
        CopyFileA((ExecutableFolder() + "record_args.exe").c_str(), (folder / "extrac32.exe").c_str(), FALSE);
    }
};

}  // namespace

TEST(ExtractPayload, UnpacksEveryFileIntoTheNewWorkingFolder) {
    // A blank in the temporary directory's path must not split the cabinet
    // argument of the extractor.
    ScratchFolder temp("with space");
    ASSERT_NE(temp.Path().find(' '), std::string::npos);
    TempOverride redirect(temp.Path());
    DetectPlatform();
    ASSERT_EQ(BuildPathTable(), 1);
    std::string work = RunState.WorkFolder;
    std::string system = RunState.IsNT == 1 ? RunState.SystemFolder : RunState.WindowsFolder;
    ASSERT_TRUE(FileExists(system + "extrac32.exe")) << "no system cabinet extractor in " << system;

    std::vector<std::pair<std::string, std::string>> files = {
        {"Setup.ini", "[Setup]\r\nProcCount=1\r\n"},
        {"Proc1", std::string("\0\1\2binary\xff", 10)},
        {"Setup.img", std::string(40000, 'B')},  // spans two data blocks
        {"Empty", ""},
    };
    ServeCabinet(MakeStoredCabinet(files));
    EXPECT_EQ(ExtractPayload(), 1);
    for (const auto& file : files)
        EXPECT_EQ(ReadTestFile(work + file.first), file.second) << file.first << " not unpacked as stored";
    EXPECT_FALSE(FileExists(RunState.CabinetPath)) << "the cabinet file stays behind";
    EXPECT_EQ(CleanUpSession(), 1) << "the clean-up takes every unpacked file along";
}

// The extractor's word is not taken for it: every listed file must be there
// with its listed size, "Setup.ini" among them; names that would leave the
// working folder stop the run before anything is unpacked.
TEST(ExtractPayload, ChecksTheUnpackedFilesAgainstTheCabinetDirectory) {
    ScratchFolder temp("checked");
    TempOverride redirect(temp.Path());
    DetectPlatform();
    std::string whole = MakeStoredCabinet({{"Setup.ini", "[Setup]"}, {"Proc1", std::string(40000, 'P')}});
    // Without its last data block the cabinet still names Proc1 with its
    // full size, but the extractor cannot make it.
    std::string cut = whole.substr(0, whole.size() - (8 + 40000 + 7 - 32768));
    for (int i = 0; i < 4; ++i) cut[8 + i] = static_cast<char>((cut.size() >> (8 * i)) & 0xFF);
    struct Case {
        const char* what;
        std::string cabinet;
        int expected;
        bool unpacks;  // the extractor is run at all
    } cases[] = {
        {"complete", whole, 1, true},
        {"a listed file cut short", cut, 0, true},
        {"no Setup.ini", MakeStoredCabinet({{"Proc1", "p"}, {"Setup.img", "i"}}), 0, false},
        {"a name with a folder", MakeStoredCabinet({{"Setup.ini", "[Setup]"}, {"sub\\Proc1", "p"}}), 0, false},
        {"a name that climbs out", MakeStoredCabinet({{"Setup.ini", "[Setup]"}, {"..\\Proc1", "p"}}), 0, false},
        {"a wildcard", MakeStoredCabinet({{"Setup.ini", "[Setup]"}, {"Proc*", "p"}}), 0, false},
        {"a name too long for the folder", MakeStoredCabinet({{"Setup.ini", "[Setup]"}, {std::string(250, 'n'), "p"}}),
         0, false},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(BuildPathTable(), 1) << c.what;
        std::string work = RunState.WorkFolder;
        ServeCabinet(c.cabinet);
        EXPECT_EQ(ExtractPayload(), c.expected) << c.what;
        if (!c.unpacks) {
            EXPECT_FALSE(FileExists(work + "Setup.ini")) << c.what << ": something was unpacked";
        }
        CleanUpSession();
        EXPECT_FALSE(FileExists(work)) << c.what << ": the working folder stays";
        EXPECT_FALSE(FileExists(temp.Path() + "Proc1")) << c.what << ": a file landed outside the working folder";
    }
}

TEST(PayloadCarries, NamesWhatTheCabinetListsWithoutCase) {
    ServeCabinet(MakeStoredCabinet({{"Setup.ini", "s"}, {"Uninstaller.exe", "u"}}));
    struct Case {
        const char* name;
        int expected;
    } cases[] = {{"Uninstaller.exe", 1}, {"uninstaller.EXE", 1}, {"Setup.ini", 1},
                 {"Uninstaller", 0},     {"Proc1", 0},           {"Uninstaller.exe.bak", 0}};
    for (const Case& c : cases) EXPECT_EQ(PayloadCarries(c.name), c.expected) << c.name;
    ServeCabinet(MakeStoredCabinet({{"Setup.ini", "s"}}));
    EXPECT_EQ(PayloadCarries("Uninstaller.exe"), 0);
}

TEST(ExtractPayload, WritesOnlyTheBytesTheSizeFieldNames) {
    ScratchFolder temp("size field");
    TempOverride redirect(temp.Path());
    BuildPathTable();
    FakeExtractor extractor;
    RunState.IsNT = 1;
    RunState.SystemFolder = const_cast<char*>(extractor.folder.Path().c_str());

    std::string cabinet = MakeStoredCabinet({{"Setup.ini", "[Setup]"}});
    std::string stored = cabinet + "TRAILING BYTES BEYOND THE CABINET";
    ServeCabinet(stored);
    EXPECT_EQ(ExtractPayload(), 0) << "the fake extractor unpacks nothing";
    std::string work = RunState.WorkFolder;
    std::string written = ReadTestFile(work + "recorded.bin");
    EXPECT_EQ(written.size(), CabinetSizeField(stored));
    EXPECT_EQ(written, cabinet);
    EXPECT_FALSE(FileExists(RunState.CabinetPath));

    // The command line: the title, the quoted cabinet, all files, overwrite.
    std::string line = ReadTestFile(work + "recorded.txt");
    std::string tail = std::string(" \"") + RunState.CabinetPath + "\" *.* /Y";
    ASSERT_GE(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << "command line was: " << line;
    RunState.SystemFolder = nullptr;
}

TEST(ExtractPayload, NeverWritesPastTheResource) {
    ScratchFolder temp("size too big");
    TempOverride redirect(temp.Path());
    BuildPathTable();
    FakeExtractor extractor;
    RunState.IsNT = 1;
    RunState.SystemFolder = const_cast<char*>(extractor.folder.Path().c_str());

    std::string cabinet = MakeStoredCabinet({{"Setup.ini", "[Setup]"}});
    std::string damaged = cabinet;
    damaged[9] = '\x7f';  // claims tens of kilobytes more than there are
    ServeCabinet(damaged);
    EXPECT_EQ(ExtractPayload(), 0) << "the fake extractor unpacks nothing";
    EXPECT_EQ(ReadTestFile(std::string(RunState.WorkFolder) + "recorded.bin"), damaged);
    RunState.SystemFolder = nullptr;
}

TEST(ExtractPayload, TakesTheExtractorFromTheFolderOfThePlatform) {
    ScratchFolder temp("platform");
    TempOverride redirect(temp.Path());
    FakeExtractor extractor;
    ScratchFolder empty("no extractor");
    ServeCabinet(MakeStoredCabinet({{"Setup.ini", "[Setup]"}}));
    std::string fake = extractor.folder.Path(), none = empty.Path();
    struct Case {
        uint32_t isNT;
        const std::string* system;
        const std::string* windows;
        bool runs;
    } cases[] = {
        {1, &fake, &none, true},  // NT family: system folder
        {1, &none, &fake, false},
        {0, &none, &fake, true},  // Windows 95, 98, Me: Windows folder
        {0, &fake, &none, false},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(BuildPathTable(), 1);
        RunState.IsNT = c.isNT;
        RunState.SystemFolder = const_cast<char*>(c.system->c_str());
        RunState.WindowsFolder = const_cast<char*>(c.windows->c_str());
        // The fake extractor records its call and unpacks nothing, so the
        // extraction fails either way.
        EXPECT_EQ(ExtractPayload(), 0);
        EXPECT_EQ(FileExists(std::string(RunState.WorkFolder) + "recorded.txt"), c.runs)
            << "IsNT " << c.isNT << ", extractor in the " << (c.system == &fake ? "system" : "Windows") << " folder";
        EXPECT_FALSE(FileExists(RunState.CabinetPath));
    }
    RunState.SystemFolder = RunState.WindowsFolder = nullptr;
}

TEST(ExtractPayload, FailsWhenTheCabinetCannotBeReplaced) {
    ScratchFolder temp("locked cabinet");
    TempOverride redirect(temp.Path());
    BuildPathTable();
    FakeExtractor extractor;
    RunState.IsNT = 1;
    RunState.SystemFolder = const_cast<char*>(extractor.folder.Path().c_str());
    ServeCabinet(MakeStoredCabinet({{"Setup.ini", "[Setup]"}}));
    // A folder in the cabinet's place cannot be deleted as a file.
    ASSERT_TRUE(CreateDirectoryA(RunState.CabinetPath, nullptr));
    EXPECT_EQ(ExtractPayload(), 0);
    EXPECT_FALSE(FileExists(std::string(RunState.WorkFolder) + "recorded.txt")) << "the extractor ran";
    RemoveDirectoryA(RunState.CabinetPath);
    RunState.SystemFolder = nullptr;
}
