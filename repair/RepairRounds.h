#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "scan/ScanIssue.h"

namespace vantrel {

// The most repairs one run makes: deleting an entry can leave the key that held it empty, and
// the next scan reports that key, but a chain longer than this is no leftover of one program.
constexpr int kMostRepairRounds = 5;

// The rows met so far, by what makes a row the same row (its four texts).
class RowsSeen {
  public:
    // True when the row was not met before; it is remembered now.
    bool Remember(const ScanIssue& row);

  private:
    std::unordered_set<std::string> identities_;
};

// The rows at `firstNew` and after it that repeat a row before them, from the last to the first
// (the order the results list removes rows in).
std::vector<size_t> RepeatedRowsLastFirst(const std::vector<ScanIssue>& rows, size_t firstNew);

// The checks of `scanned` (CheckId texts) a scan after a repair runs, in their order: those
// whose rows were repaired, and Obsolete Software, which judges the keys those deletions may
// have emptied. None when nothing was repaired.
std::vector<std::string> ChecksToScanAgain(const std::vector<std::string>& scanned,
                                           const std::vector<ScanIssue>& repairedRows);

// Scans again; the rows found, in the scan's order.
using RoundScan = std::function<std::vector<ScanIssue>(const std::vector<std::string>& checks)>;
// Repairs rows and gives those whose entries are gone now.
using RoundRepair = std::function<std::vector<ScanIssue>(const std::vector<ScanIssue>& rows)>;

struct RepairRoundsResult {
    int rounds = 0;           // repairs made
    bool fixedPoint = false;  // the last scan found nothing new (or nothing was repaired)
};

// Repairs `found` (the rows of a scan of `scanned`), then scans again the checks that had
// repaired rows (ChecksToScanAgain) and repairs what no earlier round met, until a scan finds
// nothing new or a round repairs nothing, in at most kMostRepairRounds repairs. A row met
// before (left alone, not removed) is never new.
RepairRoundsResult RepairToFixedPoint(const std::vector<std::string>& scanned,
                                      const std::vector<ScanIssue>& found, const RoundScan& scan,
                                      const RoundRepair& repair);

}  // namespace vantrel
