// vantrel-press-scan.exe (a test tool of scripts/screenshot, not shipped): drives a running
// Vantrel.exe from outside, so the program itself needs no command-line option for it.
//   scan          presses Scan in the main window (found by its caption) and returns once the
//                 scan window is on screen (or the scan has already ended)
//   wait          returns once no scan window is left
//   skin N        chooses "Change Skin" entry N (0 to 7) and returns once it is ticked
//   select        selects the third row of the results list and the second node of the tree,
//                 so the pictures show a selection
//   select-row N  selects row N (from 0) of the results list by its keys
//   about         opens the about box and returns once it is on screen
//   ok            presses OK in the about box and returns once it is gone
//   options       opens the options dialog
//   keys-page     shows the options dialog's "Keys" page
//   ignore-key T  presses Add in the options dialog and types T into the ignore-key dialog
//   restore       opens the restore dialog
//   restore-select selects the restore dialog's first row, which lists what that backup holds
//   restore-first restores the restore dialog's first row; returns once the backup progress
//                 window is on screen
//   stop          presses Stop in the backup progress window
//   cancel C      presses Cancel (or Close) in the dialog captioned C
//   help          presses F1 in the main window and returns once the help viewer is on screen
//   close-help    closes the help viewer and returns once it has gone
//   close         closes the main window, which saves its settings
// Exit code 1 when a window does not appear or go within the wait.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/CommandIds.h"
#include "dialogs/BackupProgressWindow.h"
#include "dialogs/IgnoreKeyDialog.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/RestoreDialog.h"
#include "platform/ProductVersion.h"

