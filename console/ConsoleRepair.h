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

// One run's repair: every round of it (see RepairToFixedPoint) goes into one backup file in
// `backupFolder` (made absolute; created with its parents when missing, and said so on
// `errors`). Messages go to `errors`; Finish prints the last line on `out`: the backup file's
// path, or "no backup file: nothing was exported".
class ConsoleRepair {
  public:
    ConsoleRepair(const std::string& backupFolder, std::FILE* out, std::FILE* errors);
    ConsoleRepair(const ConsoleRepair&) = delete;
    ConsoleRepair& operator=(const ConsoleRepair&) = delete;

    // False when the backup folder cannot be made.
    bool PrepareFolder();
    // Repairs every row (all of them ticked); the rows whose entries are gone now. After a
    // failure it repairs nothing more.
    std::vector<ScanIssue> Repair(const std::vector<ScanIssue>& issues);
    ConsoleRepairResult Finish();

  private:
    std::string folder_;
    std::string backupFileName_;
    std::FILE* out_;
    std::FILE* errors_;
    bool wrote_ = false;
    ConsoleRepairResult result_ = ConsoleRepairResult::AllRepaired;
};

}  // namespace vantrel
