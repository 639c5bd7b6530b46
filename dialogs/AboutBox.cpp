#include "dialogs/AboutBox.h"

#include <utility>

#include "platform/ProductVersion.h"
#include "ui/HomePage.h"
#include "ui/LinkLabel.h"
#include "ui/PictureBitmap.h"
#include "ui/Skin.h"
#include "ui/WindowDpi.h"
#include "ui/look/JpegPicture.h"

namespace vantrel {
namespace {

constexpr const char* kNoticeText =
    "Copyright (C) 2006 Vantrel. All rights reserved.\r\n"
    "Vantrel backs up every entry before it repairs it; Restore puts it back.";
constexpr const char* kContactText = "Questions and suggestions: support@vantrel.example";
// Dialog units of the layout; the banner is placed in pixels once decoded.
constexpr int kWidth = 252;
constexpr int kBannerTop = 4;
constexpr int kBannerHeight = 52;
constexpr int kTextLeft = 40;

}  // namespace

AboutBox::AboutBox(AboutBoxArgs args)
    : BoundDialog(args.prompts, args.shell), args_(std::move(args)) {}

DialogTemplate AboutBox::Layout() {
    DialogTemplate layout(kCaption, kWidth, 166);
    layout.AddControl("STATIC", "", kBanner, SS_BITMAP, 6, kBannerTop, 240, kBannerHeight);
    layout.AddControl("STATIC", "", kIcon, SS_ICON, 10, 62, 21, 20);
    layout.AddControl("STATIC", kProductName, kName, SS_LEFT | SS_NOPREFIX, kTextLeft, 62, 200, 10);
    layout.AddControl("STATIC", kVersionLine, kVersion, SS_LEFT | SS_NOPREFIX, kTextLeft, 74, 200,
                      10);
    layout.AddControl("STATIC", kNoticeText, kNotice, SS_LEFT | SS_NOPREFIX, kTextLeft, 88, 206,
                      26);
    layout.AddControl("STATIC", kContactText, kContact, SS_LEFT | SS_NOPREFIX, kTextLeft, 116, 206,
                      10);
    layout.AddControl("STATIC", kHomePageAddress, kAddress, SS_LEFT | SS_NOPREFIX | SS_NOTIFY,
                      kTextLeft, 128, 110, 10);
    layout.AddControl("BUTTON", "OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 196, 146, 50, 14);
    return layout;
}

void AboutBox::ShowModal() {
    const DialogTemplate layout = Layout();
    ShowModalDialog(args_.owner, layout, *this);
}

void AboutBox::OnInitDialog() {
    ShowBanner();
    // The program's icon is resource 1 of Vantrel.exe; the tests run without it.
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    if (icon == nullptr)
        icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    ::SendDlgItemMessageA(dialog_, kIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    MakeLinkLabel(::GetDlgItem(dialog_, kAddress));
    ApplyCurrentSkin(dialog_);
}

// A banner that cannot be decoded leaves its place empty; the box is shown all the same.
void AboutBox::ShowBanner() {
    const RgbPicture picture = DecodeJpeg(args_.bannerJpeg, args_.bannerJpegSize);
    // Its pixels are designed at 96 dpi; it grows with the dialog, in proportion.
    const SIZE designed{picture.width, picture.height};
    const SIZE shown{ScaledFor(dialog_, picture.width), ScaledFor(dialog_, picture.height)};
    banner_ = ResizedBitmap(CreatePictureBitmap(picture), designed, shown);
    HWND control = ::GetDlgItem(dialog_, kBanner);
    if (!banner_) {
        ::ShowWindow(control, SW_HIDE);
        return;
    }
    ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));
    // Centred at the top.
    RECT client{};
    ::GetClientRect(dialog_, &client);
    RECT top{0, kBannerTop, 0, 0};
    ::MapDialogRect(dialog_, &top);
    ::SetWindowPos(control, nullptr, (client.right - shown.cx) / 2, top.top, shown.cx, shown.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            // Without a skin the address still looks like one.
            if (IsLinkLabel(reinterpret_cast<HWND>(lParam))) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, kPlainLinkColour);
                ::SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:
                    ::EndDialog(dialog_, LOWORD(wParam));
                    return TRUE;
                case kAddress:
                    if (HIWORD(wParam) == STN_CLICKED)
                        shell_.Get().Open(kHomePageAddress, "");
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace vantrel
