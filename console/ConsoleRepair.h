#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "scan/ScanIssue.h"

namespace vantrel {

// The last line of a repair that exported nothing.
constexpr const char* kNoBackupFileLine = "no backup file: nothing was exported";

// How a console repair ended, as the exit status reports it.
enum class ConsoleRepairResult {
    AllRepaired,     // every row's entry was removed (or was gone already)
    SomeNotRemoved,  // the registry refused a deletion, or no faithful backup could be made
    Failed,          // the backup folder or file could not be made or written, or a read failed
};

// Repairs every row (all of them ticked) into a backup file in `backupFolder` (made absolute;
// created with its parents when missing, and said so on `errors`). Messages go to `errors`;
// the last line on `out` is the backup file's path, or "no backup file: nothing was exported".
ConsoleRepairResult RepairAllRows(const std::vector<ScanIssue>& issues,
                                  const std::string& backupFolder, std::FILE* out,
                                  std::FILE* errors);

}  // namespace vantrel
