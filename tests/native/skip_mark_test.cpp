#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "script/neutral/SkipMark.h"

TEST(HasSkipMark, LooksAtTheLastTwoCharactersOnly) {
    struct Case {
        const char* path;
        bool expected;
    } cases[] = {
        {"C:\\a\\b.dll**", true},
        {"C:\\a\\b.dll*", true},    // one star at the end is enough
        {"C:\\a\\b.dl*l", true},    // a star as the second-last character too
        {"C:\\a*\\b.dll", false},   // a star further in does not count
        {"C:\\a\\b.dll", false},
        {"*", true},
        {"x", false},
        {"", false},
        {nullptr, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasSkipMark(c.path), c.expected) << "path=" << (c.path ? c.path : "(none)");
}

TEST(AppendSkipMark, SlotsHoldTheLongestPathPlusTheMark) {
    EXPECT_EQ(kEntryPathSlotSize, 263u);
    char slot[kEntryPathSlotSize] = {};
    std::memset(slot, 'p', kLongestPath);  // 260 characters, the longest reachable path
    ASSERT_TRUE(AppendSkipMark(slot, sizeof slot));
    EXPECT_EQ(std::strlen(slot), kLongestPath + 2);
    EXPECT_EQ(std::string(slot + kLongestPath), "**");
    EXPECT_TRUE(HasSkipMark(slot));
}

TEST(AppendSkipMark, RefusesWhatDoesNotFitAndLeavesTheSlotAlone) {
    char slot[8] = "abcdef";  // 6 characters: the mark would need 9 bytes
    EXPECT_FALSE(AppendSkipMark(slot, sizeof slot));
    EXPECT_STREQ(slot, "abcdef");

    char fits[8] = "abcde";  // 5 + 2 + 1 = 8 bytes: fits exactly
    EXPECT_TRUE(AppendSkipMark(fits, sizeof fits));
    EXPECT_STREQ(fits, "abcde**");

    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(AppendSkipMark(unterminated, sizeof unterminated));
    EXPECT_EQ(std::memcmp(unterminated, "abcd", 4), 0);

    EXPECT_FALSE(AppendSkipMark(nullptr, 10));
}

TEST(IsReachablePath, AtMostTheLongestPath) {
    const std::string longest(kLongestPath, 'x');
    const std::string tooLong(kLongestPath + 1, 'x');
    EXPECT_TRUE(IsReachablePath(longest.c_str())) << "260 characters are reachable";
    EXPECT_FALSE(IsReachablePath(tooLong.c_str())) << "261 characters are not";
    EXPECT_TRUE(IsReachablePath(""));
    EXPECT_FALSE(IsReachablePath(nullptr));
}
