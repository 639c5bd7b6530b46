#pragma once

// The main window as the settings load and save see it: a design size, one screen with one or
// more monitors, the category tree's ticks and what the system says of its placement.
#include <optional>
#include <vector>

#include "settings/OptionsSetting.h"
#include "settings/WindowPosition.h"

namespace vantrel::test {

class FakeOptionsWindow : public OptionsWindow {
  public:
    static constexpr ScreenSize kScreen{1024, 768};
    static constexpr WindowRect kPrimaryWorkArea{0, 0, 1024, 740};
    // The design size of the main window as created, before the load moves it.
    static constexpr WindowRect kDesign{0, 0, 686, 548};

    WindowRect Bounds() const override { return bounds; }
    WindowRect RestoredBounds() const override { return restoredBounds; }
    void SetBounds(const WindowRect& newBounds) override {
        bounds = newBounds;
        ++setBoundsCalls;
    }
    ScreenSize Screen() const override { return kScreen; }
    std::vector<WindowRect> MonitorWorkAreas() const override { return workAreas; }
    std::optional<int> PlacementShowCommand() const override { return showCommand; }
    void SaveCategoryTicks(CategoryTickSet& ticks) override {
        for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex;
             ++index)
            ticks.SetTicked(index, treeTicks.IsTicked(index));
        ++treeWalks;
    }

    WindowRect bounds = kDesign;
    WindowRect restoredBounds = kDesign;
    // Not a braced list: mingw's GCC 12 then warns of an uninitialised copy where a test
    // makes a second window.
    std::vector<WindowRect> workAreas = std::vector<WindowRect>(1, kPrimaryWorkArea);
    std::optional<int> showCommand = showcommand::kNormal;
    CategoryTickSet treeTicks;
    int setBoundsCalls = 0;
    int treeWalks = 0;
};

}  // namespace vantrel::test
