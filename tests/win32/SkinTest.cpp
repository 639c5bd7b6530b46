// The skins under Wine: every "Change Skin" entry on the real main window (its controls'
// colours and the pixels on screen), the index across a restart, missing and malformed skin
// files, skinned buttons under the dialog manager, and the about box.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "dialogs/AboutBox.h"
#include "platform/ProductVersion.h"
#include "platform/memory/RecordingShellOpener.h"
#include "platform/win32/ExecutableFolder.h"
#include "tests/support/SkinLooks.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/ResultsRows.h"
#include "tests/win32/ScratchArea.h"
#include "ui/HomePage.h"
#include "ui/Skin.h"
#include "ui/look/AboutBanner.h"
#include "ui/look/JpegPicture.h"
#include "ui/look/SkinCatalogue.h"
#include "ui/look/SkinFile.h"

namespace vantrel {
namespace {

using test::ControlText;
using test::MainWindowUnderTest;
using test::PumpMessages;
using test::RepeatingTimer;
using test::ScratchFolder;

// The skin files as shipped, which the build copies into a folder beside the test program (not
// into the test's current folder, where a skin file would be found "as named").
std::string ShippedSkinPath(const std::string& name) {
    return ExecutableFolder() + "\\skins\\" + name;
}

SkinLook LookOfIndex(int index) {
    return test::LookOfIndex(index, ShippedSkinPath(""));
}

// What the screen shows at a point of a window's client area.
COLORREF PixelAt(HWND window, int x, int y) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = ::GetDC(window);
    const COLORREF pixel = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return pixel;
}

// The text colour and brush a window gives a control that asks with WM_CTLCOLORSTATIC.
struct StaticColours {
    COLORREF text;
    COLORREF brush;
};
StaticColours AskStaticColours(HWND window, HWND control) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    ::SetTextColor(dc, RGB(1, 2, 3));
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(window, WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(control)));
    LOGBRUSH described{};
    if (brush != nullptr)
        ::GetObjectA(brush, sizeof(described), &described);
    const StaticColours colours{::GetTextColor(dc), described.lbColor};
    ::DeleteDC(dc);
    return colours;
}

std::vector<int> TickedSkinEntries(HWND window) {
    HMENU skins = ::GetSubMenu(::GetSubMenu(::GetMenu(window), 0), 3);
    ::SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(skins), 0);
    std::vector<int> ticked;
    for (int index = 0; index < kSkinCount; ++index) {
        if ((::GetMenuState(skins, static_cast<UINT>(index), MF_BYPOSITION) & MF_CHECKED) != 0)
            ticked.push_back(index);
    }
    return ticked;
}

