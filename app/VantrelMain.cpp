// Vantrel.exe: the main window and its message loop. The program takes no command line.
#include <windows.h>

#include <commctrl.h>

#include <exception>

#include "app/MainWindow.h"
#include "platform/win32/ExecutableFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "settings/OptionsSetting.h"
#include "ui/ExceptionBarrier.h"

namespace {

int RunMainWindow(HINSTANCE instance) {
    using namespace vantrel;
    Win32Registry registry;
    Win32FileSystem files;
    const std::string folder = ExecutableFolder();
    TfrmRegCleaner window(MainWindowArgs{instance,
                                         registry,
                                         files,
                                         CurrentWindowsVersion(),
                                         folder,
                                         OptionsFilePath(folder),
                                         true,
                                         nullptr,
                                         {},
                                         nullptr,
                                         ""});
    window.Create();
    window.Show(SW_SHOWNORMAL);

    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (window.TranslateAccelerators(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS;
    ::InitCommonControlsEx(&controls);
    // The shell (help, home page) asks for COM on this thread.
    const vantrel::ComInitializer com(COINIT_APARTMENTTHREADED);
    // Only a failure to make the main window gets here; the window's own errors are shown by
    // its procedure and it stays usable.
    int exitCode = 1;
    vantrel::RunGuarded(nullptr, [&] { exitCode = RunMainWindow(instance); });
    return exitCode;
}
