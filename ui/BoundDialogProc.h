#pragma once

#include <windows.h>

#include <type_traits>

#include "ui/ExceptionBarrier.h"

namespace vantrel {

// Whether T names its help page.
template <typename T, typename = void>
struct HasHelpPage : std::false_type {};
template <typename T>
struct HasHelpPage<T, std::void_t<decltype(T::kHelpPage)>> : std::true_type {};

// The dialog procedure of a dialog driven by an object of type T: the object is bound at
// WM_INITDIALOG (passed as the dialog's creation parameter) and unbound at WM_NCDESTROY.
// T::HandleMessage answers as a dialog procedure does (TRUE when it handled the message); F1
// (WM_HELP) opens the help page T::kHelpPage where T names one, whichever control has the focus. No
// exception leaves the procedure: it is shown through T::UserPrompts(); a dialog whose
// WM_INITDIALOG failed is ended at once with IDCANCEL rather than left half made.
template <typename T>
INT_PTR CALLBACK BoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* bound = reinterpret_cast<T*>(lParam);
        ::SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(bound));
        bound->Attach(dialog);
    }
    T* self = reinterpret_cast<T*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    INT_PTR result = FALSE;
    const bool handled = RunGuarded(&self->UserPrompts(), [&] {
        if constexpr (HasHelpPage<T>::value) {
            if (message == WM_HELP) {
                self->OpenHelpPage(T::kHelpPage);
                result = TRUE;
                return;
            }
        }
        result = self->HandleMessage(message, wParam, lParam);
    });
    if (!handled && message == WM_INITDIALOG)
        ::EndDialog(dialog, IDCANCEL);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->Detach();
    }
    return result;
}

}  // namespace vantrel
