#include "app/status/RowDetails.h"

namespace vantrel {

std::string RowDetailsText(const ScanIssue* selected) {
    if (selected == nullptr)
        return "Select a problem to see why it is listed.";
    // The risk first: a long reason is cut at the line's end.
    std::string text = "Risk: ";
    text += RowRiskText(selected->risk);
    if (selected->risk == RowRisk::Review)
        text += " (not ticked at first)";
    text += ".    Why: " + (selected->reason.empty() ? selected->problem : selected->reason) + ".";
    return text;
}

}  // namespace vantrel
