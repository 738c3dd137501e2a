#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PatchReference.h"
#include "actions/neutral/BytePatchRecords.h"

using Bytes = std::vector<unsigned char>;
using reference::BuildPayload;
using reference::Offset;
using reference::Record;

namespace {

std::string Hex(const Bytes& b) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : b) {
        if (!s.empty()) s += ' ';
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s;
}

// Applies the payload to a copy of `content` through windows of `window`
// bytes (0 = whole); returns the result and leaves the content in *out.
int Apply(const Bytes& content, const Bytes& payload, std::size_t window, Bytes* out) {
    *out = content;
    MemoryPatchContent m(out->data(), out->size(), window);
    return ApplyPatchPayload(m, payload.data(), payload.size());
}

}  // namespace

TEST(BytePatchRecords, TableOfEdits) {
    struct Case {
        const char* what;
        Bytes content;
        std::vector<Record> records;
        int expectedResult;
        Bytes expected;  // meaningful when the result is 1
    } cases[] = {
        {"type 2, 41 41 twice in 41 41 41 41", {0x41, 0x41, 0x41, 0x41},
         {{2, {0x41, 0x41}, {0x42, 0x42}}}, 1, {0x42, 0x42, 0x42, 0x42}},
        {"type 2, shorter replacement: the scan looks at the rest of the match again",
         {0x41, 0x42, 0x41, 0x42}, {{2, {0x41, 0x42}, {0x58}}}, 1, {0x58, 0x42, 0x58, 0x42}},
        {"type 2, longer replacement hides the bytes it wrote from the scan",
         {1, 2, 1, 2, 1, 2}, {{2, {1}, {9, 1}}}, 1, {9, 1, 9, 1, 9, 1}},
        {"type 1 changes only the first occurrence", {7, 8, 0, 7, 8}, {{1, {7, 8}, {5, 5}}}, 1,
         {5, 5, 0, 7, 8}},
        {"type 2 changes both occurrences", {7, 8, 0, 7, 8}, {{2, {7, 8}, {5, 5}}}, 1, {5, 5, 0, 5, 5}},
        {"second record finds the bytes the first wrote", {1, 2, 3, 4},
         {{1, {2, 3}, {9, 9}}, {1, {9, 9, 4}, {6}}}, 1, {1, 6, 9, 4}},
        {"type 3 at O = L with RL 0 changes nothing", {1, 2, 3}, {{3, Offset(3), {}}}, 1, {1, 2, 3}},
        {"type 3 at O = L - 1 with RL 2 fails", {1, 2, 3}, {{3, Offset(2), {8, 8}}}, 0, {}},
        {"type 3 writes at its offset", {1, 2, 3, 4}, {{3, Offset(1), {8, 9}}}, 1, {1, 8, 9, 4}},
        {"type 3 offset bytes beyond the fourth are ignored", {1, 2, 3, 4},
         {{3, {2, 0, 0, 0, 0xEE, 0xEE}, {8}}}, 1, {1, 2, 8, 4}},
        {"type 3 offset near 4 GiB does not wrap into range", {1, 2, 3, 4},
         {{3, Offset(0xFFFFFFFFu), {8, 8}}}, 0, {}},
        {"absent pattern fails even when a later record would succeed", {1, 2, 3},
         {{1, {5}, {6}}, {1, {1}, {0}}}, 0, {}},
        {"empty content: type 1 fails", {}, {{1, {1}, {2}}}, 0, {}},
        {"empty content: type 2 fails", {}, {{2, {1}, {2}}}, 0, {}},
        {"empty content: type 3 at 0 with RL 0 succeeds", {}, {{3, Offset(0), {}}}, 1, {}},
        {"empty content: type 3 at 0 with RL 1 fails", {}, {{3, Offset(0), {1}}}, 0, {}},
        {"no records: content unchanged", {4, 5}, {}, 1, {4, 5}},
        {"unknown type is passed over", {4, 5}, {{7, {4}, {9}}, {0, {}, {}}}, 1, {4, 5}},
        {"empty pattern, type 1, fails", {4, 5}, {{1, {}, {9}}}, 0, {}},
        {"empty pattern, type 2, fails", {4, 5}, {{2, {}, {9}}}, 0, {}},
        {"type 3 with a pattern shorter than 4 bytes fails", {4, 5}, {{3, {0, 0, 0}, {}}}, 0, {}},
        {"type 2 with an empty replacement ends and succeeds", {4, 4, 4}, {{2, {4}, {}}}, 1, {4, 4, 4}},
        {"type 1 replacement running past the end stays inside", {1, 2, 3}, {{1, {3}, {7, 7, 7}}}, 1,
         {1, 2, 7}},
        {"type 2 replacement running past the end stays inside", {3, 0, 3}, {{2, {3}, {7, 7}}}, 1,
         {7, 7, 7}},
        {"pattern longer than the content is not found", {1, 2}, {{1, {1, 2, 3}, {0}}}, 0, {}},
    };
    for (const Case& c : cases) {
        Bytes payload = BuildPayload(c.records);
        for (std::size_t window : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(3)}) {
            Bytes out;
            int result = Apply(c.content, payload, window, &out);
            EXPECT_EQ(result, c.expectedResult) << c.what << " (window " << window << ")";
            if (result == 1 && c.expectedResult == 1) {
                EXPECT_EQ(Hex(out), Hex(c.expected)) << c.what << " (window " << window << ")";
            }
        }
    }
}

