#include "scan/IgnoreFilter.h"

#include <algorithm>
#include <string_view>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/RowTarget.h"

namespace vantrel {

namespace {

bool AnyEntryEquals(const std::vector<std::string>& entries, std::string_view text) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const std::string& entry) { return EqualsIgnoreCase(entry, text); });
}

// The entry holds the key text somewhere inside it, not the other way round: an ignored key
// also protects every key above it, whose deletion would take the ignored one with it.
bool AnyEntryContains(const std::vector<std::string>& entries, std::string_view keyText) {
    return std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
        return FindIgnoreCase(entry, keyText) != std::string_view::npos;
    });
}

}  // namespace

bool IsIgnoredRow(const ScanIssue& row, const IgnoreLists& lists) {
    // Nothing to compare with: the row's target is not worked out for nothing.
    if (lists.values.empty() && lists.keys.empty())
        return false;
    const RowTarget target = RowTargetOf(row);
    if (target.kind == RowTarget::Kind::Nothing || target.kind == RowTarget::Kind::File)
        return false;
    const std::string valueText = target.ValueText();
    // A value row without a value name is tested as a key row.
    if (!valueText.empty())
        return AnyEntryEquals(lists.values,
                              ValueKeyText(target.rootName, target.keyPath, valueText));
    const std::string keyText = target.KeyText();
    return AnyEntryContains(lists.values, keyText) || AnyEntryContains(lists.keys, keyText);
}

std::vector<size_t> IgnoredRowIndexes(const std::vector<ScanIssue>& rows,
                                      const IgnoreLists& lists) {
    std::vector<size_t> ignored;
    for (size_t index = rows.size(); index-- > 0;) {
        if (IsIgnoredRow(rows[index], lists))
            ignored.push_back(index);
    }
    return ignored;
}

std::vector<ScanIssue> ApplyIgnoreLists(const std::vector<ScanIssue>& rows,
                                        const IgnoreLists& lists) {
    std::vector<ScanIssue> kept;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept),
                 [&](const ScanIssue& row) { return !IsIgnoredRow(row, lists); });
    return kept;
}

}  // namespace vantrel
