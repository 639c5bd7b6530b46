// Any bytes as "options.ini": the load neither crashes nor grows without bound (libFuzzer's
// memory limit; the ignore lists stop at their limit), and a load, a save into the same file
// and a second load give the same record and put the main window in the same place.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/MemoryIniFile.h"
#include "settings/OptionsSetting.h"
#include "tests/fuzz/FuzzSupport.h"

namespace vantrel {
namespace {

constexpr std::string_view kExeFolder = "C:\\Tools\\";
constexpr size_t kRoundTripEntries = 300;

// The main window as the settings see it: a design size, one screen, the tree holding the
// ticks the load gave it, and the show state the load asked for.
class FakeWindow : public OptionsWindow {
  public:
    explicit FakeWindow(const OptionsSetting& options) : options_(options) {}

    WindowRect Bounds() const override { return bounds_; }
    WindowRect RestoredBounds() const override { return bounds_; }
    void SetBounds(const WindowRect& bounds) override { bounds_ = bounds; }
    ScreenSize Screen() const override { return {1024, 768}; }
    std::vector<WindowRect> MonitorWorkAreas() const override { return {{0, 0, 1024, 740}}; }
    std::optional<int> PlacementShowCommand() const override {
        return options_.WindowState == WindowShowState::Maximized ? showcommand::kMaximized
                                                                  : showcommand::kNormal;
    }
    void SaveCategoryTicks(CategoryTickSet&) override {}

  private:
    const OptionsSetting& options_;
    WindowRect bounds_{0, 0, 686, 548};
};

std::string Describe(const OptionsSetting& o, const WindowRect& bounds) {
    std::string text = "OutputDirectory " + fuzz::Quoted(o.OutputDirectory) +
                       ", DeleteBackupFile " + std::to_string(o.DeleteBackupFile) + ", ticks ";
    for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex; ++index)
        text += o.CategoryTicks.IsTicked(index) ? "1" : "0";
    text += ", values";
    for (const std::string& entry : o.IgnoreValueList)
        text += " " + fuzz::Quoted(entry);
    text += ", keys";
    for (const std::string& entry : o.IgnoreKeyList)
        text += " " + fuzz::Quoted(entry);
    text += ", state " + std::to_string(static_cast<int>(o.WindowState)) + ", skin " +
            std::to_string(o.SkinIndex) + ", window " + std::to_string(bounds.left) + "," +
            std::to_string(bounds.top) + " " + std::to_string(bounds.width) + "x" +
            std::to_string(bounds.height);
    return text;
}

bool SameRecord(const OptionsSetting& a, const OptionsSetting& b) {
    for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex; ++index) {
        if (a.CategoryTicks.IsTicked(index) != b.CategoryTicks.IsTicked(index))
            return false;
    }
    return a.OutputDirectory == b.OutputDirectory && a.DeleteBackupFile == b.DeleteBackupFile &&
           a.IgnoreValueList == b.IgnoreValueList && a.IgnoreKeyList == b.IgnoreKeyList &&
           a.WindowState == b.WindowState && a.SkinIndex == b.SkinIndex;
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    MemoryIniFile file = MemoryIniFile::WithText(fuzz::AsText(data, size));

    OptionsSetting first;
    FakeWindow firstWindow(first);
    LoadOptions(file, kExeFolder, firstWindow, first);
    if (first.IgnoreValueList.size() > static_cast<size_t>(kMaxIgnoreEntries) ||
        first.IgnoreKeyList.size() > static_cast<size_t>(kMaxIgnoreEntries)) {
        fuzz::Fail("an ignore list longer than its limit");
    }

    // The memory file writes a key in time proportional to its lines, so a save of lists near
    // their limit takes minutes here; the round trip is checked for the lists of a user.
    if (first.IgnoreValueList.size() + first.IgnoreKeyList.size() > kRoundTripEntries)
        return 0;
    SaveOptions(file, firstWindow, first);
    OptionsSetting second;
    FakeWindow secondWindow(second);
    LoadOptions(file, kExeFolder, secondWindow, second);
    if (!SameRecord(first, second) || !(firstWindow.Bounds() == secondWindow.Bounds())) {
        fuzz::Fail("loaded " + Describe(first, firstWindow.Bounds()) + "; saved and loaded again " +
                   Describe(second, secondWindow.Bounds()));
    }
    return 0;
}
