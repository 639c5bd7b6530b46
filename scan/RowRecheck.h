#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/RegistryAccess.h"
#include "scan/ScanIssue.h"

namespace vantrel {

// Runs a row's own rule again on the one entry it designates, just before repair backs it up
// and deletes it: a scan may be an hour old, and what it found missing may be back. The rule
// sees the registry and the disk as they are now, through no cache of the scan's.
class RowRecheck {
  public:
    RowRecheck(RegistrySource& registry, FileSystem& files);

    // False when the row's entry is still there and its check would not report it now. A row
    // without a rule (RowEvidence), or whose entry is gone already, counts as still a problem:
    // repair then does what it does without the re-test. So does a rule the registry fails.
    bool StillAProblem(const ScanIssue& row);

  private:
    const std::string& FixedDriveLetters();

    RegistrySource& registry_;
    FileSystem& files_;
    // Asked once per repair, at the first rule run: two dozen questions, too many for each row.
    std::optional<std::string> fixedDriveLetters_;
};

}  // namespace vantrel
