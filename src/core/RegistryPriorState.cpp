#include "core/RegistryPriorState.h"

#include <windows.h>

#include "core/Handles.h"
#include "core/PredefinedKey.h"

// The records, every number a little-endian 32-bit word and every text as
// ByteBuffer::AppendText writes it:
//   value record: 1, root, subkey, value name (none: the default value),
//                 existed (0 or 1); when it existed: type, data as a block
//   key record:   2, root, subkey, existed (0 or 1); when it existed: the
//                 key's contents
//   contents:     items up to an end mark 0; an item is either
//                 1, value name ("" for the default value), type, data, or
//                 2, subkey name, the subkey's contents.
// Restoring reads all the bytes once without touching the registry and acts
// only when every record is well formed: bytes that are no records (a
// damaged journal) are never half carried out.
namespace {

enum : uint32_t { kValueRecord = 1, kKeyRecord = 2 };
enum : uint32_t { kEndOfKey = 0, kValueItem = 1, kSubkeyItem = 2 };

// The registry itself nests at most 512 levels; a deeper tree (or a loop of
// links) is not walked further.
constexpr int kMaxTreeDepth = 512;

// Room for any name the ANSI functions give: a value name has at most 16383
// characters, each up to two bytes in a double-byte code page.
constexpr DWORD kNameSize = 32768;

// Key names are at most 255 characters.
constexpr DWORD kKeyNameSize = 512;

bool IsMissing(LONG status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

HKEY RootKey(uint32_t root) {
    return root >= 0x80000000u && root <= 0x80000006u ? PredefinedKey(root) : nullptr;
}

// A key record of an empty path would stand for the root itself, and its
// restore would delete the whole hive.
bool NamesAKey(const char* subkey) {
    for (const char* p = subkey; *p; ++p)
        if (*p != '\\') return true;
    return false;
}

// The value's type and data. The size is asked first; when the value grows
// between the two calls the size is asked again.
LONG QueryValue(HKEY key, const char* name, DWORD* type, HeapBytes& data, DWORD* size) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        *size = 0;
        LONG status = RegQueryValueExA(key, name, nullptr, type, nullptr, size);
        if (status != ERROR_SUCCESS) return status;
        data = AllocBytes(*size);
        if (!data) return ERROR_OUTOFMEMORY;
        status = RegQueryValueExA(key, name, nullptr, type, data.get(), size);
        if (status != ERROR_MORE_DATA) return status;
    }
    return ERROR_MORE_DATA;
}

// Writes the contents of `key`: its values, then each subkey with its own.
// `name` is a buffer of kNameSize bytes shared by all levels: each level is
// done with a name before it enumerates the next.
bool WriteContents(ByteBuffer& out, HKEY key, char* name, int depth) {
    if (depth > kMaxTreeDepth) return false;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kNameSize;
        LONG status = RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return false;
        DWORD type = 0;
        DWORD size = 0;
        HeapBytes data;
        if (QueryValue(key, name, &type, data, &size) != ERROR_SUCCESS) return false;
        out.AppendU32(kValueItem);
        out.AppendText(name);
        out.AppendU32(type);
        out.AppendBlock(data.get(), size);
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kKeyNameSize;
        LONG status = RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return false;
        UniqueKey child;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, child.put()) != ERROR_SUCCESS) return false;
        out.AppendU32(kSubkeyItem);
        out.AppendText(name);
        if (!WriteContents(out, child.get(), name, depth + 1)) return false;
    }
    out.AppendU32(kEndOfKey);
    return true;
}

// Adds a finished record to `out`; a record that could not be taken whole
// adds nothing.
int Commit(ByteBuffer& out, const ByteBuffer& record, bool complete) {
    if (!complete || record.Failed()) return 0;
    out.Append(record.Data(), record.Size());
    return out.Failed() ? 0 : 1;
}

