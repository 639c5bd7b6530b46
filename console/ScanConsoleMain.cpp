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
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
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
    const size_t left = found.size() - rows.size();
    if (left > 0)
        std::fprintf(stderr,
                     "vantrel-scan: left %zu row%s of risk \"review\" alone (--include-review "
                     "repairs them)\n",
                     left, left == 1 ? "" : "s");
    return rows;
}

// Without rows there is nothing to back up or remove, and no backup folder is made.
int RepairFound(const vantrel::ScanCommandLine& line, const vantrel::OptionsSetting& settings,
                const std::vector<vantrel::ScanIssue>& found) {
    const std::vector<vantrel::ScanIssue> issues = RowsToRepair(line, found);
    if (issues.empty()) {
        std::printf("%s\n", vantrel::kNoBackupFileLine);
        return kExitProblems;
    }
    const std::string folder =
        line.backupDirectory.empty() ? settings.OutputDirectory : line.backupDirectory;
    const vantrel::ConsoleRepairResult result =
        vantrel::RepairAllRows(issues, folder, stdout, stderr);
    return result == vantrel::ConsoleRepairResult::AllRepaired ? kExitProblems : kExitError;
}

int RunScan(const vantrel::ScanCommandLine& line) {
    vantrel::Win32Registry registry;
    vantrel::Win32FileSystem files;
    const bool progressOnTerminal = _isatty(_fileno(stderr)) != 0;
    vantrel::ConsoleScanSink sink(stdout, progressOnTerminal ? stderr : nullptr, line.json,
                                  line.reasons);
    vantrel::IssueCollectingSink collector(sink);
    const vantrel::OptionsSetting settings =
        vantrel::LoadConsoleSettings(vantrel::ExecutableFolder());
    const std::vector<std::string> none;
    const vantrel::IgnoreLists lists{line.noIgnore ? none : settings.IgnoreValueList,
                                     line.noIgnore ? none : settings.IgnoreKeyList};
    // The rows are kept only for a repair after the scan.
    vantrel::ScanSink& reported = line.repair ? static_cast<vantrel::ScanSink&>(collector) : sink;
    vantrel::IgnoreFilteringSink filter(reported, lists);

    vantrel::TScanTaskThread task(registry, files, vantrel::CurrentWindowsVersion(), filter);
    task.CheckList() = line.checks;
    sink.BeginReport();
    task.Execute();
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
        return RepairFound(line, settings, collector.Issues());
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
    // Shortcut resolution on the scan thread needs COM.
    const vantrel::ComInitializer com(COINIT_APARTMENTTHREADED);
    return RunScan(*line);
}
