#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "wizard/neutral/PageWalk.h"

namespace {

// The table lives in a heap block of exactly 14 bytes, so that a walk that
// leaves the table is caught by the address sanitizer.
std::unique_ptr<unsigned char[]> Table(const std::string& slots) {
    auto table = std::make_unique<unsigned char[]>(kPageSlotCount);
    for (int i = 0; i < kPageSlotCount; ++i) table[i] = slots[i] == '1' ? 1 : 0;
    return table;
}

}  // namespace

TEST(PageWalk, NextSkipsZeroSlots) {
    struct Case {
        const char* slots;  // slots 0..13
        int from;
        int expected;
    } cases[] = {
        {"11111111111111", 1, 2},   // every page shown
        {"11111111111111", 10, 11},
        {"11111111111111", 11, 12},  // after the last page: the finish step
        {"11010111111111", 1, 3},   // slots 2 and 4 zero
        {"11010111111111", 3, 5},
        {"11111111011111", 7, 9},   // report page switched off
        {"11111111111011", 10, 12},  // maker credits off: finish follows
        {"10000000000010", 0, 12},  // nothing between the ends
        {"11111111111111", 0, 1},   // slot n itself is not examined
        {"10111111111111", 0, 2},   // slot 1 zero
        {"11111111111112", 12, 12},  // from the finish step, no further
    };
    for (const Case& c : cases) {
        auto table = Table(c.slots);
        EXPECT_EQ(NextShownPage(table.get(), c.from), c.expected)
            << "table " << c.slots << ", Next from " << c.from;
    }
}

TEST(PageWalk, PreviousSkipsZeroSlots) {
    struct Case {
        const char* slots;
        int from;
        int expected;
    } cases[] = {
        {"11111111111111", 2, 1},
        {"11111111111111", 1, 0},   // Back from the first page: the start sentinel
        {"11010111111111", 3, 1},   // slots 2 and 4 zero
        {"11010111111111", 5, 3},
        {"10111111111111", 2, 0},   // slot 1 zero: Back from 2 ends the wizard
        {"10000011111111", 9, 8},
        {"10000000011111", 9, 0},
        {"11111111111111", 5, 4},
    };
    for (const Case& c : cases) {
        auto table = Table(c.slots);
        EXPECT_EQ(PreviousShownPage(table.get(), c.from), c.expected)
            << "table " << c.slots << ", Back from " << c.from;
    }
}

// A table without its ends (slot 0 or slot 12 zero) still stops at them: the
// walk never reads outside the 14 slots and never runs on.
TEST(PageWalk, TableWithoutEndsStopsAtTheEnds) {
    struct Case {
        const char* slots;
        int from;
        bool forward;
        int expected;
    } cases[] = {
        {"11111111111101", 11, true, 12},
        {"11111111111100", 11, true, 12},
        {"00000000000000", 1, true, 12},
        {"00000000000000", 11, false, 0},
        {"01111111111111", 1, false, 0},
        {"00000000000000", 1, false, 0},
        {"01000000000000", 5, false, 1},
        {"00000000000100", 3, true, 11},
    };
    for (const Case& c : cases) {
        auto table = Table(c.slots);
        int got = c.forward ? NextShownPage(table.get(), c.from) : PreviousShownPage(table.get(), c.from);
        EXPECT_EQ(got, c.expected) << "table " << c.slots << (c.forward ? ", Next from " : ", Back from ")
                                   << c.from;
    }
}

// Every starting page over every table of the twelve walkable slots: the
// result always lies within the ends, and it is a shown page or an end.
TEST(PageWalk, EveryTableAndPageStaysInside) {
    for (int bits = 0; bits < (1 << 12); ++bits) {
        auto table = std::make_unique<unsigned char[]>(kPageSlotCount);
        for (int i = 1; i <= 12; ++i) table[i] = (bits >> (i - 1)) & 1;
        for (int from = 0; from <= 12; ++from) {
            int next = NextShownPage(table.get(), from);
            ASSERT_GT(next, from < 12 ? from : 11) << "bits " << bits << " from " << from;
            ASSERT_LE(next, 12);
            if (next < 12) {
                ASSERT_NE(table[next], 0);
            }
            if (from == 0) continue;
            int previous = PreviousShownPage(table.get(), from);
            ASSERT_LT(previous, from);
            ASSERT_GE(previous, 0);
            if (previous > 0) {
                ASSERT_NE(table[previous], 0);
            }
        }
    }
}
