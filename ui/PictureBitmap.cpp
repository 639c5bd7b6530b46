#include "ui/PictureBitmap.h"

#include <cstdint>

namespace vantrel {

unique_hbitmap CreatePictureBitmap(const RgbPicture& picture) {
    if (picture.IsEmpty())
        return unique_hbitmap();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // rows from the top, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr)
        return unique_hbitmap();
    // Rows of a DIB are padded to four bytes and hold blue, green, red.
    const size_t width = static_cast<size_t>(picture.width);
    const size_t stride = (width * 3 + 3) & ~size_t{3};
    auto* target = static_cast<uint8_t*>(bits);
    for (size_t row = 0; row < static_cast<size_t>(picture.height); ++row) {
        const uint8_t* from = picture.pixels.data() + row * width * 3;
        uint8_t* to = target + row * stride;
        for (size_t x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    ::GdiFlush();
    return bitmap;
}

unique_hbitmap ResizedBitmap(unique_hbitmap bitmap, SIZE from, SIZE to) {
    if (!bitmap || (from.cx == to.cx && from.cy == to.cy) || to.cx <= 0 || to.cy <= 0)
        return bitmap;
    HDC screen = ::GetDC(nullptr);
    unique_memory_dc source(::CreateCompatibleDC(screen));
    unique_memory_dc target(::CreateCompatibleDC(screen));
    unique_hbitmap resized(::CreateCompatibleBitmap(screen, to.cx, to.cy));
    ::ReleaseDC(nullptr, screen);
    if (!resized)
        return bitmap;
    {
        SelectedObject fromPicture(source.get(), bitmap.get());
        SelectedObject toPicture(target.get(), resized.get());
        ::SetStretchBltMode(target.get(), HALFTONE);
        ::SetBrushOrgEx(target.get(), 0, 0, nullptr);
        ::StretchBlt(target.get(), 0, 0, to.cx, to.cy, source.get(), 0, 0, from.cx, from.cy,
                     SRCCOPY);
    }
    return resized;
}

}  // namespace vantrel
