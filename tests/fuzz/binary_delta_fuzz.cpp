// The binary delta decoder over arbitrary payloads and old files must never
// read or write out of bounds, and whatever it accepts must have the size
// its header promises. Every other input also goes through the encoder and
// back, which must rebuild the new content exactly.
//   byte 0: bit 0 set = round trip through the encoder;
//   bytes 1-2: length of the old file (little-endian), taken from what follows;
//   the rest: the payload (or, for a round trip, the new file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../native/BinaryDeltaMemory.h"
#include "BinaryDeltaEncoder.h"
#include "actions/neutral/BinaryDelta.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const bool roundTrip = data[0] & 1;
    std::size_t split = static_cast<std::size_t>(data[1] | data[2] << 8);
    data += 3;
    size -= 3;
    if (split > size) split = size;
    const std::vector<uint8_t> old(data, data + split);
    const std::vector<uint8_t> rest(data + split, data + size);

    MemoryDeltaIo io;
    if (roundTrip) {
        std::vector<uint8_t> delta;
        if (!EncodeBinaryDelta(old, rest, delta)) std::abort();
        if (io.Apply(delta, old) != 1 || io.New.Written != rest) std::abort();
        return 0;
    }
    if (io.Apply(rest, old) == 1) {
        BinaryDeltaHeader header;
        if (!ReadBinaryDeltaHeader(rest.data(), static_cast<uint32_t>(rest.size()), &header)) std::abort();
        if (io.New.Written.size() != header.NewSize) std::abort();
    }
    return 0;
}
