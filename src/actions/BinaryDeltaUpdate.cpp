#include "actions/BinaryDeltaUpdate.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/BinaryDelta.h"
#include "core/Handles.h"

namespace {

struct DeltaFiles {
    HANDLE Payload;
    HANDLE Old;
    ScratchCopy* New;
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
    return static_cast<DeltaFiles*>(context)->New->Write(data, size);
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

}  // namespace

// Rebuilds the new content into the scratch copy. The decoder reads the
// payload and the old file a window at a time and writes in bounded chunks,
// checking every step and the result's size and CRC-32; anything wrong
// fails here, before the target is touched.
int ApplyBinaryDelta(const char* targetPath, const char* payloadPath) {
    UniqueFile delta(CreateFileA(payloadPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!delta) return 0;
    ScratchCopy copy;
    if (!copy.Open(targetPath)) return 0;
    bool ok = true;
    const uint32_t payloadSize = SizeOf(delta.get(), &ok);
    const uint32_t oldSize = SizeOf(copy.TargetHandle(), &ok);
    if (!ok) return 0;
    DeltaFiles files = {delta.get(), copy.TargetHandle(), &copy};
    const BinaryDeltaIo io = {&files, ReadPayload, ReadOld, WriteNew};
    if (!RebuildFromBinaryDelta(io, payloadSize, oldSize)) return 0;
    return copy.Commit(EntryWantsRestart());
}
