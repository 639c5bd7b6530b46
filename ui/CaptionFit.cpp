#include "ui/CaptionFit.h"

#include <string>

#include "ui/GuiHandles.h"
#include "ui/WindowDpi.h"
#include "ui/WindowText.h"

namespace vantrel {
namespace {

enum class CaptionKind { None, OneLine, Boxed, Wrapped };

CaptionKind KindOfCaption(HWND control, DWORD style) {
    char name[32] = {};
    ::GetClassNameA(control, name, sizeof(name));
    if (_stricmp(name, "Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return CaptionKind::Boxed;
            default:
                return (style & BS_MULTILINE) != 0 ? CaptionKind::Wrapped : CaptionKind::OneLine;
        }
    }
    if (_stricmp(name, "Static") != 0 || (style & SS_ELLIPSISMASK) != 0)
        return CaptionKind::None;
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            return CaptionKind::Wrapped;
        case SS_LEFTNOWORDWRAP:
        case SS_SIMPLE:
            return CaptionKind::OneLine;
        default:
            return CaptionKind::None;
    }
}

}  // namespace

bool CaptionFitsIn(HWND control, HFONT font) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrA(control, GWL_STYLE));
    const CaptionKind kind = KindOfCaption(control, style);
    const std::string text = WindowText(control);
    if (kind == CaptionKind::None || text.empty() || font == nullptr)
        return true;
    RECT client{};
    ::GetClientRect(control, &client);
    // The box of a check box or radio button, and the gap after it.
    const int room = client.right - (kind == CaptionKind::Boxed ? ScaledFor(control, 16) : 0);
    RECT needed{0, 0, room, 0};
    HDC dc = ::GetDC(control);
    {
        SelectedObject selected(dc, font);
        ::DrawTextA(dc, text.c_str(), -1, &needed,
                    DT_CALCRECT | (kind == CaptionKind::Wrapped ? DT_WORDBREAK : DT_SINGLELINE));
    }
    ::ReleaseDC(control, dc);
    return needed.right <= room && needed.bottom <= client.bottom;
}

}  // namespace vantrel
