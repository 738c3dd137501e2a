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

TEST(ExtractPayload, UnpacksEveryFileAndOverwritesLeftOnes) {
    // A blank in the temporary directory's path must not split the cabinet
    // argument of the extractor.
    ScratchFolder temp("with space");
    ASSERT_NE(temp.Path().find(' '), std::string::npos);
    TempOverride redirect(temp.Path());
    DetectPlatform();
    BuildPathTable();
    std::string work = RunState.WorkFolder;
    std::string system = RunState.IsNT == 1 ? RunState.SystemFolder : RunState.WindowsFolder;
    ASSERT_TRUE(FileExists(system + "extrac32.exe")) << "no system cabinet extractor in " << system;

    WriteTestFile(work + "Setup.ini", "an older and longer script left by an earlier run");
    WriteTestFile(work + "Proc1", "an older payload, left read-only");
    SetFileAttributesA((work + "Proc1").c_str(), FILE_ATTRIBUTE_READONLY);
    std::vector<std::pair<std::string, std::string>> files = {
        {"Setup.ini", "[Setup]\r\nProcCount=1\r\n"},
        {"Proc1", std::string("\0\1\2binary\xff", 10)},
        {"Setup.img", std::string(40000, 'B')},  // spans two data blocks
    };
    ServeCabinet(MakeStoredCabinet(files));
    EXPECT_EQ(ExtractPayload(), 1);
    for (const auto& file : files)
        EXPECT_EQ(ReadTestFile(work + file.first), file.second) << file.first << " not unpacked as stored";
    EXPECT_FALSE(FileExists(RunState.CabinetPath)) << "the cabinet file stays behind";
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
    EXPECT_EQ(ExtractPayload(), 1);
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
    EXPECT_EQ(ExtractPayload(), 1);
    EXPECT_EQ(ReadTestFile(std::string(RunState.WorkFolder) + "recorded.bin"), damaged);
    RunState.SystemFolder = nullptr;
}

TEST(ExtractPayload, TakesTheExtractorFromTheFolderOfThePlatform) {
    ScratchFolder temp("platform");
    TempOverride redirect(temp.Path());
    BuildPathTable();
    FakeExtractor extractor;
    ScratchFolder empty("no extractor");
    ServeCabinet(MakeStoredCabinet({{"Setup.ini", "[Setup]"}}));
    std::string fake = extractor.folder.Path(), none = empty.Path();
    struct Case {
        uint32_t isNT;
        const std::string* system;
        const std::string* windows;
        int expected;
    } cases[] = {
        {1, &fake, &none, 1},  // NT family: system folder
        {1, &none, &fake, 0},
        {0, &none, &fake, 1},  // Windows 95, 98, Me: Windows folder
        {0, &fake, &none, 0},
    };
    for (const Case& c : cases) {
        RunState.IsNT = c.isNT;
        RunState.SystemFolder = const_cast<char*>(c.system->c_str());
        RunState.WindowsFolder = const_cast<char*>(c.windows->c_str());
        EXPECT_EQ(ExtractPayload(), c.expected) << "IsNT " << c.isNT << ", extractor in the "
                                                << (c.system == &fake ? "system" : "Windows") << " folder";
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
