#include "core/neutral/ByteBuffer.h"

#include <cstdlib>
#include <cstring>

void ByteBuffer::Append(const void* data, std::size_t size) {
    if (failed_ || size == 0) return;
    if (size > capacity_ - size_) {
        std::size_t wanted = capacity_ ? capacity_ : 256;
        while (wanted - size_ < size) {
            if (wanted > (static_cast<std::size_t>(-1) >> 1)) {
                failed_ = true;
                return;
            }
            wanted *= 2;
        }
        void* grown = std::realloc(data_.get(), wanted);
        if (!grown) {
            failed_ = true;
            return;
        }
        data_.release();
        data_.reset(static_cast<unsigned char*>(grown));
        capacity_ = wanted;
    }
    std::memcpy(data_.get() + size_, data, size);
    size_ += size;
}

void ByteBuffer::AppendU32(uint32_t value) {
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    Append(bytes, sizeof bytes);
}

void ByteBuffer::AppendText(const char* text) {
    if (!text) {
        AppendU32(0);
        return;
    }
    const std::size_t length = std::strlen(text) + 1;
    AppendU32(static_cast<uint32_t>(length));
    Append(text, length);
}

void ByteBuffer::AppendBlock(const void* data, uint32_t size) {
    AppendU32(size);
    Append(data, size);
}

void ByteBuffer::Clear() {
    size_ = 0;
    failed_ = false;
}

bool ByteReader::Take(std::size_t size, const unsigned char** at) {
    if (failed_ || size > size_ - offset_) {
        failed_ = true;
        return false;
    }
    *at = data_ + offset_;
    offset_ += size;
    return true;
}

bool ByteReader::ReadU32(uint32_t* value) {
    const unsigned char* p = nullptr;
    if (!Take(4, &p)) return false;
    *value = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
             static_cast<uint32_t>(p[3]) << 24;
    return true;
}

bool ByteReader::ReadText(const char** text) {
    uint32_t length = 0;
    if (!ReadU32(&length)) return false;
    if (length == 0) {
        *text = nullptr;
        return true;
    }
    const unsigned char* p = nullptr;
    if (!Take(length, &p)) return false;
    // Exactly one terminator, at the end.
    if (std::memchr(p, 0, length) != p + length - 1) {
        failed_ = true;
        return false;
    }
    *text = reinterpret_cast<const char*>(p);
    return true;
}

bool ByteReader::ReadBlock(const unsigned char** data, uint32_t* size) {
    if (!ReadU32(size)) return false;
    return Take(*size, data);
}
