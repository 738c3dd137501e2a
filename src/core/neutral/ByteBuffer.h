// A growing buffer of bytes for records written in one go (the transaction
// journal), and a bounded reader for them. Numbers are little-endian 32-bit;
// a text is its length (terminator included) and its bytes, terminator
// too, so that a reader can hand out pointers into the buffer. No
// exceptions: a failed allocation marks the buffer failed and every later
// append does nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/neutral/HeapText.h"

class ByteBuffer {
public:
    void Append(const void* data, std::size_t size);
    void AppendU32(uint32_t value);
    // None (null) is written as the length 0; "" as the length 1.
    void AppendText(const char* text);
    // Bytes with their length before them.
    void AppendBlock(const void* data, uint32_t size);

    const unsigned char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    bool Failed() const { return failed_; }
    void MarkFailed() { failed_ = true; }
    // Empties the buffer, keeping its room, and clears a failure.
    void Clear();

private:
    HeapBytes data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool failed_ = false;
};

class ByteReader {
public:
    ByteReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    // Each read fails (false, and every later read fails too) when the
    // bytes it needs run past the end.
    bool ReadU32(uint32_t* value);
    // A text written by AppendText: null for none, else a pointer into the
    // buffer to a terminated text (a length whose last byte is no
    // terminator, or a terminator before the end, fails).
    bool ReadText(const char** text);
    bool ReadBlock(const unsigned char** data, uint32_t* size);

    bool AtEnd() const { return !failed_ && offset_ == size_; }
    bool Failed() const { return failed_; }
    std::size_t Offset() const { return offset_; }

private:
    bool Take(std::size_t size, const unsigned char** at);

    const unsigned char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool failed_ = false;
};
