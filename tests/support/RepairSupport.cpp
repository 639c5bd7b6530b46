#include "tests/support/RepairSupport.h"

#include <string>

#include "platform/PathText.h"

namespace vantrel::test {

ExportResult ExportToFile(RegistrySource& registry, BackupFile& file, std::string_view filePath,
                          RootKey root, std::string_view keyPath, std::string_view valueName,
                          ExportScope scope) {
    std::string blocks;
    const ExportResult result = ExportToRegFile(registry, root, keyPath, valueName, scope, blocks);
    // Whatever the export added goes into the file, as a repair's batch writes it: a refused
    // export must have added nothing.
    if (!blocks.empty())
        AppendRegBlocks(file, filePath, blocks);
    return result;
}

RepairRow KeyRow(std::string_view rootName, std::string_view keyPath) {
    return RepairRow{ScanIssue{"Problem", KeyText(rootName, keyPath), "", RepairKind::DeleteKey},
                     true};
}

RepairRow ValueRow(std::string_view rootName, std::string_view keyPath,
                   std::string_view valueName) {
    return RepairRow{ScanIssue{"Problem", KeyText(rootName, keyPath), std::string(valueName),
                               RepairKind::DeleteNamedValue},
                     true};
}

RepairRow ShortcutRow(std::string_view path) {
    return RepairRow{
        ScanIssue{"Shortcut Issue", std::string(path), "", RepairKind::DeleteNamedFile}, true};
}

RepairTally RepairOne(const RepairContext& context, const RepairRow& row) {
    RepairTally tally;
    // The rows of these tests name registry entries, never a file.
    const FileDeleter noFile = [](const std::string&) { return false; };
    RepairRows(context, {row}, noFile, tally);
    return tally;
}

}  // namespace vantrel::test
