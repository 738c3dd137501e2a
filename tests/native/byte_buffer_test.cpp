// The byte buffer is the layout of the transaction journal: its bytes are
// pinned here, and the reader must refuse every length that runs past the
// end or a text that is not terminated exactly at its end.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/neutral/ByteBuffer.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Contents(const ByteBuffer& buffer) { return Bytes(buffer.Data(), buffer.Data() + buffer.Size()); }

// 0x12345678, "ab", none, "", the block 01 02, and the empty block.
ByteBuffer Sample() {
    ByteBuffer buffer;
    buffer.AppendU32(0x12345678);
    buffer.AppendText("ab");
    buffer.AppendText(nullptr);
    buffer.AppendText("");
    buffer.AppendBlock("\x01\x02", 2);
    buffer.AppendBlock(nullptr, 0);
    return buffer;
}

// Reads Sample() back; false at the first read that fails.
bool ReadSample(ByteReader& reader) {
    uint32_t number = 0;
    const char* text = nullptr;
    const unsigned char* block = nullptr;
    uint32_t size = 0;
    if (!reader.ReadU32(&number) || number != 0x12345678) return false;
    if (!reader.ReadText(&text) || !text || std::strcmp(text, "ab") != 0) return false;
    if (!reader.ReadText(&text) || text) return false;
    if (!reader.ReadText(&text) || !text || *text) return false;
    if (!reader.ReadBlock(&block, &size) || size != 2 || block[0] != 1 || block[1] != 2) return false;
    return reader.ReadBlock(&block, &size) && size == 0;
}

}  // namespace

TEST(ByteBuffer, LayoutIsLittleEndianWithLengthsBeforeTextsAndBlocks) {
    const Bytes expected = {
        0x78, 0x56, 0x34, 0x12,           // the number
        3, 0, 0, 0, 'a', 'b', 0,          // "ab" with its terminator
        0, 0, 0, 0,                       // none
        1, 0, 0, 0, 0,                    // ""
        2, 0, 0, 0, 1, 2,                 // the block
        0, 0, 0, 0,                       // the empty block
    };
    EXPECT_EQ(Contents(Sample()), expected);
}

TEST(ByteBuffer, ReadsBackWhatWasWritten) {
    ByteBuffer buffer = Sample();
    ByteReader reader(buffer.Data(), buffer.Size());
    EXPECT_TRUE(ReadSample(reader));
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Offset(), buffer.Size());

    // A text is handed out in place, terminator included.
    ByteReader again(buffer.Data(), buffer.Size());
    uint32_t number = 0;
    const char* text = nullptr;
    ASSERT_TRUE(again.ReadU32(&number));
    ASSERT_TRUE(again.ReadText(&text));
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(text), buffer.Data() + 8);
}

