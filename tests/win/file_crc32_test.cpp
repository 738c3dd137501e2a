#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ProcessorFeatures.h"
#include "core/neutral/Crc32.h"
#include "script/FileCrc32.h"
#include "support/TestFiles.h"

namespace {

// The byte-at-a-time table loop of IEEE 802.3, kept here to prove that the
// fast computation gives the very same values.
uint32_t ReferenceCrc32(const std::string& bytes) {
    static uint32_t table[256];
    if (!table[1]) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    uint32_t r = 0xFFFFFFFFu;
    for (unsigned char b : bytes) r = (r >> 8) ^ table[(r ^ b) & 0xFF];
    return r ^ 0xFFFFFFFFu;
}

std::string Pseudorandom(std::size_t size, uint32_t seed) {
    std::string s(size, '\0');
    for (char& c : s) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 23);
    }
    return s;
}

}  // namespace

TEST(FileCrc32, AgreesWithTheTableLoop) {
    ScratchFolder folder("crc32");
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        {"empty file", ""},
        {"check string", "123456789"},
        {"one byte", "a"},
        {"just under a read", Pseudorandom((1u << 20) - 1, 1)},
        {"exactly a read", Pseudorandom(1u << 20, 2)},
        {"three reads and a bit", Pseudorandom((3u << 20) + 7, 3)},
        {"zeros", std::string(100000, '\0')},
    };
    for (const Case& c : cases) {
        std::string path = folder / "file.bin";
        WriteTestFile(path, c.content);
        EXPECT_EQ(FileCrc32(path.c_str()), ReferenceCrc32(c.content))
            << c.what << " (" << c.content.size() << " bytes)";
    }
    EXPECT_EQ(ReferenceCrc32("123456789"), 0xCBF43926u) << "the reference itself is the IEEE CRC";
}

TEST(FileCrc32, ZeroWhenTheFileCannotBeOpened) {
    ScratchFolder folder("crc32-open");
    std::string locked = folder / "locked.bin";
    WriteTestFile(locked, "some content");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"missing file", folder / "missing.bin"},
        {"missing folder", folder / "nowhere\\missing.bin"},
        {"a folder", folder.Path()},
        {"held open without sharing", locked},
    };
    for (const Case& c : cases) EXPECT_EQ(FileCrc32(c.path.c_str()), 0u) << c.what << ": " << c.path;
    CloseHandle(holder);
    EXPECT_EQ(FileCrc32(locked.c_str()), ReferenceCrc32("some content")) << "readable again once released";
}

// The run asks the system whether the fast CRC may be used; here, on a
// system that keeps the vector registers, it must be taken whenever the
// processor has the carry-less multiply, and must give the same values.
TEST(FileCrc32, FastPathIsTakenWhereTheSystemAllowsIt) {
    Crc32AllowVectorUnit(false);
    ASSERT_FALSE(Crc32UsesVectorUnit());
    AllowFastCrcWhereSafe();
    __builtin_cpu_init();
    EXPECT_EQ(Crc32UsesVectorUnit(), __builtin_cpu_supports("pclmul") != 0);

    ScratchFolder folder("crc32-fast");
    const std::string content = Pseudorandom((1u << 20) + 77, 9);
    const std::string path = folder / "file.bin";
    WriteTestFile(path, content);
    EXPECT_EQ(FileCrc32(path.c_str()), ReferenceCrc32(content));
}
