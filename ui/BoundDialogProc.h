#pragma once

#include <windows.h>

#include "ui/ExceptionBarrier.h"

namespace vantrel {

// The dialog procedure of a dialog driven by an object of type T: the object is bound at
// WM_INITDIALOG (passed as the dialog's creation parameter) and unbound at WM_NCDESTROY.
// T::HandleMessage answers as a dialog procedure does (TRUE when it handled the message). No
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
    const bool handled = RunGuarded(&self->UserPrompts(),
                                    [&] { result = self->HandleMessage(message, wParam, lParam); });
    if (!handled && message == WM_INITDIALOG)
        ::EndDialog(dialog, IDCANCEL);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->Detach();
    }
    return result;
}

}  // namespace vantrel
