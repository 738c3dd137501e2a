// The fast CRC must give zlib's value for every length, alignment and way of
// cutting the input into runs; the plain path must too once the vector unit
// is refused.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "core/neutral/Crc32.h"

namespace {

std::vector<unsigned char> Noise(std::size_t size, uint32_t seed) {
    std::vector<unsigned char> bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(seed >> 24);
    }
    return bytes;
}

uint32_t Reference(const unsigned char* data, std::size_t size) {
    return static_cast<uint32_t>(crc32_z(crc32(0L, Z_NULL, 0), data, size));
}

// Each test states which path it wants and leaves the default behind.
class Crc32Paths : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        Crc32AllowVectorUnit(GetParam());
        if (GetParam() && !Crc32UsesVectorUnit()) GTEST_SKIP() << "this processor has no carry-less multiply";
    }
    void TearDown() override { Crc32AllowVectorUnit(kDefault); }
#if defined(__x86_64__)
    static constexpr bool kDefault = true;
#else
    static constexpr bool kDefault = false;
#endif
};

TEST_P(Crc32Paths, KnownValues) {
    const unsigned char digits[] = "123456789";
    EXPECT_EQ(Crc32Update(0, digits, 9), 0xCBF43926u);
    EXPECT_EQ(Crc32Update(0, nullptr, 0), 0u);
    EXPECT_EQ(Crc32Update(0x12345678u, nullptr, 0), 0x12345678u);
    const std::vector<unsigned char> zeros(4096, 0);
    EXPECT_EQ(Crc32Update(0, zeros.data(), zeros.size()), Reference(zeros.data(), zeros.size()));
    const std::vector<unsigned char> ones(4096, 0xFF);
    EXPECT_EQ(Crc32Update(0, ones.data(), ones.size()), Reference(ones.data(), ones.size()));
}

// Lengths around every boundary of the folding (16-byte lanes, 64-byte
// blocks, the plain tail) at every alignment of the start.
TEST_P(Crc32Paths, MatchesZlibAtEveryLengthAndAlignment) {
    const std::vector<unsigned char> bytes = Noise(70000, 7);
    const std::size_t lengths[] = {1, 15, 16, 17, 63, 64, 65, 79, 80, 127, 128, 129, 191, 192, 255, 256, 1000,
                                   4096, 4097, 65536 + 13, 69000};
    for (std::size_t offset = 0; offset < 16; ++offset)
        for (std::size_t length : lengths)
            ASSERT_EQ(Crc32Update(0, bytes.data() + offset, length), Reference(bytes.data() + offset, length))
                << "offset " << offset << " length " << length;
}

// A CRC carried from one run to the next, as files are read in chunks.
TEST_P(Crc32Paths, ChainedRunsEqualOneRun) {
    const std::vector<unsigned char> bytes = Noise(10000, 11);
    const uint32_t whole = Reference(bytes.data(), bytes.size());
    const std::size_t cuts[] = {1, 7, 16, 63, 64, 100, 4096, 9999};
    for (std::size_t cut : cuts) {
        uint32_t crc = Crc32Update(0, bytes.data(), cut);
        crc = Crc32Update(crc, bytes.data() + cut, bytes.size() - cut);
        EXPECT_EQ(crc, whole) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(Both, Crc32Paths, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& path) { return path.param ? "Vector" : "Plain"; });

}  // namespace
