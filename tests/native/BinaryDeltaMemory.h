// Applies a binary delta between byte vectors, through the same streaming
// interface the runtime uses for files (shared by the tests and the fuzzer).
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "actions/neutral/BinaryDelta.h"

struct MemoryFile {
    const std::vector<uint8_t>* Bytes;  // what reads see
    std::vector<uint8_t> Written;       // what writes added
    uint32_t LargestRead = 0;
    uint32_t LargestWrite = 0;
    bool Fails = false;

    static int Read(void* file, uint32_t offset, unsigned char* buffer, uint32_t size) {
        auto* f = static_cast<MemoryFile*>(file);
        if (size > f->LargestRead) f->LargestRead = size;
        if (f->Fails || offset > f->Bytes->size() || size > f->Bytes->size() - offset) return 0;
        if (size) std::memcpy(buffer, f->Bytes->data() + offset, size);
        return 1;
    }
    static int Write(void* file, const unsigned char* data, uint32_t size) {
        auto* f = static_cast<MemoryFile*>(file);
        if (size > f->LargestWrite) f->LargestWrite = size;
        if (f->Fails) return 0;
        f->Written.insert(f->Written.end(), data, data + size);
        return 1;
    }
};

struct MemoryDeltaIo {
    MemoryFile Payload, Old, New;

    // 1 and the new content in New.Written, or 0.
    int Apply(const std::vector<uint8_t>& payload, const std::vector<uint8_t>& old) {
        Payload.Bytes = &payload;
        Old.Bytes = &old;
        New.Written.clear();
        BinaryDeltaIo io = {&Payload, &Old, &New, MemoryFile::Read, MemoryFile::Write};
        return RebuildFromBinaryDelta(io, static_cast<uint32_t>(payload.size()), static_cast<uint32_t>(old.size()));
    }
};
