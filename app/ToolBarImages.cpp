#include "app/ToolBarImages.h"

#include <commctrl.h>

#include "ui/ScaledDrawing.h"

namespace vantrel {
namespace {

constexpr int kSize = kToolBarImageSize;
constexpr int kImages = 5;
constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kBlue = RGB(30, 80, 170);
constexpr COLORREF kGreen = RGB(33, 150, 33);
constexpr COLORREF kRed = RGB(200, 40, 40);
constexpr COLORREF kBrown = RGB(120, 80, 40);
constexpr COLORREF kGrey = RGB(90, 90, 90);

void Line(HDC dc, COLORREF colour, int width, const POINT* points, int count) {
    unique_gdiobj pen(::CreatePen(PS_SOLID, width, colour));
    SelectedObject selected(dc, pen.get());
    ::Polyline(dc, points, count);
}

void DrawMagnifier(HDC dc, int left) {
    unique_gdiobj pen(::CreatePen(PS_SOLID, 2, kBlue));
    SelectedObject selectedPen(dc, pen.get());
    SelectedObject selectedBrush(dc, ::GetStockObject(WHITE_BRUSH));
    ::Ellipse(dc, left + 1, 1, left + 11, 11);
    const POINT handle[] = {{left + 10, 10}, {left + 13, 13}};
    Line(dc, kBrown, 3, handle, 2);
}

void DrawTick(HDC dc, int left) {
    const POINT tick[] = {{left + 2, 8}, {left + 6, 12}, {left + 14, 3}};
    Line(dc, kGreen, 3, tick, 3);
}

void DrawTurningArrow(HDC dc, int left) {
    unique_gdiobj pen(::CreatePen(PS_SOLID, 2, kBlue));
    SelectedObject selected(dc, pen.get());
    // Three quarters of a circle, open at the top left, with the head at its start.
    ::Arc(dc, left + 2, 2, left + 14, 14, left + 2, 4, left + 8, 2);
    unique_gdiobj brush(::CreateSolidBrush(kBlue));
    SelectedObject selectedBrush(dc, brush.get());
    const POINT head[] = {{left + 1, 1}, {left + 6, 4}, {left + 1, 7}};
    ::Polygon(dc, head, 3);
}

void DrawSettingsPage(HDC dc, int left) {
    unique_gdiobj pen(::CreatePen(PS_SOLID, 1, kGrey));
    SelectedObject selected(dc, pen.get());
    SelectedObject selectedBrush(dc, ::GetStockObject(WHITE_BRUSH));
    ::Rectangle(dc, left + 2, 1, left + 14, 15);
    for (int row = 0; row < 3; ++row) {
        const int y = 4 + row * 4;
        const POINT box[] = {{left + 4, y - 1}, {left + 6, y + 1}};
        Line(dc, kGreen, 2, box, 2);
        const POINT text[] = {{left + 8, y}, {left + 12, y}};
        Line(dc, kBlue, 1, text, 2);
    }
}

void DrawCross(HDC dc, int left) {
    const POINT down[] = {{left + 3, 3}, {left + 13, 13}};
    const POINT up[] = {{left + 13, 3}, {left + 3, 13}};
    Line(dc, kRed, 3, down, 2);
    Line(dc, kRed, 3, up, 2);
}

}  // namespace

unique_himagelist CreateToolBarImages(int size) {
    unique_himagelist images(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kImages, 0));
    HDC screen = ::GetDC(nullptr);
    unique_memory_dc dc(::CreateCompatibleDC(screen));
    unique_hbitmap strip(::CreateCompatibleBitmap(screen, kImages * size, size));
    ::ReleaseDC(nullptr, screen);
    {
        SelectedObject selected(dc.get(), strip.get());
        unique_gdiobj background(::CreateSolidBrush(kTransparent));
        const RECT all{0, 0, kImages * size, size};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
        const ScaledDrawing design(dc.get(), static_cast<double>(size) / kSize);
        DrawMagnifier(dc.get(), 0);
        DrawTick(dc.get(), kSize);
        DrawTurningArrow(dc.get(), 2 * kSize);
        DrawSettingsPage(dc.get(), 3 * kSize);
        DrawCross(dc.get(), 4 * kSize);
    }
    ::ImageList_AddMasked(images.get(), strip.get(), kTransparent);
    return images;
}

}  // namespace vantrel
