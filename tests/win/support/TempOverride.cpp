#include "support/TempOverride.h"

#include <windows.h>

namespace {
bool ReadVariable(const char* name, std::string& value) {
    char buffer[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return false;
    value = buffer;
    return true;
}
}  // namespace

TempOverride::TempOverride(const std::string& folder) {
    hadTmp_ = ReadVariable("TMP", oldTmp_);
    hadTemp_ = ReadVariable("TEMP", oldTemp_);
    SetEnvironmentVariableA("TMP", folder.c_str());
    SetEnvironmentVariableA("TEMP", folder.c_str());
}

TempOverride::~TempOverride() {
    SetEnvironmentVariableA("TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
    SetEnvironmentVariableA("TEMP", hadTemp_ ? oldTemp_.c_str() : nullptr);
}
