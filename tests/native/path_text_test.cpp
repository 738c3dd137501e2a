#include <gtest/gtest.h>

#include "script/neutral/PathText.h"

TEST(JoinPathText, JoinsLikeThePlatformWithoutItsLengthLimit) {
    struct Case {
        const char* base;
        const char* part;
        const char* expected;
    } cases[] = {
        {"C:\\App", "file.dll", "C:\\App\\file.dll"},
        {"C:\\App\\", "file.dll", "C:\\App\\file.dll"},       // no doubled backslash
        {"C:\\App", "\\\\sub\\file", "\\\\sub\\file"},          // UNC part replaces
        {"C:\\App", "\\sub\\file", "C:\\App\\sub\\file"},      // leading backslash dropped
        {"C:\\App", "\\\\\\x", "\\\\\\x"},                      // starts as UNC: kept whole
        {"C:\\App", "D:\\Other", "D:\\Other"},                 // drive letter replaces
        {"C:\\App", "d:rel", "d:rel"},
        {"C:\\App", "1:x", "C:\\App\\1:x"},                    // not a drive letter
        {"", "file.dll", "file.dll"},
        {nullptr, "file.dll", "file.dll"},
        {"C:\\App", "", "C:\\App"},
        {"C:\\App", nullptr, "C:\\App"},
        {"C:\\App", "\\", "C:\\App"},
    };
    for (const Case& c : cases) {
        HeapText joined = JoinPathText(c.base, c.part);
        ASSERT_TRUE(joined);
        EXPECT_STREQ(joined.get(), c.expected) << "base=" << (c.base ? c.base : "(none)")
                                               << " part=" << (c.part ? c.part : "(none)");
    }
}

TEST(JoinPathText, KeepsPathsBeyondTheLimitWhole) {
    const std::string base = "C:\\" + std::string(300, 'f');
    const std::string part = std::string(400, 'p') + ".txt";
    HeapText joined = JoinPathText(base.c_str(), part.c_str());
    ASSERT_TRUE(joined);
    EXPECT_EQ(std::string(joined.get()), base + "\\" + part);
}
