#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "scan/ScanIssue.h"

namespace vantrel {

// The user's two ignore lists, in the order the options dialog shows them.
struct IgnoreLists {
    const std::vector<std::string>& values;
    const std::vector<std::string>& keys;
};

// Whether the ignore lists drop this row. A value row is dropped by an entry of the value list
// that equals its key text, "\" and value name (letter case of a to z ignored); a key row by an
// entry of either list that contains its key text. File rows, and rows that designate nothing,
// are never dropped.
bool IsIgnoredRow(const ScanIssue& row, const IgnoreLists& lists);

// The indexes of the rows to drop, from the last row to the first, so that removing them from
// a list in this order leaves the other indexes valid.
std::vector<size_t> IgnoredRowIndexes(const std::vector<ScanIssue>& rows, const IgnoreLists& lists);

// The rows the ignore lists keep, in their order.
std::vector<ScanIssue> ApplyIgnoreLists(const std::vector<ScanIssue>& rows,
                                        const IgnoreLists& lists);

}  // namespace vantrel