namespace {

using vantrel::TfrmBackupHint;
using vantrel::TfrmOptions;
using vantrel::TfrmRegAddRegistry;
using vantrel::TfrmRestore;

constexpr int kWaitMilliseconds = 120000;
constexpr int kPollMilliseconds = 50;

HWND MainWindow() {
    return ::FindWindowA("TfrmRegCleaner", vantrel::kMainWindowCaption);
}
HWND AboutBox() {
    return ::FindWindowA(nullptr, "About Vantrel");
}
HWND HelpViewer() {
    return ::FindWindowA(nullptr, "Vantrel Help");
}
HWND ScanWindow() {
    return ::FindWindowA("TfrmRegProgressHint", "Scanning");
}

// The visible dialog with this caption that has a control of this identifier (0: any).
HWND Dialog(const char* caption, int control = 0) {
    for (HWND found = ::FindWindowExA(nullptr, nullptr, "#32770", caption); found != nullptr;
         found = ::FindWindowExA(nullptr, found, "#32770", caption)) {
        if (::IsWindowVisible(found) && (control == 0 || ::GetDlgItem(found, control) != nullptr))
            return found;
    }
    return nullptr;
}
HWND OptionsDialog() {
    return Dialog(TfrmOptions::kCaption, TfrmOptions::kPages);
}
HWND RestoreDialog() {
    return Dialog(vantrel::kProductName, TfrmRestore::kOpenDirectory);
}
// The backup progress window shares its caption with the restore dialog: it has no Restore
// button.
HWND ProgressWindow() {
    HWND progress = Dialog(vantrel::kProductName, TfrmBackupHint::kStopButton);
    return progress != nullptr && ::GetDlgItem(progress, TfrmRestore::kOpenDirectory) == nullptr
               ? progress
               : nullptr;
}

bool SkinTicked(int index) {
    HMENU file = ::GetSubMenu(::GetMenu(MainWindow()), 0);
    HMENU skins = ::GetSubMenu(file, 3);
    ::SendMessageA(MainWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(skins), 0);
    return (::GetMenuState(skins, static_cast<UINT>(index), MF_BYPOSITION) & MF_CHECKED) != 0;
}

template <typename Condition>
bool WaitFor(Condition condition) {
    for (int waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        if (condition())
            return true;
        ::Sleep(kPollMilliseconds);
    }
    return false;
}

void PostCommand(HWND window, int command) {
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

int Press(const std::string& mode, const char* argument) {
    if (mode == "scan") {
        PostCommand(MainWindow(), vantrel::command::kScan);
        return WaitFor([] { return ScanWindow() != nullptr; }) ? 0 : 1;
    }
    if (mode == "wait")
        return WaitFor([] { return ScanWindow() == nullptr; }) ? 0 : 1;
    if (mode == "skin" && argument != nullptr) {
        const int index = std::atoi(argument);
        ::SendMessageA(MainWindow(), WM_COMMAND,
                       MAKEWPARAM(vantrel::command::kFirstSkin + index, 0), 0);
        return SkinTicked(index) ? 0 : 1;
    }
    if (mode == "select") {
        // The tree by a click on a caption; the list by its keys, as a click might land on a
        // row's box and tick it. Posted, so that nothing waits here for the window.
        HWND tree = ::GetDlgItem(MainWindow(), vantrel::control::kTree);
        ::PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 27));
        ::PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(70, 27));
        for (const int key : {VK_HOME, VK_DOWN, VK_DOWN})
            ::PostMessageA(::GetDlgItem(MainWindow(), vantrel::control::kResults), WM_KEYDOWN,
                           static_cast<WPARAM>(key), 0);
        return 0;
    }
    if (mode == "select-row") {
        const HWND list = ::GetDlgItem(MainWindow(), vantrel::control::kResults);
        ::PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
        for (int row = std::atoi(argument); row > 0; --row)
            ::PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
        return 0;
    }
    if (mode == "about") {
        PostCommand(MainWindow(), vantrel::command::kAbout);
        return WaitFor([] { return AboutBox() != nullptr; }) ? 0 : 1;
    }
    if (mode == "ok") {
        PostCommand(AboutBox(), IDOK);
        return WaitFor([] { return AboutBox() == nullptr; }) ? 0 : 1;
    }
    if (mode == "options") {
        PostCommand(MainWindow(), vantrel::command::kOptions);
        return WaitFor([] { return OptionsDialog() != nullptr; }) ? 0 : 1;
    }
    if (mode == "keys-page") {
        const HWND pages = ::GetDlgItem(OptionsDialog(), TfrmOptions::kPages);
        ::PostMessageA(pages, WM_KEYDOWN, VK_RIGHT, 0);
        return WaitFor([&] { return ::SendMessageA(pages, TCM_GETCURSEL, 0, 0) == 1; }) ? 0 : 1;
    }
    if (mode == "ignore-key") {
        PostCommand(OptionsDialog(), TfrmOptions::kAdd);
        if (!WaitFor([] { return Dialog(TfrmRegAddRegistry::kCaption) != nullptr; }))
            return 1;
        const HWND edit =
            ::GetDlgItem(Dialog(TfrmRegAddRegistry::kCaption), TfrmRegAddRegistry::kRegistryKey);
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argument));
        ::PostMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        return 0;
    }
    if (mode == "restore") {
        PostCommand(MainWindow(), vantrel::command::kRestore);
        return WaitFor([] { return RestoreDialog() != nullptr; }) ? 0 : 1;
    }
    if (mode == "restore-select") {
        ::PostMessageA(::GetDlgItem(RestoreDialog(), TfrmRestore::kFiles), WM_KEYDOWN, VK_HOME, 0);
        return 0;
    }
    if (mode == "restore-first") {
        ::PostMessageA(::GetDlgItem(RestoreDialog(), TfrmRestore::kFiles), WM_KEYDOWN, VK_HOME, 0);
        ::Sleep(200);
        PostCommand(RestoreDialog(), TfrmRestore::kRestore);
        return WaitFor([] { return ProgressWindow() != nullptr; }) ? 0 : 1;
    }
    if (mode == "stop") {
        PostCommand(ProgressWindow(), TfrmBackupHint::kStopButton);
        return WaitFor([] { return ProgressWindow() == nullptr; }) ? 0 : 1;
    }
    if (mode == "cancel") {
        const HWND dialog = Dialog(argument);
        PostCommand(dialog, IDCANCEL);
        return WaitFor([&] { return !::IsWindow(dialog); }) ? 0 : 1;
    }
    if (mode == "help") {
        // As the keyboard does: the main loop's accelerators turn the key into Help.
        ::PostMessageA(MainWindow(), WM_KEYDOWN, VK_F1, 0);
        return WaitFor([] { return HelpViewer() != nullptr; }) ? 0 : 1;
    }
    if (mode == "close-help") {
        ::PostMessageA(HelpViewer(), WM_CLOSE, 0, 0);
        return WaitFor([] { return HelpViewer() == nullptr; }) ? 0 : 1;
    }
    if (mode == "close") {
        ::PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
        return WaitFor([] { return MainWindow() == nullptr; }) ? 0 : 1;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "scan";
    const char* argument = argc > 2 ? argv[2] : "";
    if (!WaitFor([] { return MainWindow() != nullptr; }))
        return 1;
    return Press(mode, argument);
}
