#include "actions/neutral/BinaryDelta.h"

#include <zlib.h>

#include <cstring>

#include "core/neutral/HeapText.h"
#include "core/neutral/LittleEndian.h"

namespace {

// Each stream is read front to back through a buffer of its own, so that a
// run of small steps costs copies in memory rather than file reads.
constexpr uint32_t kControlBufferBytes = 64u << 10;
constexpr uint32_t kStreamBufferBytes = 256u << 10;
// A window of the old file is refilled from a little before the wanted
// position (steps often go back a few bytes) and at least this far ahead,
// so that steps that jump about the old file do not each read a full window.
constexpr uint32_t kOldLookBehind = 16u << 10;
constexpr uint32_t kOldLeastLoad = 128u << 10;

uint32_t Smaller(uint32_t a, uint32_t b) { return a < b ? a : b; }

struct StreamReader {
    const BinaryDeltaIo* Io;
    uint32_t Next;  // payload offset of the next byte not yet buffered
    uint32_t Left;  // bytes of the stream not yet buffered
    unsigned char* Buffer;
    uint32_t Capacity;
    uint32_t At;
    uint32_t Filled;
};

// Makes at least one byte available; false at the stream's end or when the
// payload cannot be read.
bool Fill(StreamReader& s) {
    if (s.At < s.Filled) return true;
    if (s.Left == 0) return false;
    const uint32_t n = Smaller(s.Capacity, s.Left);
    if (!s.Io->ReadPayload(s.Io->Context, s.Next, s.Buffer, n)) return false;
    s.Next += n;
    s.Left -= n;
    s.At = 0;
    s.Filled = n;
    return true;
}

bool UsedUp(const StreamReader& s) { return s.Left == 0 && s.At == s.Filled; }

bool Take(StreamReader& s, unsigned char* to, uint32_t n) {
    while (n > 0) {
        if (!Fill(s)) return false;
        const uint32_t k = Smaller(n, s.Filled - s.At);
        std::memcpy(to, s.Buffer + s.At, k);
        s.At += k;
        to += k;
        n -= k;
    }
    return true;
}

// At most five bytes; a value that does not fit 32 bits is malformed.
bool ReadNumber(StreamReader& s, uint32_t* value) {
    uint32_t v = 0;
    for (unsigned shift = 0; shift < 35; shift += 7) {
        if (!Fill(s)) return false;
        const unsigned char b = s.Buffer[s.At++];
        if (shift == 28 && b > 0x0F) return false;
        v |= static_cast<uint32_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

struct OldWindow {
    const BinaryDeltaIo* Io;
    uint32_t Size;
    unsigned char* Buffer;
    uint32_t Start;
    uint32_t Length;
};

// The old bytes from `position` on (position < Size), at most `want` of
// them and at least one; their count goes to *got. Null when unreadable.
const unsigned char* OldBytes(OldWindow& w, uint32_t position, uint32_t want, uint32_t* got) {
    if (position < w.Start || position - w.Start >= w.Length) {
        const uint32_t start = position > kOldLookBehind ? position - kOldLookBehind : 0;
        uint32_t length = position - start;
        length += want > kOldLeastLoad ? want : kOldLeastLoad;
        length = Smaller(Smaller(length, kBinaryDeltaOldWindowBytes), w.Size - start);
        if (!w.Io->ReadOld(w.Io->Context, start, w.Buffer, length)) return nullptr;
        w.Start = start;
        w.Length = length;
    }
    *got = Smaller(want, w.Start + w.Length - position);
    return w.Buffer + (position - w.Start);
}

// The differences of the copies: where the next non-zero one falls, counted
// over all copies together. None once the gap stream is used up.
struct Differences {
    StreamReader Gaps;
    StreamReader Bytes;
    bool Pending;
    uint32_t NextAt;
};

// Reads the position of the next non-zero difference, `gap` zeros after
// `from`. False when the gap stream is malformed.
bool FindNextDifference(Differences& d, uint32_t from) {
    d.Pending = false;
    if (!Fill(d.Gaps)) return true;  // used up (a read error shows at the end)
    uint32_t gap;
    if (!ReadNumber(d.Gaps, &gap) || gap > ~from) return false;
    d.Pending = true;
    d.NextAt = from + gap;
    return true;
}

// Adds the non-zero differences that fall into the `n` bytes at `out`,
// which hold the old bytes of copy position `at` onward. A pending position
// is never below `at`: the copies are walked in order.
bool AddDifferences(Differences& d, unsigned char* out, uint32_t at, uint32_t n) {
    while (d.Pending && d.NextAt - at < n) {
        unsigned char difference;
        if (!Take(d.Bytes, &difference, 1)) return false;
        out[d.NextAt - at] = static_cast<unsigned char>(out[d.NextAt - at] + difference);
        // NextAt lies inside the new file, so NextAt + 1 cannot wrap.
        if (!FindNextDifference(d, d.NextAt + 1)) return false;
    }
    return true;
}

struct Output {
    const BinaryDeltaIo* Io;
    unsigned char* Buffer;
    uint32_t Filled;
    uLong Crc;
};

bool Flush(Output& out) {
    if (out.Filled == 0) return true;
    out.Crc = crc32(out.Crc, out.Buffer, out.Filled);
    const uint32_t n = out.Filled;
    out.Filled = 0;
    return out.Io->WriteNew(out.Io->Context, out.Buffer, n) != 0;
}

// Room for at least one byte in the output buffer.
uint32_t Room(Output& out) {
    if (out.Filled == kBinaryDeltaChunkBytes && !Flush(out)) return 0;
    return kBinaryDeltaChunkBytes - out.Filled;
}

}  // namespace

bool ReadBinaryDeltaHeader(const unsigned char* bytes, uint32_t payloadSize, BinaryDeltaHeader* header) {
    if (payloadSize < kBinaryDeltaHeaderSize || std::memcmp(bytes, kBinaryDeltaMagic, 4) != 0) return false;
    uint32_t f[7];
    for (int i = 0; i < 7; ++i) f[i] = ReadLittleEndian32(bytes + 4 + 4 * i);
    *header = {f[0], f[1], f[2], f[3], f[4], f[5], f[6]};
    // The stream sizes must fill the rest exactly; compared one by one so
    // that no sum can wrap around.
    uint32_t rest = payloadSize - kBinaryDeltaHeaderSize;
    for (int i = 3; i < 7; ++i) {
        if (f[i] > rest) return false;
        rest -= f[i];
    }
    return rest == 0;
}

void WriteBinaryDeltaHeader(const BinaryDeltaHeader& header, unsigned char* bytes) {
    std::memcpy(bytes, kBinaryDeltaMagic, 4);
    const uint32_t f[7] = {header.OldSize, header.NewSize,        header.NewCrc,   header.ControlSize,
                           header.GapSize, header.DifferenceSize, header.ExtraSize};
    for (int i = 0; i < 7; ++i) WriteLittleEndian32(bytes + 4 + 4 * i, f[i]);
}

int RebuildFromBinaryDelta(const BinaryDeltaIo& io, uint32_t payloadSize, uint32_t oldSize) {
    unsigned char head[kBinaryDeltaHeaderSize];
    BinaryDeltaHeader h;
    if (payloadSize < kBinaryDeltaHeaderSize || !io.ReadPayload(io.Context, 0, head, sizeof head)) return 0;
    if (!ReadBinaryDeltaHeader(head, payloadSize, &h) || h.OldSize != oldSize) return 0;

    HeapBytes memory = AllocBytes(kControlBufferBytes + 3 * kStreamBufferBytes + kBinaryDeltaOldWindowBytes +
                                  kBinaryDeltaChunkBytes);
    if (!memory) return 0;
    unsigned char* at = memory.get();
    uint32_t next = kBinaryDeltaHeaderSize;
    StreamReader control = {&io, next, h.ControlSize, at, kControlBufferBytes, 0, 0};
    at += kControlBufferBytes;
    next += h.ControlSize;
    Differences differences = {{&io, next, h.GapSize, at, kStreamBufferBytes, 0, 0},
                               {&io, next + h.GapSize, h.DifferenceSize, at + kStreamBufferBytes, kStreamBufferBytes, 0, 0},
                               false,
                               0};
    at += 2 * kStreamBufferBytes;
    next += h.GapSize + h.DifferenceSize;
    StreamReader extra = {&io, next, h.ExtraSize, at, kStreamBufferBytes, 0, 0};
    at += kStreamBufferBytes;
    OldWindow old = {&io, oldSize, at, 0, 0};
    at += kBinaryDeltaOldWindowBytes;
    Output out = {&io, at, 0, crc32(0L, Z_NULL, 0)};
    if (!FindNextDifference(differences, 0)) return 0;

    uint32_t newPosition = 0;
    uint32_t oldPosition = 0;
    uint32_t copied = 0;  // over all copies: where the differences stand
    while (Fill(control)) {
        uint32_t copy, added, seek;
        if (!ReadNumber(control, &copy) || !ReadNumber(control, &added) || !ReadNumber(control, &seek)) return 0;
        if (copy > h.NewSize - newPosition || copy > oldSize - oldPosition) return 0;
        newPosition += copy;
        while (copy > 0) {
            uint32_t k = Room(out);
            if (k == 0) return 0;
            const unsigned char* source = OldBytes(old, oldPosition, Smaller(k, copy), &k);
            unsigned char* target = out.Buffer + out.Filled;
            if (!source) return 0;
            std::memcpy(target, source, k);
            if (!AddDifferences(differences, target, copied, k)) return 0;
            out.Filled += k;
            oldPosition += k;
            copied += k;
            copy -= k;
        }
        if (added > h.NewSize - newPosition) return 0;
        newPosition += added;
        while (added > 0) {
            const uint32_t k = Smaller(Room(out), added);
            if (k == 0 || !Take(extra, out.Buffer + out.Filled, k)) return 0;
            out.Filled += k;
            added -= k;
        }
        // Zigzag: the magnitude of an odd code is (code >> 1) + 1, which
        // fits 32 bits even for the most negative step.
        const uint32_t magnitude = (seek >> 1) + (seek & 1);
        if (seek & 1) {
            if (magnitude > oldPosition) return 0;
            oldPosition -= magnitude;
        } else {
            if (magnitude > oldSize - oldPosition) return 0;
            oldPosition += magnitude;
        }
    }
    if (!Flush(out)) return 0;
    return newPosition == h.NewSize && !differences.Pending && UsedUp(control) && UsedUp(differences.Gaps) &&
                   UsedUp(differences.Bytes) && UsedUp(extra) &&
                   static_cast<uint32_t>(out.Crc) == h.NewCrc
               ? 1
               : 0;
}
