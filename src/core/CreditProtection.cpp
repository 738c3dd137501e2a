#include "core/CreditProtection.h"

#include <cstring>

#include "core/Resources.h"
#include "core/neutral/CreditSeal.h"
#include "core/neutral/HeapText.h"

int MakeCreditsPlain() {
    const auto* stored = static_cast<const unsigned char*>(LoadResourceData(kSealResourceId));
    if (!stored || ResourceSize(kSealResourceId) < kSealSize) return 0;
    uint32_t seal = ReadSeal(stored);

    HeapBytes plain[kSealedResourceCount];
    SealedItem items[kSealedResourceCount] = {};
    for (std::size_t i = 0; i < kSealedResourceCount; ++i) {
        unsigned id = kSealedResourceIds[i];
        items[i].id = id;
        const void* data = LoadResourceData(id);
        if (!data) continue;  // absent: counted as such by the seal
        std::size_t size = ResourceSize(id);
        plain[i] = AllocBytes(size);
        if (!plain[i]) return 0;
        if (size) std::memcpy(plain[i].get(), data, size);
        UnscrambleSealed(id, seal, plain[i].get(), size);
        items[i].data = plain[i].get();
        items[i].size = size;
    }
    if (ComputeCreditSeal(items, kSealedResourceCount) != seal) return 0;

    for (const SealedItem& item : items)
        if (item.data && !SetPlainResource(item.id, item.data, item.size)) return 0;
    return 1;
}
