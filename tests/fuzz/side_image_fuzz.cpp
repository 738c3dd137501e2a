// Feeds arbitrary files to the side image measurement: an accepted file must
// hold every part the layout names, and a 2-bit one must expand to a file
// that measures as its own layout says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "wizard/neutral/BitmapLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A buffer exactly as long as the file, so any read past it is caught.
    unsigned char* file = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(file, data, size);
    SideImageLayout layout{};
    if (MeasureSideImage(size ? file : nullptr, size, &layout) == 1) {
        if (layout.BitsOffset + layout.PixelBytes > size) std::abort();
        if (layout.InfoOffset + 40 + layout.TableBytes > layout.BitsOffset) std::abort();
        if (layout.BitCount == 2) {
            SideImageLayout wide{};
            HeapBytes image = ExpandTwoBitImage(file, layout, &wide);
            if (image) {
                SideImageLayout again{};
                if (MeasureSideImage(image.get(), wide.BitsOffset + wide.PixelBytes, &again) != 1) std::abort();
                if (again.BitsOffset != wide.BitsOffset || again.BitCount != 4) std::abort();
            }
        }
    }
    std::free(file);
    return 0;
}
