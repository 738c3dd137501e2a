// Any text, split as a registry line of each kind: no read past the text or
// the data, and a successful line always has as many data bytes as its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "actions/neutral/RegistryLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    char* text = static_cast<char*>(std::malloc(size + 1));
    if (!text) return 0;
    std::memcpy(text, data, size);
    text[size] = 0;

    for (int kind = RegistryAdd; kind <= RegistryRename; ++kind) {
        RegistryLine line;
        if (!ParseRegistryLine(text, kind, line)) continue;
        if (!line.Hive || !line.Subkey) std::abort();
        if (kind == RegistryAdd) {
            if (!line.Data) std::abort();
            // Touch every byte the platform would be handed.
            volatile unsigned sum = 0;
            for (uint32_t i = 0; i < line.Size; ++i) sum = sum + line.Data.get()[i];
            if ((line.Type == RegistryText || line.Type == RegistryExpandText) &&
                line.Size > std::strlen(reinterpret_cast<const char*>(line.Data.get())) + 1)
                std::abort();
        }
        if (kind == RegistryRename && !line.NewName) std::abort();
        if (line.ValueName && IsNoneToken(line.ValueName.get())) std::abort();
    }
    std::free(text);
    return 0;
}
