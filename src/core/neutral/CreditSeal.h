// Protection of the credit resources.
//
// The page table (resource 10) and the texts that credit the patch author and
// the maker (245, 246, 247, 250, 260 to 265, 267 to 270) are stored scrambled,
// so that a resource editor shows no readable credit and a credit replaced
// in the clear reads back as noise. Resource 30 holds the 4-byte seal
// (little-endian) that ties them together:
//
//   seal = FNV-1a (32 bit) over every sealed resource in the order of
//          kSealedResourceIds: its id and its size (each 4 bytes,
//          little-endian; an absent resource counts as size 0xFFFFFFFF
//          with no bytes) and then its plain bytes.
//
// Each resource is scrambled with a key stream of its own: xorshift32 seeded
// with seal XOR (id * 0x9E3779B9), one key byte per step (the low byte of
// state XOR state >> 16). Scrambled byte i is the plain byte i XOR key byte i
// XOR plain byte i-1 (0 before the first), so one changed stored byte spoils
// every later byte of that resource. The runtime unscrambles all of them with
// the stored seal and recomputes the seal over the results: when any sealed
// resource or the seal itself was altered, the two no longer agree.
//
// This is a guard against casual editing, not encryption: whoever reads this
// file can undo it.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr unsigned kSealedResourceIds[] = {10, 245, 246, 247, 250, 260, 261, 262,
                                           263, 264, 265, 267, 268, 269, 270};
constexpr std::size_t kSealedResourceCount = sizeof kSealedResourceIds / sizeof kSealedResourceIds[0];
constexpr unsigned kSealResourceId = 30;
constexpr std::size_t kSealSize = 4;

// One sealed resource: its id and its plain bytes (data null: absent).
struct SealedItem {
    unsigned id;
    const unsigned char* data;
    std::size_t size;
};

bool IsSealedResource(unsigned id);

// The seal over `count` items, which the caller gives in the order of
// kSealedResourceIds.
uint32_t ComputeCreditSeal(const SealedItem* items, std::size_t count);

// In place; UnscrambleSealed(ScrambleSealed(x)) gives x back for the same id
// and seal.
void ScrambleSealed(unsigned id, uint32_t seal, unsigned char* data, std::size_t size);
void UnscrambleSealed(unsigned id, uint32_t seal, unsigned char* data, std::size_t size);

// The seal as stored in resource 30 and back.
void StoreSeal(uint32_t seal, unsigned char out[kSealSize]);
uint32_t ReadSeal(const unsigned char* stored);
