// Where the parts of a side image file lie: an uncompressed Windows bitmap
// file (file header, information header, colour table, pixel rows). The
// measurement refuses every file whose declared parts do not fit inside it,
// so that drawing never reads past the end of the loaded file.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/neutral/HeapText.h"

constexpr std::size_t kBitmapFileHeaderSize = 14;
constexpr std::size_t kBitmapInfoHeaderSize = 40;

struct SideImageLayout {
    std::size_t InfoOffset;   // the information header, after the file header
    std::size_t TableBytes;   // colour table after the information header
    std::size_t BitsOffset;   // the first pixel row
    std::size_t PixelBytes;   // all pixel rows, each padded to 4 bytes
    std::int32_t Width;
    std::int32_t Height;      // as stored: negative for top-down rows
    std::uint16_t BitCount;
};

// 1 and the layout when `data` (`size` bytes) is a bitmap file that can be
// drawn: "BM", an information header of at least 40 bytes, one plane, no
// compression, a positive width, a nonzero height, 1, 2, 4, 8, 16, 24 or 32
// bits per pixel, at most as many colours used as the bit count allows, and
// the header, colour table and pixel rows all inside the file. The colour
// table of an image with 8 or fewer bits per pixel is taken to be full (2 to
// the power of the bit count entries of 4 bytes), whatever the header says
// about colours used; deeper images have none. 0 otherwise.
int MeasureSideImage(const unsigned char* data, std::size_t size, SideImageLayout* layout);

// The same image at 4 bits per pixel, for systems that draw no 2-bit
// images: a new file of the same form (file header, header with a bit count
// of 4, a 16-entry colour table whose first four entries are the image's,
// pixel rows), and its layout. None when out of memory. `layout` must come
// from MeasureSideImage for `data` and have a bit count of 2.
HeapBytes ExpandTwoBitImage(const unsigned char* data, const SideImageLayout& layout,
                            SideImageLayout* expanded);
