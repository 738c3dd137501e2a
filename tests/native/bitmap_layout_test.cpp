// Measuring side image files: where the colour table and the pixel rows lie,
// and refusing files whose declared parts do not fit inside them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "wizard/neutral/BitmapLayout.h"

namespace {

void Put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void Put16(std::vector<unsigned char>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

// A complete bitmap file: 14-byte file header, 40-byte information header,
// `tableEntries` colours, then the pixel rows (filled with `fill`).
std::vector<unsigned char> MakeBitmap(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                      std::size_t tableEntries, unsigned char fill = 0) {
    std::size_t row = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    std::size_t bits = 14 + 40 + 4 * tableEntries;
    std::vector<unsigned char> b(bits + row * rows, fill);
    std::memset(b.data(), 0, bits);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(bits));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bitCount);
    return b;
}

TEST(MeasureSideImage, PixelRowsFollowTheFullColourTable) {
    struct Case { std::uint16_t bitCount; std::size_t bitsOffset; std::size_t tableBytes; };
    const Case cases[] = {
        {8, 1078, 1024},  // 256 colours
        {4, 118, 64},
        {2, 70, 16},
        {1, 62, 8},
        {24, 54, 0},
        {32, 54, 0},
        {16, 54, 0},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> file = MakeBitmap(120, 240, c.bitCount, c.tableBytes / 4);
        SideImageLayout layout{};
        ASSERT_EQ(MeasureSideImage(file.data(), file.size(), &layout), 1) << c.bitCount << " bits";
        EXPECT_EQ(layout.InfoOffset, 14u) << c.bitCount << " bits";
        EXPECT_EQ(layout.BitsOffset, c.bitsOffset) << c.bitCount << " bits";
        EXPECT_EQ(layout.TableBytes, c.tableBytes) << c.bitCount << " bits";
        EXPECT_EQ(layout.BitsOffset + layout.PixelBytes, file.size()) << c.bitCount << " bits";
        EXPECT_EQ(layout.Width, 120);
        EXPECT_EQ(layout.Height, 240);
    }
}

TEST(MeasureSideImage, TheFilesOwnOffsetAndColoursUsedAreNotConsulted) {
    // An 8-bit file claiming 16 colours and a pixel offset of 54 is still read
    // with a full table: the rows begin at 1078.
    std::vector<unsigned char> file = MakeBitmap(8, 4, 8, 256);
    Put32(file, 10, 54);
    Put32(file, 46, 16);
    SideImageLayout layout{};
    ASSERT_EQ(MeasureSideImage(file.data(), file.size(), &layout), 1);
    EXPECT_EQ(layout.BitsOffset, 1078u);
}

TEST(MeasureSideImage, ALargerHeaderMovesTheTable) {
    // A version 5 header (124 bytes) is followed by the table and the rows.
    std::vector<unsigned char> file = MakeBitmap(4, 4, 8, 256 + 21);  // 84 spare bytes
    Put32(file, 14, 124);
    SideImageLayout layout{};
    ASSERT_EQ(MeasureSideImage(file.data(), file.size(), &layout), 1);
    EXPECT_EQ(layout.BitsOffset, 14u + 124u + 1024u);
}

TEST(MeasureSideImage, TopDownRowsCount) {
    std::vector<unsigned char> file = MakeBitmap(10, -3, 24, 0);
    SideImageLayout layout{};
    ASSERT_EQ(MeasureSideImage(file.data(), file.size(), &layout), 1);
    EXPECT_EQ(layout.Height, -3);
    EXPECT_EQ(layout.PixelBytes, 3u * 32u);
}

