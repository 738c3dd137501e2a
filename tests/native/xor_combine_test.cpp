#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "actions/neutral/XorCombine.h"

TEST(XorCombine, EveryLengthAndOffsetMatchesTheByteLoop) {
    std::mt19937 rng(99);
    std::vector<unsigned char> data(80), old(80);
    for (std::size_t offset = 0; offset < 9; ++offset) {
        for (std::size_t length = 0; length + offset <= data.size(); ++length) {
            for (auto& b : data) b = static_cast<unsigned char>(rng());
            for (auto& b : old) b = static_cast<unsigned char>(rng());
            std::vector<unsigned char> expected = data;
            for (std::size_t i = 0; i < length; ++i) expected[offset + i] ^= old[offset + i];
            XorCombine(data.data() + offset, old.data() + offset, length);
            ASSERT_EQ(data, expected) << "offset " << offset << " length " << length;
        }
    }
}

TEST(XorCombine, DeltaOfTwoVersionsRebuildsTheNewOne) {
    std::vector<unsigned char> oldVersion = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e', '!', '!'};
    std::vector<unsigned char> newVersion = {'n', 'e', 'w', ' ', 'f', 'i', 'l', 'e'};
    std::vector<unsigned char> delta = newVersion;
    XorCombine(delta.data(), oldVersion.data(), delta.size());
    // Bytes that agree give zeros in the delta.
    for (std::size_t i = 3; i < 8; ++i) EXPECT_EQ(delta[i], 0) << "at " << i;
    XorCombine(delta.data(), oldVersion.data(), delta.size());
    EXPECT_EQ(delta, newVersion);
}
