#include "actions/neutral/BinaryDelta.h"

#include <cstring>

#include "core/neutral/Crc32.h"
#include "core/neutral/HeapText.h"
#include "core/neutral/LittleEndian.h"

namespace {

// Each stream is read front to back through a buffer of its own, so that a
// run of small steps costs copies in memory rather than file reads.
constexpr uint32_t kStreamBufferBytes = 256u << 10;
// A window of the old file is refilled from a little before the wanted
// position (steps often go back a few bytes) and at least this far ahead,
// so that steps that jump about the old file do not each read a full window.
constexpr uint32_t kOldLookBehind = 16u << 10;
constexpr uint32_t kOldLeastLoad = 128u << 10;
// No position: a new file is smaller than 4 GiB.
constexpr uint32_t kNone = 0xFFFFFFFF;

enum StreamIndex { kControl, kGaps, kDifferences, kExtra, kStreamCount };

uint32_t Smaller(uint32_t a, uint32_t b) { return a < b ? a : b; }

struct Stream {
    uint32_t Next;  // payload offset of the next byte not yet buffered
    uint32_t Left;  // bytes of the stream not yet buffered
    uint32_t At;
    uint32_t Filled;
    unsigned char* Buffer;
};

struct Decoder {
    const BinaryDeltaIo* Io;
    Stream Streams[kStreamCount];
    unsigned char* Window;  // old bytes from WindowStart on
    uint32_t WindowStart;
    uint32_t WindowLength;
    uint32_t OldSize;
    unsigned char* Out;  // new bytes not yet written
    uint32_t OutFilled;
    uint32_t Crc;
    uint32_t NextDifference;  // copy position of the next non-zero difference, or kNone
};

// Makes at least one byte available; false at the stream's end or when the
// payload cannot be read.
bool Fill(const Decoder& d, Stream& s) {
    if (s.At < s.Filled) return true;
    if (s.Left == 0) return false;
    const uint32_t n = Smaller(kStreamBufferBytes, s.Left);
    if (!d.Io->Read(d.Io->Payload, s.Next, s.Buffer, n)) return false;
    s.Next += n;
    s.Left -= n;
    s.At = 0;
    s.Filled = n;
    return true;
}

// The next byte of a stream; -1 at its end or when it cannot be read.
int NextByte(const Decoder& d, Stream& s) { return Fill(d, s) ? s.Buffer[s.At++] : -1; }

// At most five bytes; a value that does not fit 32 bits is malformed.
bool ReadNumber(const Decoder& d, Stream& s, uint32_t* value) {
    uint32_t v = 0;
    for (unsigned shift = 0; shift < 35; shift += 7) {
        const int b = NextByte(d, s);
        if (b < 0 || (shift == 28 && b > 0x0F)) return false;
        v |= static_cast<uint32_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

// Reads where the next non-zero difference falls: `gap` zero differences
// after copy position `from`. None when the gap stream is used up (a read
// error shows at the end, as a stream not used up). False when malformed.
bool FindNextDifference(Decoder& d, uint32_t from) {
    d.NextDifference = kNone;
    Stream& gaps = d.Streams[kGaps];
    if (!Fill(d, gaps)) return true;
    uint32_t gap;
    if (!ReadNumber(d, gaps, &gap) || gap >= kNone - from) return false;
    d.NextDifference = from + gap;
    return true;
}

// The old bytes from `position` on (position < OldSize), at least one and at
// most *n of them; *n becomes their count. Null when unreadable.
const unsigned char* OldBytes(Decoder& d, uint32_t position, uint32_t* n) {
    if (position < d.WindowStart || position - d.WindowStart >= d.WindowLength) {
        const uint32_t start = position > kOldLookBehind ? position - kOldLookBehind : 0;
        uint32_t length = position - start + (*n > kOldLeastLoad ? *n : kOldLeastLoad);
        length = Smaller(Smaller(length, kBinaryDeltaOldWindowBytes), d.OldSize - start);
        if (!d.Io->Read(d.Io->Old, start, d.Window, length)) return nullptr;
        d.WindowStart = start;
        d.WindowLength = length;
    }
    *n = Smaller(*n, d.WindowStart + d.WindowLength - position);
    return d.Window + (position - d.WindowStart);
}

// Room for at least one more byte in the output buffer: writes it out when
// full. Returns the room, 0 when the write failed.
uint32_t Room(Decoder& d) {
    if (d.OutFilled == kBinaryDeltaChunkBytes) {
        d.Crc = Crc32Update(d.Crc, d.Out, d.OutFilled);
        if (!d.Io->Write(d.Io->New, d.Out, d.OutFilled)) return 0;
        d.OutFilled = 0;
    }
    return kBinaryDeltaChunkBytes - d.OutFilled;
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

int RebuildFromBinaryDelta(const BinaryDeltaIo& io, uint32_t payloadSize, uint32_t oldSize) {
    unsigned char head[kBinaryDeltaHeaderSize];
    BinaryDeltaHeader h;
    if (payloadSize < kBinaryDeltaHeaderSize || !io.Read(io.Payload, 0, head, sizeof head)) return 0;
    if (!ReadBinaryDeltaHeader(head, payloadSize, &h) || h.OldSize != oldSize) return 0;

    HeapBytes memory = AllocBytes(kStreamCount * kStreamBufferBytes + kBinaryDeltaOldWindowBytes +
                                  kBinaryDeltaChunkBytes);
    if (!memory) return 0;
    Decoder d = {};
    d.Io = &io;
    unsigned char* at = memory.get();
    uint32_t next = kBinaryDeltaHeaderSize;
    // The streams follow the header in the order of their sizes in it.
    for (int i = 0; i < kStreamCount; ++i) {
        d.Streams[i].Next = next;
        d.Streams[i].Left = ReadLittleEndian32(head + 16 + 4 * i);
        d.Streams[i].Buffer = at;
        next += d.Streams[i].Left;
        at += kStreamBufferBytes;
    }
    d.Window = at;
    d.OldSize = oldSize;
    d.Out = at + kBinaryDeltaOldWindowBytes;
    d.Crc = 0;
    if (!FindNextDifference(d, 0)) return 0;

    uint32_t newPosition = 0;
    uint32_t oldPosition = 0;
    uint32_t copied = 0;  // over all copies: where the differences stand
    Stream& control = d.Streams[kControl];
    while (Fill(d, control)) {
        uint32_t copy, added, seek;
        if (!ReadNumber(d, control, &copy) || !ReadNumber(d, control, &added) || !ReadNumber(d, control, &seek))
            return 0;
        if (copy > h.NewSize - newPosition || copy > oldSize - oldPosition) return 0;
        newPosition += copy;
        while (copy > 0) {
            uint32_t k = Smaller(Room(d), copy);
            const unsigned char* source = k ? OldBytes(d, oldPosition, &k) : nullptr;
            if (!source) return 0;
            unsigned char* target = d.Out + d.OutFilled;
            std::memcpy(target, source, k);
            // The pending position is never below `copied`: copies are
            // walked in order.
            while (d.NextDifference - copied < k) {
                const int difference = NextByte(d, d.Streams[kDifferences]);
                if (difference < 0) return 0;
                target[d.NextDifference - copied] = static_cast<unsigned char>(target[d.NextDifference - copied] + difference);
                if (!FindNextDifference(d, d.NextDifference + 1)) return 0;
            }
            d.OutFilled += k;
            oldPosition += k;
            copied += k;
            copy -= k;
        }
        if (added > h.NewSize - newPosition) return 0;
        newPosition += added;
        Stream& extra = d.Streams[kExtra];
        while (added > 0) {
            if (!Fill(d, extra)) return 0;
            const uint32_t k = Smaller(Smaller(Room(d), added), extra.Filled - extra.At);
            if (k == 0) return 0;
            std::memcpy(d.Out + d.OutFilled, extra.Buffer + extra.At, k);
            extra.At += k;
            d.OutFilled += k;
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
    d.Crc = Crc32Update(d.Crc, d.Out, d.OutFilled);
    if (!d.Io->Write(d.Io->New, d.Out, d.OutFilled)) return 0;
    for (const Stream& s : d.Streams)
        if (s.Left != 0 || s.At != s.Filled) return 0;
    return newPosition == h.NewSize && d.NextDifference == kNone && d.Crc == h.NewCrc ? 1 : 0;
}