// The skin files beside a main window whose settings live in a scratch folder, which is also
// the current folder (where a skin file is looked up first). The current look is program-wide,
// so each test starts and ends with the system's own.
class SkinnedMainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        SelectSkin(-1, "");
        char folder[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, folder);
        previousFolder_ = folder;
        ASSERT_TRUE(::SetCurrentDirectoryA(folder_.Path().c_str()));
        for (int index = 0; index < kSkinCount; ++index) {
            const std::string name = SkinSourceOf(index).fileName;
            if (!name.empty()) {
                ASSERT_TRUE(
                    ::CopyFileA(ShippedSkinPath(name).c_str(), folder_.Path(name).c_str(), FALSE))
                    << name;
            }
        }
    }
    void TearDown() override {
        main_.reset();
        SelectSkin(-1, "");
        ::SetCurrentDirectoryA(previousFolder_.c_str());
    }

    MainWindowUnderTest& Main() {
        if (!main_)
            main_ = std::make_unique<MainWindowUnderTest>(folder_.Path());
        return *main_;
    }
    void WriteSettings(const std::string& text) {
        test::WriteFile(folder_.Path("options.ini"), text);
    }
    void AddRowsAndSelectTheSecond() {
        for (const char* value : {"a.dll", "b.dll", "c.dll"})
            test::ShowRow(Main().Window().Results(),
                          ScanIssue{"Missing Shared Dlls", "HKEY_LOCAL_MACHINE\\Software\\x", value,
                                    RepairKind::DeleteNamedValue});
        Main().SelectRow(1);
        ::SendMessageA(Main().Tree(), TVM_SELECTITEM, TVGN_CARET,
                       reinterpret_cast<LPARAM>(Main().Node(3)));
        PumpMessages();
    }

    // Every surface the look colours, as the controls report it and as the screen shows it.
    void ExpectMainWindowShows(const SkinLook& look, const std::string& which) {
        HWND window = Main().Handle();
        HWND list = Main().List();
        HWND tree = Main().Tree();
        EXPECT_EQ(::SendMessageA(list, LVM_GETBKCOLOR, 0, 0), ToColorRef(look.list)) << which;
        EXPECT_EQ(::SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), ToColorRef(look.listText)) << which;
        EXPECT_EQ(::SendMessageA(tree, TVM_GETBKCOLOR, 0, 0), ToColorRef(look.tree)) << which;
        EXPECT_EQ(::SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0), ToColorRef(look.treeText)) << which;
        const StaticColours label = AskStaticColours(window, nullptr);
        EXPECT_EQ(label.text, ToColorRef(look.windowText)) << which;
        EXPECT_EQ(label.brush, ToColorRef(look.window)) << which;

        RECT client{};
        ::GetClientRect(window, &client);
        // The margin left of the list, under the tool bar.
        EXPECT_EQ(PixelAt(window, 2, 60), ToColorRef(look.window)) << which << ": window";
        // The tool bar right of its buttons.
        EXPECT_EQ(PixelAt(Main().Window().ToolBar(), client.right - 20, 10), ToColorRef(look.face))
            << which << ": tool bar";
        // The status bar's second panel, right of its text.
        RECT bar{};
        ::GetClientRect(Main().Window().StatusBar(), &bar);
        EXPECT_EQ(PixelAt(Main().Window().StatusBar(), bar.right - 30, bar.bottom / 2),
                  ToColorRef(look.face))
            << which << ": status bar";
        // The list's header, right of its last column's caption.
        HWND header = ListView_GetHeader(list);
        RECT column{};
        ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(PixelAt(header, column.right - 8, (column.top + column.bottom) / 2),
                  ToColorRef(look.title))
            << which << ": column header";
        // The selected row right of its texts, and the row under it.
        RECT selected{};
        selected.left = LVIR_BOUNDS;
        ::SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&selected));
        RECT listClient{};
        ::GetClientRect(list, &listClient);
        const int right = std::min(selected.right, listClient.right) - 4;
        EXPECT_EQ(PixelAt(list, right, (selected.top + selected.bottom) / 2),
                  ToColorRef(look.highlight))
            << which << ": selected row";
        EXPECT_EQ(PixelAt(list, right, selected.bottom + 4), ToColorRef(look.list))
            << which << ": row under it";
        // The tree, right of its captions.
        RECT treeClient{};
        ::GetClientRect(tree, &treeClient);
        EXPECT_EQ(PixelAt(tree, treeClient.right - 3, treeClient.bottom - 3), ToColorRef(look.tree))
            << which << ": tree";
    }

    ScratchFolder folder_;
    std::string previousFolder_;
    std::unique_ptr<MainWindowUnderTest> main_;
};

TEST_F(SkinnedMainWindow, EveryChangeSkinEntryColoursTheWindowAsItsSkinSaysAndIsTicked) {
    AddRowsAndSelectTheSecond();
    for (int index = 0; index < kSkinCount; ++index) {
        Main().Command(static_cast<WORD>(command::kFirstSkin + index));
        PumpMessages();
        const SkinLook look = LookOfIndex(index);
        ExpectMainWindowShows(look, "skin " + std::to_string(index) + " " + look.name);
        EXPECT_EQ(Main().Window().Options().SkinIndex, index);
        EXPECT_EQ(TickedSkinEntries(Main().Handle()), std::vector<int>{index});
    }
}

TEST_F(SkinnedMainWindow, TheSavedIndexIsTheLookOfTheNextStart) {
    Main().Command(static_cast<WORD>(command::kFirstSkin + 6));
    Main().Close();
    main_.reset();
    SelectSkin(-1, "");
    AddRowsAndSelectTheSecond();
    EXPECT_EQ(Main().Window().Options().SkinIndex, 6);
    ExpectMainWindowShows(LookOfIndex(6), "after a restart");
    EXPECT_EQ(TickedSkinEntries(Main().Handle()), std::vector<int>{6});
}

