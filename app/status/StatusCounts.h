#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantrel {

// The two counts of the main window's status bar.
struct StatusCounts {
    size_t rows = 0;
    size_t ticked = 0;
    size_t review = 0;  // rows of risk "review"
};

// From the tick of every row of the results list, in any order, and the number of its rows of
// risk "review".
StatusCounts CountStatus(const std::vector<bool>& rowTicks, size_t reviewRows = 0);

// Panel 0: " <rows> problems found"; panel 1: " <ticked> problems selected for repairing".
std::string FoundPanelText(const StatusCounts& counts);
std::string SelectedPanelText(const StatusCounts& counts);
// Panel 2: " <review> of them to review", or nothing when there are none.
std::string ReviewPanelText(const StatusCounts& counts);

}  // namespace vantrel
