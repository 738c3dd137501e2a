// The flush made while a large file is written must not lose a failure: a
// write error it meets is reported by that flush alone, so Finish has to say
// so even when every later flush succeeds.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PatchTestSupport.h"
#include "actions/BackgroundFlush.h"

namespace {

constexpr DWORD kLargeWrite = 64u << 20;  // counted, not written: enough to start the flush

HANDLE OpenFile(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TEST(BackgroundFlush, FailureOfAnyFlushIsReportedByFinish) {
    ScratchFolder folder{"background flush"};
    const std::string path = folder / "file.bin";
    WriteTestFile(path, "some bytes");

    struct Case {
        const char* what;
        DWORD access;
        DWORD written;
        bool expected;
    } cases[] = {
        {"flushes that succeed", GENERIC_READ | GENERIC_WRITE, kLargeWrite, true},
        // Flushing a handle without write access fails, as a disk error would.
        {"a flush that fails", GENERIC_READ, kLargeWrite, false},
        // Too little written for a flush of its own: nothing to fail.
        {"a small file, never flushed early", GENERIC_READ, 4096, true},
    };
    for (const Case& c : cases) {
        HANDLE file = OpenFile(path, c.access);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << c.what;
        {
            BackgroundFlush flush;
            flush.Written(file, c.written);
            EXPECT_EQ(flush.Finish(), c.expected) << c.what;
            EXPECT_EQ(flush.Finish(), c.expected) << c.what << ": asked again";
        }
        CloseHandle(file);
    }
}
