// Every window at 96, 144 and 192 dots per inch (100%, 150% and 200% display scaling), in the
// look a fresh settings file gives and in a dark skin of other fonts: no control's text is wider
// than the control, measured with the control's own font, and no control lies outside its window.
// Wine reads the DPI when a program starts, so each DPI is checked by a run of this program
// started with Wine's LogPixels set to it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "app/ScanProgressWindow.h"
#include "dialogs/AboutBox.h"
#include "dialogs/BackupProgressWindow.h"
#include "dialogs/IgnoreKeyDialog.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/RestoreDialog.h"
#include "platform/ProductVersion.h"
#include "platform/memory/ScriptedPrompts.h"
#include "platform/win32/ExecutableFolder.h"
#include "tests/win32/ConsoleRunner.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/ScratchArea.h"
#include "tests/win32/ToolPaths.h"
#include "ui/CaptionFit.h"
#include "ui/DpiScale.h"
#include "ui/GuiHandles.h"
#include "ui/WindowDpi.h"
#include "ui/look/SkinCatalogue.h"

namespace vantrel {
namespace {

using test::Click;
using test::MainWindowUnderTest;
using test::ModalScript;

constexpr const char* kDpiUnderTest = "VANTREL_DPI_UNDER_TEST";
constexpr int kDarkSkin = 6;
constexpr int kFreshLookSkin = 2;

std::string TextOf(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The width of `text` on one line in `font`, or in `control`'s own font.
int TextWidth(HWND control, const std::string& text, HFONT font = nullptr) {
    if (font == nullptr)
        font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    HDC dc = ::GetDC(control);
    SIZE size{};
    {
        SelectedObject selected(dc, font != nullptr ? font : ::GetStockObject(SYSTEM_FONT));
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::ReleaseDC(control, dc);
    return size.cx;
}

RECT ClientOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
}

class FitCheck {
  public:
    FitCheck(std::string window, int dpi) : window_(std::move(window)), dpi_(dpi) {}

    // Every visible control of `window`; a window whose texts are the scan's data (paths that
    // are cut by design) has only its frame and buttons checked.
    void Run(HWND window, bool textsAreData = false) {
        std::vector<HWND> children;
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        ASSERT_FALSE(children.empty()) << window_;
        for (HWND child : children) {
            if (!::IsWindowVisible(child))
                continue;
            if (::GetParent(child) == window)
                ExpectInside(window, child);
            const std::string kind = test::ClassNameOf(child);
            if (kind == "Button" || (kind == "Static" && !textsAreData))
                ExpectCaptionFits(child);
            else if (kind == WC_LISTVIEWA)
                ExpectColumnCaptionsFit(child);
            else if (kind == WC_TREEVIEWA)
                ExpectTreeCaptionsFit(child);
            else if (kind == TOOLBARCLASSNAMEA)
                ExpectToolBarLabelsFit(child);
            else if (kind == STATUSCLASSNAMEA)
                ExpectPanelTextsFit(child);
        }
    }

  private:
    std::string Where(HWND control) const {
        return window_ + " at " + std::to_string(dpi_) + " dpi, " + test::ClassNameOf(control) +
               " \"" + TextOf(control) + "\"";
    }

    void ExpectInside(HWND window, HWND child) const {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
        const RECT client = ClientOf(window);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right &&
                    rect.bottom <= client.bottom)
            << Where(child) << " lies outside its window";
    }

    // Labels and buttons by the rule the skins keep to (a caption in one line, or wrapped in
    // the label's height; a check box keeps room for its box).
    void ExpectCaptionFits(HWND control) const {
        const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
        EXPECT_TRUE(CaptionFitsIn(control, font)) << Where(control) << " is cut";
    }

    void ExpectColumnCaptionsFit(HWND list) const {
        const auto header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
        const auto font = reinterpret_cast<HFONT>(::SendMessageA(header, WM_GETFONT, 0, 0));
        const int columns = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        for (int column = 0; column < columns; ++column) {
            char caption[256] = {};
            LVCOLUMNA item{};
            item.mask = LVCF_TEXT | LVCF_WIDTH;
            item.pszText = caption;
            item.cchTextMax = sizeof caption;
            ::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                           reinterpret_cast<LPARAM>(&item));
            EXPECT_LE(TextWidth(header, caption, font), item.cx)
                << Where(list) << " column \"" << caption << "\" is cut";
        }
    }

