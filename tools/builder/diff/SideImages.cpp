#include "diff/SideImages.h"

#include "core/neutral/LittleEndian.h"

namespace {

// The size the wizard shows its side image at, with the default font.
constexpr int kSideWidth = 120;
constexpr int kSideHeight = 306;

void Put32(std::string& out, uint32_t value) {
    unsigned char bytes[4];
    WriteLittleEndian32(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}
void Put16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

}  // namespace

std::string GradientBitmap(int width, int height, unsigned top, unsigned bottom) {
    uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    uint32_t pixels = row * static_cast<uint32_t>(height);
    std::string out = "BM";
    Put32(out, 14 + 40 + pixels);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // no compression
    Put32(out, pixels);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = 0; y < height; ++y) {  // bottom row first
        std::string line;
        for (int x = 0; x < width; ++x)
            for (int shift : {0, 8, 16}) {  // blue, green, red
                int from = static_cast<int>((bottom >> shift) & 0xFF), to = static_cast<int>((top >> shift) & 0xFF);
                line += static_cast<char>(from + (to - from) * y / (height > 1 ? height - 1 : 1));
            }
        line.resize(row, '\0');
        out += line;
    }
    return out;
}

std::string DefaultSetupImage() { return GradientBitmap(kSideWidth, kSideHeight, 0x285AAA, 0xC8DCFA); }
std::string DefaultMakerImage() { return GradientBitmap(kSideWidth, kSideHeight, 0x96283C, 0xFAD2AA); }
