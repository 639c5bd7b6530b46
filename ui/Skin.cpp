#include "ui/Skin.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cstring>
#include <optional>
#include <vector>

#include "platform/PathText.h"
#include "ui/CaptionFit.h"
#include "ui/ExceptionBarrier.h"
#include "ui/GuiHandles.h"
#include "ui/LinkLabel.h"
#include "ui/SkinPainting.h"
#include "ui/WindowDpi.h"
#include "ui/look/SkinCatalogue.h"
#include "ui/look/SkinFile.h"

namespace vantrel {
namespace {

constexpr UINT_PTR kWindowSubclass = 0x5C1;
constexpr UINT_PTR kChildSubclass = 0x5C2;
// Where a skinned window keeps the object that skins it.
constexpr const char* kSkinnedProperty = "VantrelSkinnedWindow";

std::optional<SkinLook>& Current() {
    static std::optional<SkinLook> current;
    return current;
}

enum class ControlKind { Other, PushButton, OtherButton, List, Tree, StatusBar, Progress, ToolBar };

ControlKind KindOf(HWND control) {
    char name[64] = {};
    ::GetClassNameA(control, name, sizeof(name));
    if (_stricmp(name, "Button") == 0) {
        const auto type = static_cast<DWORD>(::GetWindowLongPtrA(control, GWL_STYLE)) & BS_TYPEMASK;
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? ControlKind::PushButton
                                                                 : ControlKind::OtherButton;
    }
    if (_stricmp(name, WC_LISTVIEWA) == 0)
        return ControlKind::List;
    if (_stricmp(name, WC_TREEVIEWA) == 0)
        return ControlKind::Tree;
    if (_stricmp(name, STATUSCLASSNAMEA) == 0)
        return ControlKind::StatusBar;
    if (_stricmp(name, PROGRESS_CLASSA) == 0)
        return ControlKind::Progress;
    if (_stricmp(name, TOOLBARCLASSNAMEA) == 0)
        return ControlKind::ToolBar;
    return ControlKind::Other;
}

unique_hfont CreateSkinFont(const SkinFont& font, int dpi) {
    const int height = -::MulDiv(font.pointSize, dpi, 72);
    // A face the system lacks is replaced by one of the same kind.
    const bool fixed = font.name.find("Courier") != std::string::npos;
    return unique_hfont(::CreateFontA(
        height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        fixed ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_SWISS, font.name.c_str()));
}

std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> found;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            const bool added = RunGuarded(
                nullptr, [&] { reinterpret_cast<std::vector<HWND>*>(list)->push_back(child); });
            return added ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A window in a look: it answers the colour questions its controls ask it (WM_CTLCOLOR*), draws
// its owner-drawn buttons and the custom draw of its lists, tree and tool bar, and paints its
// background. What it changed on a control it can give back.
class SkinnedWindow {
  public:
    explicit SkinnedWindow(HWND window) : window_(window) {
        ::SetPropA(window_, kSkinnedProperty, reinterpret_cast<HANDLE>(this));
        ::SetWindowSubclass(window_, &SkinnedWindow::WindowProc, kWindowSubclass,
                            reinterpret_cast<DWORD_PTR>(this));
    }
    SkinnedWindow(const SkinnedWindow&) = delete;
    SkinnedWindow& operator=(const SkinnedWindow&) = delete;

    static SkinnedWindow* Of(HWND window) {
        return reinterpret_cast<SkinnedWindow*>(::GetPropA(window, kSkinnedProperty));
    }

    void Apply(const SkinLook& look) {
        look_ = look;
        windowBrush_.reset(::CreateSolidBrush(ToColorRef(look_.window)));
        listBrush_.reset(::CreateSolidBrush(ToColorRef(look_.list)));
        unique_hfont oldFont = std::move(font_);
        font_ = CreateSkinFont(look_.font, DpiOfWindow(window_));
        for (HWND child : Descendants(window_))
            ApplyTo(StateOf(child));
        Redraw();
    }

    // Gives every control back what it had and ends this object.
    void RemoveAndDelete() {
        for (ControlState& state : controls_)
            Restore(state);
        ::RemoveWindowSubclass(window_, &SkinnedWindow::WindowProc, kWindowSubclass);
        ::RemovePropA(window_, kSkinnedProperty);
        Redraw();
        delete this;
    }

