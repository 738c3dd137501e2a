// The cabinet file-table reader never reads past the data and only ever
// hands out names that lie inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/neutral/CabinetDirectory.h"

namespace {
struct Bounds {
    const unsigned char* begin;
    std::size_t size;
};

void Check(const char* name, std::size_t length, uint32_t, void* context) {
    auto* bounds = static_cast<Bounds*>(context);
    auto* first = reinterpret_cast<const unsigned char*>(name);
    if (first < bounds->begin || first + length >= bounds->begin + bounds->size) std::abort();
    if (first[length] != 0) std::abort();
    (void)IsPlainFileName(name, length);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Bounds bounds{data, size};
    (void)ForEachCabinetFile(data, size, Check, &bounds);
    return 0;
}
