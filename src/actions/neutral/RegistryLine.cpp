#include "actions/neutral/RegistryLine.h"

#include <cstring>

#include "script/neutral/FieldSplitter.h"
#include "core/neutral/LenientInteger.h"
#include "core/neutral/LittleEndian.h"

namespace {

uint32_t ReadNumberField(FieldSplitter& splitter) {
    HeapText field = splitter.Next();
    return static_cast<uint32_t>(ParseLenientInteger(field.get()));
}

// Types 1 and 2: the text with its terminator. A size above that would make
// the platform read past the text.
int TakeTextData(FieldSplitter& splitter, RegistryLine& line) {
    HeapText text = splitter.Next();
    if (!text) return 0;
    std::size_t stored = std::strlen(text.get()) + 1;
    if (line.Size > stored) return 0;
    line.Data.reset(reinterpret_cast<unsigned char*>(text.release()));
    return 1;
}

// Type 3: one byte per decimal field, as many fields as the size says. The
// fields are counted before anything is allocated, so a size far above the
// line's length fails instead of asking for gigabytes.
int TakeBinaryData(FieldSplitter& splitter, RegistryLine& line) {
    FieldSplitter counter = splitter;
    const char* begin = nullptr;
    std::size_t length = 0;
    uint32_t available = 0;
    while (available < line.Size && counter.NextSpan(&begin, &length)) ++available;
    if (available < line.Size) return 0;

    line.Data = AllocBytes(line.Size);
    if (!line.Data) return 0;
    for (uint32_t i = 0; i < line.Size; ++i)
        line.Data.get()[i] = static_cast<unsigned char>(ReadNumberField(splitter) & 0xFF);
    return 1;
}

// Types 4 and 5: the number as four bytes, least significant first, for both.
int TakeNumberData(FieldSplitter& splitter, RegistryLine& line) {
    HeapText field = splitter.Next();
    if (!field) return 0;
    if (line.Size > 4) return 0;
    uint32_t value = static_cast<uint32_t>(ParseLenientInteger(field.get()));
    line.Data = AllocBytes(4);
    if (!line.Data) return 0;
    WriteLittleEndian32(line.Data.get(), value);
    return 1;
}

int TakeAddData(FieldSplitter& splitter, RegistryLine& line) {
    switch (line.Type) {
    case RegistryText:
    case RegistryExpandText:
        return TakeTextData(splitter, line);
    case RegistryBinary:
        return TakeBinaryData(splitter, line);
    case RegistryNumber:
    case RegistryNumberBigEnd:
        return TakeNumberData(splitter, line);
    default:
        // No data field is read for other types, so there are no bytes the
        // size could describe.
        if (line.Size != 0) return 0;
        line.Data = AllocBytes(0);
        return line.Data ? 1 : 0;
    }
}

}  // namespace

bool IsNoneToken(const char* field) {
    return field && std::strcmp(field, "\"\"") == 0;
}

int ParseRegistryLine(const char* text, int kind, RegistryLine& line) {
    line = RegistryLine();
    if (kind != RegistryAdd && kind != RegistryDelete && kind != RegistryRename) return 0;

    FieldSplitter splitter(text);
    line.Hive = splitter.Next();
    line.Subkey = splitter.Next();
    HeapText valueName = splitter.Next();
    if (!valueName) return 0;
    if (!IsNoneToken(valueName.get())) line.ValueName = std::move(valueName);

    HeapText type = splitter.Next();
    HeapText size = splitter.Next();
    line.Type = static_cast<uint32_t>(ParseLenientInteger(type.get()));
    line.Size = static_cast<uint32_t>(ParseLenientInteger(size.get()));

    switch (kind) {
    case RegistryDelete:
        return 1;
    case RegistryRename:
        if (line.Type != RegistryText && line.Type != RegistryExpandText) return 0;
        line.NewName = splitter.Next();
        return line.NewName ? 1 : 0;
    default:
        if (!size) return 0;
        return TakeAddData(splitter, line);
    }
}
