#include "wizard/neutral/BitmapLayout.h"

#include <cstring>

#include "core/neutral/LittleEndian.h"

namespace {

// Offsets of the information header's fields.
constexpr std::size_t kWidthField = 4;
constexpr std::size_t kHeightField = 8;
constexpr std::size_t kPlanesField = 12;
constexpr std::size_t kBitCountField = 14;
constexpr std::size_t kCompressionField = 16;
constexpr std::size_t kImageSizeField = 20;
constexpr std::size_t kColoursUsedField = 32;

std::size_t TableEntries(std::uint16_t bitCount) {
    switch (bitCount) {
    case 1: case 2: case 4: case 8: return std::size_t{1} << bitCount;
    case 16: case 24: case 32: return 0;
    default: return static_cast<std::size_t>(-1);  // not drawn
    }
}

std::uint64_t RowBytes(std::uint64_t width, unsigned bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

}  // namespace

int MeasureSideImage(const unsigned char* data, std::size_t size, SideImageLayout* layout) {
    const std::size_t info = kBitmapFileHeaderSize;
    if (!data || size < info + kBitmapInfoHeaderSize) return 0;
    if (data[0] != 'B' || data[1] != 'M') return 0;
    const unsigned char* header = data + info;
    std::uint32_t headerSize = ReadLittleEndian32(header);
    if (headerSize < kBitmapInfoHeaderSize || headerSize > size - info) return 0;

    std::int32_t width = static_cast<std::int32_t>(ReadLittleEndian32(header + kWidthField));
    std::int32_t height = static_cast<std::int32_t>(ReadLittleEndian32(header + kHeightField));
    std::uint16_t bitCount = ReadLittleEndian16(header + kBitCountField);
    if (ReadLittleEndian16(header + kPlanesField) != 1 || ReadLittleEndian32(header + kCompressionField) != 0) return 0;
    if (width <= 0 || height == 0 || height == INT32_MIN) return 0;
    std::size_t entries = TableEntries(bitCount);
    if (entries == static_cast<std::size_t>(-1)) return 0;
    // The system reads as many colours as the header says are used.
    if (entries && ReadLittleEndian32(header + kColoursUsedField) > entries) return 0;

    std::size_t tableBytes = entries * 4;
    if (tableBytes > size - info - headerSize) return 0;
    std::size_t bits = info + headerSize + tableBytes;
    std::uint64_t available = size - bits;
    std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(width), bitCount);
    std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (rowBytes > available || rows > available / rowBytes) return 0;

    layout->InfoOffset = info;
    layout->TableBytes = tableBytes;
    layout->BitsOffset = bits;
    layout->PixelBytes = static_cast<std::size_t>(rowBytes * rows);
    layout->Width = width;
    layout->Height = height;
    layout->BitCount = bitCount;
    return 1;
}

HeapBytes ExpandTwoBitImage(const unsigned char* data, const SideImageLayout& layout,
                            SideImageLayout* expanded) {
    const std::size_t headerSize = layout.BitsOffset - layout.InfoOffset - layout.TableBytes;
    const std::size_t tableBytes = 16 * 4;
    // The measured file holds every row, so these sizes fit in memory.
    const std::size_t fromRow = static_cast<std::size_t>(RowBytes(static_cast<std::uint64_t>(layout.Width), 2));
    const std::size_t toRow = static_cast<std::size_t>(RowBytes(static_cast<std::uint64_t>(layout.Width), 4));
    const std::size_t rows = layout.PixelBytes / fromRow;
    const std::size_t bits = layout.InfoOffset + headerSize + tableBytes;
    if (rows && toRow > (static_cast<std::size_t>(-1) - bits) / rows) return HeapBytes();
    HeapBytes image = AllocBytes(bits + toRow * rows);
    if (!image) return image;

    unsigned char* out = image.get();
    std::memcpy(out, data, layout.InfoOffset + headerSize);
    unsigned char* header = out + layout.InfoOffset;
    header[kBitCountField] = 4;
    header[kBitCountField + 1] = 0;
    WriteLittleEndian32(header + kImageSizeField, static_cast<std::uint32_t>(toRow * rows));
    std::memcpy(out + layout.InfoOffset + headerSize, data + layout.InfoOffset + headerSize,
                layout.TableBytes);

    for (std::size_t row = 0; row < rows; ++row) {
        const unsigned char* from = data + layout.BitsOffset + row * fromRow;
        unsigned char* to = out + bits + row * toRow;
        for (std::size_t x = 0; x < static_cast<std::size_t>(layout.Width); ++x) {
            unsigned index = (from[x / 4] >> (6 - 2 * (x % 4))) & 3u;
            to[x / 2] = static_cast<unsigned char>(to[x / 2] | index << (x % 2 ? 0 : 4));
        }
    }

    *expanded = layout;
    expanded->TableBytes = tableBytes;
    expanded->BitsOffset = bits;
    expanded->PixelBytes = toRow * rows;
    expanded->BitCount = 4;
    return image;
}
