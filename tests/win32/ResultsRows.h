#pragma once

// Rows for a results list without a scan, put in the way the scan window puts its rows in:
// moved in, then shown.
#include <utility>
#include <vector>

#include "app/ResultsList.h"
#include "scan/ScanIssue.h"

namespace vantrel::test {

inline void ShowRows(ResultsList& list, std::vector<ScanIssue> rows) {
    std::vector<ScanIssue*> batch;
    for (ScanIssue& row : rows)
        batch.push_back(&row);
    list.MoveInQuietly(batch);
    list.ShowAppended();
}

inline void ShowRow(ResultsList& list, ScanIssue row) {
    ShowRows(list, {std::move(row)});
}

}  // namespace vantrel::test
