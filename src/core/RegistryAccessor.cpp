#include "core/RegistryAccessor.h"

#include <cstring>

#include "core/Handles.h"
#include "core/PredefinedKey.h"
#include "core/neutral/HiveTokens.h"

namespace {

// The expansion of a REG_EXPAND_SZ text, or none.
HeapText ExpandText(const char* text) {
    DWORD needed = ExpandEnvironmentStringsA(text, nullptr, 0);
    if (needed == 0) return HeapText();
    HeapText expanded = AllocText(needed);
    if (!expanded) return HeapText();
    DWORD written = ExpandEnvironmentStringsA(text, expanded.get(), needed);
    // A variable that changed between the two calls could make the text grow.
    if (written == 0 || written > needed) return HeapText();
    return expanded;
}

}  // namespace

void RegistryAccessor::SetRoot(const char* hiveToken) {
    // An unknown token (or none) keeps the root that was set before.
    if (const HiveToken* hive = FindHiveToken(hiveToken)) root_ = PredefinedKey(hive->predefinedKey);
}

HeapText RegistryAccessor::ReadPathValue(const char* subkey, const char* valueName) const {
    if (!root_) return HeapText();
    UniqueKey key;
    // Read access only: the application's folder is mostly recorded under
    // HKEY_LOCAL_MACHINE, which an ordinary user may read but not change.
    if (RegOpenKeyExA(root_, subkey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return HeapText();
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return HeapText();
    // One byte more than the data, so that a text stored without its
    // terminator still ends inside the buffer.
    HeapText data = AllocText(size + 1);
    if (!data) return HeapText();
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.get()), &size) !=
        ERROR_SUCCESS)
        return HeapText();
    if (type == REG_EXPAND_SZ) return ExpandText(data.get());
    return data;
}
