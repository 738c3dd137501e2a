#include "actions/neutral/BytePatchRecords.h"

#include <cstring>

#include "actions/neutral/ByteSearch.h"
#include "core/neutral/LittleEndian.h"

namespace {

// Overwrites the content from `at` with `length` bytes, stopping at the
// content's end: nothing is ever inserted, nothing written past the end.
int WriteInContent(PatchContent& content, uint64_t at, const unsigned char* bytes, std::size_t length) {
    const uint64_t total = content.Length();
    if (at >= total) return 1;
    uint64_t room = total - at;
    std::size_t left = room < length ? static_cast<std::size_t>(room) : length;
    while (left > 0) {
        std::size_t available = 0;
        unsigned char* window = content.Window(at, 1, &available);
        if (!window) return 0;
        std::size_t piece = available < left ? available : left;
        std::memcpy(window, bytes, piece);
        content.NoteWritten();
        at += piece;
        bytes += piece;
        left -= piece;
    }
    return 1;
}

int ReplaceFirst(PatchContent& content, const PatchRecord& r) {
    uint64_t at = 0;
    int found = FindInContent(content, 0, r.Pattern, r.PatternLength, &at);
    if (found != 1) return 0;
    return WriteInContent(content, at, r.Replacement, r.ReplacementLength);
}

// The scan goes on right after the bytes it wrote, on the changed content:
// a shorter replacement leaves the rest of the match to be looked at again,
// a longer one hides the bytes it covered from the scan.
int ReplaceEvery(PatchContent& content, const PatchRecord& r) {
    const uint64_t total = content.Length();
    uint64_t from = 0;
    bool found = false;
    while (from < total) {
        uint64_t at = 0;
        int hit = FindInContent(content, from, r.Pattern, r.PatternLength, &at);
        if (hit < 0) return 0;
        if (hit == 0) break;
        found = true;
        if (!WriteInContent(content, at, r.Replacement, r.ReplacementLength)) return 0;
        // An empty replacement writes nothing; moving on by one byte keeps the
        // scan from standing still on the same match.
        from = at + (r.ReplacementLength ? r.ReplacementLength : 1);
    }
    return found ? 1 : 0;
}

int WriteAtOffset(PatchContent& content, const PatchRecord& r) {
    // The offset is the pattern's first four bytes; a shorter pattern has none.
    if (r.PatternLength < 4) return 0;
    const uint64_t offset = ReadLittleEndian32(r.Pattern);
    // Sums in 64 bits: offset and length near 4 GiB must not wrap into range.
    if (offset + r.ReplacementLength > content.Length()) return 0;
    return WriteInContent(content, offset, r.Replacement, r.ReplacementLength);
}

}  // namespace

PatchRecordReader::PatchRecordReader(const unsigned char* payload, std::size_t size)
    : payload_(payload), size_(payload ? size : 0), offset_(kPatchHeaderBytes), count_(0) {
    if (HasHeader()) count_ = ReadLittleEndian32(payload_);
}

bool PatchRecordReader::Next(PatchRecord* record) {
    if (!HasHeader() || read_ >= count_) return false;
    // Every length is checked against what is left before it is used, so no
    // sum can wrap and no byte past the end is touched.
    std::size_t left = size_ - offset_;
    if (left < 8) return false;
    const unsigned char* p = payload_ + offset_;
    uint32_t type = ReadLittleEndian32(p);
    uint32_t patternLength = ReadLittleEndian32(p + 4);
    left -= 8;
    if (patternLength > left || left - patternLength < 4) return false;
    const unsigned char* pattern = p + 8;
    left -= patternLength + 4;
    uint32_t replacementLength = ReadLittleEndian32(pattern + patternLength);
    if (replacementLength > left) return false;
    record->Type = type;
    record->Pattern = pattern;
    record->PatternLength = patternLength;
    record->Replacement = pattern + patternLength + 4;
    record->ReplacementLength = replacementLength;
    offset_ += 12 + static_cast<std::size_t>(patternLength) + replacementLength;
    ++read_;
    return true;
}

int CheckPatchPayload(const unsigned char* payload, std::size_t size) {
    PatchRecordReader reader(payload, size);
    if (!reader.HasHeader()) return 0;
    PatchRecord record;
    uint32_t seen = 0;
    while (reader.Next(&record)) ++seen;
    return seen == reader.RecordCount() ? 1 : 0;
}

unsigned char* MemoryPatchContent::Window(uint64_t offset, std::size_t minimum, std::size_t* available) {
    if (offset > length_ || minimum > length_ - offset) return nullptr;
    std::size_t rest = length_ - static_cast<std::size_t>(offset);
    std::size_t show = rest;
    if (window_) {
        // Windows end on multiples of the window size, like views of a
        // mapping, but always show what was asked for.
        std::size_t toEdge = window_ - static_cast<std::size_t>(offset % window_);
        show = toEdge < minimum ? minimum : toEdge;
        if (show > rest) show = rest;
    }
    *available = show;
    return data_ + offset;
}

int FindInContent(PatchContent& content, uint64_t from, const unsigned char* pattern,
                  std::size_t patternLength, uint64_t* at) {
    const uint64_t total = content.Length();
    if (patternLength == 0 || from >= total || total - from < patternLength) return 0;
    uint64_t start = from;
    for (;;) {
        std::size_t available = 0;
        const unsigned char* window = content.Window(start, patternLength, &available);
        if (!window) return -1;
        std::size_t hit = FindBytes(window, available, pattern, patternLength);
        if (hit != kNotFound) {
            *at = start + hit;
            return 1;
        }
        if (start + available >= total) return 0;
        // The next window overlaps this one by patternLength - 1 bytes, so a
        // match across the edge is not missed.
        start += available - patternLength + 1;
        if (total - start < patternLength) return 0;
    }
}

int ApplyPatchRecord(PatchContent& content, const PatchRecord& record) {
    switch (record.Type) {
        case kReplaceFirst:
            return ReplaceFirst(content, record);
        case kReplaceEvery:
            return ReplaceEvery(content, record);
        case kWriteAtOffset:
            return WriteAtOffset(content, record);
        default:
            return 1;  // other types are passed over
    }
}

int ApplyPatchPayload(PatchContent& content, const unsigned char* payload, std::size_t size) {
    // The whole payload is checked first: a record running past its end fails
    // the entry before any search is spent on the records before it.
    if (!CheckPatchPayload(payload, size)) return 0;
    PatchRecordReader reader(payload, size);
    PatchRecord record;
    while (reader.Next(&record)) {
        // After one failure nothing will be written, so the records left
        // cannot change the outcome.
        if (!ApplyPatchRecord(content, record)) return 0;
    }
    return 1;
}
