// The ignore filter over any rows and ignore entries: the rows it drops are exactly those
// IsIgnoredRow names, listed from the last to the first, and the rows it keeps are the others
// in their order; file rows and rows that name nothing are never dropped; an entry that names a
// row's value or key drops that row; and the letter case of a to z in the entries changes
// nothing.
//
// Input, one per line: "r K|KEY TEXT|VALUE TEXT" a row of RepairKind K (a digit; 6 to 9 are
// kinds this program does not know), "v ENTRY" an ignored value, "k ENTRY" an ignored key.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/IgnoreFilter.h"
#include "scan/RowTarget.h"
#include "tests/fuzz/FuzzSupport.h"

namespace vantrel {
namespace {

std::string Describe(const ScanIssue& row) {
    return fuzz::Quoted(row.keyText) + " " + fuzz::Quoted(row.valueText) + " kind " +
           std::to_string(static_cast<int>(row.kind));
}

std::optional<ScanIssue> RowOf(std::string_view line) {
    if (line.size() < 2 || line[0] < '0' || line[0] > '9' || line[1] != '|')
        return std::nullopt;
    const std::string_view rest = line.substr(2);
    const auto bar = rest.find('|');
    if (bar == std::string_view::npos)
        return std::nullopt;
    return ScanIssue{"Problem", std::string(rest.substr(0, bar)), std::string(rest.substr(bar + 1)),
                     static_cast<RepairKind>(line[0] - '0')};
}

void CheckIndexes(const std::vector<ScanIssue>& rows, const IgnoreLists& lists) {
    const std::vector<size_t> ignored = IgnoredRowIndexes(rows, lists);
    std::vector<ScanIssue> expectedKept;
    size_t next = 0;
    for (size_t index = rows.size(); index-- > 0;) {
        const bool dropped = IsIgnoredRow(rows[index], lists);
        const bool listed = next < ignored.size() && ignored[next] == index;
        if (dropped != listed)
            fuzz::Fail("IgnoredRowIndexes and IsIgnoredRow differ on " + Describe(rows[index]));
        if (listed)
            ++next;
    }
    if (next != ignored.size())
        fuzz::Fail("IgnoredRowIndexes lists rows out of order or twice");
    for (const ScanIssue& row : rows) {
        if (!IsIgnoredRow(row, lists))
            expectedKept.push_back(row);
    }
    if (!(ApplyIgnoreLists(rows, lists) == expectedKept))
        fuzz::Fail("ApplyIgnoreLists keeps other rows than IsIgnoredRow does");
}

void CheckRow(const ScanIssue& row, const IgnoreLists& lists, const IgnoreLists& upperLists) {
    const bool ignored = IsIgnoredRow(row, lists);
    if (IsIgnoredRow(row, upperLists) != ignored)
        fuzz::Fail("the letter case of the entries matters for " + Describe(row));
    const RowTarget target = RowTargetOf(row);
    if (target.kind == RowTarget::Kind::File || target.kind == RowTarget::Kind::Nothing) {
        if (ignored)
            fuzz::Fail("a row that names no registry entry is dropped: " + Describe(row));
        return;
    }
    // An entry naming exactly this row drops it.
    std::vector<std::string> values = lists.values;
    std::vector<std::string> keys = lists.keys;
    const std::string valueText = target.ValueText();
    if (!valueText.empty())
        values.push_back(ValueKeyText(target.rootName, target.keyPath, valueText));
    else
        keys.push_back(target.KeyText());
    if (!IsIgnoredRow(row, IgnoreLists{values, keys}))
        fuzz::Fail("an entry naming the row does not drop it: " + Describe(row));
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    std::vector<ScanIssue> rows;
    std::vector<std::string> values;
    std::vector<std::string> keys;
    for (const std::string_view line : fuzz::Lines(fuzz::AsText(data, size))) {
        if (line.size() < 2 || line[1] != ' ')
            continue;
        const std::string_view argument = line.substr(2);
        if (line[0] == 'r') {
            if (const auto row = RowOf(argument))
                rows.push_back(*row);
        } else if (line[0] == 'v') {
            values.emplace_back(argument);
        } else if (line[0] == 'k') {
            keys.emplace_back(argument);
        }
    }
    const IgnoreLists lists{values, keys};
    std::vector<std::string> upperValues;
    std::vector<std::string> upperKeys;
    for (const std::string& entry : values)
        upperValues.push_back(UpperAscii(entry));
    for (const std::string& entry : keys)
        upperKeys.push_back(UpperAscii(entry));
    const IgnoreLists upperLists{upperValues, upperKeys};
    const std::vector<std::string> none;
    for (const ScanIssue& row : rows) {
        if (IsIgnoredRow(row, IgnoreLists{none, none}))
            fuzz::Fail("empty lists drop " + Describe(row));
        CheckRow(row, lists, upperLists);
    }
    CheckIndexes(rows, lists);
    return 0;
}
