#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrel {

struct ScanCommandLine {
    std::vector<std::string> checks;  // CheckId texts, in the order given
    bool json = false;
    // --reasons: each TSV line also gives the row's reason and risk (JSON always does).
    bool reasons = false;
    bool help = false;
    bool version = false;
    // --repair: after the scan, back up and remove every row found.
    bool repair = false;
    // --include-review: the repair takes the "review" rows too.
    bool includeReview = false;
    // --backup-dir: the folder for the backup file; empty for the settings' backup folder.
    std::string backupDirectory;
    // --no-ignore: the ignore lists of the settings file drop no row.
    bool noIgnore = false;
};

// Parses the console companion's arguments; nullopt with `error` set on a usage error.
std::optional<ScanCommandLine> ParseScanCommandLine(const std::vector<std::string>& args,
                                                    std::string& error);

// The text of --help.
std::string ScanUsage();

// What a usage error prints: the error, and one line pointing at --help.
std::string UsageErrorText(const std::string& error);

// The text of --version: the program's name and version.
std::string VersionText();

// What --repair prints, and exits with 2 on, when the process has no administrator rights:
// before the scan, so that nothing is changed at all rather than one entry of two.
std::string RepairNeedsAdministratorText();

}  // namespace vantrel
