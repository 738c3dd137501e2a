#include "core/neutral/HiveTokens.h"

#include <cstring>

namespace {

const HiveToken kHiveTokens[] = {
    {"HKCR", 0x80000000u},  // HKEY_CLASSES_ROOT
    {"HKCU", 0x80000001u},  // HKEY_CURRENT_USER
    {"HKLM", 0x80000002u},  // HKEY_LOCAL_MACHINE
    {"HKUS", 0x80000003u},  // HKEY_USERS
    {"HKPD", 0x80000004u},  // HKEY_PERFORMANCE_DATA
    {"HKCC", 0x80000005u},  // HKEY_CURRENT_CONFIG
    {"HKDD", 0x80000006u},  // HKEY_DYN_DATA
};

}  // namespace

const HiveToken* FindHiveToken(const char* text) {
    if (!text) return nullptr;
    for (const HiveToken& hive : kHiveTokens)
        if (std::strcmp(text, hive.token) == 0) return &hive;
    return nullptr;
}

const HiveToken* HiveTokenTable() { return kHiveTokens; }

int HiveTokenCount() { return static_cast<int>(sizeof kHiveTokens / sizeof kHiveTokens[0]); }
