#include "actions/RegistrySections.h"

#include <windows.h>

#include <cstring>

#include "actions/RegistryOperations.h"
#include "core/RegistryPriorState.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "script/ScriptKeys.h"

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

// The state before the run of what the line changes, under the root its
// hive token selects (an unknown token keeps the previous line's, as when
// the lines run). A line that does not parse changes nothing.
int CaptureLine(ByteBuffer& out, const char* text, int kind) {
    RegistryLine line;
    if (!ParseRegistryLine(text, kind, line)) return 1;
    RunState.Registry.SetRoot(line.Hive.get());
    const uint32_t root = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(RunState.Registry.Root()));
    const char* subkey = line.Subkey.get();
    const char* value = line.ValueName.get();
    switch (kind) {
    case RegistryAdd: return CaptureWriteState(out, root, subkey, value);
    case RegistryDelete: return value ? CaptureValueState(out, root, subkey, value) : CaptureKeyState(out, root, subkey);
    default:
        if (value)
            return CaptureValueState(out, root, subkey, value) &&
                   CaptureValueState(out, root, subkey, line.NewName.get());
        HeapText destination = SiblingKeyPath(subkey, line.NewName.get());
        return destination && CaptureKeyState(out, root, subkey) && CaptureKeyState(out, root, destination.get());
    }
}

int SectionLineCount(const char* key) {
    RunState.ScriptReader.SetSection(kSetupSection);
    return RunState.ScriptReader.ReadInteger(key);
}

}  // namespace

bool HasRegistryLines() {
    return SectionLineCount(kAddRegKey) > 0 || SectionLineCount(kDelRegKey) > 0 || SectionLineCount(kRenRegKey) > 0;
}

int RunRegistrySections() {
    const int32_t addCount = SectionLineCount(kAddRegKey);
    const int32_t deleteCount = SectionLineCount(kDelRegKey);
    const int32_t renameCount = SectionLineCount(kRenRegKey);
    const int added = RunRegistrySection(addCount, RegistryAdd);
    const int deleted = RunRegistrySection(deleteCount, RegistryDelete);
    const int renamed = RunRegistrySection(renameCount, RegistryRename);
    return added && deleted && renamed ? 1 : 0;
}

int CapturePriorRegistryState(ByteBuffer& records) {
    // The lines choose their roots one after another, starting from the
    // root the run left: the capture walks them alike, then leaves that
    // root as it found it for the lines themselves.
    const RegistryAccessor before = RunState.Registry;
    const char* const countKeys[] = {kAddRegKey, kDelRegKey, kRenRegKey};
    int result = 1;
    for (int kind = RegistryAdd; kind <= RegistryRename && result; ++kind) {
        const int32_t count = SectionLineCount(countKeys[kind - 1]);
        RunState.ScriptReader.SetSection(SectionNameOf(kind));
        for (int n = 1; n <= count && result; ++n) {
            char key[16];
            wsprintfA(key, "%d", n);
            HeapText text = RunState.ScriptReader.ReadValue(key);
            result = CaptureLine(records, text.get(), kind);
        }
    }
    RunState.Registry = before;
    return result && !records.Failed() ? 1 : 0;
}

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
