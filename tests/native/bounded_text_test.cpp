#include <gtest/gtest.h>

#include "core/neutral/BoundedText.h"

TEST(BoundedTextLength, EndsAtFirstZeroOrAtEndOfData) {
    struct Case {
        const char* data;
        std::size_t size;
        std::size_t expected;
    } cases[] = {
        {"abc\0def", 8, 3},  // terminated: stops at the zero
        {"abcdef", 3, 3},    // stored without terminator: whole, nothing after
        {"", 1, 0},
        {"x", 0, 0},
        {nullptr, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BoundedTextLength(c.data, c.size), c.expected) << "data=" << (c.data ? c.data : "(null)") << " size=" << c.size;
}
