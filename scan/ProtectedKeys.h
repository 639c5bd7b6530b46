#pragma once

#include <string_view>

#include "platform/RootKey.h"
#include "scan/ScanIssue.h"

namespace vantrel {

// Keys that a scan never reports and repair never deletes, whatever they hold: a hive's root
// and the keys Windows creates at its top, the containers it creates under Software, and the
// lists the checks read their entries from. An empty one is no sign of a removed program, and
// programs expect to find them. The 32-bit view's twins (below Wow6432Node) count alike.
bool IsProtectedKey(RootKey root, std::string_view keyPath);

// True for a row whose repair would delete a protected key (RepairKind 0 and 3).
bool IsProtectedRow(const ScanIssue& row);

}  // namespace vantrel
