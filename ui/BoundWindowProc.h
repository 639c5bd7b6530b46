#pragma once

#include <windows.h>

#include "ui/ExceptionBarrier.h"

namespace vantrel {

// The window procedure of a window class whose windows are driven by an object of type T: the
// object is bound at WM_NCCREATE (passed as the creation parameter) and unbound at
// WM_NCDESTROY. T::HandleMessage does the work. No exception leaves the procedure: it is shown
// through T::UserPrompts() and the window stays usable (a failed WM_CREATE fails the creation).
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
    const bool handled = RunGuarded(&self->UserPrompts(),
                                    [&] { result = self->HandleMessage(message, wParam, lParam); });
    if (!handled && message == WM_CREATE)
        result = -1;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->Detach();
    }
    return result;
}

}  // namespace vantrel
