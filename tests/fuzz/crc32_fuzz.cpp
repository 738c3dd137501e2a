// The CRC over arbitrary bytes, cut into two runs at an arbitrary place and
// starting at an arbitrary offset, must equal zlib's over the whole.
//   byte 0: alignment offset; bytes 1-2: where the input is cut.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "core/neutral/Crc32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const std::size_t offset = data[0] % 16;
    std::size_t cut = static_cast<std::size_t>(data[1]) | static_cast<std::size_t>(data[2]) << 8;
    data += 3;
    size -= 3;
    if (cut > size) cut = size;
    std::vector<unsigned char> shifted(offset + size);
    if (size) std::memcpy(shifted.data() + offset, data, size);
    const unsigned char* bytes = shifted.data() + offset;

    const uint32_t expected = static_cast<uint32_t>(crc32_z(0, bytes, size));
    uint32_t crc = Crc32Update(0, bytes, cut);
    crc = Crc32Update(crc, bytes + cut, size - cut);
    if (crc != expected) std::abort();
    return 0;
}