    void ExpectTreeCaptionsFit(HWND tree) const {
        const RECT client = ClientOf(tree);
        for (auto item = reinterpret_cast<HTREEITEM>(
                 ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
             item != nullptr;
             item = reinterpret_cast<HTREEITEM>(::SendMessageA(
                 tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
            RECT caption{};
            std::memcpy(&caption, &item, sizeof item);
            ::SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&caption));
            EXPECT_LE(caption.right, client.right) << Where(tree) << " node at " << caption.top;
        }
    }

    void ExpectToolBarLabelsFit(HWND bar) const {
        const int buttons = static_cast<int>(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
        for (int index = 0; index < buttons; ++index) {
            TBBUTTON button{};
            ::SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&button));
            char label[128] = {};
            ::SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                           reinterpret_cast<LPARAM>(label));
            RECT rect{};
            ::SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&rect));
            EXPECT_LE(TextWidth(bar, label), rect.right - rect.left)
                << Where(bar) << " button \"" << label << "\" is cut";
            EXPECT_LE(rect.bottom, ClientOf(bar).bottom) << Where(bar) << " \"" << label << "\"";
        }
    }

    void ExpectPanelTextsFit(HWND bar) const {
        const int panels = static_cast<int>(::SendMessageA(bar, SB_GETPARTS, 0, 0));
        for (int panel = 0; panel < panels; ++panel) {
            char text[512] = {};
            ::SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(panel),
                           reinterpret_cast<LPARAM>(text));
            RECT rect{};
            ::SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(panel),
                           reinterpret_cast<LPARAM>(&rect));
            EXPECT_LE(TextWidth(bar, text), rect.right - rect.left)
                << Where(bar) << " panel \"" << text << "\" is cut";
        }
    }

    std::string window_;
    int dpi_;
};

// Each dialog opened from the main window, checked, and closed again.
void CheckDialogsOf(MainWindowUnderTest& main, const std::string& look, int dpi) {
    HWND options = nullptr;
    ModalScript script({
        ModalScript::OnDialog(AboutBox::kCaption,
                              [&](HWND about) {
                                  FitCheck("about box, " + look, dpi).Run(about);
                                  Click(about, IDOK);
                              }),
        ModalScript::Do([&] { main.Command(command::kOptions); }),
        ModalScript::OnDialog(TfrmOptions::kCaption,
                              [&](HWND dialog) {
                                  options = dialog;
                                  FitCheck("options, " + look, dpi).Run(dialog);
                                  const HWND pages = ::GetDlgItem(dialog, TfrmOptions::kPages);
                                  ::SendMessageA(pages, WM_KEYDOWN, VK_RIGHT, 0);
                                  FitCheck("options' keys page, " + look, dpi).Run(dialog);
                              }),
        // Inside the options dialog, which the step before left open.
        ModalScript::Step{[] { return true; }, [&] { Click(options, TfrmOptions::kAdd); }},
        ModalScript::OnDialog(TfrmRegAddRegistry::kCaption,
                              [&](HWND ignore) {
                                  FitCheck("ignore-key dialog, " + look, dpi).Run(ignore);
                                  Click(ignore, IDCANCEL);
                              }),
        ModalScript::Step{
            [] { return test::FindOwnDialog(TfrmRegAddRegistry::kCaption) == nullptr; },
            [&] { Click(options, IDCANCEL); }},
        ModalScript::Do([&] { main.Command(command::kRestore); }),
        ModalScript::OnDialog(
            kProductName,
            [&](HWND restore) {
                FitCheck("restore dialog, " + look, dpi).Run(restore);
                Click(restore, IDCANCEL);
            },
            TfrmRestore::kEntries),
        // The scan window: its texts are the scan's, so its frame and button are checked.
        ModalScript::Do([&] { main.Command(command::kScan); }),
        ModalScript::Step{
            [] { return test::FindOwnWindowOfClass(TfrmRegProgressHint::kClassName) != nullptr; },
            [&] {
                const HWND scan = test::FindOwnWindowOfClass(TfrmRegProgressHint::kClassName);
                FitCheck("scan window, " + look, dpi).Run(scan, true);
                ::SendMessageA(scan, WM_COMMAND, IDCANCEL, 0);
            }},
    });
    main.Command(command::kAbout);
    // The dialogs after the first are opened by the script's own steps.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (!script.Finished() && std::chrono::steady_clock::now() < deadline)
        test::PumpMessages(std::chrono::milliseconds(20));
    EXPECT_TRUE(script.Finished()) << look;
}

