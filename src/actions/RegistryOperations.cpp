#include "actions/RegistryOperations.h"

#include <windows.h>

#include <cstring>

#include "core/Handles.h"
#include "core/RunState.h"

namespace {

// Value and key names are enumerated into a buffer of this size.
constexpr DWORD kNameBufferSize = 1024;

HKEY SelectRoot(const char* hiveToken) {
    RunState.Registry.SetRoot(hiveToken);
    return RunState.Registry.Root();
}

bool OpenKey(HKEY root, const char* subkey, REGSAM access, UniqueKey& key) {
    return RegOpenKeyExA(root, subkey, 0, access, key.put()) == ERROR_SUCCESS;
}

bool OpenFullAccess(HKEY root, const char* subkey, UniqueKey& key) { return OpenKey(root, subkey, KEY_ALL_ACCESS, key); }

bool CreateFullAccess(HKEY parent, const char* subkey, UniqueKey& key) {
    return RegCreateKeyExA(parent, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) ==
           ERROR_SUCCESS;
}

// `left` + "\" + `right` in a new string.
HeapText JoinKeyPath(const char* left, const char* right) {
    std::size_t leftLength = std::strlen(left);
    std::size_t rightLength = std::strlen(right);
    HeapText joined = AllocText(leftLength + rightLength + 2);
    if (!joined) return joined;
    std::memcpy(joined.get(), left, leftLength);
    joined.get()[leftLength] = '\\';
    std::memcpy(joined.get() + leftLength + 1, right, rightLength);
    return joined;
}

// The length of `path` without its trailing backslashes, walking by
// characters so that a double-byte character ending in 0x5C is kept.
std::size_t LengthWithoutTrailingSeparators(const char* path) {
    const char* end = path;        // just past the last character that is no separator
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p != '\\') end = CharNextA(p);
    return static_cast<std::size_t>(end - path);
}

// True when `destination` names `source` itself or a key below it, compared
// without case as the registry compares names. Moving there would copy the
// key into itself without end.
bool IsSameOrBelow(const char* source, const char* destination) {
    std::size_t length = LengthWithoutTrailingSeparators(source);
    if (std::strlen(destination) < length) return false;
    if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, source, static_cast<int>(length), destination,
                       static_cast<int>(length)) != CSTR_EQUAL)
        return false;
    char next = destination[length];
    return next == 0 || next == '\\';
}

// Copies every value of `source` into `destination`. Only the end of the
// list ends the copy: a value that cannot be read must not be left behind
// when the source is deleted afterwards.
int CopyValues(HKEY source, HKEY destination, char* name) {
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kNameBufferSize;
        DWORD type = 0;
        DWORD dataSize = 0;
        LONG status = RegEnumValueA(source, index, name, &nameLength, nullptr, &type, nullptr, &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) return 1;
        if (status != ERROR_SUCCESS) return 0;
        HeapBytes data = AllocBytes(dataSize);
        if (!data) return 0;
        nameLength = kNameBufferSize;
        if (RegEnumValueA(source, index, name, &nameLength, nullptr, &type, data.get(), &dataSize) != ERROR_SUCCESS)
            return 0;
        if (RegSetValueExA(destination, name, 0, type, data.get(), dataSize) != ERROR_SUCCESS) return 0;
    }
}

int MoveKeyAt(const char* hiveToken, const char* source, const char* destination, int depth, int maxDepth);

