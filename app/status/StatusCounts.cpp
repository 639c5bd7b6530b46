#include "app/status/StatusCounts.h"

#include <algorithm>

namespace vantrel {

StatusCounts CountStatus(const std::vector<bool>& rowTicks, size_t reviewRows) {
    StatusCounts counts;
    counts.review = reviewRows;
    counts.rows = rowTicks.size();
    counts.ticked = static_cast<size_t>(std::count(rowTicks.begin(), rowTicks.end(), true));
    return counts;
}

// Each text begins with a blank, which keeps it off the panel's edge.
std::string FoundPanelText(const StatusCounts& counts) {
    return " " + std::to_string(counts.rows) + " problems found";
}

std::string SelectedPanelText(const StatusCounts& counts) {
    return " " + std::to_string(counts.ticked) + " problems selected for repairing";
}

std::string ReviewPanelText(const StatusCounts& counts) {
    return counts.review == 0 ? "" : " " + std::to_string(counts.review) + " of them to review";
}

}  // namespace vantrel
