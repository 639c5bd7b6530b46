#pragma once

#include <windows.h>

#include <string>

namespace vantrel {

// A window's or control's whole text, in ANSI.
inline std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int length = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace vantrel
