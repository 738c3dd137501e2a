// The current registry root, chosen by a four-letter hive token, shared by
// folder resolution and the registry sections.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

class RegistryAccessor {
public:
    // "HKCR", "HKCU", "HKLM", "HKUS", "HKPD", "HKCC", "HKDD" (exact case);
    // any other token keeps the previous root.
    void SetRoot(const char* hiveToken);
    HKEY Root() const { return root_; }
    // The value's text (REG_EXPAND_SZ expanded), or none. A none value name
    // reads the key's default value.
    HeapText ReadPathValue(const char* subkey, const char* valueName) const;

private:
    HKEY root_ = nullptr;
};
