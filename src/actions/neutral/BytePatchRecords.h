// The byte-pattern patch payload and its records, and applying them to a
// file's content. The content is reached through windows, so that a large
// file can be patched with only a part of it in memory at a time.
//
// Payload (all numbers unsigned 32-bit little-endian):
//   RecordCount, a reserved word, then RecordCount records of
//   Type, PatternLength, Pattern bytes, ReplacementLength, Replacement bytes.
#pragma once
#include <cstddef>
#include <cstdint>

enum PatchRecordType : uint32_t {
    kReplaceFirst = 1,   // the first occurrence of Pattern
    kReplaceEvery = 2,   // every occurrence the scan meets
    kWriteAtOffset = 3,  // Pattern's first four bytes are the offset
};

constexpr std::size_t kPatchHeaderBytes = 8;

struct PatchRecord {
    uint32_t Type;
    const unsigned char* Pattern;
    uint32_t PatternLength;
    const unsigned char* Replacement;
    uint32_t ReplacementLength;
};

// Walks the records of a payload without ever reading past its end.
class PatchRecordReader {
public:
    PatchRecordReader(const unsigned char* payload, std::size_t size);
    // False when the payload is shorter than its header.
    bool HasHeader() const { return size_ >= kPatchHeaderBytes; }
    uint32_t RecordCount() const { return count_; }
    // The next record; false when all are read or the next one would run
    // past the payload's end.
    bool Next(PatchRecord* record);

private:
    const unsigned char* payload_;
    std::size_t size_;
    std::size_t offset_;
    uint32_t count_;
    uint32_t read_ = 0;
};

// 1 when the payload has its header and all its records lie inside it.
int CheckPatchPayload(const unsigned char* payload, std::size_t size);

// A file's content of fixed length, reached a window at a time. Writes
// through a window change the content.
class PatchContent {
public:
    virtual uint64_t Length() const = 0;
    // A pointer to the byte at `offset` with at least `minimum` bytes after
    // it (offset + minimum <= Length()); *available receives how many bytes
    // can be used from there (at least `minimum`, at most up to the end).
    // Null when the window cannot be made (then the record fails). A new call
    // may make earlier pointers invalid.
    virtual unsigned char* Window(uint64_t offset, std::size_t minimum, std::size_t* available) = 0;
    // Told after bytes were written through the current window, so that a
    // content kept outside memory knows to store that window again.
    virtual void NoteWritten() {}

protected:
    ~PatchContent() = default;
};

// Content held whole in memory; `window` limits how much each window shows
// (0: all of it), which lets tests cross window edges with small data.
class MemoryPatchContent final : public PatchContent {
public:
    MemoryPatchContent(unsigned char* data, std::size_t length, std::size_t window = 0)
        : data_(data), length_(length), window_(window) {}
    uint64_t Length() const override { return length_; }
    unsigned char* Window(uint64_t offset, std::size_t minimum, std::size_t* available) override;

private:
    unsigned char* data_;
    std::size_t length_;
    std::size_t window_;
};

// Applies one record; 1 on success, 0 when it fails (pattern absent, empty
// pattern or content, offset record out of range, window not available).
// Records of unknown type succeed without effect.
int ApplyPatchRecord(PatchContent& content, const PatchRecord& record);

// Applies every record in order, each on the content the ones before left.
// 1 when the payload is whole and every record succeeded; otherwise 0, and
// the content must then be discarded.
int ApplyPatchPayload(PatchContent& content, const unsigned char* payload, std::size_t size);

// Lowest position >= `from` where the pattern lies wholly in the content:
// 1 found (*at set), 0 not found, -1 a window could not be made.
int FindInContent(PatchContent& content, uint64_t from, const unsigned char* pattern,
                  std::size_t patternLength, uint64_t* at);
