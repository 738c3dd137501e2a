#include "actions/RegistrySections.h"

#include <windows.h>

#include <cstring>

#include "actions/RegistryOperations.h"
#include "core/RunLog.h"
#include "core/RunState.h"

namespace {

const char* SectionNameOf(int kind) {
    switch (kind) {
    case RegistryAdd: return "AddReg";
    case RegistryDelete: return "DelReg";
    case RegistryRename: return "RenReg";
    default: return nullptr;
    }
}

// The key beside `subkey` called `newName`: the subkey's parent path, a
// backslash and the new name, or the new name alone for a key directly
// under the root.
HeapText SiblingKeyPath(const char* subkey, const char* newName) {
    const char* leaf = LastKeyComponent(subkey);
    std::size_t parentLength = static_cast<std::size_t>(leaf - subkey);
    if (parentLength > 0) --parentLength;  // the backslash before the leaf
    std::size_t nameLength = std::strlen(newName);
    HeapText path = AllocText(parentLength + nameLength + 2);
    if (!path) return path;
    char* out = path.get();
    if (parentLength > 0) {
        std::memcpy(out, subkey, parentLength);
        out += parentLength;
        *out++ = '\\';
    }
    std::memcpy(out, newName, nameLength);
    return path;
}

int RunRenameLine(const RegistryLine& line) {
    if (line.ValueName)
        return RenameRegistryValue(line.Hive.get(), line.Subkey.get(), line.ValueName.get(), line.NewName.get());
    HeapText destination = SiblingKeyPath(line.Subkey.get(), line.NewName.get());
    if (!destination) return 0;
    return MoveRegistryKey(line.Hive.get(), line.Subkey.get(), destination.get());
}

int RunRegistryLine(const char* text, int kind) {
    RegistryLine line;
    if (!ParseRegistryLine(text, kind, line)) return 0;
    switch (kind) {
    case RegistryAdd:
        return WriteRegistryValue(line.Hive.get(), line.Subkey.get(), line.ValueName.get(), line.Type,
                                  line.Data.get(), line.Size);
    case RegistryDelete:
        return DeleteRegistryEntry(line.Hive.get(), line.Subkey.get(), line.ValueName.get());
    default:
        return RunRenameLine(line);
    }
}

}  // namespace

int RunRegistrySection(int lineCount, int kind) {
    const char* section = SectionNameOf(kind);
    if (!section) return 0;
    RunState.ScriptReader.SetSection(section);

    int result = 1;
    for (int n = 1; n <= lineCount; ++n) {
        char key[16];
        wsprintfA(key, "%d", n);
        HeapText text = RunState.ScriptReader.ReadValue(key);
        const int done = RunRegistryLine(text.get(), kind);
        LogRegistryLine(section, n, text.get(), done);
        if (done != 1) result = 0;
    }
    return result;
}
