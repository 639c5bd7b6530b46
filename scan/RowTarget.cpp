#include "scan/RowTarget.h"

#include <string_view>

#include "platform/PathText.h"

namespace vantrel {

namespace {

constexpr std::string_view kDefaultValueText = "@";

void SplitLastSegment(std::string_view rest, RowTarget& target) {
    const auto lastSlash = rest.rfind('\\');
    if (lastSlash == std::string_view::npos) {
        // A value directly below the root.
        target.valueName = std::string(rest);
        return;
    }
    target.keyPath = std::string(rest.substr(0, lastSlash));
    target.valueName = std::string(rest.substr(lastSlash + 1));
}

}  // namespace

std::string RowTarget::KeyText() const {
    return keyPath.empty() ? rootName : vantrel::KeyText(rootName, keyPath);
}

std::string RowTarget::ValueText() const {
    return kind == Kind::DefaultValue ? std::string(kDefaultValueText) : valueName;
}

RowTarget RowTargetOf(const ScanIssue& row) {
    RowTarget target;
    const std::string_view keyText = row.keyText;
    const auto firstSlash = keyText.find('\\');
    if (firstSlash == std::string_view::npos)
        return target;
    target.rootName = std::string(keyText.substr(0, firstSlash));
    target.root = RootKeyFromName(target.rootName);
    const std::string_view rest = keyText.substr(firstSlash + 1);

    switch (row.kind) {
        case RepairKind::DeleteKey:
            target.kind = RowTarget::Kind::Key;
            target.keyPath = std::string(rest);
            break;
        case RepairKind::DeleteValueInKey:
            target.kind = RowTarget::Kind::Value;
            SplitLastSegment(rest, target);
            break;
        case RepairKind::DeleteNamedValue:
            target.kind = RowTarget::Kind::Value;
            target.keyPath = std::string(rest);
            target.valueName = row.valueText;
            break;
        case RepairKind::DeleteSubkey:
            target.kind = RowTarget::Kind::Key;
            target.keyPath = JoinKeyPath(rest, row.valueText);
            break;
        case RepairKind::DeleteNamedFile:
            target = RowTarget{};
            target.kind = RowTarget::Kind::File;
            target.filePath = row.keyText;
            break;
        case RepairKind::DeleteDefaultValue:
            target.kind = RowTarget::Kind::DefaultValue;
            target.keyPath = std::string(rest);
            break;
        default:
            // A kind this program does not know designates nothing.
            return RowTarget{};
    }
    return target;
}

}  // namespace vantrel
