#include "actions/XorDelta.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/XorCombine.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/RunState.h"
#include "core/neutral/HeapText.h"

namespace {

// Reads up to `size` bytes, fewer only at the end of the file; -1 on error.
long ReadUpTo(HANDLE file, unsigned char* buffer, DWORD size) {
    DWORD total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, size - total, &got, nullptr)) return -1;
        if (got == 0) break;
        total += got;
    }
    return static_cast<long>(total);
}

bool WriteAll(HANDLE file, const unsigned char* data, DWORD size) {
    while (size > 0) {
        DWORD put = 0;
        if (!WriteFile(file, data, size, &put, nullptr) || put == 0) return false;
        data += put;
        size -= put;
    }
    return true;
}

// Streams the new content into the (empty) scratch file a chunk at a time:
// each chunk of the delta combined with the old bytes at the same offset,
// the delta's bytes beyond the old end as they are. The new file is exactly
// as long as the delta; old bytes beyond it are dropped. Neither file is
// ever held whole in memory.
int WriteNewContent(const char* target, const char* payload, const char* scratch) {
    UniqueFile delta(CreateFileA(payload, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!delta) return 0;
    UniqueFile old;
    if (!OpenTargetForReading(target, &old)) return 0;
    UniqueFile out(CreateFileA(scratch, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!out) return 0;

    HeapBytes deltaChunk = AllocBytes(kXorChunkBytes);
    HeapBytes oldChunk = AllocBytes(kXorChunkBytes);
    if (!deltaChunk || !oldChunk) return 0;
    bool oldEnded = !old;
    for (;;) {
        long n = ReadUpTo(delta.get(), deltaChunk.get(), kXorChunkBytes);
        if (n < 0) return 0;
        if (n == 0) break;
        if (!oldEnded) {
            long m = ReadUpTo(old.get(), oldChunk.get(), static_cast<DWORD>(n));
            if (m < 0) return 0;
            XorCombine(deltaChunk.get(), oldChunk.get(), static_cast<std::size_t>(m));
            oldEnded = m < n;
        }
        if (!WriteAll(out.get(), deltaChunk.get(), static_cast<DWORD>(n))) return 0;
    }
    return 1;
}

// The rename file of the Windows 95 family: section "rename" of WININIT.INI
// holds one line per destination, short destination = short source. The
// script reader is borrowed for the one write and handed back unchanged.
int ScheduleInRenameFile(const char* source, const char* destination) {
    char renameFile[kPathBufferSize] = {};
    if (RunState.WindowsFolder) lstrcpynA(renameFile, RunState.WindowsFolder, sizeof renameFile);
    AppendPath(renameFile, "WININIT.INI");

    // WININIT.INI runs before long names exist, so it needs the 8.3 forms;
    // a path without one keeps its own spelling.
    char shortSource[kPathBufferSize] = {};
    char shortDestination[kPathBufferSize] = {};
    DWORD n = GetShortPathNameA(source, shortSource, sizeof shortSource);
    if (n == 0 || n >= sizeof shortSource) lstrcpynA(shortSource, source, sizeof shortSource);
    n = GetShortPathNameA(destination, shortDestination, sizeof shortDestination);
    if (n == 0 || n >= sizeof shortDestination) lstrcpynA(shortDestination, destination, sizeof shortDestination);

    ProfileReader& reader = RunState.ScriptReader;
    HeapText savedFile = reader.CopyFilePath();
    HeapText savedSection = reader.CopySectionName();
    reader.SetFile(renameFile);
    reader.SetSection("rename");
    int written = reader.WriteValue(shortDestination, shortSource);
    reader.SetFile(savedFile.get());
    reader.SetSection(savedSection.get());
    return written;
}

}  // namespace

int ScheduleReplaceAtRestart(const char* source, const char* destination) {
    if (RunState.IsNT)
        return MoveFileExA(source, destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
    return ScheduleInRenameFile(source, destination);
}

int ApplyXorDelta(const char* targetPath, const char* payloadPath) {
    return UpdateThroughScratch(targetPath, payloadPath, WriteNewContent);
}
