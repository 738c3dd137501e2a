// The one list of hive tokens holds each predefined key as a number, so that
// code without the Windows API can keep it: each number, taken as Windows
// defines the predefined keys (signed 32 bits, sign-extended in a 64-bit
// handle), must be the key the token names.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "core/neutral/HiveTokens.h"

TEST(HiveTokens, NumbersAreTheSystemsPredefinedKeys) {
    struct Case {
        const char* token;
        HKEY root;
    } cases[] = {
        {"HKCR", HKEY_CLASSES_ROOT}, {"HKCU", HKEY_CURRENT_USER},     {"HKLM", HKEY_LOCAL_MACHINE},
        {"HKUS", HKEY_USERS},        {"HKPD", HKEY_PERFORMANCE_DATA}, {"HKCC", HKEY_CURRENT_CONFIG},
        {"HKDD", HKEY_DYN_DATA},
    };
    ASSERT_EQ(HiveTokenCount(), static_cast<int>(sizeof cases / sizeof cases[0]));
    for (const Case& c : cases) {
        const HiveToken* hive = FindHiveToken(c.token);
        ASSERT_NE(hive, nullptr) << c.token;
        HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(hive->predefinedKey)));
        EXPECT_EQ(root, c.root) << c.token;
    }
}
