#include <gtest/gtest.h>

#include <random>
#include <string>

#include "actions/neutral/ByteSearch.h"

namespace {

std::size_t Find(const std::string& data, const std::string& pattern) {
    return FindBytes(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                     reinterpret_cast<const unsigned char*>(pattern.data()), pattern.size());
}

std::size_t Naive(const std::string& data, const std::string& pattern) {
    if (pattern.empty()) return kNotFound;
    std::size_t at = data.find(pattern);
    return at == std::string::npos ? kNotFound : at;
}

}  // namespace

TEST(FindBytes, Table) {
    struct Case {
        std::string data, pattern;
        std::size_t expected;
    } cases[] = {
        {"abcabc", "", kNotFound},
        {"", "a", kNotFound},
        {"abc", "abcd", kNotFound},
        {"abc", "abc", 0},
        {"xxabc", "abc", 2},
        {"aaaaab", "aab", 3},
        {"abababac", "abac", 4},
        {std::string("\0\0\0\1", 4), std::string("\0\1", 2), 2},
        {std::string("\0\0\0\0\0", 5), std::string("\0\0\0", 3), 0},
        {"xyzxyzxyq", "xyq", 6},
        {"ab", "b", 1},
        {"ab", "c", kNotFound},
        // The 64th candidate is the last possible start: the change-over to
        // the skip search then has less content left than the pattern.
        {std::string(66, 'a'), "aab", kNotFound},
        {std::string(65, 'a') + "b", "aab", 63},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Find(c.data, c.pattern), c.expected) << "'" << c.pattern << "' in '" << c.data << "'";
}

// Small alphabets make partial matches and pair-hash collisions common.
TEST(FindBytes, AgreesWithStringFind) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        int alphabet = 1 + static_cast<int>(rng() % 4);
        std::string data(rng() % 64, 'a');
        for (char& ch : data) ch = static_cast<char>('a' + rng() % alphabet);
        std::string pattern(1 + rng() % 8, 'a');
        for (char& ch : pattern) ch = static_cast<char>('a' + rng() % alphabet);
        // Sometimes take the pattern from the data so that it is present.
        if (rng() % 2 && data.size() >= pattern.size())
            pattern = data.substr(rng() % (data.size() - pattern.size() + 1), pattern.size());
        ASSERT_EQ(Find(data, pattern), Naive(data, pattern)) << "'" << pattern << "' in '" << data << "'";
    }
}

// Long contents where the anchor byte is everywhere, so that the search
// changes over to the skip search part-way; patterns with zeros, 0xFF and
// ordinary bytes pick different anchors.
TEST(FindBytes, LongRepetitiveContentAgreesWithStringFind) {
    std::mt19937 rng(11);
    const char alphabet[] = {'\0', '\xFF', 'a', 'b'};
    for (int round = 0; round < 400; ++round) {
        int letters = 1 + static_cast<int>(rng() % 4);
        std::string data(2000 + rng() % 3000, '\0');
        for (char& ch : data) ch = alphabet[rng() % letters];
        std::string pattern(3 + rng() % 12, '\0');
        for (char& ch : pattern) ch = alphabet[rng() % letters];
        if (rng() % 2) pattern = data.substr(data.size() - pattern.size() - rng() % 50, pattern.size());
        ASSERT_EQ(Find(data, pattern), Naive(data, pattern)) << "round " << round;
    }
}
