#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/neutral/CreditSeal.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

bool Contains(const std::vector<unsigned char>& haystack, const std::string& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

}  // namespace

TEST(CreditSeal, SealedIdsAreExactlyTheCredits) {
    const unsigned expected[] = {10, 245, 246, 247, 250, 260, 261, 262, 263, 264, 265, 267, 268, 269, 270};
    for (unsigned id = 0; id < 3000; ++id) {
        bool listed = std::find(std::begin(expected), std::end(expected), id) != std::end(expected);
        EXPECT_EQ(IsSealedResource(id), listed) << "id " << id;
    }
}

TEST(CreditSeal, ScrambleAndUnscrambleRoundTrip) {
    const std::string texts[] = {"", "A", "Zuli patch maker", std::string("\0\0\0\0", 4),
                                 std::string(5000, 'x'), "mailto:someone@example.org\r\n\xa4\xa4\xa4\xe5"};
    const uint32_t seals[] = {0, 1, 0xDEADBEEF, 0xFFFFFFFF};
    for (unsigned id : kSealedResourceIds)
        for (uint32_t seal : seals)
            for (const std::string& text : texts) {
                std::vector<unsigned char> data = Bytes(text);
                ScrambleSealed(id, seal, data.data(), data.size());
                UnscrambleSealed(id, seal, data.data(), data.size());
                EXPECT_EQ(data, Bytes(text)) << "id " << id << " seal " << seal << " size " << text.size();
            }
}

TEST(CreditSeal, ScrambledTextsShowNothingInTheClear) {
    const std::string credit = "Made with the Zuli patch maker, www.example.org";
    for (unsigned id : kSealedResourceIds) {
        std::vector<unsigned char> data = Bytes(credit);
        ScrambleSealed(id, 0x12345678, data.data(), data.size());
        // No four consecutive bytes of the text survive in place or anywhere.
        for (std::size_t at = 0; at + 4 <= credit.size(); ++at)
            EXPECT_FALSE(Contains(data, credit.substr(at, 4))) << "id " << id << " shows \"" << credit.substr(at, 4) << "\"";
    }
    // The same text scrambles differently under another id or seal.
    std::vector<unsigned char> a = Bytes(credit), b = Bytes(credit), c = Bytes(credit);
    ScrambleSealed(262, 1, a.data(), a.size());
    ScrambleSealed(263, 1, b.data(), b.size());
    ScrambleSealed(262, 2, c.data(), c.size());
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
}

TEST(CreditSeal, OneChangedStoredByteSpoilsTheRestOfTheText) {
    std::string text = "Author: Somebody";
    std::vector<unsigned char> data = Bytes(text);
    ScrambleSealed(245, 77, data.data(), data.size());
    data[3] ^= 0x01;
    UnscrambleSealed(245, 77, data.data(), data.size());
    EXPECT_EQ(std::string(data.begin(), data.begin() + 3), text.substr(0, 3));
    for (std::size_t i = 3; i < text.size(); ++i)
        EXPECT_NE(data[i], static_cast<unsigned char>(text[i])) << "byte " << i << " came back unspoilt";
}

TEST(CreditSeal, SealDependsOnEveryIdSizeAndByte) {
    std::vector<unsigned char> one = Bytes("one"), two = Bytes("two"), oneZ = Bytes(std::string("one\0", 4));
    SealedItem base[] = {{245, one.data(), one.size()}, {246, two.data(), two.size()}};
    uint32_t seal = ComputeCreditSeal(base, 2);
    EXPECT_EQ(ComputeCreditSeal(base, 2), seal) << "not deterministic";

    struct Case {
        const char* what;
        SealedItem items[2];
    } cases[] = {
        {"other id", {{247, one.data(), one.size()}, {246, two.data(), two.size()}}},
        {"other byte", {{245, two.data(), two.size()}, {246, two.data(), two.size()}}},
        {"terminator stored", {{245, oneZ.data(), oneZ.size()}, {246, two.data(), two.size()}}},
        {"absent", {{245, nullptr, 0}, {246, two.data(), two.size()}}},
        {"empty", {{245, one.data(), 0}, {246, two.data(), two.size()}}},
    };
    for (const Case& c : cases) EXPECT_NE(ComputeCreditSeal(c.items, 2), seal) << c.what;
    SealedItem empty[] = {{245, one.data(), 0}};
    SealedItem absent[] = {{245, nullptr, 0}};
    EXPECT_NE(ComputeCreditSeal(empty, 1), ComputeCreditSeal(absent, 1)) << "empty and absent read alike";
}

TEST(CreditSeal, SealIsStoredLittleEndian) {
    unsigned char bytes[kSealSize];
    StoreSeal(0x04030201u, bytes);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 4);
    EXPECT_EQ(ReadSeal(bytes), 0x04030201u);
}