  private:
    struct ControlState {
        HWND control;
        ControlKind kind;
        HFONT font;           // the control's own font
        COLORREF colours[3];  // list and tree colours as they were
        LONG_PTR style;       // push buttons and tool bars: the style as it was
        bool isDefault;       // a push button's default state, kept while owner-drawn
    };

    ~SkinnedWindow() = default;

    ControlState& StateOf(HWND control) {
        for (ControlState& state : controls_) {
            if (state.control == control)
                return state;
        }
        ControlState state{control, KindOf(control), nullptr, {}, 0, false};
        state.font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
        state.style = ::GetWindowLongPtrA(control, GWL_STYLE);
        state.isDefault = (state.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (state.kind == ControlKind::List) {
            state.colours[0] = static_cast<COLORREF>(::SendMessageA(control, LVM_GETBKCOLOR, 0, 0));
            state.colours[1] =
                static_cast<COLORREF>(::SendMessageA(control, LVM_GETTEXTBKCOLOR, 0, 0));
            state.colours[2] =
                static_cast<COLORREF>(::SendMessageA(control, LVM_GETTEXTCOLOR, 0, 0));
        } else if (state.kind == ControlKind::Tree) {
            state.colours[0] = static_cast<COLORREF>(::SendMessageA(control, TVM_GETBKCOLOR, 0, 0));
            state.colours[1] =
                static_cast<COLORREF>(::SendMessageA(control, TVM_GETTEXTCOLOR, 0, 0));
            state.colours[2] =
                static_cast<COLORREF>(::SendMessageA(control, TVM_GETLINECOLOR, 0, 0));
        }
        controls_.push_back(state);
        return controls_.back();
    }

    void ApplyTo(ControlState& state) {
        HWND control = state.control;
        // The tool bar's buttons and the tree's column have fixed widths that a wider face
        // would overflow: they keep their font.
        const bool fixedWidth =
            state.kind == ControlKind::ToolBar || state.kind == ControlKind::Tree;
        if (!fixedWidth && (state.font != nullptr || ::GetParent(control) == window_)) {
            // A face wider than the dialog font must not cut a caption laid out for that font:
            // such a control keeps its own.
            const HFONT font = CaptionFitsIn(control, font_.get()) ? font_.get() : state.font;
            ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        switch (state.kind) {
            case ControlKind::PushButton:
                // Owner-drawn, so the look can colour its face; the subclass keeps it a push
                // button for the dialog manager (default button, Enter).
                ::SetWindowSubclass(control, &SkinnedWindow::ChildProc, kChildSubclass,
                                    reinterpret_cast<DWORD_PTR>(this));
                ::SetWindowLongPtrA(
                    control, GWL_STYLE,
                    (state.style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
                break;
            case ControlKind::List:
                ::SendMessageA(control, LVM_SETBKCOLOR, 0, ToColorRef(look_.list));
                ::SendMessageA(control, LVM_SETTEXTBKCOLOR, 0, ToColorRef(look_.list));
                ::SendMessageA(control, LVM_SETTEXTCOLOR, 0, ToColorRef(look_.listText));
                // Its column header tells the list, not this window, how to draw.
                ::SetWindowSubclass(control, &SkinnedWindow::ChildProc, kChildSubclass,
                                    reinterpret_cast<DWORD_PTR>(this));
                break;
            case ControlKind::Tree:
                ::SendMessageA(control, TVM_SETBKCOLOR, 0, ToColorRef(look_.tree));
                ::SendMessageA(control, TVM_SETTEXTCOLOR, 0, ToColorRef(look_.treeText));
                ::SendMessageA(control, TVM_SETLINECOLOR, 0,
                               ToColorRef(Mix(look_.tree, look_.treeText, 0.5)));
                break;
            case ControlKind::StatusBar:
                ::SetWindowSubclass(control, &SkinnedWindow::ChildProc, kChildSubclass,
                                    reinterpret_cast<DWORD_PTR>(this));
                break;
            case ControlKind::OtherButton:
                // A visual style would draw group boxes and check boxes in its own colours.
                ::SetWindowTheme(control, L"", L"");
                break;
            case ControlKind::Progress:
                // Painted here: a visual style ignores the colours a bar is given.
                ::SetWindowSubclass(control, &SkinnedWindow::ChildProc, kChildSubclass,
                                    reinterpret_cast<DWORD_PTR>(this));
                break;
            case ControlKind::ToolBar:
                // Without it the tool bar erases its background itself.
                ::SetWindowLongPtrA(control, GWL_STYLE, state.style | TBSTYLE_CUSTOMERASE);
                break;
            case ControlKind::Other:
                break;
        }
        ::InvalidateRect(control, nullptr, TRUE);
    }

    void Restore(const ControlState& state) {
        HWND control = state.control;
        if (!::IsWindow(control))
            return;
        ::RemoveWindowSubclass(control, &SkinnedWindow::ChildProc, kChildSubclass);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
        switch (state.kind) {
            case ControlKind::PushButton: {
                const LONG_PTR type = state.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
                ::SetWindowLongPtrA(control, GWL_STYLE,
                                    (state.style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | type);
                break;
            }
            case ControlKind::List:
                ::SendMessageA(control, LVM_SETBKCOLOR, 0, state.colours[0]);
                ::SendMessageA(control, LVM_SETTEXTBKCOLOR, 0, state.colours[1]);
                ::SendMessageA(control, LVM_SETTEXTCOLOR, 0, state.colours[2]);
                break;
            case ControlKind::Tree:
                ::SendMessageA(control, TVM_SETBKCOLOR, 0, state.colours[0]);
                ::SendMessageA(control, TVM_SETTEXTCOLOR, 0, state.colours[1]);
                ::SendMessageA(control, TVM_SETLINECOLOR, 0, state.colours[2]);
                break;
            case ControlKind::OtherButton:
                ::SetWindowTheme(control, nullptr, nullptr);
                break;
            case ControlKind::ToolBar:
                ::SetWindowLongPtrA(control, GWL_STYLE, state.style);
                break;
            case ControlKind::StatusBar:
            case ControlKind::Progress:
            case ControlKind::Other:
                break;
        }
        ::InvalidateRect(control, nullptr, TRUE);
    }

    ControlState* FindState(HWND control) {
        for (ControlState& state : controls_) {
            if (state.control == control)
                return &state;
        }
        return nullptr;
    }

    void Redraw() const {
        ::RedrawWindow(window_, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }

    LRESULT ColourStatic(HDC dc, HWND control) const {
        ::SetTextColor(dc, ToColorRef(IsLinkLabel(control) ? look_.link : look_.windowText));
        ::SetBkColor(dc, ToColorRef(look_.window));
        return reinterpret_cast<LRESULT>(windowBrush_.get());
    }

    std::optional<LRESULT> OnNotify(NMHDR& header) {
        if (header.code != static_cast<UINT>(NM_CUSTOMDRAW))
            return std::nullopt;
        const ControlState* state = FindState(header.hwndFrom);
        if (state == nullptr)
            return std::nullopt;
        switch (state->kind) {
            case ControlKind::List:
                return CustomDrawList(reinterpret_cast<NMLVCUSTOMDRAW&>(header), look_);
            case ControlKind::Tree:
                return CustomDrawTree(reinterpret_cast<NMTVCUSTOMDRAW&>(header), look_);
            case ControlKind::ToolBar:
                return CustomDrawToolBar(reinterpret_cast<NMTBCUSTOMDRAW&>(header), look_);
            default:
                return std::nullopt;
        }
    }

    std::optional<LRESULT> HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_ERASEBKGND: {
                RECT client{};
                ::GetClientRect(window_, &client);
                ::FillRect(reinterpret_cast<HDC>(wParam), &client,
                           static_cast<HBRUSH>(windowBrush_.get()));
                return 1;
            }
            case WM_CTLCOLORDLG:
                return reinterpret_cast<LRESULT>(windowBrush_.get());
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX: {
                const auto dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, ToColorRef(look_.listText));
                ::SetBkColor(dc, ToColorRef(look_.list));
                return reinterpret_cast<LRESULT>(listBrush_.get());
            }
            case WM_DRAWITEM: {
                const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                const ControlState* state = FindState(item.hwndItem);
                if (item.CtlType != ODT_BUTTON || state == nullptr ||
                    state->kind != ControlKind::PushButton)
                    return std::nullopt;
                DrawSkinnedButton(item, look_, state->isDefault);
                return TRUE;
            }
            case WM_NOTIFY:
                if (lParam == 0)
                    return std::nullopt;
                return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
            default:
                return std::nullopt;
        }
    }

    std::optional<LRESULT> HandleChildMessage(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
        ControlState* state = FindState(control);
        if (state == nullptr)
            return std::nullopt;
        switch (state->kind) {
            case ControlKind::PushButton:
                return HandleButtonMessage(*state, message, wParam, lParam);
            case ControlKind::StatusBar:
                return HandlePaintMessage(control, message, wParam, &PaintSkinnedStatusBar);
            case ControlKind::Progress:
                return HandlePaintMessage(control, message, wParam, &PaintSkinnedProgressBar);
            case ControlKind::List:
                // The column header's custom draw comes to the list.
                if (message == WM_NOTIFY && lParam != 0) {
                    auto& header = *reinterpret_cast<NMHDR*>(lParam);
                    if (header.code == static_cast<UINT>(NM_CUSTOMDRAW) &&
                        header.hwndFrom == ListView_GetHeader(control))
                        return CustomDrawHeader(reinterpret_cast<NMCUSTOMDRAW&>(header), look_);
                }
                return std::nullopt;
            default:
                return std::nullopt;
        }
    }

    // An owner-drawn button still answers the dialog manager as the push button it was: which
    // button is the default moves with the focus, and Enter presses that one.
    std::optional<LRESULT> HandleButtonMessage(ControlState& state, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
        switch (message) {
            case WM_GETDLGCODE:
                return DLGC_BUTTON | (state.isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
            case BM_SETSTYLE: {
                state.isDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
                const WPARAM ownerDrawn =
                    (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
                ::DefSubclassProc(state.control, message, ownerDrawn, lParam);
                ::InvalidateRect(state.control, nullptr, TRUE);
                return 0;
            }
            default:
                return std::nullopt;
        }
    }

    // Controls the look paints whole.
    using Painter = void (*)(HWND, HDC, const SkinLook&);
    std::optional<LRESULT> HandlePaintMessage(HWND control, UINT message, WPARAM wParam,
                                              Painter paint) {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                PAINTSTRUCT painting{};
                HDC dc = ::BeginPaint(control, &painting);
                paint(control, dc, look_);
                ::EndPaint(control, &painting);
                return 0;
            }
            case WM_PRINTCLIENT:
                paint(control, reinterpret_cast<HDC>(wParam), look_);
                return 0;
            default:
                return std::nullopt;
        }
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
        auto* self = reinterpret_cast<SkinnedWindow*>(data);
        if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(window, &SkinnedWindow::WindowProc, kWindowSubclass);
            ::RemovePropA(window, kSkinnedProperty);
            delete self;
            return ::DefSubclassProc(window, message, wParam, lParam);
        }
        std::optional<LRESULT> result;
        RunGuarded(nullptr, [&] { result = self->HandleWindowMessage(message, wParam, lParam); });
        return result ? *result : ::DefSubclassProc(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK ChildProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
        auto* self = reinterpret_cast<SkinnedWindow*>(data);
        if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(control, &SkinnedWindow::ChildProc, kChildSubclass);
            return ::DefSubclassProc(control, message, wParam, lParam);
        }
        std::optional<LRESULT> result;
        RunGuarded(nullptr,
                   [&] { result = self->HandleChildMessage(control, message, wParam, lParam); });
        return result ? *result : ::DefSubclassProc(control, message, wParam, lParam);
    }

    HWND window_;
    SkinLook look_;
    unique_gdiobj windowBrush_;
    unique_gdiobj listBrush_;
    unique_hfont font_;
    std::vector<ControlState> controls_;
};

}  // namespace

void SelectSkin(int skinIndex, const std::string& executableFolder) {
    const SkinSource source = SkinSourceOf(skinIndex);
    if (source.IsNone()) {
        Current().reset();
    } else if (source.builtIn) {
        Current() = *source.builtIn;
    } else if (auto look = LoadSkinFile(
                   {source.fileName, JoinFilePath(executableFolder, source.fileName)})) {
        Current() = std::move(*look);
    }
}

const SkinLook* CurrentSkin() {
    return Current() ? &*Current() : nullptr;
}

void ApplyCurrentSkin(HWND window) {
    ApplySkin(window, CurrentSkin());
}

void ApplySkin(HWND window, const SkinLook* look) {
    SkinnedWindow* skinned = SkinnedWindow::Of(window);
    if (look == nullptr) {
        if (skinned != nullptr)
            skinned->RemoveAndDelete();
        return;
    }
    if (skinned == nullptr)
        skinned = new SkinnedWindow(window);
    skinned->Apply(*look);
}

COLORREF ToColorRef(const Rgb& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

}  // namespace vantrel
