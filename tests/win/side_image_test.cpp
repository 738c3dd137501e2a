// The side image: which file is loaded, from which byte its pixels are read,
// how it is stretched onto the control, and bad files drawing nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/RunState.h"
#include "support/TestFiles.h"
#include "wizard/ControlIds.h"
#include "wizard/DialogAppearance.h"

namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}
void Put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 255);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A bitmap file of `width` x `height` pixels whose pixel (x, y), y counted
// from the top, has colour index (or 24-bit colour) `pixel(x, y)`. Colour
// tables are full (2 to the power of the bit count entries).
template <typename Pixel>
std::string MakeBitmap(int width, int height, int bitCount, const std::vector<COLORREF>& colours, Pixel pixel) {
    std::size_t entries = bitCount <= 8 ? std::size_t{1} << bitCount : 0;
    std::size_t row = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
    std::size_t bits = 14 + 40 + 4 * entries;
    std::string b(bits + row * static_cast<std::size_t>(height), '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(bits));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint16_t>(bitCount));
    for (std::size_t i = 0; i < colours.size() && i < entries; ++i)
        Put32(b, 54 + 4 * i, static_cast<std::uint32_t>(GetBValue(colours[i]) | GetGValue(colours[i]) << 8 |
                                                        GetRValue(colours[i]) << 16));
    for (int y = 0; y < height; ++y) {
        std::size_t start = bits + row * static_cast<std::size_t>(height - 1 - y);  // bottom-up rows
        for (int x = 0; x < width; ++x) {
            std::uint32_t value = pixel(x, y);
            if (bitCount == 24) {
                b[start + 3 * static_cast<std::size_t>(x)] = static_cast<char>(GetBValue(value));
                b[start + 3 * static_cast<std::size_t>(x) + 1] = static_cast<char>(GetGValue(value));
                b[start + 3 * static_cast<std::size_t>(x) + 2] = static_cast<char>(GetRValue(value));
            } else {
                std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount);
                int shift = 8 - bitCount - static_cast<int>(bit % 8);
                b[start + bit / 8] = static_cast<char>(b[start + bit / 8] | value << shift);
            }
        }
    }
    return b;
}

// A 32-bit drawing surface of the control's client size, filled with a
// colour no image here uses.
class Surface {
public:
    Surface(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            pixels_[i] = GetBValue(kUntouched) | GetGValue(kUntouched) << 8 | GetRValue(kUntouched) << 16;
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        std::uint32_t p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
    }
    int Untouched() const {
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) count += At(x, y) == kUntouched;
        return count;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

std::string Show(COLORREF c) {
    return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);

class SideImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunState.SideImagePath = side_;
        RunState.BrandImagePath = brand_;
        lstrcpyA(side_, (scratch_ / "Setup.img").c_str());
        lstrcpyA(brand_, (scratch_ / "Zuli.img").c_str());
        // The control's window rectangle on screen, client edge included.
        RunState.SideImageRect = RECT{100, 50, 100 + kWidth + 4, 50 + kHeight + 4};
    }
    void TearDown() override {
        RunState.SideImageData.reset();
        RunState.SideImageInfo = nullptr;
        RunState.SideImageBits = nullptr;
        RunState.SideImagePath = nullptr;
        RunState.BrandImagePath = nullptr;
    }
    static constexpr int kWidth = 125;  // 83 x 191 dialog units at this font
    static constexpr int kHeight = 310;
    ScratchFolder scratch_{"side-image"};
    char side_[MAX_PATH + 1] = {};
    char brand_[MAX_PATH + 1] = {};
};

// Left half `left`, right half `right`, for each kind of image.
struct HalvesCase {
    int bitCount;
    const char* what;
};

TEST_F(SideImageTest, PixelsAreReadAfterTheFullColourTable) {
    const HalvesCase cases[] = {
        {8, "8 bits: pixels from byte 1078"},
        {24, "24 bits: pixels from byte 54"},
        {4, "4 bits: pixels from byte 118"},
        {1, "1 bit: drawn with its two colours"},
        {2, "2 bits: drawn with its four colours"},
    };
    for (const HalvesCase& c : cases) {
        // Colour 0 is never used by a pixel: a table read as pixels or pixels
        // read as a table would show up as wrong colours.
        std::vector<COLORREF> table = {RGB(9, 9, 9), kGreen, kBlue, kYellow};
        if (c.bitCount == 1) table = {kGreen, kBlue};
        std::string file = MakeBitmap(120, 240, c.bitCount, table, [&](int x, int) -> std::uint32_t {
            if (c.bitCount == 24) return x < 60 ? kGreen : kBlue;
            if (c.bitCount == 1) return x < 60 ? 0 : 1;
            return x < 60 ? 1 : 2;
        });
        if (c.bitCount == 8) {
            ASSERT_EQ(file.size(), 1078u + 120u * 240u);
        }
        if (c.bitCount == 24) {
            ASSERT_EQ(file.size(), 54u + 360u * 240u);
        }
        WriteTestFile(side_, file);
        LoadSideImage(side_);
        ASSERT_NE(RunState.SideImageInfo, nullptr) << c.what << ": not loaded";
        Surface surface(kWidth, kHeight);
        DrawSideImage(surface.Dc());
        EXPECT_EQ(Show(surface.At(2, 2)), Show(kGreen)) << c.what << ", left half";
        EXPECT_EQ(Show(surface.At(kWidth - 3, kHeight - 3)), Show(kBlue)) << c.what << ", right half";
        EXPECT_EQ(surface.Untouched(), 0) << c.what << ": the whole client area is drawn";
    }
}

