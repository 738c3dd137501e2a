#include "core/AdministratorToken.h"

#include <windows.h>

#include <cstring>

#include "core/Handles.h"
#include "core/neutral/HeapText.h"

const unsigned char kAdministratorsSid[16] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0};

bool RunsAsAdministrator() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    HeapBytes buffer = AllocBytes(size);
    if (!buffer || !GetTokenInformation(token.get(), TokenGroups, buffer.get(), size, &size)) return false;
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.get());
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if ((groups->Groups[i].Attributes & SE_GROUP_ENABLED) &&
            std::memcmp(groups->Groups[i].Sid, kAdministratorsSid, sizeof kAdministratorsSid) == 0)
            return true;
    return false;
}
