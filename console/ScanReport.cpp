#include "console/ScanReport.h"

#include <cstdio>

#include "platform/win32/AnsiText.h"

namespace vantrel {

namespace {

// Tabs and line breaks inside a field would break the one-row-per-line form.
std::string TsvField(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const wchar_t c : ToWide(text)) {
        if (c == L'"') {
            out += "\\\"";
        } else if (c == L'\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        }
    }
    return out + "\"";
}

}  // namespace

std::string FormatIssueTsv(const ScanIssue& issue, bool withReasons) {
    std::string line = TsvField(issue.problem) + '\t' + TsvField(issue.keyText) + '\t' +
                       TsvField(issue.valueText) + '\t' +
                       std::to_string(static_cast<int>(issue.kind));
    if (withReasons)
        line += '\t' + TsvField(issue.reason) + '\t' + RowRiskText(issue.risk);
    return line;
}

std::string FormatIssueJson(const ScanIssue& issue) {
    return "{\"problem\": " + JsonString(issue.problem) +
           ", \"key\": " + JsonString(issue.keyText) +
           ", \"value\": " + JsonString(issue.valueText) +
           ", \"kind\": " + std::to_string(static_cast<int>(issue.kind)) +
           ", \"reason\": " + JsonString(issue.reason) + ", \"risk\": \"" +
           RowRiskText(issue.risk) + "\"}";
}

}  // namespace vantrel
