#include "console/ConsoleSettings.h"

#include <windows.h>

#include <string>

#include "platform/win32/ExecutableFolder.h"
#include "platform/win32/Win32IniFile.h"

namespace vantrel {
namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The settings are loaded without a window: there is nothing to place.
class NoOptionsWindow : public OptionsWindow {
  public:
    WindowRect Bounds() const override { return {}; }
    WindowRect RestoredBounds() const override { return {}; }
    void SetBounds(const WindowRect&) override {}
    ScreenSize Screen() const override { return {}; }
    std::vector<WindowRect> MonitorWorkAreas() const override { return {}; }
    std::optional<int> PlacementShowCommand() const override { return std::nullopt; }
    void SaveCategoryTicks(CategoryTickSet&) override {}
};

}  // namespace

OptionsSetting LoadConsoleSettings() {
    const std::string folder = ExecutableFolder();
    OptionsSetting options;
    options.OutputDirectory = DefaultOutputDirectory(folder);
    const std::string optionsPath = OptionsFilePath(folder);
    if (!FileExists(optionsPath))
        return options;
    const Win32IniFile ini(optionsPath);
    NoOptionsWindow window;
    LoadOptions(ini, folder, window, options);
    return options;
}

}  // namespace vantrel