void CheckBackupProgressWindow(int dpi) {
    ScriptedPrompts prompts;
    std::optional<ChildProcess> editor = test::StartSlowEditor();
    ASSERT_TRUE(editor) << "cannot start " << test::TestEditorPath();
    ModalScript script({ModalScript::OnDialog(
        kProductName,
        [&](HWND progress) {
            FitCheck("backup progress window", dpi).Run(progress);
            Click(progress, TfrmBackupHint::kStopButton);
        },
        TfrmBackupHint::kStopButton)});
    TfrmBackupHint window({nullptr, *editor, "Backup registry...", &prompts});
    window.ShowModal();
    EXPECT_TRUE(script.Finished());
}

// The run of this program at one DPI.
void CheckEveryWindowAt(int dpi) {
    test::ScratchFolder folder;
    folder.CreateFolder(L"backup");
    const std::string darkSkin = SkinSourceOf(kDarkSkin).fileName;
    ASSERT_TRUE(::CopyFileA((ExecutableFolder() + "\\skins\\" + darkSkin).c_str(),
                            folder.Path(darkSkin).c_str(), FALSE));
    MainWindowUnderTest main(folder.Path());
    ASSERT_EQ(DpiOfWindow(main.Handle()), dpi) << "Wine did not take the DPI";
    // At 96 dpi the window has its design size; above it, it grows in proportion, unless the
    // screen is too small for that.
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{};
    ::GetWindowRect(main.Handle(), &frame);
    const RECT client = ClientOf(main.Handle());
    if (frame.bottom - frame.top < work.bottom - work.top) {
        EXPECT_EQ(client.right, ScaleToDpi(TfrmRegCleaner::kDesignClientWidth, dpi));
        EXPECT_EQ(client.bottom, ScaleToDpi(TfrmRegCleaner::kDesignClientHeight, dpi));
    }
    for (const int skin : {kFreshLookSkin, kDarkSkin}) {
        const std::string look = "skin " + std::to_string(skin);
        main.Command(static_cast<WORD>(command::kFirstSkin + skin));
        FitCheck("main window, " + look, dpi).Run(main.Handle());
        CheckDialogsOf(main, look, dpi);
    }
    CheckBackupProgressWindow(dpi);
}

// Sets Wine's DPI for the programs started after it, and puts the one before back at the end.
class LogPixelsSetting {
  public:
    LogPixelsSetting() {
        DWORD size = sizeof before_;
        had_ = ::RegGetValueA(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &before_,
                              &size) == ERROR_SUCCESS;
    }
    ~LogPixelsSetting() {
        if (had_)
            Set(static_cast<int>(before_));
        else
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, kValue);
    }
    LogPixelsSetting(const LogPixelsSetting&) = delete;
    LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;

    static void Set(int dpi) {
        const auto value = static_cast<DWORD>(dpi);
        ASSERT_EQ(
            ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &value, sizeof value),
            ERROR_SUCCESS);
    }

  private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    static constexpr const char* kValue = "LogPixels";
    DWORD before_ = 0;
    bool had_ = false;
};

TEST(WindowsAtEveryDpi, NoTextIsCutAndNoControlLiesOutsideItsWindow) {
    if (const char* dpi = std::getenv(kDpiUnderTest)) {
        CheckEveryWindowAt(std::atoi(dpi));
        return;
    }
    const test::ScratchFolder folder;
    const LogPixelsSetting restored;
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (const int dpi : {96, 144, 192}) {
        LogPixelsSetting::Set(dpi);
        ::SetEnvironmentVariableA(kDpiUnderTest, std::to_string(dpi).c_str());
        const test::ConsoleRun run =
            test::RunConsole("--gtest_filter=WindowsAtEveryDpi.*", folder, self);
        ::SetEnvironmentVariableA(kDpiUnderTest, nullptr);
        EXPECT_EQ(run.exitCode, 0u) << "at " << dpi << " dpi:\n" << run.out << run.err;
    }
}

}  // namespace
}  // namespace vantrel
