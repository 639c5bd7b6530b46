#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "platform/ProductVersion.h"
#include "ui/GuiHandles.h"

namespace vantrel {

// Failures reach the user as message boxes captioned with the product name.
void ShowErrorBox(HWND owner, std::string_view text);
void ShowNoticeBox(HWND owner, std::string_view text);
// Yes and No with the information icon; true on Yes.
bool AskYesNoBox(HWND owner, std::string_view text);

// The dialog font of every window: "MS Sans Serif", 8 point.
unique_hfont CreateDialogFont();

// Client rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);
// Moves a child only when its rectangle changes, so a layout run from WM_PAINT settles.
void PlaceChild(HWND child, int left, int top, int width, int height);

// The window procedure of a window class whose windows are driven by an object of type T: the
// object is bound at WM_NCCREATE (passed as the creation parameter) and unbound at
// WM_NCDESTROY. T::HandleMessage does the work; no exception leaves the procedure: it is shown
// in an error box and the window stays usable.
template <typename T>
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* bound = static_cast<T*>(create->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bound));
        bound->Attach(window);
    }
    T* self = reinterpret_cast<T*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowErrorBox(window, error.what());
        if (message == WM_CREATE)
            result = -1;
    } catch (...) {
        ShowErrorBox(window, "An unexpected error occurred.");
        if (message == WM_CREATE)
            result = -1;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->Detach();
    }
    return result;
}

}  // namespace vantrel
