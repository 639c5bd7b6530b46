#pragma once

// Drives the real main window in-process for the window tests: created with a settings file in
// a scratch folder and Wine's real registry, poked through the messages a user's actions send.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "platform/memory/RecordingShellOpener.h"
#include "platform/memory/ScriptedPrompts.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel::test {

// The tree node of the walk of HKEY_CURRENT_USER: the check's id is its image index.
constexpr int kFilesAndFoldersCurrentUser = 4;

inline void PumpMessages(std::chrono::milliseconds atLeast = std::chrono::milliseconds(0)) {
    const auto until = std::chrono::steady_clock::now() + atLeast;
    do {
        MSG message{};
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (atLeast.count() > 0)
            ::Sleep(5);
    } while (std::chrono::steady_clock::now() < until);
}

inline void EnsureCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS;
    ::InitCommonControlsEx(&controls);
}

// One main window over a settings file that outlives it, so a second window can read what the
// first one saved.
class MainWindowUnderTest {
  public:
    // `registryEditorPath` "" runs the system's registry editor.
    MainWindowUnderTest(const std::string& folder,
                        WindowsVersion windowsVersion = WindowsVersion::WindowsXp,
                        const std::string& registryEditorPath = "")
        : folder_(folder) {
        EnsureCommonControls();
        window_ = std::make_unique<TfrmRegCleaner>(MainWindowArgs{::GetModuleHandleA(nullptr),
                                                                  registry_,
                                                                  files_,
                                                                  windowsVersion,
                                                                  folder_,
                                                                  folder_ + "\\options.ini",
                                                                  false,
                                                                  &prompts_,
                                                                  {},
                                                                  &shell_,
                                                                  registryEditorPath});
        window_->Create();
        window_->Show(SW_SHOWNORMAL);
        PumpMessages();
    }
    ~MainWindowUnderTest() { Close(); }
    MainWindowUnderTest(const MainWindowUnderTest&) = delete;
    MainWindowUnderTest& operator=(const MainWindowUnderTest&) = delete;

    // Closes as the user would, which saves the settings.
    void Close() {
        if (window_ && window_->Handle() != nullptr)
            ::SendMessageA(window_->Handle(), WM_CLOSE, 0, 0);
        PumpMessages();
        window_.reset();
    }

    TfrmRegCleaner& Window() { return *window_; }
    HWND Handle() const { return window_->Handle(); }
    HWND Tree() const { return window_->Tree().Handle(); }
    HWND List() const { return window_->Results().Handle(); }
    // What the window asked and told the user, and the script of its answers: the window and
    // the windows it makes never show a real modal box here.
    ScriptedPrompts& Prompts() { return prompts_; }
    const std::vector<std::string>& Notices() const { return prompts_.Notices(); }
    const std::vector<std::string>& Errors() const { return prompts_.Errors(); }
    const std::vector<std::string>& Questions() const { return prompts_.Questions(); }
    // The answer to every question from now on (Yes unless set).
    void AnswerQuestions(bool yes) { prompts_.AnswerQuestions(yes); }
    // What the window and its dialogs handed to the shell: nothing is opened for real here.
    const std::vector<RecordingShellOpener::Opened>& Opened() const { return shell_.OpenedSoFar(); }

    void Command(WORD command) { ::SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }

    HTREEITEM Node(int imageIndex) const { return window_->Tree().FindByImageIndex(imageIndex); }
    int TickOf(int imageIndex) const { return window_->Tree().StateOf(Node(imageIndex)); }
    // Image indexes of the ticked nodes in display order.
    std::vector<int> TickedNodes() const {
        std::vector<int> ticked;
        for (const CategoryNode& node : CategoryTable()) {
            if (TickOf(node.imageIndex) == kTicked)
                ticked.push_back(node.imageIndex);
        }
        return ticked;
    }

