#include "script/FileCrc32.h"

#include <windows.h>
#include <zlib.h>

#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/neutral/HeapText.h"

namespace {

// Large reads keep the per-call cost negligible next to the CRC itself.
constexpr DWORD kCrcReadBytes = 1u << 20;

}  // namespace

// zlib's crc32 is the IEEE 802.3 CRC of ZIP (reflected polynomial
// 0xEDB88320, register starting at all ones, complemented at the end), only
// computed several bytes at a time.
uint32_t FileCrc32(const char* path) {
    UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0;
    const DWORD size = StreamChunkSize(file.get(), kCrcReadBytes);
    HeapBytes buffer = AllocBytes(size);
    if (!buffer) return 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.get(), size, &got, nullptr) || got == 0) break;
        crc = crc32(crc, buffer.get(), got);
    }
    return static_cast<uint32_t>(crc);
}
