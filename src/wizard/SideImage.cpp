#include <shlwapi.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/FileUtils.h"
#include "core/RunState.h"
#include "wizard/DialogAppearance.h"
#include "wizard/neutral/BitmapLayout.h"

void LoadSideImage(const char* path) {
    RunState.SideImageData.reset();
    RunState.SideImageInfo = nullptr;
    RunState.SideImageBits = nullptr;
    // A patch without its own image shows the brand image.
    if (!path || PathFileExistsA(path) != 1) path = RunState.BrandImagePath;
    if (!path) return;
    HeapBytes data = ReadWholeFile(path);
    if (!data) return;
    // A file that is not a bitmap this code draws, or is shorter than the
    // parts it declares, is not drawn at all: the frame stays empty.
    SideImageLayout layout{};
    if (MeasureSideImage(data.get(), RunState.LastFileSize, &layout) != 1) return;
    if (layout.BitCount == 2) {
        SideImageLayout wide{};
        data = ExpandTwoBitImage(data.get(), layout, &wide);
        if (!data) return;
        layout = wide;
    }
    RunState.SideImageData = std::move(data);
    RunState.SideImageInfo = reinterpret_cast<BITMAPINFO*>(RunState.SideImageData.get() + layout.InfoOffset);
    RunState.SideImageBits = RunState.SideImageData.get() + layout.BitsOffset;
}

void DrawSideImage(HDC dc) {
    if (!RunState.SideImageInfo || !RunState.SideImageBits) return;
    BITMAPINFOHEADER header;
    std::memcpy(&header, RunState.SideImageInfo, sizeof header);
    // The control's window less its 2-pixel client edge on each side: the
    // whole image is stretched onto the client area, proportions ignored.
    const RECT& frame = RunState.SideImageRect;
    int width = frame.right - frame.left - 4;
    int height = frame.bottom - frame.top - 4;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, header.biWidth, std::abs(header.biHeight),
                  RunState.SideImageBits, RunState.SideImageInfo, DIB_RGB_COLORS, SRCCOPY);
}