// Growing past the first room, numbers at every edge and a block with
// every byte value come back unchanged.
TEST(ByteBuffer, GrowsAndKeepsEveryByte) {
    Bytes big(100000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 31 + (i >> 9));
    const uint32_t numbers[] = {0, 1, 0xFF, 0x100, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    ByteBuffer buffer;
    for (uint32_t n : numbers) buffer.AppendU32(n);
    buffer.AppendBlock(big.data(), static_cast<uint32_t>(big.size()));
    buffer.Append("tail", 4);
    ASSERT_FALSE(buffer.Failed());
    ASSERT_EQ(buffer.Size(), sizeof numbers + 4 + big.size() + 4);

    ByteReader reader(buffer.Data(), buffer.Size());
    for (uint32_t n : numbers) {
        uint32_t read = 0;
        ASSERT_TRUE(reader.ReadU32(&read));
        EXPECT_EQ(read, n);
    }
    const unsigned char* block = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(reader.ReadBlock(&block, &size));
    EXPECT_EQ(Bytes(block, block + size), big);
    EXPECT_EQ(reader.Offset(), buffer.Size() - 4);
    EXPECT_FALSE(reader.AtEnd()) << "the raw tail is still to read";
}

TEST(ByteBuffer, ClearEmptiesForTheNextRecords) {
    ByteBuffer buffer = Sample();
    buffer.Clear();
    EXPECT_EQ(buffer.Size(), 0u);
    EXPECT_FALSE(buffer.Failed());
    buffer.AppendU32(7);
    EXPECT_EQ(Contents(buffer), (Bytes{7, 0, 0, 0}));
}

TEST(ByteBuffer, EmptyBytesAreAtTheEndAndHoldNothing) {
    ByteReader reader(nullptr, 0);
    EXPECT_TRUE(reader.AtEnd());
    uint32_t number = 0;
    EXPECT_FALSE(reader.ReadU32(&number));
    EXPECT_TRUE(reader.Failed());
    EXPECT_FALSE(reader.AtEnd()) << "a failed reader is never at its end";
}

// Every cut of the sample fails somewhere, never reads outside the cut
// (the sanitizers watch a copy of exactly that size), and stays failed.
TEST(ByteBuffer, ReadsPastTheEndFail) {
    const ByteBuffer sample = Sample();
    for (std::size_t cut = 0; cut < sample.Size(); ++cut) {
        const Bytes bytes(sample.Data(), sample.Data() + cut);
        ByteReader reader(bytes.data(), bytes.size());
        EXPECT_FALSE(ReadSample(reader)) << "cut to " << cut;
        EXPECT_TRUE(reader.Failed()) << "cut to " << cut;
        EXPECT_FALSE(reader.AtEnd()) << "cut to " << cut;
        uint32_t number = 0;
        EXPECT_FALSE(reader.ReadU32(&number)) << "cut to " << cut << ": a later read fails too";
    }
}

TEST(ByteBuffer, ReadsRefuseLengthsBeyondTheBytes) {
    struct Case {
        const char* why;
        Bytes bytes;
        std::function<bool(ByteReader&)> read;
    } cases[] = {
        {"three bytes for a number", {1, 2, 3}, [](ByteReader& r) { uint32_t n; return r.ReadU32(&n); }},
        {"a block one byte longer than what follows",
         {3, 0, 0, 0, 1, 2},
         [](ByteReader& r) { const unsigned char* d; uint32_t s; return r.ReadBlock(&d, &s); }},
        {"a block of the largest length",
         {0xFF, 0xFF, 0xFF, 0xFF, 1, 2},
         [](ByteReader& r) { const unsigned char* d; uint32_t s; return r.ReadBlock(&d, &s); }},
        {"a text of the largest length",
         {0xFF, 0xFF, 0xFF, 0xFF, 'a', 0},
         [](ByteReader& r) { const char* t; return r.ReadText(&t); }},
        {"a text one byte longer than what follows",
         {3, 0, 0, 0, 'a', 0},
         [](ByteReader& r) { const char* t; return r.ReadText(&t); }},
        {"a text length cut short", {2, 0}, [](ByteReader& r) { const char* t; return r.ReadText(&t); }},
    };
    for (Case& c : cases) {
        ByteReader reader(c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(c.read(reader)) << c.why;
        EXPECT_TRUE(reader.Failed()) << c.why;
    }

    // After a failed read even one that would fit fails.
    const Bytes bytes = {9, 0, 0, 0, 5, 0, 0, 0};
    ByteReader reader(bytes.data(), bytes.size());
    const unsigned char* data = nullptr;
    uint32_t size = 0;
    EXPECT_FALSE(reader.ReadBlock(&data, &size));
    uint32_t number = 0;
    EXPECT_FALSE(reader.ReadU32(&number)) << "four bytes are left, but the reader has failed";
}

TEST(ByteBuffer, ReadTextWantsExactlyOneTerminatorAtTheEnd) {
    struct Case {
        Bytes bytes;
        bool accepted;
        const char* text;  // what an accepted text reads as; null for none
        const char* why;
    } cases[] = {
        {{0, 0, 0, 0}, true, nullptr, "length 0 is none"},
        {{1, 0, 0, 0, 0}, true, "", "length 1 is the empty text"},
        {{3, 0, 0, 0, 'a', 'b', 0}, true, "ab", "terminated at its end"},
        {{3, 0, 0, 0, 'a', 'b', 'c'}, false, nullptr, "no terminator"},
        {{1, 0, 0, 0, 'a'}, false, nullptr, "one byte, no terminator"},
        {{3, 0, 0, 0, 'a', 0, 0}, false, nullptr, "a terminator before the end"},
        {{3, 0, 0, 0, 0, 'b', 0}, false, nullptr, "a terminator first"},
    };
    for (const Case& c : cases) {
        ByteReader reader(c.bytes.data(), c.bytes.size());
        const char* text = "unset";
        const bool read = reader.ReadText(&text);
        EXPECT_EQ(read, c.accepted) << c.why;
        if (!read) continue;
        EXPECT_TRUE(reader.AtEnd()) << c.why;
        if (!c.text) {
            EXPECT_EQ(text, nullptr) << c.why;
        } else {
            ASSERT_NE(text, nullptr) << c.why;
            EXPECT_STREQ(text, c.text) << c.why;
        }
    }
}