TEST(MeasureSideImage, RefusesFilesThatWouldBeReadPastTheirEnd) {
    struct Case { const char* what; std::vector<unsigned char> file; };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"file header only", std::vector<unsigned char>{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
    {
        std::vector<unsigned char> f = MakeBitmap(120, 240, 8, 256);
        f.resize(14 + 39);
        cases.push_back({"information header cut short", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(120, 240, 8, 256);
        f.resize(14 + 40 + 1000);
        cases.push_back({"colour table cut short", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(120, 240, 8, 256);
        f.pop_back();
        cases.push_back({"last pixel row one byte short", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(120, 306, 24, 0);
        f.resize(f.size() / 2);
        cases.push_back({"24-bit rows cut in half", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 8, 256);
        Put32(f, 14, 0xFFFFFFF0u);
        cases.push_back({"header size past the end", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 8, 256);
        Put32(f, 14, 12);
        cases.push_back({"old 12-byte core header", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 24, 0);
        Put32(f, 18, 0x7FFFFFFF);
        Put32(f, 22, 0x7FFFFFFF);
        cases.push_back({"huge width and height (size overflow)", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 24, 0);
        Put32(f, 22, 0x80000000u);
        cases.push_back({"most negative height", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 24, 0);
        Put32(f, 18, 0);
        cases.push_back({"zero width", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 24, 0);
        Put32(f, 18, static_cast<std::uint32_t>(-4));
        cases.push_back({"negative width", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 24, 0);
        Put32(f, 22, 0);
        cases.push_back({"zero height", f});
    }
    for (std::uint16_t bits : {0, 3, 5, 7, 12, 15, 48}) {
        cases.push_back({"bit count the drawing does not handle", MakeBitmap(4, 4, bits, 256)});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 8, 256);
        Put32(f, 30, 1);  // run-length encoded
        cases.push_back({"compressed", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 1, 2);
        Put32(f, 46, 256);
        cases.push_back({"1-bit image claiming 256 colours used", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 8, 256);
        f[0] = 'X';
        cases.push_back({"not a bitmap file", f});
    }
    {
        std::vector<unsigned char> f = MakeBitmap(4, 4, 8, 256);
        Put16(f, 26, 3);
        cases.push_back({"three planes", f});
    }
    for (const Case& c : cases) {
        SideImageLayout layout{};
        // A copy of exactly the file's size, so that ASan sees any read past it.
        std::vector<unsigned char> exact(c.file);
        EXPECT_EQ(MeasureSideImage(exact.empty() ? nullptr : exact.data(), exact.size(), &layout), 0) << c.what;
    }
    SideImageLayout layout{};
    EXPECT_EQ(MeasureSideImage(nullptr, 100, &layout), 0) << "no data";
}

TEST(ExpandTwoBitImage, KeepsEveryPixelsColourIndex) {
    // 7 pixels wide (not a multiple of 4 or 2), 3 rows; the index of pixel
    // (x, y) is (x + y) % 4.
    std::vector<unsigned char> file = MakeBitmap(7, 3, 2, 4);
    const std::size_t bits = 14 + 40 + 16;
    for (int i = 0; i < 4; ++i) Put32(file, 54 + 4 * static_cast<std::size_t>(i), 0x00102030u * static_cast<std::uint32_t>(i + 1));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            unsigned index = static_cast<unsigned>((x + y) % 4);
            file[bits + static_cast<std::size_t>(y) * 4 + static_cast<std::size_t>(x) / 4] |=
                static_cast<unsigned char>(index << (6 - 2 * (x % 4)));
        }
    SideImageLayout layout{};
    ASSERT_EQ(MeasureSideImage(file.data(), file.size(), &layout), 1);
    SideImageLayout wide{};
    HeapBytes image = ExpandTwoBitImage(file.data(), layout, &wide);
    ASSERT_TRUE(image);
    EXPECT_EQ(wide.BitCount, 4);
    EXPECT_EQ(wide.BitsOffset, 14u + 40u + 64u);
    EXPECT_EQ(wide.PixelBytes, 3u * 4u);
    const unsigned char* out = image.get();
    EXPECT_EQ(out[14 + 14], 4) << "bit count in the new header";
    // The new file measures as what it claims to be.
    SideImageLayout again{};
    ASSERT_EQ(MeasureSideImage(out, wide.BitsOffset + wide.PixelBytes, &again), 1);
    EXPECT_EQ(again.BitsOffset, wide.BitsOffset);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::memcmp(out + 54 + 4 * i, file.data() + 54 + 4 * i, 4), 0) << "colour " << i;
    for (int i = 4; i < 16; ++i)
        EXPECT_EQ(out[54 + 4 * i] | out[55 + 4 * i] | out[56 + 4 * i], 0) << "unused colour " << i;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            unsigned char byte = out[wide.BitsOffset + static_cast<std::size_t>(y) * 4 + static_cast<std::size_t>(x) / 2];
            unsigned index = x % 2 ? byte & 15u : byte >> 4;
            EXPECT_EQ(index, static_cast<unsigned>((x + y) % 4)) << "pixel " << x << "," << y;
        }
}

}  // namespace
