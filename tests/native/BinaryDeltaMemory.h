// Applies a binary delta between byte vectors, through the same streaming
// interface the runtime uses for files (shared by the tests and the fuzzer).
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "actions/neutral/BinaryDelta.h"

struct MemoryDeltaIo {
    const std::vector<uint8_t>* Payload;
    const std::vector<uint8_t>* Old;
    std::vector<uint8_t> New;
    uint32_t LargestWrite = 0;
    uint32_t LargestRead = 0;

    static int Read(const std::vector<uint8_t>& from, uint32_t offset, unsigned char* buffer, uint32_t size) {
        if (offset > from.size() || size > from.size() - offset) return 0;
        if (size) std::memcpy(buffer, from.data() + offset, size);
        return 1;
    }
    static int ReadPayload(void* c, uint32_t offset, unsigned char* buffer, uint32_t size) {
        auto* self = static_cast<MemoryDeltaIo*>(c);
        if (size > self->LargestRead) self->LargestRead = size;
        return Read(*self->Payload, offset, buffer, size);
    }
    static int ReadOld(void* c, uint32_t offset, unsigned char* buffer, uint32_t size) {
        auto* self = static_cast<MemoryDeltaIo*>(c);
        if (size > self->LargestRead) self->LargestRead = size;
        return Read(*self->Old, offset, buffer, size);
    }
    static int WriteNew(void* c, const unsigned char* data, uint32_t size) {
        auto* self = static_cast<MemoryDeltaIo*>(c);
        if (size > self->LargestWrite) self->LargestWrite = size;
        self->New.insert(self->New.end(), data, data + size);
        return 1;
    }

    // 1 and the new content in New, or 0.
    int Apply(const std::vector<uint8_t>& payload, const std::vector<uint8_t>& old) {
        Payload = &payload;
        Old = &old;
        New.clear();
        BinaryDeltaIo io = {this, ReadPayload, ReadOld, WriteNew};
        return RebuildFromBinaryDelta(io, static_cast<uint32_t>(payload.size()), static_cast<uint32_t>(old.size()));
    }
};
