#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "scan/ScanIssue.h"

namespace vantrel {

// One row as the console prints it: the four fields separated by tabs.
std::string FormatIssueTsv(const ScanIssue& issue);

// One row as a JSON object. Text is ANSI; toUtf16 converts it so that every character outside
// ASCII is written as a \u escape and the output is plain ASCII.
std::string FormatIssueJson(const ScanIssue& issue,
                            const std::function<std::u16string(std::string_view)>& toUtf16);

}  // namespace vantrel