void AppendHeader(ByteBuffer& record, uint32_t kind, uint32_t root, const char* subkey) {
    record.AppendU32(kind);
    record.AppendU32(root);
    record.AppendText(subkey);
}

// Deletes the key `name` below `parent` with everything below it, deepest
// first: RegDeleteKeyA on the NT family refuses a key that has subkeys. The
// key itself may be missing (depth 1): it counts as deleted. A subkey that
// cannot be opened (the ANSI functions spell a name they cannot convert as
// "?") is passed over, so that the walk ends; the key above it then stays.
bool DeleteTree(HKEY parent, const char* name, int depth) {
    if (depth > kMaxTreeDepth) return false;
    UniqueKey key;
    LONG status = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, key.put());
    if (status != ERROR_SUCCESS) return depth == 1 && IsMissing(status);
    HeapText child = AllocText(kKeyNameSize);
    if (!child) return false;
    bool whole = true;
    for (DWORD index = 0;;) {
        DWORD length = kKeyNameSize;
        status = RegEnumKeyExA(key.get(), index, child.get(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || !DeleteTree(key.get(), child.get(), depth + 1)) {
            whole = false;
            ++index;
        }
    }
    key.reset();
    return whole && RegDeleteKeyA(parent, name) == ERROR_SUCCESS;
}

// Reads the contents of one key and, when `key` is not null, writes them
// into it. False when the bytes are malformed; a registry call that fails
// sets `failed` and the reading goes on.
bool ReadContents(ByteReader& in, HKEY key, int depth, bool& failed) {
    if (depth > kMaxTreeDepth) return false;
    for (;;) {
        uint32_t item = 0;
        const char* name = nullptr;
        if (!in.ReadU32(&item)) return false;
        if (item == kEndOfKey) return true;
        if (item == kValueItem) {
            uint32_t type = 0;
            const unsigned char* data = nullptr;
            uint32_t size = 0;
            if (!in.ReadText(&name) || !in.ReadU32(&type) || !in.ReadBlock(&data, &size)) return false;
            if (key && RegSetValueExA(key, name, 0, type, data, size) != ERROR_SUCCESS) failed = true;
        } else if (item == kSubkeyItem) {
            if (!in.ReadText(&name) || !name || !*name) return false;
            UniqueKey child;
            if (key && RegCreateKeyExA(key, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, child.put(), nullptr) !=
                           ERROR_SUCCESS)
                failed = true;
            if (!ReadContents(in, child.get(), depth + 1, failed)) return false;
        } else {
            return false;
        }
    }
}

UniqueKey CreateKey(HKEY root, const char* subkey) {
    UniqueKey key;
    RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    return key;
}

bool RestoreValue(HKEY root, const char* subkey, const char* valueName, bool existed, uint32_t type,
                  const unsigned char* data, uint32_t size) {
    if (existed) {
        UniqueKey key = CreateKey(root, subkey);
        return key && RegSetValueExA(key.get(), valueName, 0, type, data, size) == ERROR_SUCCESS;
    }
    UniqueKey key;
    LONG status = RegOpenKeyExA(root, subkey, 0, KEY_SET_VALUE, key.put());
    if (status == ERROR_SUCCESS) status = RegDeleteValueA(key.get(), valueName);
    return status == ERROR_SUCCESS || IsMissing(status);
}

