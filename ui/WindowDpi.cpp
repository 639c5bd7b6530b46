#include "ui/WindowDpi.h"

#include "ui/DpiScale.h"

namespace vantrel {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Windows 10 1607 and later; earlier systems have one DPI for every monitor.
GetDpiForWindowFunction GetDpiForWindowOfUser32() {
    static const auto function = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return function;
}

using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

AdjustWindowRectExForDpiFunction AdjustWindowRectExForDpiOfUser32() {
    static const auto function =
        reinterpret_cast<AdjustWindowRectExForDpiFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
    return function;
}

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int DpiOfWindow(HWND window) {
    if (window != nullptr) {
        if (const GetDpiForWindowFunction function = GetDpiForWindowOfUser32()) {
            const UINT dpi = function(window);
            if (dpi > 0)
                return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

void AdjustFrameForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD extendedStyle, int dpi) {
    if (const AdjustWindowRectExForDpiFunction function = AdjustWindowRectExForDpiOfUser32()) {
        if (function(&rect, style, hasMenu ? TRUE : FALSE, extendedStyle, static_cast<UINT>(dpi)))
            return;
    }
    ::AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, extendedStyle);
}

int ScaledFor(HWND window, int pixels) {
    return ScaleToDpi(pixels, DpiOfWindow(window));
}

int DpiScaler::operator()(int pixels) const {
    return ScaleToDpi(pixels, dpi_);
}

}  // namespace vantrel
