// The binary delta payload and its streaming application. A binary delta
// rebuilds a new file from the old one when data was inserted, deleted or
// moved: stretches of the new file are copied from anywhere in the old one
// with a byte-wise difference added, the rest comes as new bytes, and a
// control stream says which is which.
//
// Payload (numbers unsigned 32-bit little-endian):
//   "ZBD1", OldSize, NewSize, NewCrc (CRC-32 of the new file),
//   ControlSize, GapSize, DifferenceSize, ExtraSize,
//   then the control, gap, difference and extra streams, in this order,
//   each of exactly its size; nothing follows them.
// Numbers inside the streams have seven bits a byte, low bits first, a set
// top bit meaning that more follow (at most five bytes, 32 bits).
// The control stream is a series of steps, each three numbers:
//   Copy   bytes of new = old bytes at the old position + difference
//          (modulo 256); both positions move on by Copy;
//   Extra  bytes of new taken as they are from the extra stream;
//   Seek   the old position moves by this signed amount (zigzag: even
//          numbers are n/2, odd ones -(n+1)/2).
// The differences of all copies, one after the other, are mostly zero; only
// the others are stored: the gap stream holds, for each, the number of zero
// differences before it (since the previous one), the difference stream
// the byte itself. Differences after the last one are zero.
// The streams are kept apart and stored plainly because the payload cabinet
// compresses them: each then holds data of one kind.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr unsigned char kBinaryDeltaMagic[4] = {'Z', 'B', 'D', '1'};
constexpr uint32_t kBinaryDeltaHeaderSize = 32;

struct BinaryDeltaHeader {
    uint32_t OldSize;
    uint32_t NewSize;
    uint32_t NewCrc;
    uint32_t ControlSize;
    uint32_t GapSize;
    uint32_t DifferenceSize;
    uint32_t ExtraSize;
};

// Reads the header of a payload of `payloadSize` bytes whose first
// kBinaryDeltaHeaderSize bytes are `bytes`. False when the mark is wrong or
// the stream sizes do not add up to the payload's size exactly.
bool ReadBinaryDeltaHeader(const unsigned char* bytes, uint32_t payloadSize, BinaryDeltaHeader* header);
// (The header is written by the builder's encoder.)

// Where the bytes come from and go to: the three files are opaque to the
// decoder and handed back to Read and Write. Each read fills exactly `size`
// bytes from `offset` or returns 0; each write takes all bytes or returns 0.
struct BinaryDeltaIo {
    void* Payload;
    void* Old;
    void* New;
    int (*Read)(void* file, uint32_t offset, unsigned char* buffer, uint32_t size);
    int (*Write)(void* file, const unsigned char* data, uint32_t size);
};

// Writes the new content through io.Write in bounded chunks, reading the
// payload and the old file (of `oldSize` bytes) a window at a time; memory
// stays below a few MiB at any file size. 1 when the payload is well formed,
// every step stays inside the old file and its own streams, all streams are
// used up exactly and the result has the header's size and CRC; 0 otherwise
// (the caller then throws away what was written).
int RebuildFromBinaryDelta(const BinaryDeltaIo& io, uint32_t payloadSize, uint32_t oldSize);

// The chunk and window sizes of the application, for tests that need to
// cross their edges.
constexpr uint32_t kBinaryDeltaChunkBytes = 1u << 20;
constexpr uint32_t kBinaryDeltaOldWindowBytes = 4u << 20;
