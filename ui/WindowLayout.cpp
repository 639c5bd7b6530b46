#include "ui/WindowLayout.h"

#include <algorithm>

namespace vantrel {

unique_hfont CreateDialogFont(int dpi) {
    const int height = -::MulDiv(8, dpi, 72);
    return unique_hfont(::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

RECT ChildRect(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool PlaceChild(HWND child, int left, int top, int width, int height) {
    const RECT now = ChildRect(child);
    if (now.left == left && now.top == top && now.right - now.left == width &&
        now.bottom - now.top == height)
        return false;
    ::SetWindowPos(child, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void CentreOnOwner(HWND window) {
    RECT own{};
    ::GetWindowRect(window, &own);
    const HWND owner = ::GetWindow(window, GW_OWNER);
    RECT around{};
    if (owner == nullptr || !::GetWindowRect(owner, &around))
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromRect(&around, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int left = around.left + (around.right - around.left - width) / 2;
    int top = around.top + (around.bottom - around.top - height) / 2;
    // An owner near a screen edge must not push the window's caption off the screen.
    if (work.right > work.left) {
        left = std::max(static_cast<int>(work.left),
                        std::min(left, static_cast<int>(work.right) - width));
        top = std::max(static_cast<int>(work.top),
                       std::min(top, static_cast<int>(work.bottom) - height));
    }
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vantrel