TEST_F(SideImageTest, StretchedOntoTheClientAreaTopSideUp) {
    // 120 x 306 into the control: top half red, bottom half blue.
    WriteTestFile(side_, MakeBitmap(120, 306, 8, {RGB(9, 9, 9), kRed, kBlue},
                                    [](int, int y) -> std::uint32_t { return y < 153 ? 1 : 2; }));
    LoadSideImage(side_);
    Surface surface(kWidth + 10, kHeight + 10);
    DrawSideImage(surface.Dc());
    EXPECT_EQ(Show(surface.At(0, 0)), Show(kRed)) << "top left corner";
    EXPECT_EQ(Show(surface.At(kWidth - 1, kHeight / 2 - 2)), Show(kRed)) << "above the middle";
    EXPECT_EQ(Show(surface.At(kWidth - 1, kHeight / 2 + 2)), Show(kBlue)) << "below the middle";
    EXPECT_EQ(Show(surface.At(kWidth - 1, kHeight - 1)), Show(kBlue)) << "bottom right corner";
    // Nothing beyond the client area.
    EXPECT_EQ(surface.At(kWidth, 0), kUntouched) << "right of the client area";
    EXPECT_EQ(surface.At(0, kHeight), kUntouched) << "below the client area";
}

TEST_F(SideImageTest, BrandImageStandsInForAMissingPatchImage) {
    WriteTestFile(brand_, MakeBitmap(4, 4, 24, {}, [](int, int) -> std::uint32_t { return kYellow; }));
    LoadSideImage(side_);  // Setup.img does not exist
    Surface surface(kWidth, kHeight);
    DrawSideImage(surface.Dc());
    EXPECT_EQ(Show(surface.At(kWidth / 2, kHeight / 2)), Show(kYellow));

    // The maker credits page swaps a loaded patch image for the brand image.
    WriteTestFile(side_, MakeBitmap(4, 4, 24, {}, [](int, int) -> std::uint32_t { return kRed; }));
    LoadSideImage(side_);
    Surface patch(kWidth, kHeight);
    DrawSideImage(patch.Dc());
    EXPECT_EQ(Show(patch.At(kWidth / 2, kHeight / 2)), Show(kRed));
    LoadSideImage(brand_);
    Surface credits(kWidth, kHeight);
    DrawSideImage(credits.Dc());
    EXPECT_EQ(Show(credits.At(kWidth / 2, kHeight / 2)), Show(kYellow));
}

TEST_F(SideImageTest, BadImagesDrawNothing) {
    std::string good = MakeBitmap(120, 240, 8, {RGB(9, 9, 9), kGreen}, [](int, int) -> std::uint32_t { return 1; });
    struct Case { std::string file; const char* what; };
    std::vector<Case> cases;
    cases.push_back({"", "empty file"});
    cases.push_back({good.substr(0, 30), "shorter than the information header"});
    cases.push_back({good.substr(0, 600), "colour table cut short"});
    cases.push_back({good.substr(0, good.size() - 1), "pixel rows one byte short"});
    {
        std::string f = good;
        Put16(f, 28, 7);
        cases.push_back({f, "bit count 7"});
    }
    {
        std::string f = good;
        Put16(f, 28, 64);
        cases.push_back({f, "bit count 64"});
    }
    {
        std::string f = good;
        Put32(f, 14, 12);
        cases.push_back({f, "12-byte core header"});
    }
    {
        std::string f = good;
        Put32(f, 18, 0x40000000);
        Put32(f, 22, 0x40000000);
        cases.push_back({f, "huge dimensions"});
    }
    for (const Case& c : cases) {
        // A good brand image first, so a stale image would show.
        WriteTestFile(brand_, good);
        LoadSideImage(brand_);
        WriteTestFile(side_, c.file);
        LoadSideImage(side_);
        EXPECT_EQ(RunState.SideImageInfo, nullptr) << c.what;
        EXPECT_EQ(RunState.SideImageBits, nullptr) << c.what;
        Surface surface(kWidth, kHeight);
        DrawSideImage(surface.Dc());
        EXPECT_EQ(surface.Untouched(), kWidth * kHeight) << c.what << ": something was drawn";
    }
}

TEST_F(SideImageTest, NeitherImagePresentDrawsNothing) {
    LoadSideImage(side_);
    EXPECT_EQ(RunState.SideImageInfo, nullptr);
    Surface surface(kWidth, kHeight);
    DrawSideImage(surface.Dc());
    EXPECT_EQ(surface.Untouched(), kWidth * kHeight);
    RunState.BrandImagePath = nullptr;
    LoadSideImage(nullptr);
    EXPECT_EQ(RunState.SideImageInfo, nullptr);
}

TEST_F(SideImageTest, TheSideImageControlIsPaintedWithTheImage) {
    WriteTestFile(side_, MakeBitmap(4, 4, 24, {}, [](int, int) -> std::uint32_t { return kGreen; }));
    LoadSideImage(side_);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND image = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(IdSideImage), GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent && image);
    Surface surface(kWidth, kHeight);
    EXPECT_EQ(OnCtlColorStatic(surface.Dc(), image), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(Show(surface.At(kWidth / 2, kHeight / 2)), Show(kGreen)) << "drawn on the colour request";
    DestroyWindow(parent);
}

}  // namespace
