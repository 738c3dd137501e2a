// The one list of hive tokens: found exactly as the script must spell them,
// each with its predefined key. (That the numbers are the system's own keys
// is checked on the Windows side, tests/win/hive_tokens_test.cpp.)
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/neutral/HiveTokens.h"

TEST(HiveTokens, FoundOnlyAsSpelled) {
    struct Case {
        const char* text;
        uint32_t predefinedKey;  // 0: no token
    } cases[] = {
        {"HKCR", 0x80000000u}, {"HKCU", 0x80000001u}, {"HKLM", 0x80000002u}, {"HKUS", 0x80000003u},
        {"HKPD", 0x80000004u}, {"HKCC", 0x80000005u}, {"HKDD", 0x80000006u},
        {"hklm", 0}, {"HKLM ", 0}, {" HKLM", 0}, {"HKL", 0}, {"HKLMX", 0}, {"HKEY_LOCAL_MACHINE", 0}, {"", 0},
    };
    for (const Case& c : cases) {
        const HiveToken* hive = FindHiveToken(c.text);
        if (!c.predefinedKey) {
            EXPECT_EQ(hive, nullptr) << "\"" << c.text << "\"";
            continue;
        }
        ASSERT_NE(hive, nullptr) << c.text;
        EXPECT_STREQ(hive->token, c.text);
        EXPECT_EQ(hive->predefinedKey, c.predefinedKey) << c.text;
    }
    EXPECT_EQ(FindHiveToken(nullptr), nullptr);
}

TEST(HiveTokens, TableHoldsEachTokenOnceInKeyOrder) {
    ASSERT_EQ(HiveTokenCount(), 7);
    std::set<std::string> tokens;
    for (int i = 0; i < HiveTokenCount(); ++i) {
        const HiveToken& hive = HiveTokenTable()[i];
        EXPECT_TRUE(tokens.insert(hive.token).second) << hive.token << " is listed twice";
        EXPECT_EQ(FindHiveToken(hive.token), &hive);
        EXPECT_EQ(hive.predefinedKey, 0x80000000u + static_cast<uint32_t>(i)) << hive.token;
    }
}
