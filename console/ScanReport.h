#pragma once

#include <string>
#include <string_view>

#include "scan/ScanIssue.h"

namespace vantrel {

// One row as the console prints it: the four fields separated by tabs.
std::string FormatIssueTsv(const ScanIssue& issue);

// One row as a JSON object. Text is ANSI; every character outside ASCII is written as a \u
// escape of its UTF-16 unit, so the output is plain ASCII.
std::string FormatIssueJson(const ScanIssue& issue);

}  // namespace vantrel
