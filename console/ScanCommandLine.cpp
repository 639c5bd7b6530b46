#include "console/ScanCommandLine.h"

#include "platform/ProductVersion.h"

#include "scan/CheckTable.h"

namespace vantrel {

namespace {

// "3,4,6" into its ids; every entry must be a check's number.
bool ParseCheckList(const std::string& text, std::vector<std::string>& ids, std::string& error) {
    ids.clear();
    std::string::size_type start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const std::string entry =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!ParseCheckId(entry)) {
            error = "not a check number from 3 to 22: '" + entry + "'";
            return false;
        }
        ids.push_back(entry);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return true;
}

}  // namespace

std::optional<ScanCommandLine> ParseScanCommandLine(const std::vector<std::string>& args,
                                                    std::string& error) {
    ScanCommandLine line;
    // The window's order, so both list the same rows in the same order.
    line.checks = CheckIdsInTreeOrder();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--json") {
            line.json = true;
        } else if (arg == "--reasons") {
            line.reasons = true;
        } else if (arg == "--repair") {
            line.repair = true;
        } else if (arg == "--include-review") {
            line.includeReview = true;
        } else if (arg == "--no-ignore") {
            line.noIgnore = true;
        } else if (arg == "--backup-dir" || arg.rfind("--backup-dir=", 0) == 0) {
            if (arg == "--backup-dir") {
                if (i + 1 >= args.size()) {
                    error = "--backup-dir needs a folder";
                    return std::nullopt;
                }
                line.backupDirectory = args[++i];
            } else {
                line.backupDirectory = arg.substr(13);
            }
            if (line.backupDirectory.empty()) {
                error = "--backup-dir needs a folder";
                return std::nullopt;
            }
        } else if (arg == "--checks" || arg.rfind("--checks=", 0) == 0) {
            std::string list;
            if (arg == "--checks") {
                if (i + 1 >= args.size()) {
                    error = "--checks needs a list of check numbers";
                    return std::nullopt;
                }
                list = args[++i];
            } else {
                list = arg.substr(9);
            }
            if (!ParseCheckList(list, line.checks, error))
                return std::nullopt;
        } else {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    if (!line.backupDirectory.empty() && !line.repair) {
        error = "--backup-dir is used only with --repair";
        return std::nullopt;
    }
    if (line.includeReview && !line.repair) {
        error = "--include-review is used only with --repair";
        return std::nullopt;
    }
    return line;
}

std::string ScanUsage() {
    std::string usage =
        "Usage: vantrel-scan [--checks LIST] [--json | --reasons] [--no-ignore]\n"
        "                    [--repair [--include-review] [--backup-dir DIR]]\n"
        "                    [--help] [--version]\n"
        "\n"
        "Scans the registry for entries whose program, file, folder, class or key is gone,\n"
        "and prints one problem per line: problem, registry key, value and repair kind,\n"
        "separated by tabs. Nothing is changed unless --repair is given. Like the window,\n"
        "it leaves out the problems that the ignore lists of the options.ini beside this\n"
        "program name.\n"
        "\n"
        "  --checks LIST  the checks to run, as numbers separated by commas, in that order\n"
        "                 (default: all of them, in the order of the window's tree):\n";
    for (const CategoryNode* check : ChecksInIdOrder()) {
        const int number = check->Id().Number();
        const char* group = GroupCaptionOf(check->Id());
        usage += "                   " + std::to_string(number) + (number < 10 ? "  " : " ") +
                 check->treeCaption + (group ? std::string(" (") + group + ")" : "") + "\n";
    }
    usage +=
        "  --json         print the problems as a JSON array, one object per line; each\n"
        "                 object also holds the reason (what was tested and found) and the\n"
        "                 risk: \"safe\" (an orphan whose owner is gone) or \"review\" (a\n"
        "                 setting of a program still installed, or a history list entry)\n"
        "  --reasons      add the reason and the risk as two more tab-separated fields\n"
        "  --no-ignore    list every problem, whatever the ignore lists say\n"
        "  --repair       after the scan, repair every problem found: each registry key or\n"
        "                 value is first copied into the REGEDIT4 backup file of this run,\n"
        "                 BackupYYYYMMDDhhmmss.reg, then deleted; a missing shortcut file's\n"
        "                 row copies that file into the folder BackupYYYYMMDDhhmmss beside\n"
        "                 it (shortcuts.txt there names each copy's original path), then\n"
        "                 deletes it. A missing backup folder is created (and said so on\n"
        "                 stderr). The last line printed is the backup file's path, or\n"
        "                 \"no backup file: nothing was exported\". \"regedit /s FILE\"\n"
        "                 merges the backup file back; the window's Restore also puts the\n"
        "                 shortcut files back. Rows of risk \"review\" are left alone, and\n"
        "                 their number said on stderr.\n"
        "                 Deleting an entry can leave the key that held it empty: the\n"
        "                 categories that had repaired rows are scanned again, and what is\n"
        "                 new is repaired into the same backup file, until a scan finds\n"
        "                 nothing new (at most 5 rounds); stderr says how many it took.\n"
        "  --include-review  with --repair: repair the \"review\" rows too\n"
        "  --backup-dir DIR  the folder for the backup file (default: OutputDirectory of the\n"
        "                 options.ini beside this program, else the folder backup beside it)\n"
        "  --help         print this text\n"
        "  --version      print the version\n"
        "\n"
        "Administrator rights: a scan needs none. --repair deletes entries of the whole\n"
        "machine and needs them: run from a command prompt that was not started with \"Run\n"
        "as administrator\", it says so and exits with 2 before it scans or changes anything.\n"
        "\n"
        "Exit status: 0 no problems found; 1 problems found (with --repair: and all of them\n"
        "repaired, but for the \"review\" rows left alone); 2 error: the scan did not finish,\n"
        "the command line was wrong, --repair had no administrator rights, the backup folder\n"
        "or file could not be made or written, or (with --repair) some entries could not be\n"
        "removed.\n";
    return usage;
}

std::string UsageErrorText(const std::string& error) {
    return "vantrel-scan: " + error + "\nTry 'vantrel-scan --help' for more information.\n";
}

std::string VersionText() {
    return std::string("vantrel-scan (") + kProductName + ") " + kProductVersion + "\n";
}

std::string RepairNeedsAdministratorText() {
    return "vantrel-scan: --repair needs administrator rights, and this command prompt was not\n"
           "started with them: nothing was scanned or changed. Start the prompt with \"Run as\n"
           "administrator\" and run the command again.\n";
}

}  // namespace vantrel