// Reads one record and, when `apply` is set, restores it. False when the
// bytes are malformed.
bool ReadRecord(ByteReader& in, bool apply, bool& failed) {
    uint32_t kind = 0;
    uint32_t root = 0;
    const char* subkey = nullptr;
    uint32_t existed = 0;
    if (!in.ReadU32(&kind) || !in.ReadU32(&root) || !in.ReadText(&subkey)) return false;
    HKEY rootKey = RootKey(root);
    if (!rootKey || !subkey) return false;
    if (kind == kValueRecord) {
        const char* valueName = nullptr;
        uint32_t type = 0;
        const unsigned char* data = nullptr;
        uint32_t size = 0;
        if (!in.ReadText(&valueName) || !in.ReadU32(&existed) || existed > 1) return false;
        if (existed && (!in.ReadU32(&type) || !in.ReadBlock(&data, &size))) return false;
        if (apply && !RestoreValue(rootKey, subkey, valueName, existed != 0, type, data, size)) failed = true;
        return true;
    }
    if (kind != kKeyRecord || !NamesAKey(subkey) || !in.ReadU32(&existed) || existed > 1) return false;
    UniqueKey key;
    if (apply) {
        if (!DeleteTree(rootKey, subkey, 1)) failed = true;
        // Written back even over a tree that could not be cleared whole: the
        // clearing may have taken original keys with it already.
        if (existed && !(key = CreateKey(rootKey, subkey))) failed = true;
    }
    // Read even when the key could not be made, to go on to the next record.
    return !existed || ReadContents(in, key.get(), 1, failed);
}

}  // namespace

int CaptureValueState(ByteBuffer& out, uint32_t root, const char* subkey, const char* valueName) {
    HKEY rootKey = RootKey(root);
    if (!rootKey || !subkey) return 0;
    ByteBuffer record;
    AppendHeader(record, kValueRecord, root, subkey);
    record.AppendText(valueName);
    UniqueKey key;
    LONG status = RegOpenKeyExA(rootKey, subkey, 0, KEY_QUERY_VALUE, key.put());
    if (status == ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD size = 0;
        HeapBytes data;
        status = QueryValue(key.get(), valueName, &type, data, &size);
        if (status == ERROR_SUCCESS) {
            record.AppendU32(1);
            record.AppendU32(type);
            record.AppendBlock(data.get(), size);
            return Commit(out, record, true);
        }
    }
    record.AppendU32(0);
    return Commit(out, record, IsMissing(status));
}

int CaptureKeyState(ByteBuffer& out, uint32_t root, const char* subkey) {
    HKEY rootKey = RootKey(root);
    if (!rootKey || !subkey || !NamesAKey(subkey)) return 0;
    ByteBuffer record;
    AppendHeader(record, kKeyRecord, root, subkey);
    UniqueKey key;
    LONG status = RegOpenKeyExA(rootKey, subkey, 0, KEY_READ, key.put());
    if (IsMissing(status)) {
        record.AppendU32(0);
        return Commit(out, record, true);
    }
    if (status != ERROR_SUCCESS) return 0;
    HeapText name = AllocText(kNameSize);
    if (!name) return 0;
    record.AppendU32(1);
    return Commit(out, record, WriteContents(record, key.get(), name.get(), 1));
}

int CaptureWriteState(ByteBuffer& out, uint32_t root, const char* subkey, const char* valueName) {
    HKEY rootKey = RootKey(root);
    if (!rootKey || !subkey) return 0;
    HeapText path = CopyText(subkey);
    if (!path) return 0;
    // Each path up to the end of a component, shortest first, by characters:
    // the trail byte of a double-byte character may be 0x5C.
    char* p = path.get();
    while (*p) {
        char* next = CharNextA(p);
        if (*p != '\\' && (*next == '\\' || !*next)) {
            const char kept = *next;
            *next = '\0';
            UniqueKey key;
            const bool missing = IsMissing(RegOpenKeyExA(rootKey, path.get(), 0, KEY_QUERY_VALUE, key.put()));
            if (missing) return CaptureKeyState(out, root, path.get());
            *next = kept;
        }
        p = next;
    }
    return CaptureValueState(out, root, subkey, valueName);
}

int RestoreRegistryState(const unsigned char* records, std::size_t size) {
    if (!records && size) return 0;
    bool failed = false;
    // The first pass only reads; the second restores.
    for (int pass = 0; pass < 2; ++pass) {
        ByteReader in(records, size);
        while (!in.AtEnd())
            if (!ReadRecord(in, pass == 1, failed)) return 0;
    }
    return failed ? 0 : 1;
}
