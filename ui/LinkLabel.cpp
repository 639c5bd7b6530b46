#include "ui/LinkLabel.h"

#include <commctrl.h>

#include "ui/ExceptionBarrier.h"

namespace vantrel {
namespace {

constexpr UINT_PTR kLinkSubclass = 0x5C3;
constexpr const char* kLinkProperty = "VantrelLink";

LRESULT CALLBACK LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        ::RemovePropA(label, kLinkProperty);
        ::RemoveWindowSubclass(label, &LinkProc, kLinkSubclass);
    }
    bool handled = false;
    RunGuarded(nullptr, [&] {
        if (message == WM_SETCURSOR) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            handled = true;
        }
    });
    return handled ? TRUE : ::DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace

void MakeLinkLabel(HWND label) {
    ::SetPropA(label, kLinkProperty, reinterpret_cast<HANDLE>(1));
    ::SetWindowSubclass(label, &LinkProc, kLinkSubclass, 0);
}

bool IsLinkLabel(HWND label) {
    return ::GetPropA(label, kLinkProperty) != nullptr;
}

}  // namespace vantrel