// Moves every subkey of `source` below `destination`. Each move deletes the
// child it moved, so index 0 always names the next one.
int MoveSubkeys(const char* hiveToken, HKEY sourceKey, const char* source, const char* destination, char* name,
                int depth, int maxDepth) {
    for (;;) {
        DWORD nameLength = kNameBufferSize;
        LONG status = RegEnumKeyExA(sourceKey, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return 1;
        if (status != ERROR_SUCCESS) return 0;
        HeapText childSource = JoinKeyPath(source, name);
        HeapText childDestination = JoinKeyPath(destination, name);
        if (!childSource || !childDestination) return 0;
        if (!MoveKeyAt(hiveToken, childSource.get(), childDestination.get(), depth + 1, maxDepth)) return 0;
    }
}

int MoveKeyAt(const char* hiveToken, const char* source, const char* destination, int depth, int maxDepth) {
    if (depth > maxDepth) return 0;
    HKEY root = SelectRoot(hiveToken);
    if (!root) return 0;

    HeapText parent = CopyText(destination);
    if (!parent) return 0;
    const char* leaf = LastKeyComponent(destination);
    // A key directly under the root has the root itself as its parent.
    parent.get()[leaf > destination ? leaf - destination - 1 : 0] = '\0';

    // The source is only read (its deletion opens it anew); the parent only
    // receives the new key.
    UniqueKey sourceKey;
    if (!OpenKey(root, source, KEY_READ, sourceKey)) return 0;
    UniqueKey parentKey;
    if (!OpenKey(root, parent.get(), KEY_CREATE_SUB_KEY, parentKey)) return 0;
    UniqueKey destinationKey;
    if (!CreateFullAccess(parentKey.get(), leaf, destinationKey)) return 0;

    HeapText name = AllocText(kNameBufferSize);
    if (!name) return 0;
    if (!CopyValues(sourceKey.get(), destinationKey.get(), name.get())) return 0;
    if (!MoveSubkeys(hiveToken, sourceKey.get(), source, destination, name.get(), depth, maxDepth)) return 0;

    destinationKey.reset();
    parentKey.reset();
    sourceKey.reset();
    return RegDeleteKeyA(root, source) == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

const char* LastKeyComponent(const char* path) {
    const char* leaf = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') leaf = p + 1;
    return leaf;
}

int WriteRegistryValue(const char* hiveToken, const char* subkey, const char* valueName, uint32_t type,
                       const void* data, uint32_t size) {
    HKEY root = SelectRoot(hiveToken);
    if (!root || !subkey) return 0;
    UniqueKey key;
    if (!OpenFullAccess(root, subkey, key) && !CreateFullAccess(root, subkey, key)) return 0;
    return RegSetValueExA(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS
               ? 1
               : 0;
}

int DeleteRegistryEntry(const char* hiveToken, const char* subkey, const char* valueName) {
    HKEY root = SelectRoot(hiveToken);
    if (!root || !subkey) return 0;
    if (!valueName) return RegDeleteKeyA(root, subkey) == ERROR_SUCCESS ? 1 : 0;
    UniqueKey key;
    if (!OpenFullAccess(root, subkey, key)) return 0;
    return RegDeleteValueA(key.get(), valueName) == ERROR_SUCCESS ? 1 : 0;
}

int RenameRegistryValue(const char* hiveToken, const char* subkey, const char* valueName, const char* newName) {
    HKEY root = SelectRoot(hiveToken);
    if (!root || !subkey || !valueName || !newName) return 0;
    UniqueKey key;
    if (!OpenFullAccess(root, subkey, key)) return 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return 0;
    // The registry matches names without case: writing the "new" name would
    // overwrite the value itself and deleting the "old" one would lose it.
    if (lstrcmpiA(valueName, newName) == 0) return 1;

    HeapBytes data = AllocBytes(size);
    if (!data) return 0;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, data.get(), &size) != ERROR_SUCCESS) return 0;
    if (RegSetValueExA(key.get(), newName, 0, type, data.get(), size) != ERROR_SUCCESS) return 0;
    return RegDeleteValueA(key.get(), valueName) == ERROR_SUCCESS ? 1 : 0;
}

int MoveRegistryKeyBounded(const char* hiveToken, const char* source, const char* destination, int maxDepth) {
    if (!source || !destination) return 0;
    // An empty source would be the root itself.
    if (LengthWithoutTrailingSeparators(source) == 0) return 0;
    if (IsSameOrBelow(source, destination)) return 0;
    return MoveKeyAt(hiveToken, source, destination, 1, maxDepth);
}

int MoveRegistryKey(const char* hiveToken, const char* source, const char* destination) {
    return MoveRegistryKeyBounded(hiveToken, source, destination, kMaxRegistryMoveDepth);
}