TEST_F(SkinnedMainWindow, AMissingOrMalformedSkinFileLeavesTheLookAsItWas) {
    AddRowsAndSelectTheSecond();
    Main().Command(static_cast<WORD>(command::kFirstSkin + 3));
    ASSERT_TRUE(::DeleteFileA(folder_.Path("RealOne.sui").c_str()));
    test::WriteFile(folder_.Path("matrix.sui"), "vantrel-skin 1\r\nwindow = #000000\r\n");

    Main().Command(static_cast<WORD>(command::kFirstSkin + 1));
    PumpMessages();
    ExpectMainWindowShows(DeepBlueLook(), "RealOne.sui missing");
    EXPECT_EQ(Main().Window().Options().SkinIndex, 1) << "the choice is kept all the same";
    EXPECT_EQ(TickedSkinEntries(Main().Handle()), std::vector<int>{1});

    Main().Command(static_cast<WORD>(command::kFirstSkin + 6));
    PumpMessages();
    ExpectMainWindowShows(DeepBlueLook(), "matrix.sui malformed");
    EXPECT_TRUE(Main().Errors().empty());
    EXPECT_TRUE(Main().Notices().empty());
}

TEST_F(SkinnedMainWindow, AnIndexOutsideTheEightSelectsNoSkinAndTicksNoEntry) {
    WriteSettings("[Skin]\r\nIndex=9\r\n");
    HWND list = Main().List();
    EXPECT_EQ(CurrentSkin(), nullptr);
    EXPECT_EQ(::SendMessageA(list, LVM_GETBKCOLOR, 0, 0), ::GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(TickedSkinEntries(Main().Handle()).empty());
}

TEST_F(SkinnedMainWindow, TheScanWindowTakesTheCurrentLook) {
    WriteSettings("[Skin]\r\nIndex=3\r\n");
    Main().TickOnly({7});
    COLORREF background = CLR_INVALID;
    COLORREF stopFace = CLR_INVALID;
    COLORREF bar = CLR_INVALID;
    COLORREF track = CLR_INVALID;
    {
        RepeatingTimer look(20, [&] {
            HWND scan = ::FindWindowA(TfrmRegProgressHint::kClassName, "Scanning");
            if (scan == nullptr || !::IsWindowVisible(scan) || background != CLR_INVALID)
                return;
            background = PixelAt(scan, 3, 3);
            HWND stop = ::GetDlgItem(scan, IDCANCEL);
            RECT face{};
            ::GetClientRect(stop, &face);
            stopFace = PixelAt(stop, face.right / 2, 4);
            // The bar starts at 5 %: its first pixels are filled, its last are not.
            HWND progress = ::FindWindowExA(scan, nullptr, PROGRESS_CLASSA, nullptr);
            RECT inside{};
            ::GetClientRect(progress, &inside);
            ::SendMessageA(progress, PBM_SETPOS, 500, 0);
            bar = PixelAt(progress, 4, inside.bottom / 2);
            track = PixelAt(progress, inside.right - 4, inside.bottom / 2);
            ::PostMessageA(scan, WM_COMMAND, IDCANCEL, 0);
        });
        Main().Command(command::kScan);
    }
    EXPECT_EQ(background, ToColorRef(DeepBlueLook().window));
    EXPECT_EQ(stopFace, ToColorRef(DeepBlueLook().button));
    EXPECT_EQ(bar, ToColorRef(DeepBlueLook().progress));
    EXPECT_EQ(track, ToColorRef(DeepBlueLook().face));
}

// --- Skinned push buttons under the dialog manager ---------------------------------------------

// OK (the default) and Cancel in the current look; presses Enter once the focus is where the
// test put it.
class TwoButtonDialog {
  public:
    explicit TwoButtonDialog(bool focusCancel) : focusCancel_(focusCancel) {}
    static DialogTemplate Layout() {
        DialogTemplate layout("Two buttons", 160, 50);
        layout.AddControl("BUTTON", "OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 20, 20, 50, 14);
        layout.AddControl("BUTTON", "Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 90, 20, 50, 14);
        return layout;
    }
    void Attach(HWND dialog) { dialog_ = dialog; }
    void Detach() { dialog_ = nullptr; }
    Prompts& UserPrompts() { return prompts_; }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) {
            ApplyCurrentSkin(dialog_);
            okStyle_ = ::GetWindowLongPtrA(::GetDlgItem(dialog_, IDOK), GWL_STYLE);
            if (focusCancel_)
                ::PostMessageA(dialog_, WM_NEXTDLGCTL,
                               reinterpret_cast<WPARAM>(::GetDlgItem(dialog_, IDCANCEL)), TRUE);
            ::PostMessageA(dialog_, WM_KEYDOWN, VK_RETURN, 0);
            return TRUE;
        }
        if (message == WM_KEYDOWN) {
            // Through the dialog manager, as the modal loop hands a key over.
            MSG key{dialog_, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
            key.hwnd = ::GetFocus();
            ::IsDialogMessageA(dialog_, &key);
            return TRUE;
        }
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            ::EndDialog(dialog_, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    LONG_PTR OkStyle() const { return okStyle_; }

  private:
    bool focusCancel_;
    HWND dialog_ = nullptr;
    ScriptedPrompts prompts_;
    LONG_PTR okStyle_ = 0;
};

TEST(SkinnedButtons, EnterPressesTheDefaultButtonOrTheFocusedOne) {
    SelectSkin(4, "");
    TwoButtonDialog plain(false);
    EXPECT_EQ(ShowModalDialog(nullptr, TwoButtonDialog::Layout(), plain), IDOK);
    EXPECT_EQ(plain.OkStyle() & BS_TYPEMASK, BS_OWNERDRAW) << "the look draws the buttons";
    TwoButtonDialog cancelFocused(true);
    EXPECT_EQ(ShowModalDialog(nullptr, TwoButtonDialog::Layout(), cancelFocused), IDCANCEL);
    SelectSkin(-1, "");
}

TEST(SkinnedButtons, TheSystemLookGivesTheButtonsBack) {
    SelectSkin(3, "");
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    HWND button = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | BS_DEFPUSHBUTTON, 10, 10, 60, 20,
                                    parent, nullptr, nullptr, nullptr);
    ApplyCurrentSkin(parent);
    EXPECT_EQ(::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ApplySkin(parent, nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ::DestroyWindow(parent);
    SelectSkin(-1, "");
}

// --- About box ---------------------------------------------------------------------------------

struct AboutBoxSeen {
    std::string name, version, notice, contact, address;
    int bannerWidth = 0;
    int bannerHeight = 0;
    COLORREF bannerCentre = CLR_INVALID;
    bool iconShown = false;
    bool handOverAddress = false;
    COLORREF background = CLR_INVALID;
    COLORREF linkText = CLR_INVALID;
};

AboutBoxSeen LookAtAboutBox(HWND box) {
    AboutBoxSeen seen;
    seen.name = ControlText(box, AboutBox::kName);
    seen.version = ControlText(box, AboutBox::kVersion);
    seen.notice = ControlText(box, AboutBox::kNotice);
    seen.contact = ControlText(box, AboutBox::kContact);
    seen.address = ControlText(box, AboutBox::kAddress);
    HWND banner = ::GetDlgItem(box, AboutBox::kBanner);
    auto bitmap = reinterpret_cast<HBITMAP>(::SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP described{};
    if (bitmap != nullptr && ::GetObjectA(bitmap, sizeof(described), &described) != 0) {
        seen.bannerWidth = described.bmWidth;
        seen.bannerHeight = described.bmHeight;
    }
    RECT shown{};
    ::GetClientRect(banner, &shown);
    seen.bannerCentre = PixelAt(banner, shown.right / 2, shown.bottom / 2);
    seen.iconShown = ::SendDlgItemMessageA(box, AboutBox::kIcon, STM_GETICON, 0, 0) != 0;
    HWND address = ::GetDlgItem(box, AboutBox::kAddress);
    ::SendMessageA(address, WM_SETCURSOR, reinterpret_cast<WPARAM>(address),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    seen.handOverAddress = ::GetCursor() == ::LoadCursor(nullptr, IDC_HAND);
    seen.background = PixelAt(box, 2, 2);
    seen.linkText = AskStaticColours(box, address).text;
    return seen;
}

TEST(AboutBoxTest, ShowsItsTextsTheDecodedBannerAndTheCurrentLook) {
    SelectSkin(5, ExecutableFolder() + "\\skins");
    ASSERT_NE(CurrentSkin(), nullptr);
    const SkinLook royale = *CurrentSkin();
    RecordingShellOpener shell;
    AboutBoxSeen seen;
    AboutBox about(AboutBoxArgs{nullptr, nullptr, &shell});
    {
        RepeatingTimer driver(20, [&] {
            HWND box = ::FindWindowA(nullptr, AboutBox::kCaption);
            if (box == nullptr || !::IsWindowVisible(box) || !seen.name.empty())
                return;
            seen = LookAtAboutBox(box);
            HWND address = ::GetDlgItem(box, AboutBox::kAddress);
            ::SendMessageA(address, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            ::SendMessageA(address, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            ASSERT_EQ(shell.OpenedSoFar().size(), 1u) << "the address opens the product's page";
            EXPECT_EQ(shell.OpenedSoFar()[0].target, kHomePageAddress);
            ::SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        about.ShowModal();
    }
    EXPECT_EQ(seen.name, kProductName);
    EXPECT_EQ(seen.version, AboutBox::kVersionLine);
    EXPECT_FALSE(seen.notice.empty());
    EXPECT_FALSE(seen.contact.empty());
    EXPECT_EQ(seen.address, kHomePageAddress);
    EXPECT_EQ(seen.bannerWidth, kAboutBannerWidth);
    EXPECT_EQ(seen.bannerHeight, kAboutBannerHeight);
    // The screen shows the decoded picture (JPEG is lossy: near enough).
    const RgbPicture decoded = DecodeJpeg(kAboutBannerJpeg, kAboutBannerJpegSize);
    const size_t centre =
        (size_t{kAboutBannerHeight} / 2 * kAboutBannerWidth + kAboutBannerWidth / 2) * 3;
    EXPECT_NEAR(GetRValue(seen.bannerCentre), decoded.pixels[centre], 8);
    EXPECT_NEAR(GetGValue(seen.bannerCentre), decoded.pixels[centre + 1], 8);
    EXPECT_NEAR(GetBValue(seen.bannerCentre), decoded.pixels[centre + 2], 8);
    EXPECT_TRUE(seen.iconShown);
    EXPECT_TRUE(seen.handOverAddress);
    EXPECT_EQ(seen.background, ToColorRef(royale.window));
    EXPECT_EQ(seen.linkText, ToColorRef(royale.link));
    SelectSkin(-1, "");
}

TEST(AboutBoxTest, ATruncatedBannerLeavesItsPlaceEmptyAndTheBoxWorks) {
    RecordingShellOpener shell;
    AboutBoxArgs args{nullptr, nullptr, &shell};
    args.bannerJpegSize = kAboutBannerJpegSize / 2;
    AboutBox about(args);
    bool bannerShown = true;
    std::string version;
    {
        RepeatingTimer driver(20, [&] {
            HWND box = ::FindWindowA(nullptr, AboutBox::kCaption);
            if (box == nullptr || !::IsWindowVisible(box) || !version.empty())
                return;
            bannerShown = ::IsWindowVisible(::GetDlgItem(box, AboutBox::kBanner)) != FALSE;
            version = ControlText(box, AboutBox::kVersion);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        about.ShowModal();
    }
    EXPECT_FALSE(bannerShown);
    EXPECT_EQ(version, AboutBox::kVersionLine);
}

TEST_F(SkinnedMainWindow, AboutOpensTheBoxOwnedByTheMainWindow) {
    HWND owner = nullptr;
    std::string version;
    {
        RepeatingTimer driver(20, [&] {
            HWND box = ::FindWindowA(nullptr, AboutBox::kCaption);
            if (box == nullptr)
                return;
            owner = ::GetWindow(box, GW_OWNER);
            version = ControlText(box, AboutBox::kVersion);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        Main().Command(command::kAbout);
    }
    EXPECT_EQ(owner, Main().Handle());
    EXPECT_EQ(version, AboutBox::kVersionLine);
}

}  // namespace
}  // namespace vantrel
