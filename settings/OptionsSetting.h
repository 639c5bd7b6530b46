#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "settings/WindowPosition.h"

namespace vantrel {

enum class WindowShowState { Normal, Maximized };

// Window show commands as the system reports a window's placement.
namespace showcommand {
constexpr int kNormal = 1;
constexpr int kMinimized = 2;
constexpr int kMaximized = 3;
constexpr int kMinimize = 6;
constexpr int kMinimizedNoActivate = 7;
}  // namespace showcommand

// The tick of each category tree node, by the node's image index: 1 the root, 2 "Files and
// Folders", 3 to 22 the checks.
class CategoryTickSet {
  public:
    static constexpr int kFirstIndex = 1;
    static constexpr int kLastIndex = 22;

    // Both throw std::out_of_range for an index outside 1 to 22.
    bool IsTicked(int imageIndex) const { return ticks_.at(Slot(imageIndex)); }
    void SetTicked(int imageIndex, bool ticked) { ticks_.at(Slot(imageIndex)) = ticked; }

  private:
    static size_t Slot(int imageIndex) { return static_cast<size_t>(imageIndex - kFirstIndex); }

    std::array<bool, kLastIndex - kFirstIndex + 1> ticks_{};
};

// Everything the user may change between runs. A record made here is blank (empty, unticked,
// zero); its defaults are those of DefaultOptions, which every load starts from.
struct OptionsSetting {
    std::string OutputDirectory;  // the backup folder
    bool DeleteBackupFile{};
    CategoryTickSet CategoryTicks;
    std::vector<std::string> IgnoreValueList;
    std::vector<std::string> IgnoreKeyList;
    WindowShowState WindowState{};
    int SkinIndex{};
};

// The main window as the settings load and save see it.
class OptionsWindow {
  public:
    virtual ~OptionsWindow() = default;
    // At load, the window's bounds as created from its design; at save, as shown now (the
    // maximized bounds when it is maximized).
    virtual WindowRect Bounds() const = 0;
    // The bounds the window returns to from minimized (its placement's normal position), in
    // screen pixels.
    virtual WindowRect RestoredBounds() const = 0;
    virtual void SetBounds(const WindowRect& bounds) = 0;
    // The primary screen, on which a window is centred.
    virtual ScreenSize Screen() const = 0;
    // The work area of every monitor.
    virtual std::vector<WindowRect> MonitorWorkAreas() const = 0;
    // The show command of the window's placement (see showcommand), or nullopt when the system
    // does not answer.
    virtual std::optional<int> PlacementShowCommand() const = 0;
    // Copies the category tree's current ticks into `ticks` (the tree walk in save mode).
    virtual void SaveCategoryTicks(CategoryTickSet& ticks) = 0;
};

// Lists longer than this are cut when loaded: a damaged Count must not make the load read or
// keep billions of empty entries.
constexpr int kMaxIgnoreEntries = 10000;

// "<folder>\options.ini" and "<folder>\backup" for the executable's folder, given with or
// without its trailing backslash.
std::string OptionsFilePath(std::string_view executableFolder);
std::string DefaultOutputDirectory(std::string_view executableFolder);

// The settings without an options.ini: the backup folder "backup" beside the executable, backup
// files deleted, every category ticked, no ignore entries, a normal window, skin 2.
OptionsSetting DefaultOptions(std::string_view executableFolder);

// Fills `options` from the file (every missing or unreadable key gives its default, a missing
// file gives DefaultOptions) and sets the window's bounds unless it is to open maximized. A stored
// position that lies off every screen is replaced by the stored size centred on the screen.
void LoadOptions(const IniFile& file, std::string_view executableFolder, OptionsWindow& window,
                 OptionsSetting& options);

// Writes every key of `options`, the tree's ticks and the window's placement, each at once and
// in a fixed order; a minimized window's bounds are those it returns to. Keys are never deleted.
// Throws IniWriteError ("Unable to write to <path>") at the first refused write; the keys written
// before it stay.
void SaveOptions(IniFile& file, OptionsWindow& window, OptionsSetting& options);

}  // namespace vantrel
