// vantrel-scan: the scan engine without a window, for scripts, the demo and the tests.
#include <io.h>
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "console/ConsoleRepair.h"
#include "console/ConsoleScanSink.h"
#include "console/ConsoleSettings.h"
#include "console/ScanCommandLine.h"
#include "platform/win32/ExecutableFolder.h"
#include "platform/win32/ProcessElevation.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "repair/RepairRounds.h"
#include "scan/IgnoreFilteringSink.h"
#include "scan/IssueCollectingSink.h"
#include "scan/ScanTaskThread.h"

namespace {

constexpr int kExitNoProblems = 0;
constexpr int kExitProblems = 1;
constexpr int kExitError = 2;

// The rows the repair takes: "review" rows are the user's call, so only when asked for.
std::vector<vantrel::ScanIssue> RowsToRepair(const vantrel::ScanCommandLine& line,
                                             const std::vector<vantrel::ScanIssue>& found) {
    if (line.includeReview)
        return found;
    std::vector<vantrel::ScanIssue> rows;
    for (const vantrel::ScanIssue& issue : found) {
        if (issue.risk != vantrel::RowRisk::Review)
            rows.push_back(issue);
    }
    return rows;
}

void SayReviewRowsLeftAlone(size_t left) {
    if (left > 0)
        std::fprintf(stderr,
                     "vantrel-scan: left %zu row%s of risk \"review\" alone (--include-review "
                     "repairs them)\n",
                     left, left == 1 ? "" : "s");
}

// How many rounds the repair took, on stderr; and when it stopped before a scan found nothing
// new, that something may be left.
void ReportRounds(const vantrel::RepairRoundsResult& rounds) {
    std::fprintf(stderr, "vantrel-scan: repaired in %d round%s%s\n", rounds.rounds,
                 rounds.rounds == 1 ? "" : "s",
                 rounds.fixedPoint ? ""
                                   : ", the most one run makes; each found entries the one "
                                     "before it had left orphaned: scan again to see what is left");
}

// Keeps the rows of a scan after a repair: its rows are not printed, as the report of the first
// scan has ended.
class RoundCollector : public vantrel::SilentSink {
  public:
    void AddScanIssue(const vantrel::ScanIssue& issue) override { issues_.push_back(issue); }
    void ScanEndedEarly(const std::string& reason) override { earlyEnd_ = reason; }

    std::vector<vantrel::ScanIssue>& Issues() { return issues_; }
    const std::string& EarlyEnd() const { return earlyEnd_; }

  private:
    std::vector<vantrel::ScanIssue> issues_;
    std::string earlyEnd_;
};

// Everything a scan needs besides its checks and where its rows go.
struct ScanSetup {
    vantrel::Win32Registry registry;
    vantrel::Win32FileSystem files;
    vantrel::OptionsSetting settings;
    bool noIgnore = false;
};

void RunChecks(ScanSetup& setup, const std::vector<std::string>& checks,
               vantrel::ScanSink& reported) {
    const std::vector<std::string> none;
    const vantrel::IgnoreLists lists{setup.noIgnore ? none : setup.settings.IgnoreValueList,
                                     setup.noIgnore ? none : setup.settings.IgnoreKeyList};
    vantrel::IgnoreFilteringSink filter(reported, lists);
    vantrel::TScanTaskThread task(setup.registry, setup.files, vantrel::CurrentWindowsVersion(),
                                  filter);
    task.CheckList() = checks;
    task.Execute();
}

// Without rows there is nothing to back up or remove, and no backup folder is made. Each round
// repairs what the rounds before it left orphaned, into the same backup file.
int RepairFound(const vantrel::ScanCommandLine& line, ScanSetup& setup,
                const std::vector<vantrel::ScanIssue>& found) {
    if (RowsToRepair(line, found).empty()) {
        SayReviewRowsLeftAlone(found.size());
        std::printf("%s\n", vantrel::kNoBackupFileLine);
        return kExitProblems;
    }
    const std::string folder =
        line.backupDirectory.empty() ? setup.settings.OutputDirectory : line.backupDirectory;
    vantrel::ConsoleRepair repair(folder, stdout, stderr);
    if (!repair.PrepareFolder())
        return kExitError;
    bool scanEndedEarly = false;
    const auto scanAgain = [&](const std::vector<std::string>& checks) {
        RoundCollector collector;
        RunChecks(setup, checks, collector);
        if (!collector.EarlyEnd().empty()) {
            std::fprintf(stderr, "vantrel-scan: the scan after a repair stopped early: %s\n",
                         collector.EarlyEnd().c_str());
            scanEndedEarly = true;
            collector.Issues().clear();
        }
        return std::move(collector.Issues());
    };
    const auto repairRound = [&](const std::vector<vantrel::ScanIssue>& rows) {
        const std::vector<vantrel::ScanIssue> repairable = RowsToRepair(line, rows);
        SayReviewRowsLeftAlone(rows.size() - repairable.size());
        return repair.Repair(repairable);
    };
    const vantrel::RepairRoundsResult rounds =
        vantrel::RepairToFixedPoint(line.checks, found, scanAgain, repairRound);
    ReportRounds(rounds);
    const vantrel::ConsoleRepairResult result = repair.Finish();
    return result == vantrel::ConsoleRepairResult::AllRepaired && !scanEndedEarly ? kExitProblems
                                                                                  : kExitError;
}

int RunScan(const vantrel::ScanCommandLine& line) {
    ScanSetup setup;
    const bool progressOnTerminal = _isatty(_fileno(stderr)) != 0;
    vantrel::ConsoleScanSink sink(stdout, progressOnTerminal ? stderr : nullptr, line.json,
                                  line.reasons);
    vantrel::IssueCollectingSink collector(sink);
    setup.settings = vantrel::LoadConsoleSettings(vantrel::ExecutableFolder());
    setup.noIgnore = line.noIgnore;
    // The rows are kept only for a repair after the scan.
    vantrel::ScanSink& reported = line.repair ? static_cast<vantrel::ScanSink&>(collector) : sink;

    sink.BeginReport();
    RunChecks(setup, line.checks, reported);
    sink.EndReport();

    if (sink.EndedEarly()) {
        std::fprintf(stderr, "vantrel-scan: the scan stopped early: %s\n",
                     sink.EarlyEndReason().c_str());
        return kExitError;
    }
    if (sink.RowCount() == 0) {
        if (line.repair)
            std::printf("%s\n", vantrel::kNoBackupFileLine);
        return kExitNoProblems;
    }
    if (line.repair)
        return RepairFound(line, setup, collector.Issues());
    return kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto line = vantrel::ParseScanCommandLine(args, error);
    if (!line) {
        std::fputs(vantrel::UsageErrorText(error).c_str(), stderr);
        return kExitError;
    }
    if (line->help) {
        std::fputs(vantrel::ScanUsage().c_str(), stdout);
        return kExitNoProblems;
    }
    if (line->version) {
        std::fputs(vantrel::VersionText().c_str(), stdout);
        return kExitNoProblems;
    }
    // Without the rights, a repair would delete the current user's entries and fail on every
    // machine-wide one: it does neither.
    if (line->repair && !vantrel::IsProcessElevated()) {
        std::fputs(vantrel::RepairNeedsAdministratorText().c_str(), stderr);
        return kExitError;
    }
    // Shortcut resolution on the scan thread needs COM.
    const vantrel::ComInitializer com(COINIT_APARTMENTTHREADED);
    return RunScan(*line);
}
