#include "core/ProcessorFeatures.h"

#include <windows.h>

#include "core/neutral/Crc32.h"

namespace {

constexpr DWORD kSse2Feature = 10;  // PF_XMMI64_INSTRUCTIONS_AVAILABLE

}  // namespace

void AllowFastCrcWhereSafe() {
    using FeatureQuery = BOOL(WINAPI*)(DWORD);
    auto query = reinterpret_cast<FeatureQuery>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsProcessorFeaturePresent")));
    Crc32AllowVectorUnit(query != nullptr && query(kSse2Feature) != FALSE);
}
