#include "actions/BinaryDeltaUpdate.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/BinaryDelta.h"
#include "core/Handles.h"

namespace {

struct DeltaFiles {
    HANDLE Payload;
    HANDLE Old;
    HANDLE New;
};

// Exactly `size` bytes from `offset` (below 4 GiB), or 0.
int ReadAt(HANDLE file, uint32_t offset, unsigned char* buffer, uint32_t size) {
    LONG high = 0;
    if (SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return 0;
    while (size > 0) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, size, &got, nullptr) || got == 0) return 0;
        buffer += got;
        size -= got;
    }
    return 1;
}

int ReadPayload(void* context, uint32_t offset, unsigned char* buffer, uint32_t size) {
    return ReadAt(static_cast<DeltaFiles*>(context)->Payload, offset, buffer, size);
}

int ReadOld(void* context, uint32_t offset, unsigned char* buffer, uint32_t size) {
    return ReadAt(static_cast<DeltaFiles*>(context)->Old, offset, buffer, size);
}

int WriteNew(void* context, const unsigned char* data, uint32_t size) {
    HANDLE file = static_cast<DeltaFiles*>(context)->New;
    while (size > 0) {
        DWORD put = 0;
        if (!WriteFile(file, data, size, &put, nullptr) || put == 0) return 0;
        data += put;
        size -= put;
    }
    return 1;
}

// The size of an open file, or 0 with *ok false when it is unknown or not
// below 4 GiB (no binary delta describes such a file). No file is empty.
uint32_t SizeOf(HANDLE file, bool* ok) {
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE || high != 0) *ok = false;
    return low;
}

// Rebuilds the new content into the (empty) scratch file. The decoder reads
// the payload and the old file a window at a time and writes in bounded
// chunks, checking every step and the result's size and CRC-32; anything
// wrong fails here, before the target is touched.
int WriteRebuiltContent(const char* target, const char* payload, const char* scratch) {
    UniqueFile delta(CreateFileA(payload, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!delta) return 0;
    UniqueFile old;
    if (!OpenTargetForReading(target, &old)) return 0;
    UniqueFile out(CreateFileA(scratch, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!out) return 0;
    bool ok = true;
    const uint32_t payloadSize = SizeOf(delta.get(), &ok);
    const uint32_t oldSize = SizeOf(old.get(), &ok);
    if (!ok) return 0;
    DeltaFiles files = {delta.get(), old.get(), out.get()};
    const BinaryDeltaIo io = {&files, ReadPayload, ReadOld, WriteNew};
    return RebuildFromBinaryDelta(io, payloadSize, oldSize);
}

}  // namespace

int ApplyBinaryDelta(const char* targetPath, const char* payloadPath) {
    return UpdateThroughScratch(targetPath, payloadPath, WriteRebuiltContent);
}
