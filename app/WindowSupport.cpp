#include "app/WindowSupport.h"

#include <vector>

namespace vantrel {

void ShowErrorBox(HWND owner, std::string_view text) {
    const std::string message(text);
    ::MessageBoxA(owner, message.c_str(), kProductName, MB_OK | MB_ICONERROR);
}

void ShowNoticeBox(HWND owner, std::string_view text) {
    const std::string message(text);
    ::MessageBoxA(owner, message.c_str(), kProductName, MB_OK | MB_ICONINFORMATION);
}

bool AskYesNoBox(HWND owner, std::string_view text) {
    const std::string message(text);
    return ::MessageBoxA(owner, message.c_str(), kProductName, MB_YESNO | MB_ICONINFORMATION) ==
           IDYES;
}

unique_hfont CreateDialogFont() {
    // 8 point at the screen's resolution.
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    return unique_hfont(::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

std::string ExecutableFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return ".";
        if (length < buffer.size()) {
            std::string path(buffer.data(), length);
            const size_t slash = path.find_last_of("\\/");
            return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

RECT ChildRect(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PlaceChild(HWND child, int left, int top, int width, int height) {
    const RECT now = ChildRect(child);
    if (now.left == left && now.top == top && now.right - now.left == width &&
        now.bottom - now.top == height)
        return;
    ::SetWindowPos(child, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace vantrel
