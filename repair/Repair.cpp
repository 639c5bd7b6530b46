#include "repair/Repair.h"

#include <memory>

#include "platform/PathText.h"
#include "platform/RootKey.h"
#include "repair/RegFileWriter.h"
#include "scan/ProtectedKeys.h"
#include "scan/RowTarget.h"

namespace vantrel {
namespace {

std::unique_ptr<RegistryAccess> FullAccessAt(RegistrySource& registry, RootKey root) {
    auto access = registry.NewAccess();
    access->SetAccess(AccessMode::Full);
    access->SetRootKey(root);
    return access;
}

RepairOutcome RepairRowEntry(const RepairContext& context, const ScanIssue& row,
                             const FileDeleter& deleteFile) {
    const RowTarget target = RowTargetOf(row);
    switch (target.kind) {
        case RowTarget::Kind::Key:
            return RepairKey(context, target.rootName, target.keyPath);
        case RowTarget::Kind::Value:
            return RepairValue(context, target.rootName, target.keyPath, target.valueName);
        case RowTarget::Kind::DefaultValue:
            return RepairValue(context, target.rootName, target.keyPath, {});
        case RowTarget::Kind::File:
            return deleteFile(target.filePath) ? RepairOutcome::Deleted
                                               : RepairOutcome::DeleteRefused;
        case RowTarget::Kind::Nothing:
            break;
    }
    // A kind this program does not know: nothing to do, and the row goes.
    return RepairOutcome::NotFound;
}

bool StaysInList(RepairOutcome outcome) {
    return outcome == RepairOutcome::DeleteRefused || outcome == RepairOutcome::ExportRefused;
}

}  // namespace

std::string TwoDigits(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

std::string BackupFileName(std::string_view folder, const BackupTime& time) {
    std::string name = WithTrailingBackslash(folder);
    name += "Backup" + std::to_string(time.year) + TwoDigits(time.month) + TwoDigits(time.day) +
            TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second) + ".reg";
    return name;
}

RepairOutcome RepairKey(const RepairContext& context, std::string_view rootName,
                        std::string_view keyPath) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return RepairOutcome::NotFound;
    // The export and the deletion must name the same key, so both go without the trailing "\".
    const std::string_view path = WithoutTrailingBackslash(keyPath);
    if (path.empty() || IsProtectedKey(root, path))
        return RepairOutcome::DeleteRefused;
    const auto access = FullAccessAt(context.registry, root);
    if (!access->KeyExists(path))
        return RepairOutcome::NotFound;
    if (ExportToRegFile(context.registry, context.files, context.backupFileName, root, path, {},
                        ExportScope::WholeKey) != ExportResult::Written) {
        return RepairOutcome::ExportRefused;
    }
    return access->DeleteKey(path) ? RepairOutcome::Deleted : RepairOutcome::DeleteRefused;
}

RepairOutcome RepairValue(const RepairContext& context, std::string_view rootName,
                          std::string_view keyPath, std::string_view valueName) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return RepairOutcome::NotFound;
    const auto access = FullAccessAt(context.registry, root);
    if (!access->OpenKey(keyPath)) {
        // A key that is there but will not open for writing keeps its value: a refusal.
        return access->KeyExists(keyPath) ? RepairOutcome::DeleteRefused : RepairOutcome::NotFound;
    }
    if (!access->ValueExists(valueName))
        return RepairOutcome::NotFound;
    if (ExportToRegFile(context.registry, context.files, context.backupFileName, root, keyPath,
                        valueName, ExportScope::SingleValue) != ExportResult::Written) {
        return RepairOutcome::ExportRefused;
    }
    return access->DeleteValue(valueName) ? RepairOutcome::Deleted : RepairOutcome::DeleteRefused;
}

void RepairRows(const RepairContext& context, const std::vector<RepairRow>& rows,
                const FileDeleter& deleteFile, RepairTally& tally) {
    for (size_t index = rows.size(); index-- > 0;) {
        const RepairRow& row = rows[index];
        if (!row.ticked || row.issue.keyText.find('\\') == std::string::npos)
            continue;
        const RepairOutcome outcome = RepairRowEntry(context, row.issue, deleteFile);
        (StaysInList(outcome) ? tally.notRemoved : tally.removed).push_back(index);
    }
}

std::string NotRemovedNotice(size_t count) {
    return std::to_string(count) + " entries could not be removed";
}

std::string MissingBackupFolderQuestion(std::string_view folder) {
    return std::string(folder) +
           ",The backup directory does not exist.\r\ncreates a new directory?";
}

bool EnsureBackupFolder(const std::string& folder, FileSystem& fileSystem, Prompts& prompts,
                        const FolderCreator& createFolder) {
    if (fileSystem.DirectoryExists(folder))
        return true;
    if (!prompts.AskYesNo(MissingBackupFolderQuestion(folder)))
        return false;
    if (!createFolder(folder))
        throw RepairCommandError("Cannot create " + folder);
    return true;
}

}  // namespace vantrel
