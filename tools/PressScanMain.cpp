// vantrel-press-scan.exe (a test tool of scripts/screenshot, not shipped): drives a running
// Vantrel.exe from outside, so the program itself needs no command-line option for it.
//   scan          presses Scan in the main window (found by its caption) and returns once the
//                 scan window is on screen (or the scan has already ended)
//   wait          returns once no scan window is left
//   options       opens the options dialog
//   keys-page     shows the options dialog's "Keys" page
//   ignore-key T  presses Add in the options dialog and types T into the ignore-key dialog
//   restore       opens the restore dialog
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

#include <cstring>
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
