#include "core/neutral/Crc32.h"

#include <zlib.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <emmintrin.h>
#include <wmmintrin.h>
#define ZULI_CRC_CLMUL 1
#endif

namespace {

// zlib takes lengths as unsigned int; a longer run goes in pieces.
uint32_t ZlibCrc(uint32_t crc, const unsigned char* data, std::size_t length) {
    while (length > 0) {
        const uInt piece = length > 0x40000000u ? 0x40000000u : static_cast<uInt>(length);
        crc = static_cast<uint32_t>(crc32(crc, data, piece));
        data += piece;
        length -= piece;
    }
    return crc;
}

#if ZULI_CRC_CLMUL

#if defined(__x86_64__)
bool g_allowed = true;
#else
bool g_allowed = false;
#endif

bool ProcessorHasClmul() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    return (c & bit_PCLMUL) != 0 && (d & bit_SSE2) != 0;
}

// The folding method for CRCs with carry-less multiplies: the message is
// kept as four 128-bit lanes; each step multiplies every lane by x to the
// power of the distance it moves (reduced modulo the polynomial) and adds
// the next 64 bytes. At the end the lanes fold into one, that one into 64
// bits, and a Barrett reduction gives the 32-bit remainder. All constants
// are in the reflected bit order of the CRC:
//   x^(512+32), x^(512-32) mod P   distance of four lanes
//   x^(128+32), x^(128-32) mod P   distance of one lane
//   x^64 mod P                     128 bits down to 64
//   P and floor(x^64 / P)          the Barrett pair
#define ZULI_CLMUL_TARGET __attribute__((target("pclmul,sse2")))

ZULI_CLMUL_TARGET inline __m128i Load(const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// lane * k, where the low half goes with k's low and the high with k's high,
// plus the data that lane lands on.
ZULI_CLMUL_TARGET inline __m128i Fold(__m128i lane, __m128i k, __m128i onto) {
    const __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), onto);
}

// `length` is at least 64 and a multiple of 16; `reg` is the raw register
// (zlib's value complemented).
ZULI_CLMUL_TARGET uint32_t FoldWithClmul(uint32_t reg, const unsigned char* p,
                                                              std::size_t length) {
    const __m128i fourLanes = _mm_set_epi64x(0x01c6e41596LL, 0x0154442bd4LL);
    const __m128i oneLane = _mm_set_epi64x(0x00ccaa009eLL, 0x01751997d0LL);
    const __m128i to64 = _mm_set_epi64x(0, 0x0163cd6124LL);
    const __m128i barrett = _mm_set_epi64x(0x01f7011641LL, 0x01db710641LL);
    const __m128i low32 = _mm_set_epi32(0, -1, 0, -1);

    __m128i l0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i l1 = Load(p + 16);
    __m128i l2 = Load(p + 32);
    __m128i l3 = Load(p + 48);
    p += 64;
    length -= 64;
    while (length >= 64) {
        l0 = Fold(l0, fourLanes, Load(p));
        l1 = Fold(l1, fourLanes, Load(p + 16));
        l2 = Fold(l2, fourLanes, Load(p + 32));
        l3 = Fold(l3, fourLanes, Load(p + 48));
        p += 64;
        length -= 64;
    }
    __m128i x = Fold(l0, oneLane, l1);
    x = Fold(x, oneLane, l2);
    x = Fold(x, oneLane, l3);
    while (length >= 16) {
        x = Fold(x, oneLane, Load(p));
        p += 16;
        length -= 16;
    }

    // 128 bits to 64: the low half moves up by 64 bits onto the high half.
    x = _mm_xor_si128(_mm_srli_si128(x, 8), _mm_clmulepi64_si128(x, oneLane, 0x10));
    // 64 bits to 32 + 32: the low 32 bits move by x^64.
    x = _mm_xor_si128(_mm_srli_si128(x, 4), _mm_clmulepi64_si128(_mm_and_si128(x, low32), to64, 0x00));
    // Barrett: q = low(x) * floor(x^64/P), remainder = x + low(q) * P.
    __m128i q = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
    q = _mm_clmulepi64_si128(_mm_and_si128(q, low32), barrett, 0x00);
    x = _mm_xor_si128(x, q);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x, 4)));
}

// Asked once; a plain value rather than a function-local static, whose
// guarded initialisation would bring a threading library into the runtime.
// Threads that ask at once all store the same answer.
int g_clmulPresent = -1;

bool UseClmul() {
    if (!g_allowed) return false;
    if (g_clmulPresent < 0) g_clmulPresent = ProcessorHasClmul() ? 1 : 0;
    return g_clmulPresent == 1;
}

#endif  // ZULI_CRC_CLMUL

}  // namespace

uint32_t Crc32Update(uint32_t crc, const unsigned char* data, std::size_t length) {
#if ZULI_CRC_CLMUL
    if (length >= 64 && UseClmul()) {
        const std::size_t folded = length & ~static_cast<std::size_t>(15);
        crc = ~FoldWithClmul(~crc, data, folded);
        data += folded;
        length -= folded;
    }
#endif
    return ZlibCrc(crc, data, length);
}

void Crc32AllowVectorUnit(bool allowed) {
#if ZULI_CRC_CLMUL
    g_allowed = allowed;
#else
    (void)allowed;
#endif
}

bool Crc32UsesVectorUnit() {
#if ZULI_CRC_CLMUL
    return UseClmul();
#else
    return false;
#endif
}
