#include "ui/SkinPainting.h"

#include <algorithm>
#include <string>

#include "ui/GuiHandles.h"
#include "ui/Skin.h"

namespace vantrel {
namespace {

void Fill(HDC dc, const RECT& rect, const Rgb& colour) {
    unique_gdiobj brush(::CreateSolidBrush(ToColorRef(colour)));
    ::FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

void Frame(HDC dc, const RECT& rect, const Rgb& colour) {
    unique_gdiobj brush(::CreateSolidBrush(ToColorRef(colour)));
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DrawTextIn(HDC dc, const std::string& text, RECT rect, const Rgb& colour, UINT format) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(colour));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                format | DT_SINGLELINE | DT_VCENTER);
}

bool IsSelectedListItem(HWND list, DWORD_PTR item) {
    return (::SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

}  // namespace

Rgb Mix(const Rgb& from, const Rgb& to, double share) {
    const auto channel = [share](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(a + (b - a) * share + 0.5);
    };
    return Rgb{channel(from.red, to.red), channel(from.green, to.green),
               channel(from.blue, to.blue)};
}

void DrawSkinnedButton(const DRAWITEMSTRUCT& item, const SkinLook& look, bool isDefault) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const Rgb& face = pressed ? look.highlight : look.button;
    const Rgb& text = pressed ? look.highlightText : look.buttonText;
    RECT rect = item.rcItem;
    Fill(item.hDC, rect, Mix(look.button, look.buttonText, isDefault ? 0.8 : 0.45));
    const int border = isDefault ? 2 : 1;
    ::InflateRect(&rect, -border, -border);
    Fill(item.hDC, rect, face);
    if (pressed)
        ::OffsetRect(&rect, 1, 1);
    DrawTextIn(item.hDC, WindowText(item.hwndItem), rect, disabled ? Mix(face, text, 0.5) : text,
               DT_CENTER);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -(border + 2), -(border + 2));
        ::SetTextColor(item.hDC, ToColorRef(text));
        ::SetBkColor(item.hDC, ToColorRef(face));
        ::DrawFocusRect(item.hDC, &focus);
    }
}

void PaintSkinnedStatusBar(HWND bar, HDC dc, const SkinLook& look) {
    RECT client{};
    ::GetClientRect(bar, &client);
    Fill(dc, client, look.face);
    auto font = reinterpret_cast<HFONT>(::SendMessageA(bar, WM_GETFONT, 0, 0));
    SelectedObject selected(
        dc, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    const auto parts = static_cast<int>(::SendMessageA(bar, SB_GETPARTS, 0, 0));
    for (int part = 0; part < parts; ++part) {
        RECT rect{};
        ::SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&rect));
        // The parts' own heights follow the bar's font, not the bar placed around them.
        rect.top = client.top + 2;
        rect.bottom = client.bottom - 2;
        Frame(dc, rect, Mix(look.face, look.faceText, 0.35));
        const auto length =
            LOWORD(::SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
        std::string text(static_cast<size_t>(length) + 1, '\0');
        ::SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part),
                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        ::InflateRect(&rect, -4, 0);
        DrawTextIn(dc, text, rect, look.faceText, DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

void PaintSkinnedProgressBar(HWND bar, HDC dc, const SkinLook& look) {
    RECT client{};
    ::GetClientRect(bar, &client);
    Fill(dc, client, look.face);
    Frame(dc, client, Mix(look.face, look.faceText, 0.35));
    PBRANGE range{};
    ::SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const auto position = static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0));
    const int span = range.iHigh - range.iLow;
    if (span <= 0)
        return;
    RECT filled = client;
    ::InflateRect(&filled, -1, -1);
    const int done = std::clamp(position - range.iLow, 0, span);
    filled.right = filled.left + ::MulDiv(filled.right - filled.left, done, span);
    if (filled.right > filled.left)
        Fill(dc, filled, look.progress);
}