    // TVM_GETITEMRECT takes the item in the rectangle it fills.
    RECT ItemTextRect(HTREEITEM item) const {
        RECT text{};
        std::memcpy(&text, &item, sizeof(item));
        EXPECT_TRUE(::SendMessageA(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
        return text;
    }

    // A left click on the node's box, found by the tree's own hit test.
    void ClickTick(int imageIndex) {
        const HTREEITEM item = Node(imageIndex);
        const RECT text = ItemTextRect(item);
        const int y = (text.top + text.bottom) / 2;
        for (int x = text.left - 1; x >= 0; --x) {
            TVHITTESTINFO hit{};
            hit.pt = POINT{x, y};
            ::SendMessageA(Tree(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.hItem == item && (hit.flags & TVHT_ONITEMSTATEICON) != 0) {
                ::SendMessageA(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
                ::SendMessageA(Tree(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
                return;
            }
        }
        FAIL() << "no state icon found for node " << imageIndex;
    }

    // A left click on the node's caption. The button-up is queued first: the tree waits for it
    // while it looks for the start of a drag.
    void ClickCaption(int imageIndex) {
        const RECT text = ItemTextRect(Node(imageIndex));
        const LPARAM at = MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
        ::PostMessageA(Tree(), WM_LBUTTONUP, 0, at);
        ::SendMessageA(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PumpMessages();
    }

    // Leaves exactly these nodes' leaves ticked: the root's box unticks everything first.
    void TickOnly(const std::vector<int>& imageIndexes) {
        if (TickOf(1) == kTicked)
            ClickTick(1);
        for (const int index : imageIndexes)
            ClickTick(index);
    }

    // Scans the current user's hive (or runs the check of `node`) and leaves ticked only the rows
    // below `keyText`; their indexes.
    std::vector<int> ScanAndTickOnlyRowsBelow(const std::string& keyText,
                                              int node = kFilesAndFoldersCurrentUser) {
        TickOnly({node});
        Command(command::kScan);
        Command(command::kSelectNone);
        std::vector<int> ours;
        ResultsList& results = window_->Results();
        for (int row = 0; row < results.Count(); ++row) {
            if (results.Row(row).keyText.rfind(keyText + "\\", 0) == 0) {
                results.SetTicked(row, true);
                ours.push_back(row);
            }
        }
        return ours;
    }

    int RowCount() const {
        return static_cast<int>(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
    }
    std::string CellText(int row, int column) const {
        char buffer[1024] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        ::SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    bool IsRowTicked(int row) const {
        const auto state = static_cast<UINT>(::SendMessageA(
            List(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
        return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
    std::vector<bool> RowTicks() const {
        std::vector<bool> ticks;
        for (int row = 0; row < RowCount(); ++row)
            ticks.push_back(IsRowTicked(row));
        return ticks;
    }
    void SelectRow(int row) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
    std::string StatusText(int panel) const {
        char buffer[256] = {};
        ::SendMessageA(window_->StatusBar(), SB_GETTEXTA, static_cast<WPARAM>(panel),
                       reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

  private:
    std::string folder_;
    Win32Registry registry_;
    Win32FileSystem files_;
    ScriptedPrompts prompts_;
    RecordingShellOpener shell_;
    std::unique_ptr<TfrmRegCleaner> window_;
};

// Runs `action` on this thread every `interval` while a modal loop (or any loop) pumps messages.
class RepeatingTimer {
  public:
    RepeatingTimer(UINT interval, std::function<void()> action) : action_(std::move(action)) {
        Current() = this;
        id_ = ::SetTimer(nullptr, 0, interval, &RepeatingTimer::Fire);
    }
    ~RepeatingTimer() {
        ::KillTimer(nullptr, id_);
        Current() = nullptr;
    }
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

  private:
    // Thread timers carry no user data; the tests run one at a time per thread.
    static RepeatingTimer*& Current() {
        thread_local RepeatingTimer* current = nullptr;
        return current;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
        if (Current() != nullptr)
            Current()->action_();
    }

    std::function<void()> action_;
    UINT_PTR id_ = 0;
};

// A main window over the settings of a scratch folder of its own, made when first asked for, so
// a test may write settings first.
class FreshMainWindow : public ::testing::Test {
  protected:
    MainWindowUnderTest& Main() {
        if (!main_)
            main_ = std::make_unique<MainWindowUnderTest>(folder_.Path());
        return *main_;
    }

    ScratchFolder folder_;
    std::unique_ptr<MainWindowUnderTest> main_;
};

// Values naming missing programs in every form the backup writes (text and expandable text),
// one of them below a subkey, and one value that is fine.
inline void SeedMissingPrograms(ScratchKey& key) {
    key.SetString(L"MissingTool", L"C:\\vantrel-missing\\tool.exe");
    key.SetString(L"MissingExpand", L"%SystemDrive%\\vantrel-missing\\x.exe", REG_EXPAND_SZ);
    key.SetString(L"Present", L"C:\\windows\\notepad.exe");
    key.CreateKey(L"Sub");
    key.SetValue(L"Deep", REG_SZ, WideBytes(std::wstring(L"C:\\vantrel-gone\\deep.dll") + L'\0'),
                 L"Sub");
}

}  // namespace vantrel::test
