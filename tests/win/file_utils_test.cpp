// The file utilities against the real file system under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "core/FileUtils.h"
#include "core/RunState.h"
#include "support/TestFiles.h"

namespace {

class FileUtilsTest : public ::testing::Test {
protected:
    ScratchFolder folder{"fileutils"};
};

TEST_F(FileUtilsTest, AppendPathJoinsWithOneBackslashAndSkipsAbsentParts) {
    struct Case {
        const char* base;
        const char* part;
        const char* expected;
    } cases[] = {
        {"C:\\Temp", "ZuliTmp\\", "C:\\Temp\\ZuliTmp\\"},
        {"C:\\Temp\\", "ZuliTmp\\", "C:\\Temp\\ZuliTmp\\"},
        {"C:\\Temp\\", "Setup.ini", "C:\\Temp\\Setup.ini"},
        {"C:\\Temp", nullptr, "C:\\Temp"},
    };
    for (const Case& c : cases) {
        char path[kPathBufferSize] = {};
        lstrcpyA(path, c.base);
        EXPECT_NE(AppendPath(path, c.part), 0) << c.base;
        EXPECT_STREQ(path, c.expected) << "base " << c.base << " part " << (c.part ? c.part : "(none)");
    }
    char path[kPathBufferSize] = "C:\\x";
    EXPECT_EQ(AppendPath(path, nullptr), 1);
}

TEST_F(FileUtilsTest, ReadWholeFileGivesExactBytesAndSize) {
    std::string content("ab\0cd\r\n\x1a" "ef", 9);  // binary: no text translation
    WriteTestFile(folder / "data.bin", content);
    RunState.LastFileSize = 12345;
    HeapBytes data = ReadWholeFile((folder / "data.bin").c_str());
    ASSERT_TRUE(data);
    ASSERT_EQ(RunState.LastFileSize, content.size());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data.get()), RunState.LastFileSize), content);
}

TEST_F(FileUtilsTest, ReadWholeFileOfMissingOrEmptyFileGivesNone) {
    RunState.LastFileSize = 77;
    EXPECT_FALSE(ReadWholeFile((folder / "missing.bin").c_str()));
    EXPECT_EQ(RunState.LastFileSize, 77u) << "a missing file leaves the size alone";

    WriteTestFile(folder / "empty.bin", "");
    EXPECT_FALSE(ReadWholeFile((folder / "empty.bin").c_str()));
    EXPECT_EQ(RunState.LastFileSize, 0u);
}

TEST_F(FileUtilsTest, WriteWholeFileDoesNotTruncate) {
    std::string path = folder / "hundred.bin";
    WriteTestFile(path, std::string(100, 'x'));
    ASSERT_EQ(WriteWholeFile(path.c_str(), "0123456789", 10), 1);
    std::string after = ReadTestFile(path);
    ASSERT_EQ(after.size(), 100u);
    EXPECT_EQ(after.substr(0, 10), "0123456789");
    EXPECT_EQ(after.substr(10), std::string(90, 'x'));
}

TEST_F(FileUtilsTest, WriteWholeFileCreatesAWritableFile) {
    std::string path = folder / "new.bin";
    ASSERT_EQ(WriteWholeFile(path.c_str(), "abc", 3), 1);
    EXPECT_EQ(ReadTestFile(path), "abc");
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(WriteWholeFile((folder / "no\\such\\folder\\x.bin").c_str(), "abc", 3), 0);
}

TEST_F(FileUtilsTest, DeleteFileForced) {
    std::string readOnly = folder / "readonly.txt";
    WriteTestFile(readOnly, "r");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(DeleteFileForced(readOnly.c_str()), 1);
    EXPECT_FALSE(FileExists(readOnly));

    EXPECT_EQ(DeleteFileForced((folder / "never-there.txt").c_str()), 1) << "missing counts as deleted";

    std::string held = folder / "held.txt";
    WriteTestFile(held, "h");
    HANDLE handle = CreateFileA(held.c_str(), GENERIC_READ, 0 /* no sharing */, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(DeleteFileForced(held.c_str()), 0) << "a file held open without sharing is not deletable";
    EXPECT_TRUE(FileExists(held));
    CloseHandle(handle);
}

TEST_F(FileUtilsTest, MoveFileOverReplacesReadOnlyDestination) {
    std::string source = folder / "source.txt";
    std::string destination = folder / "dest.txt";
    WriteTestFile(source, "new");
    WriteTestFile(destination, "old");
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(MoveFileOver(destination.c_str(), source.c_str()), 0);
    EXPECT_EQ(ReadTestFile(destination), "new");
    EXPECT_FALSE(FileExists(source));
}

TEST_F(FileUtilsTest, CreateFolderPath) {
    std::string deep = folder / "one\\two\\three";
    EXPECT_EQ(CreateFolderPath(deep.c_str()), 1);
    EXPECT_TRUE(PathIsDirectoryA(deep.c_str()));
    EXPECT_EQ(CreateFolderPath(deep.c_str()), 0) << "an existing folder gives 0";
}

TEST_F(FileUtilsTest, CreateFolderPathOnMissingDriveEndsWithZero) {
    // Find a drive letter that does not exist in this prefix.
    DWORD drives = GetLogicalDrives();
    char letter = 0;
    for (char c = 'Q'; c <= 'Y'; ++c)
        if (!(drives & (1u << (c - 'A')))) { letter = c; break; }
    ASSERT_NE(letter, 0);
    std::string path = std::string(1, letter) + ":\\a\\b\\c";
    EXPECT_EQ(CreateFolderPath(path.c_str()), 0);
    EXPECT_EQ(CreateFolderPath((std::string(1, letter) + ":").c_str()), 0);
}

// A stream's chunk is the file plus one byte, so that one read reaches its
// end, up to the limit; a handle whose size is unknown gets the limit.
TEST_F(FileUtilsTest, StreamChunkSizeFollowsTheFileUpToTheLimit) {
    struct Case {
        std::size_t size;
        DWORD expected;
    } cases[] = {{0, 1}, {1, 2}, {998, 999}, {999, 1000}, {1000, 1000}, {5000, 1000}};
    const std::string path = folder / "chunk.bin";
    for (const Case& c : cases) {
        WriteTestFile(path, std::string(c.size, 'x'));
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(StreamChunkSize(file, 1000), c.expected) << c.size << " bytes";
        CloseHandle(file);
    }
    EXPECT_EQ(StreamChunkSize(INVALID_HANDLE_VALUE, 1000), 1000u);
}

TEST_F(FileUtilsTest, CopyFileCreatingFoldersBuildsTheChain) {
    std::string source = folder / "payload.bin";
    WriteTestFile(source, "payload");
    std::string destination = folder / "x\\y\\z\\target.bin";
    EXPECT_NE(CopyFileCreatingFolders(source.c_str(), destination.c_str()), 0);
    EXPECT_EQ(ReadTestFile(destination), "payload");
    EXPECT_TRUE(FileExists(source)) << "a copy keeps its source";
}

}  // namespace