LRESULT CustomDrawHeader(NMCUSTOMDRAW& draw, const SkinLook& look) {
    switch (draw.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPREPAINT: {
            RECT rect = draw.rc;
            Fill(draw.hdc, rect, look.title);
            RECT edge{rect.right - 1, rect.top, rect.right, rect.bottom};
            Fill(draw.hdc, edge, Mix(look.title, look.titleText, 0.4));
            char text[256] = {};
            HDITEMA column{};
            column.mask = HDI_TEXT;
            column.pszText = text;
            column.cchTextMax = sizeof(text);
            ::SendMessageA(draw.hdr.hwndFrom, HDM_GETITEMA, draw.dwItemSpec,
                           reinterpret_cast<LPARAM>(&column));
            rect.left += 6;
            rect.right -= 4;
            DrawTextIn(draw.hdc, text, rect, look.titleText,
                       DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
            return CDRF_SKIPDEFAULT;
        }
        case CDDS_POSTPAINT: {
            // The strip right of the last column.
            RECT rest{};
            ::GetClientRect(draw.hdr.hwndFrom, &rest);
            const auto count =
                static_cast<int>(::SendMessageA(draw.hdr.hwndFrom, HDM_GETITEMCOUNT, 0, 0));
            if (count > 0) {
                RECT last{};
                ::SendMessageA(draw.hdr.hwndFrom, HDM_GETITEMRECT, static_cast<WPARAM>(count - 1),
                               reinterpret_cast<LPARAM>(&last));
                rest.left = last.right;
            }
            if (rest.left < rest.right)
                Fill(draw.hdc, rest, look.title);
            return CDRF_DODEFAULT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

// The selection is drawn in the look's colours, whether the list has the focus or not: the
// control's own would be the system's.
LRESULT CustomDrawList(NMLVCUSTOMDRAW& draw, const SkinLook& look) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (IsSelectedListItem(draw.nmcd.hdr.hwndFrom, draw.nmcd.dwItemSpec)) {
                draw.clrText = ToColorRef(look.highlightText);
                draw.clrTextBk = ToColorRef(look.highlight);
                draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
            } else {
                draw.clrText = ToColorRef(look.listText);
                draw.clrTextBk = ToColorRef(look.list);
            }
            return (draw.nmcd.dwDrawStage & CDDS_SUBITEM) != 0 ? CDRF_DODEFAULT
                                                               : CDRF_NOTIFYSUBITEMDRAW;
        default:
            return CDRF_DODEFAULT;
    }
}

LRESULT CustomDrawTree(NMTVCUSTOMDRAW& draw, const SkinLook& look) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            if ((draw.nmcd.uItemState & CDIS_SELECTED) != 0) {
                draw.clrText = ToColorRef(look.highlightText);
                draw.clrTextBk = ToColorRef(look.highlight);
            } else {
                draw.clrText = ToColorRef(look.treeText);
                draw.clrTextBk = ToColorRef(look.tree);
            }
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

LRESULT CustomDrawToolBar(NMTBCUSTOMDRAW& draw, const SkinLook& look) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREERASE: {
            RECT client{};
            ::GetClientRect(draw.nmcd.hdr.hwndFrom, &client);
            Fill(draw.nmcd.hdc, client, look.face);
            return CDRF_SKIPDEFAULT;
        }
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            const bool hot = (draw.nmcd.uItemState & (CDIS_HOT | CDIS_SELECTED)) != 0;
            draw.clrText = ToColorRef(hot ? look.highlightText : look.faceText);
            draw.clrTextHighlight = ToColorRef(look.highlightText);
            draw.clrBtnFace = ToColorRef(look.face);
            draw.clrBtnHighlight = ToColorRef(Mix(look.face, look.faceText, 0.3));
            draw.clrHighlightHotTrack = ToColorRef(look.highlight);
            draw.nStringBkMode = TRANSPARENT;
            draw.nHLStringBkMode = TRANSPARENT;
            return TBCDRF_HILITEHOTTRACK | TBCDRF_USECDCOLORS;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

}  // namespace vantrel
