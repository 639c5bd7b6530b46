#include "app/status/RowDetails.h"

namespace vantrel {

std::string RowDetailsText(const ScanIssue* selected) {
    if (selected == nullptr)
        return "Select a problem to see why it is listed.";
    std::string text = "Why: " + (selected->reason.empty() ? selected->problem : selected->reason);
    text += ".    Risk: ";
    text += RowRiskText(selected->risk);
    if (selected->risk == RowRisk::Review)
        text += " (a setting of a program still installed, or a history entry: not ticked at "
                "first, repair it only if you know it is unused)";
    return text;
}

}  // namespace vantrel
