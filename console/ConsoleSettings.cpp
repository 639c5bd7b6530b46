#include "console/ConsoleSettings.h"

#include <string>

#include "platform/win32/Win32IniFile.h"

namespace vantrel {
namespace {

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

OptionsSetting LoadConsoleSettings(std::string_view executableFolder) {
    // As the window does: a missing file gives every default.
    const Win32IniFile ini(OptionsFilePath(executableFolder));
    NoOptionsWindow window;
    OptionsSetting options;
    LoadOptions(ini, executableFolder, window, options);
    return options;
}

}  // namespace vantrel
