// vantrel-press-scan.exe (a test tool of scripts/screenshot, not shipped): drives a running
// Vantrel.exe from outside, so the program itself needs no command-line option for it.
//   scan   presses Scan in the main window (found by its caption) and returns once the scan
//          window is on screen (or the scan has already ended)
//   wait   returns once no scan window is left
//   close  closes the main window, which saves its settings
//   help   presses F1 in the main window and returns once the help viewer is on screen
//   close-help  closes the help viewer and returns once it has gone
// Exit code 1 when a window does not appear or go within the wait.
#include <windows.h>

#include <cstring>

#include "app/CommandIds.h"
#include "platform/ProductVersion.h"

namespace {

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

template <typename Condition>
bool WaitFor(Condition condition) {
    for (int waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        if (condition())
            return true;
        ::Sleep(kPollMilliseconds);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "scan";
    if (!WaitFor([] { return MainWindow() != nullptr; }))
        return 1;
    if (std::strcmp(mode, "scan") == 0) {
        ::PostMessageA(MainWindow(), WM_COMMAND, MAKEWPARAM(vantrel::command::kScan, 0), 0);
        return WaitFor([] { return ScanWindow() != nullptr; }) ? 0 : 1;
    }
    if (std::strcmp(mode, "wait") == 0)
        return WaitFor([] { return ScanWindow() == nullptr; }) ? 0 : 1;
    if (std::strcmp(mode, "help") == 0) {
        // As the keyboard does: the main loop's accelerators turn the key into Help.
        ::PostMessageA(MainWindow(), WM_KEYDOWN, VK_F1, 0);
        return WaitFor([] { return HelpViewer() != nullptr; }) ? 0 : 1;
    }
    if (std::strcmp(mode, "close-help") == 0) {
        ::PostMessageA(HelpViewer(), WM_CLOSE, 0, 0);
        return WaitFor([] { return HelpViewer() == nullptr; }) ? 0 : 1;
    }
    if (std::strcmp(mode, "close") == 0) {
        ::PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
        return WaitFor([] { return MainWindow() == nullptr; }) ? 0 : 1;
    }
    return 2;
}
