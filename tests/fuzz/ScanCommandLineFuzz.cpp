// The console companion's command line: any arguments parse without a crash into either a usage
// error with a message or a command line that holds together (every check a check number, a
// backup folder only with --repair), and that command line written out again as arguments
// parses to itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "console/ScanCommandLine.h"
#include "scan/CheckTable.h"
#include "tests/fuzz/FuzzSupport.h"

namespace vantrel {
namespace {

std::vector<std::string> Arguments(std::string_view text) {
    std::vector<std::string> args;
    while (!text.empty() && args.size() < 16) {
        const auto end = text.find('\0');
        args.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return args;
}

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i > 0 ? std::string(separator) : "") + items[i];
    return out;
}

std::string Describe(const std::vector<std::string>& args) {
    std::string out;
    for (const std::string& arg : args)
        out += " " + fuzz::Quoted(arg);
    return out;
}

std::vector<std::string> WrittenOut(const ScanCommandLine& line) {
    std::vector<std::string> args = {"--checks", Joined(line.checks, ",")};
    if (line.json)
        args.push_back("--json");
    if (line.noIgnore)
        args.push_back("--no-ignore");
    if (line.repair)
        args.push_back("--repair");
    if (!line.backupDirectory.empty()) {
        args.push_back("--backup-dir");
        args.push_back(line.backupDirectory);
    }
    if (line.help)
        args.push_back("--help");
    if (line.version)
        args.push_back("--version");
    return args;
}

bool Same(const ScanCommandLine& a, const ScanCommandLine& b) {
    return a.checks == b.checks && a.json == b.json && a.help == b.help && a.version == b.version &&
           a.repair == b.repair && a.backupDirectory == b.backupDirectory &&
           a.noIgnore == b.noIgnore;
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    const std::vector<std::string> args = Arguments(fuzz::AsText(data, size));
    std::string error;
    const auto line = ParseScanCommandLine(args, error);
    if (!line) {
        if (error.empty())
            fuzz::Fail("refused without a message:" + Describe(args));
        return 0;
    }
    if (line->checks.empty())
        fuzz::Fail("no check to run:" + Describe(args));
    for (const std::string& check : line->checks) {
        if (!ParseCheckId(check))
            fuzz::Fail("not a check number: " + fuzz::Quoted(check) + " from" + Describe(args));
    }
    if (!line->backupDirectory.empty() && !line->repair)
        fuzz::Fail("a backup folder without --repair:" + Describe(args));

    const std::vector<std::string> again = WrittenOut(*line);
    std::string againError;
    const auto reparsed = ParseScanCommandLine(again, againError);
    if (!reparsed || !Same(*line, *reparsed)) {
        fuzz::Fail("parsed from" + Describe(args) + ", written out as" + Describe(again) +
                   ", parsed again " + (reparsed ? "differently" : "as an error: " + againError));
    }
    return 0;
}
