#include "actions/BinaryDeltaUpdate.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/BinaryDelta.h"
#include "core/Handles.h"

namespace {

// Exactly `size` bytes of `file` from `offset` (below 4 GiB), or 0.
int ReadAt(void* file, uint32_t offset, unsigned char* buffer, uint32_t size) {
    LONG high = 0;
    if (SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return 0;
    return ReadUpTo(file, buffer, size) == static_cast<long>(size) ? 1 : 0;
}

int WriteToScratch(void* copy, const unsigned char* data, uint32_t size) {
    return static_cast<ScratchCopy*>(copy)->Write(data, size);
}

}  // namespace

// Rebuilds the new content into the scratch copy. The decoder reads the
// payload and the held target a window at a time, at offsets of its own,
// and writes in bounded chunks, checking every step and the result's size
// and CRC-32; anything wrong fails here, before the target is touched.
int ApplyBinaryDelta(const char* targetPath, const char* payloadPath) {
    UniqueFile delta(CreateFileA(payloadPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!delta) return 0;
    ScratchCopy copy;
    if (!copy.Open(targetPath)) return 0;
    // Sizes from 4 GiB on (a high part) are beyond what a binary delta
    // describes; a target that does not exist is empty.
    DWORD payloadHigh = 0, oldHigh = 0;
    const DWORD payloadSize = GetFileSize(delta.get(), &payloadHigh);
    const DWORD oldSize = copy.TargetExists() ? GetFileSize(copy.TargetHandle(), &oldHigh) : 0;
    if (payloadSize == INVALID_FILE_SIZE || oldSize == INVALID_FILE_SIZE || payloadHigh || oldHigh) return 0;
    const BinaryDeltaIo io = {delta.get(), copy.TargetHandle(), &copy, ReadAt, WriteToScratch};
    if (!RebuildFromBinaryDelta(io, payloadSize, oldSize) || !copy.HoldsNewVersion()) return 0;
    return copy.Commit(EntryWantsRestart());
}
