#include "actions/BytePatch.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/BytePatchRecords.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/RunState.h"
#include "core/neutral/HeapText.h"

namespace {

// Contents up to this size are mapped whole; larger ones a view at a time,
// so that even the 32-bit build, with its 2 GiB of address space, patches a
// file of a gigabyte or more.
constexpr uint64_t kWholeMappingLimit = 64ull << 20;
constexpr std::size_t kViewBytes = 16u << 20;

// The scratch copy seen through a file mapping: edits land in the file
// itself, and only the views in use take memory.
class MappedContent final : public PatchContent {
public:
    MappedContent(HANDLE mapping, uint64_t length) : mapping_(mapping), length_(length) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        granularity_ = info.dwAllocationGranularity ? info.dwAllocationGranularity : 65536;
        viewLimit_ = length <= kWholeMappingLimit ? static_cast<std::size_t>(length) : kViewBytes;
    }
    ~MappedContent() { Unmap(); }
    MappedContent(const MappedContent&) = delete;
    MappedContent& operator=(const MappedContent&) = delete;

    uint64_t Length() const override { return length_; }

    unsigned char* Window(uint64_t offset, std::size_t minimum, std::size_t* available) override {
        if (offset > length_ || minimum > length_ - offset) return nullptr;
        if (!view_ || offset < viewStart_ || offset + minimum > viewStart_ + viewSize_) {
            Unmap();
            const uint64_t start = offset - offset % granularity_;
            uint64_t size = (offset - start) + (minimum > viewLimit_ ? minimum : viewLimit_);
            if (size > length_ - start) size = length_ - start;
            if (size > static_cast<std::size_t>(-1)) return nullptr;
            void* view = MapViewOfFile(mapping_, FILE_MAP_WRITE, static_cast<DWORD>(start >> 32),
                                       static_cast<DWORD>(start), static_cast<SIZE_T>(size));
            if (!view) return nullptr;
            view_ = static_cast<unsigned char*>(view);
            viewStart_ = start;
            viewSize_ = static_cast<std::size_t>(size);
        }
        *available = static_cast<std::size_t>(viewStart_ + viewSize_ - offset);
        return view_ + (offset - viewStart_);
    }

private:
    void Unmap() {
        if (view_) UnmapViewOfFile(view_);
        view_ = nullptr;
    }

    HANDLE mapping_;
    uint64_t length_;
    DWORD granularity_;
    std::size_t viewLimit_;
    unsigned char* view_ = nullptr;
    uint64_t viewStart_ = 0;
    std::size_t viewSize_ = 0;
};

// Fills the scratch file with the target's content. A target that has
// vanished leaves it empty; one that exists but cannot be copied fails.
int CopyTargetToScratch(const char* target, const char* scratch) {
    if (!CopyFileA(target, scratch, FALSE)) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return 0;
        if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) return 0;
    }
    // The copy takes over the target's attributes; a read-only one could not
    // be written.
    return SetFileAttributesA(scratch, FILE_ATTRIBUTE_NORMAL) ? 1 : 0;
}

// Applies the payload's records to the scratch copy in place. 1 when every
// record applied; otherwise the scratch copy is to be thrown away.
int PatchScratch(const char* target, const char* payloadPath, const char* scratch) {
    HeapBytes payload = ReadWholeFile(payloadPath);
    if (!payload) return 0;  // missing, or empty and so shorter than its header
    const std::size_t payloadSize = RunState.LastFileSize;
    if (!CheckPatchPayload(payload.get(), payloadSize)) return 0;
    if (!CopyTargetToScratch(target, scratch)) return 0;

    UniqueFile file(CreateFileA(scratch, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
    const uint64_t length = (static_cast<uint64_t>(high) << 32) | low;
    if (length == 0) {
        // Nothing to map: an empty file cannot be mapped.
        unsigned char none = 0;
        MemoryPatchContent empty(&none, 0);
        return ApplyPatchPayload(empty, payload.get(), payloadSize);
    }
    UniqueHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READWRITE, 0, 0, nullptr));
    if (!mapping) return 0;
    MappedContent content(mapping.get(), length);
    return ApplyPatchPayload(content, payload.get(), payloadSize);
}

}  // namespace

int ApplyBytePatch(const char* targetPath, const char* payloadPath) {
    // All or nothing: the edits go into the scratch copy, and the target is
    // only replaced once every record has applied.
    return UpdateThroughScratch(targetPath, payloadPath, PatchScratch);
}
