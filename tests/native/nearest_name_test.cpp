// The names an author most likely meant: edits counted without case, swapped
// neighbours as one edit, and no suggestion beyond two edits or for a name
// too short to tell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/neutral/NearestName.h"

TEST(NameDistance, CountsEachKindOfEditOnceAndIgnoresCase) {
    struct Case {
        const char* a;
        const char* b;
        int distance;
    } cases[] = {
        {"Delay", "Delay", 0},   {"DELAY", "delay", 0},   {"CANTDIF", "CANTDIFF", 1}, {"Dealy", "Delay", 1},
        {"Dri", "Dir", 1},       {"Dr", "Dir", 1},        {"Dxr", "Dir", 1},          {"Sbu", "Sub", 1},
        {"NewCRC", "NewCR", 1},  {"RegKye", "RegKey", 1}, {"FIEL", "FILE", 1},        {"abc", "cba", 2},
        {"", "Act", 3},          {"Act", "", 3},          {"Count", "Act", 4},        {"ProcCnt", "ProcCount", 2},
        {"CANTMISS", "CANTDIFF", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
        EXPECT_EQ(NameDistance(c.b, c.a), c.distance) << c.b << " / " << c.a << " (the other way round)";
    }
}

TEST(NearestName, SuggestsTheClosestKnownNameWithinTwoEdits) {
    const std::vector<std::string> keys = {"FILE", "Act", "Dir", "Sub", "RegKey", "CRC", "NewCRC", "DONTChk",
                                           "CANTMISS", "CANTDIFF", "Delay", "Sync", "NewName", "Count"};
    struct Case {
        const char* name;
        const char* nearest;  // "" for none
    } cases[] = {
        {"CANTDIF", "CANTDIFF"}, {"Dealy", "Delay"},   {"Dri", "Dir"},       {"dir", "Dir"},
        {"CantMis", "CANTMISS"}, {"NewNam", "NewName"}, {"DontCheck", "DONTChk"}, {"Folder", ""},
        {"X", ""},               {"Ac", "Act"},        {"XY", ""},           {"Synch", "Sync"},
        {"NEWCRC", "NewCRC"},    {"Countt", "Count"},  {"Restart", ""},      {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NearestName(c.name, keys), c.nearest) << c.name;
    // Equally close: the first listed wins, so the answer does not depend on
    // anything but the list.
    EXPECT_EQ(NearestName("Sux", {"Sub", "Sum"}), "Sub");
    EXPECT_EQ(NearestName("Sux", {"Sum", "Sub"}), "Sum");
    // A closer name later in the list wins over a farther one before it.
    EXPECT_EQ(NearestName("CANTDIF", {"CANTMISS", "CANTDIFF"}), "CANTDIFF");
    EXPECT_EQ(DidYouMean("Dealy", keys), " (did you mean Delay?)");
    EXPECT_EQ(DidYouMean("Folder", keys), "");
}