TEST(BytePatchRecords, ShortOrMissingPayloadFails) {
    Bytes whole = BuildPayload({{1, {1, 2}, {3}}, {3, Offset(0), {9}}});
    Bytes content = {1, 2, 3};
    Bytes out;
    // Every proper prefix is short somewhere: in the header or in a record.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        Bytes shortPayload(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(Apply(content, shortPayload, 0, &out), 0) << "payload cut to " << cut << " of " << whole.size();
        EXPECT_EQ(CheckPatchPayload(shortPayload.data(), shortPayload.size()), 0) << "cut " << cut;
    }
    EXPECT_EQ(Apply(content, whole, 0, &out), 1);
    EXPECT_EQ(Hex(out), Hex({9, 2, 3}));
    MemoryPatchContent m(content.data(), content.size());
    EXPECT_EQ(ApplyPatchPayload(m, nullptr, 0), 0) << "a missing payload must fail";
}

TEST(BytePatchRecords, LengthsThatWouldWrapAreRejected) {
    // A pattern length of 0xFFFFFFF8 would wrap a 32-bit offset sum back into
    // the payload; the reader must see it as running past the end.
    Bytes payload = BuildPayload({{1, {1}, {2}}});
    payload[12] = 0xF8;
    payload[13] = payload[14] = payload[15] = 0xFF;
    EXPECT_EQ(CheckPatchPayload(payload.data(), payload.size()), 0);
    Bytes rl = BuildPayload({{1, {1}, {2}}});
    rl[17] = 0xFF;  // replacement length 0xFFFF..
    rl[18] = rl[19] = rl[20] = 0xFF;
    EXPECT_EQ(CheckPatchPayload(rl.data(), rl.size()), 0);
    Bytes many = BuildPayload({{1, {1}, {2}}});
    many[0] = 0xFF;  // claims more records than it holds
    EXPECT_EQ(CheckPatchPayload(many.data(), many.size()), 0);
}

TEST(BytePatchRecords, TrailingBytesAfterTheLastRecordAreIgnored) {
    Bytes payload = BuildPayload({{1, {1}, {2}}});
    payload.push_back(0xAA);
    Bytes out;
    EXPECT_EQ(Apply({1, 1}, payload, 0, &out), 1);
    EXPECT_EQ(Hex(out), Hex({2, 1}));
}

// Random contents over a small alphabet (so that patterns occur often and
// overlap) against the position-by-position model, with windows of several
// sizes so that matches straddle window edges.
TEST(BytePatchRecords, AgreesWithThePlainModel) {
    std::mt19937 rng(12345);
    auto byte = [&](int alphabet) { return static_cast<unsigned char>('a' + rng() % alphabet); };
    int agreed = 0;
    for (int round = 0; round < 3000; ++round) {
        int alphabet = 1 + static_cast<int>(rng() % 3);
        Bytes content(rng() % 40);
        for (auto& b : content) b = byte(alphabet);
        std::vector<Record> records;
        int n = static_cast<int>(rng() % 4);
        for (int k = 0; k < n; ++k) {
            Record rec;
            rec.type = 1 + rng() % 3;
            if (rec.type == 3) {
                rec.pattern = Offset(static_cast<uint32_t>(rng() % (content.size() + 3)));
            } else {
                rec.pattern.resize(1 + rng() % 4);
                for (auto& b : rec.pattern) b = byte(alphabet);
            }
            rec.replacement.resize(rng() % 5);
            for (auto& b : rec.replacement) b = byte(alphabet + 1);
            records.push_back(rec);
        }
        Bytes payload = BuildPayload(records);
        Bytes expected = content;
        int expectedResult = reference::ApplyPayload(expected, payload);
        for (std::size_t window : {std::size_t(0), std::size_t(1), std::size_t(5)}) {
            Bytes out;
            int result = Apply(content, payload, window, &out);
            ASSERT_EQ(result, expectedResult) << "content " << Hex(content) << " payload " << Hex(payload);
            if (result == 1) {
                ASSERT_EQ(Hex(out), Hex(expected)) << "content " << Hex(content) << " payload " << Hex(payload);
            }
        }
        agreed += expectedResult;
    }
    // The random cases must exercise success as well as failure.
    EXPECT_GT(agreed, 300);
    EXPECT_LT(agreed, 2700);
}
