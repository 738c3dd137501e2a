#include "actions/XorDelta.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/XorCombine.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/RunState.h"
#include "core/neutral/HeapText.h"
#include "script/ScriptKeys.h"

// Streams the new content into the scratch copy a chunk at a time: each
// chunk of the delta combined with the old bytes at the same offset, the
// delta's bytes beyond the old end as they are. The new file is exactly as
// long as the delta; old bytes beyond it are dropped, but still read, since
// the whole old file must be the one the check accepted. Neither file is
// ever held whole in memory.
int ApplyXorDelta(const char* targetPath, const char* payloadPath) {
    UniqueFile delta(CreateFileA(payloadPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!delta) return 0;
    ScratchCopy copy;
    if (!copy.Open(targetPath)) return 0;

    // One buffer: a chunk of the delta, then the old bytes at the same
    // offset. Both files are read in chunks of one size, so that their
    // offsets agree.
    DWORD chunk = StreamChunkSize(delta.get(), kXorChunkBytes);
    const DWORD oldChunkSize = StreamChunkSize(copy.TargetHandle(), kXorChunkBytes);  // the limit without a target
    if (oldChunkSize > chunk) chunk = oldChunkSize;
    HeapBytes chunks = AllocBytes(2 * static_cast<std::size_t>(chunk));
    if (!chunks) return 0;
    unsigned char* deltaChunk = chunks.get();
    unsigned char* oldChunk = deltaChunk + chunk;
    for (;;) {
        long n = ReadUpTo(delta.get(), deltaChunk, chunk);
        long m = copy.ReadTarget(oldChunk, chunk);
        if (n < 0 || m < 0) return 0;
        if (n == 0 && m == 0) break;
        XorCombine(deltaChunk, oldChunk, static_cast<std::size_t>(m < n ? m : n));
        if (!copy.Write(deltaChunk, static_cast<DWORD>(n))) return 0;
    }
    // The update applies to the version the check saw, or not at all: a file
    // changed since (another program wrote it while the check page waited)
    // would turn into neither version.
    if (copy.TargetCrc() != static_cast<uint32_t>(RunState.ScriptReader.ReadInteger(kCrcKey))) return 0;
    if (!copy.HoldsNewVersion()) return 0;
    return copy.Commit(EntryWantsRestart());
}
