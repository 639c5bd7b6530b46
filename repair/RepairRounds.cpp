#include "repair/RepairRounds.h"

#include <algorithm>

#include "scan/CheckTable.h"

namespace vantrel {
namespace {

// The four texts, each ended by a character no text holds.
std::string IdentityOf(const ScanIssue& row) {
    std::string identity;
    identity.reserve(row.problem.size() + row.keyText.size() + row.valueText.size() + 8);
    identity += row.problem;
    identity += '\0';
    identity += row.keyText;
    identity += '\0';
    identity += row.valueText;
    identity += '\0';
    identity += std::to_string(static_cast<int>(row.kind));
    return identity;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The checks whose problem caption one of the rows carries.
bool RepairedARowOf(const CategoryNode& check, const std::vector<ScanIssue>& repairedRows) {
    return std::any_of(repairedRows.begin(), repairedRows.end(),
                       [&](const ScanIssue& row) { return row.problem == check.problemCaption; });
}

constexpr CheckId kObsoleteSoftware{14};

}  // namespace

bool RowsSeen::Remember(const ScanIssue& row) {
    return identities_.insert(IdentityOf(row)).second;
}

std::vector<size_t> RepeatedRowsLastFirst(const std::vector<ScanIssue>& rows, size_t firstNew) {
    RowsSeen seen;
    std::vector<size_t> repeated;
    for (size_t index = 0; index < rows.size(); ++index) {
        if (!seen.Remember(rows[index]) && index >= firstNew)
            repeated.push_back(index);
    }
    std::reverse(repeated.begin(), repeated.end());
    return repeated;
}

std::vector<std::string> ChecksToScanAgain(const std::vector<std::string>& scanned,
                                           const std::vector<ScanIssue>& repairedRows) {
    std::vector<std::string> again;
    if (repairedRows.empty())
        return again;
    for (const std::string& text : scanned) {
        const std::optional<CheckId> id = ParseCheckId(text);
        const CategoryNode* check = id ? FindCheck(*id) : nullptr;
        if (check != nullptr && !Contains(again, text) &&
            (*id == kObsoleteSoftware || RepairedARowOf(*check, repairedRows)))
            again.push_back(text);
    }
    return again;
}

RepairRoundsResult RepairToFixedPoint(const std::vector<std::string>& scanned,
                                      const std::vector<ScanIssue>& found, const RoundScan& scan,
                                      const RoundRepair& repair) {
    RowsSeen seen;
    for (const ScanIssue& row : found)
        seen.Remember(row);
    RepairRoundsResult result;
    std::vector<ScanIssue> rows = found;
    while (true) {
        const std::vector<ScanIssue> repaired = repair(rows);
        ++result.rounds;
        const std::vector<std::string> again = ChecksToScanAgain(scanned, repaired);
        if (again.empty()) {
            result.fixedPoint = true;
            return result;
        }
        if (result.rounds >= kMostRepairRounds)
            return result;
        rows.clear();
        for (ScanIssue& row : scan(again)) {
            if (seen.Remember(row))
                rows.push_back(std::move(row));
        }
        if (rows.empty()) {
            result.fixedPoint = true;
            return result;
        }
    }
}

}  // namespace vantrel
