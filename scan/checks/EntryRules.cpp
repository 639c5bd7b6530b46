#include "scan/checks/EntryRules.h"

#include "scan/checks/CheckSupport.h"

namespace vantrel {

std::optional<std::string> ReadEntryText(const ScanContext& context, const RowTarget& target,
                                         std::string_view keyValueName) {
    const auto key = context.OpenRegistryKey(target.root, target.keyPath);
    if (!key)
        return std::nullopt;
    const std::string_view name =
        target.kind == RowTarget::Kind::Value ? std::string_view(target.valueName) : keyValueName;
    if (!IsStringValueType(key->GetDataType(name)))
        return std::nullopt;
    return key->ReadString(name);
}

bool EntryTextNamesMissingPath(ScanContext& context, const RowTarget& target,
                               const RowEvidence& evidence) {
    const std::optional<std::string> text = ReadEntryText(context, target);
    return text && context.IsMissingFilePath(target.keyPath, *text, evidence.fileName,
                                             evidence.allowDirectory);
}

}  // namespace vantrel
