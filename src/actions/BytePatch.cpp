#include "actions/BytePatch.h"

#include <windows.h>

#include "actions/ScratchCopy.h"
#include "actions/neutral/BytePatchRecords.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/RunState.h"
#include "core/neutral/HeapText.h"
#include "script/ScriptKeys.h"

namespace {

// The part of the content held in memory at a time, so that even the 32-bit
// build, with its 2 GiB of address space, patches a file of a gigabyte or
// more; smaller files are held whole.
constexpr std::size_t kWindowBytes = 16u << 20;

// The scratch copy read into a buffer a window at a time and written back
// when edited. Unlike a mapped view, whose failed write would end the
// program, a failed read or write here is a failed entry.
class BufferedFileContent final : public PatchContent {
public:
    BufferedFileContent(HANDLE file, uint64_t length) : file_(file), length_(length) {}
    BufferedFileContent(const BufferedFileContent&) = delete;
    BufferedFileContent& operator=(const BufferedFileContent&) = delete;

    uint64_t Length() const override { return length_; }
    void NoteWritten() override { dirty_ = true; }

    unsigned char* Window(uint64_t offset, std::size_t minimum, std::size_t* available) override {
        if (offset > length_ || minimum > length_ - offset) return nullptr;
        if (offset < start_ || offset + minimum > start_ + size_) {
            if (!WriteBack()) return nullptr;
            uint64_t size = minimum > kWindowBytes ? minimum : kWindowBytes;
            if (size > length_ - offset) size = length_ - offset;
            if (size > capacity_) {
                buffer_ = HeapBytes();
                buffer_ = AllocBytes(static_cast<std::size_t>(size));
                capacity_ = buffer_ ? static_cast<std::size_t>(size) : 0;
            }
            size_ = 0;
            if (!buffer_ || !Seek(offset) ||
                ReadUpTo(file_, buffer_.get(), static_cast<DWORD>(size)) != static_cast<long>(size))
                return nullptr;
            start_ = offset;
            size_ = static_cast<std::size_t>(size);
        }
        *available = static_cast<std::size_t>(start_ + size_ - offset);
        return buffer_.get() + (offset - start_);
    }

    // Stores the window in the file when it was edited. 1 or 0.
    int WriteBack() {
        if (!dirty_) return 1;
        DWORD put = 0;
        if (!Seek(start_) || !WriteFile(file_, buffer_.get(), static_cast<DWORD>(size_), &put, nullptr) ||
            put != size_)
            return 0;
        dirty_ = false;
        return 1;
    }

private:
    bool Seek(uint64_t offset) {
        LONG high = static_cast<LONG>(offset >> 32);
        SetLastError(NO_ERROR);
        return SetFilePointer(file_, static_cast<LONG>(offset), &high, FILE_BEGIN) != INVALID_SET_FILE_POINTER ||
               GetLastError() == NO_ERROR;
    }

    HANDLE file_;
    uint64_t length_;
    HeapBytes buffer_;
    std::size_t capacity_ = 0;
    uint64_t start_ = 0;
    std::size_t size_ = 0;
    bool dirty_ = false;
};

}  // namespace

int ApplyBytePatch(const char* targetPath, const char* payloadPath) {
    HeapBytes payload = ReadWholeFile(payloadPath);
    if (!payload) return 0;  // missing, or empty and so shorter than its header
    const std::size_t payloadSize = RunState.LastFileSize;
    if (!CheckPatchPayload(payload.get(), payloadSize)) return 0;

    // All or nothing: the edits go into the scratch copy, and the target is
    // only replaced once every record has applied.
    ScratchCopy copy;
    // A target that has vanished since the check is taken as empty.
    if (!copy.Open(targetPath) || (copy.TargetExists() && !copy.CopyTargetIntoScratch())) return 0;
    // The edits apply to the version the check saw, unless the author asked
    // for no check.
    const ProfileReader& script = RunState.ScriptReader;
    uint32_t crc = 0;
    if (script.ReadInteger(kDontCheckKey) == 0 &&
        (!copy.ScratchCrc(&crc) || crc != static_cast<uint32_t>(script.ReadInteger(kCrcKey))))
        return 0;
    DWORD high = 0;
    const DWORD low = GetFileSize(copy.ScratchHandle(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
    BufferedFileContent content(copy.ScratchHandle(), (static_cast<uint64_t>(high) << 32) | low);
    if (!ApplyPatchPayload(content, payload.get(), payloadSize) || !content.WriteBack() || !copy.HoldsNewVersion())
        return 0;
    return copy.Commit(EntryWantsRestart());
}
