// vantrel-press-scan.exe (a test tool of scripts/screenshot, not shipped): drives a running
// Vantrel.exe from outside, so the program itself needs no command-line option for it.
//   scan   presses Scan in the main window (found by its caption) and returns once the scan
//          window is on screen (or the scan has already ended)
//   wait   returns once no scan window is left
//   skin N chooses "Change Skin" entry N (0 to 7) and returns once it is ticked
//   select selects the third row of the results list and the second node of the tree, so the
//          pictures show a selection
//   about  opens the about box and returns once it is on screen
//   ok     presses OK in the about box and returns once it is gone
//   close  closes the main window, which saves its settings
// Exit code 1 when a window does not appear or go within the wait.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/CommandIds.h"
#include "platform/ProductVersion.h"

namespace {

constexpr int kWaitMilliseconds = 120000;
constexpr int kPollMilliseconds = 50;

HWND MainWindow() {
    return ::FindWindowA("TfrmRegCleaner", vantrel::kMainWindowCaption);
}
HWND ScanWindow() {
    return ::FindWindowA("TfrmRegProgressHint", "Scanning");
}
HWND AboutBox() {
    return ::FindWindowA(nullptr, "About Vantrel");
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
    if (std::strcmp(mode, "skin") == 0 && argc > 2) {
        const int index = std::atoi(argv[2]);
        ::SendMessageA(MainWindow(), WM_COMMAND,
                       MAKEWPARAM(vantrel::command::kFirstSkin + index, 0), 0);
        return SkinTicked(index) ? 0 : 1;
    }
    if (std::strcmp(mode, "select") == 0) {
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
    if (std::strcmp(mode, "about") == 0) {
        ::PostMessageA(MainWindow(), WM_COMMAND, MAKEWPARAM(vantrel::command::kAbout, 0), 0);
        return WaitFor([] { return AboutBox() != nullptr; }) ? 0 : 1;
    }
    if (std::strcmp(mode, "ok") == 0) {
        ::PostMessageA(AboutBox(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return WaitFor([] { return AboutBox() == nullptr; }) ? 0 : 1;
    }
    if (std::strcmp(mode, "close") == 0) {
        ::PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
        return WaitFor([] { return MainWindow() == nullptr; }) ? 0 : 1;
    }
    return 2;
}
