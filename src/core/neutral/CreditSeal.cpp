#include "core/neutral/CreditSeal.h"

#include "core/neutral/LittleEndian.h"

namespace {

constexpr uint32_t kFnvOffset = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;
constexpr uint32_t kAbsentSize = 0xFFFFFFFFu;

uint32_t HashBytes(uint32_t hash, const unsigned char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= kFnvPrime;
    }
    return hash;
}

uint32_t HashNumber(uint32_t hash, uint32_t value) {
    unsigned char bytes[4];
    StoreSeal(value, bytes);
    return HashBytes(hash, bytes, sizeof bytes);
}

class KeyStream {
public:
    KeyStream(unsigned id, uint32_t seal) : state_(seal ^ (id * 0x9E3779B9u)) {
        if (state_ == 0) state_ = 0x6D2B79F5u;  // xorshift never leaves 0
    }
    unsigned char Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<unsigned char>(state_ ^ (state_ >> 16));
    }

private:
    uint32_t state_;
};

}  // namespace

bool IsSealedResource(unsigned id) {
    for (unsigned sealed : kSealedResourceIds)
        if (sealed == id) return true;
    return false;
}

uint32_t ComputeCreditSeal(const SealedItem* items, std::size_t count) {
    uint32_t hash = kFnvOffset;
    for (std::size_t i = 0; i < count; ++i) {
        hash = HashNumber(hash, items[i].id);
        if (!items[i].data) {
            hash = HashNumber(hash, kAbsentSize);
            continue;
        }
        hash = HashNumber(hash, static_cast<uint32_t>(items[i].size));
        hash = HashBytes(hash, items[i].data, items[i].size);
    }
    return hash;
}

void ScrambleSealed(unsigned id, uint32_t seal, unsigned char* data, std::size_t size) {
    KeyStream key(id, seal);
    unsigned char previousPlain = 0;
    for (std::size_t i = 0; i < size; ++i) {
        unsigned char plain = data[i];
        data[i] = static_cast<unsigned char>(plain ^ key.Next() ^ previousPlain);
        previousPlain = plain;
    }
}

void UnscrambleSealed(unsigned id, uint32_t seal, unsigned char* data, std::size_t size) {
    KeyStream key(id, seal);
    unsigned char previousPlain = 0;
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<unsigned char>(data[i] ^ key.Next() ^ previousPlain);
        previousPlain = data[i];
    }
}

void StoreSeal(uint32_t seal, unsigned char out[kSealSize]) {
    WriteLittleEndian32(out, seal);
}

uint32_t ReadSeal(const unsigned char* stored) {
    return ReadLittleEndian32(stored);
}
