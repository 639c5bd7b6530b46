#pragma once

#include <windows.h>

namespace vantrel {

// The DPI of the monitor `window` is on (the system's DPI where Windows has no per-monitor
// DPI, or for no window).
int DpiOfWindow(HWND window);
// `pixels` designed at 96 dpi, at the DPI of `window`.
int ScaledFor(HWND window, int pixels);

// AdjustWindowRectEx with the frame's metrics at `dpi`.
void AdjustFrameForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD extendedStyle, int dpi);

// A window's pixel sizes at its DPI: made from the window once, kept by windows that lay out
// their children in pixels, and renewed on WM_DPICHANGED.
class DpiScaler {
  public:
    explicit DpiScaler(int dpi = 96) : dpi_(dpi) {}
    static DpiScaler Of(HWND window) { return DpiScaler(DpiOfWindow(window)); }
    int Dpi() const { return dpi_; }
    int operator()(int pixels) const;

  private:
    int dpi_;
};

}  // namespace vantrel
