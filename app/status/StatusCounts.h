#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantrel {

// The two counts of the main window's status bar.
struct StatusCounts {
    size_t rows = 0;
    size_t ticked = 0;
};

// From the tick of every row of the results list, in any order.
StatusCounts CountStatus(const std::vector<bool>& rowTicks);

// Panel 0: " <rows> problems found"; panel 1: " <ticked> problems selected for repairing".
std::string FoundPanelText(const StatusCounts& counts);
std::string SelectedPanelText(const StatusCounts& counts);

}  // namespace vantrel
