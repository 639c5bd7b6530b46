#pragma once

#include <string>
#include <string_view>

#include "scan/ScanIssue.h"

namespace vantrel {

// One row as the console prints it: the four fields separated by tabs; with reasons, the row's
// reason and risk follow as two more.
std::string FormatIssueTsv(const ScanIssue& issue, bool withReasons = false);

// One row as a JSON object, its reason and risk included. Text is ANSI; every character outside
// ASCII is written as a \u escape of its UTF-16 unit, so the output is plain ASCII.
std::string FormatIssueJson(const ScanIssue& issue);

}  // namespace vantrel
