#include "repair/Repair.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "platform/PathText.h"
#include "platform/RootKey.h"
#include "platform/TextCase.h"
#include "repair/RegFileWriter.h"
#include "scan/ProtectedKeys.h"
#include "scan/RowRecheck.h"
#include "scan/RowTarget.h"

namespace vantrel {
namespace {

// How the repair of one key or value ended.
enum class RepairOutcome {
    Deleted,           // backed up, then deleted
    NotFound,          // gone already, or a root name that maps to no root: nothing written
    DeleteRefused,     // the registry refused the deletion (after the backup, if one was made)
    ExportRefused,     // no faithful backup could be made (see ExportResult): nothing deleted
    NoLongerAProblem,  // its check's rule, run again, finds nothing wrong: nothing written
};

std::unique_ptr<RegistryAccess> FullAccessAt(RegistrySource& registry, RootKey root) {
    auto access = registry.NewAccess();
    access->SetAccess(AccessMode::Full);
    access->SetRootKey(root);
    return access;
}

// A key or value whose backup block has been rendered and whose deletion waits until the block
// is written and committed to the disk.
class ExportedEntry {
  public:
    // The key at `path` below the accessor's root.
    static ExportedEntry Key(std::unique_ptr<RegistryAccess> rootAccess, std::string path) {
        return ExportedEntry(std::move(rootAccess), std::move(path), false);
    }
    // The value `name` of the accessor's open key.
    static ExportedEntry Value(std::unique_ptr<RegistryAccess> keyAccess, std::string name) {
        return ExportedEntry(std::move(keyAccess), std::move(name), true);
    }

    // A deletion the registry refuses counts as a refusal only while the entry is still there:
    // one that is gone was taken by an earlier row (through another root's view of the same
    // key, say), and its row goes.
    RepairOutcome Delete() {
        if (isValue_) {
            if (access_->DeleteValue(name_))
                return RepairOutcome::Deleted;
            return access_->ValueExists(name_) ? RepairOutcome::DeleteRefused
                                               : RepairOutcome::NotFound;
        }
        if (access_->DeleteKey(name_))
            return RepairOutcome::Deleted;
        return access_->KeyExists(name_) ? RepairOutcome::DeleteRefused : RepairOutcome::NotFound;
    }

  private:
    ExportedEntry(std::unique_ptr<RegistryAccess> access, std::string name, bool isValue)
        : access_(std::move(access)), name_(std::move(name)), isValue_(isValue) {}

    std::unique_ptr<RegistryAccess> access_;
    std::string name_;
    bool isValue_;
};

// The first step of repairing a key or value: its backup block rendered, or the outcome when
// there is nothing to delete.
struct PreparedEntry {
    RepairOutcome outcome = RepairOutcome::NotFound;  // when nothing was exported
    std::optional<ExportedEntry> exported;
};

PreparedEntry Settled(RepairOutcome outcome) {
    return PreparedEntry{outcome, std::nullopt};
}

PreparedEntry PrepareKey(const RepairContext& context, std::string_view rootName,
                         std::string_view keyPath, std::string& blocks) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return Settled(RepairOutcome::NotFound);
    // The export and the deletion must name the same key, so both go without the trailing "\".
    const std::string_view path = WithoutTrailingBackslash(keyPath);
    if (path.empty() || IsProtectedKey(root, path))
        return Settled(RepairOutcome::DeleteRefused);
    auto access = FullAccessAt(context.registry, root);
    if (!access->KeyExists(path))
        return Settled(RepairOutcome::NotFound);
    if (ExportToRegFile(context.registry, root, path, {}, ExportScope::WholeKey, blocks) !=
        ExportResult::Written) {
        return Settled(RepairOutcome::ExportRefused);
    }
    return PreparedEntry{RepairOutcome::NotFound,
                         ExportedEntry::Key(std::move(access), std::string(path))};
}

PreparedEntry PrepareValue(const RepairContext& context, std::string_view rootName,
                           std::string_view keyPath, std::string_view valueName,
                           std::string& blocks) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return Settled(RepairOutcome::NotFound);
    auto access = FullAccessAt(context.registry, root);
    if (!access->OpenKey(keyPath)) {
        // A key that is there but will not open for writing keeps its value: a refusal.
        return Settled(access->KeyExists(keyPath) ? RepairOutcome::DeleteRefused
                                                  : RepairOutcome::NotFound);
    }
    if (!access->ValueExists(valueName))
        return Settled(RepairOutcome::NotFound);
    if (ExportToRegFile(context.registry, root, keyPath, valueName, ExportScope::SingleValue,
                        blocks) != ExportResult::Written) {
        return Settled(RepairOutcome::ExportRefused);
    }
    return PreparedEntry{RepairOutcome::NotFound,
                         ExportedEntry::Value(std::move(access), std::string(valueName))};
}

// Write-ahead: the blocks are appended to the backup file and committed before anything that
// they back up is deleted.
void WriteAndCommit(const RepairContext& context, std::string_view blocks) {
    AppendRegBlocks(context.files, context.backupFileName, blocks);
    context.files.Commit(context.backupFileName);
}

// Where a registry row's entry lies, to tell whether two entries touch: a key with its
// subtree, or one value.
struct EntryPlace {
    RootKey root = RootKey::None;
    std::vector<std::string> keySegments;
    bool isValue = false;
    std::string valueName;
};

std::vector<std::string> KeySegments(std::string_view path) {
    std::vector<std::string> segments;
    while (!path.empty()) {
        const auto slash = path.find('\\');
        if (slash != 0)
            segments.emplace_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return segments;
}

std::optional<EntryPlace> PlaceOf(const RowTarget& target) {
    const RootKey root = RootKeyFromName(target.rootName);
    if (root == RootKey::None)
        return std::nullopt;
    switch (target.kind) {
        case RowTarget::Kind::Key:
            return EntryPlace{root, KeySegments(target.keyPath), false, {}};
        case RowTarget::Kind::Value:
            return EntryPlace{root, KeySegments(target.keyPath), true, target.valueName};
        case RowTarget::Kind::DefaultValue:
            return EntryPlace{root, KeySegments(target.keyPath), true, {}};
        case RowTarget::Kind::File:
        case RowTarget::Kind::Nothing:
            break;
    }
    return std::nullopt;
}

// The key `inner` is `outer` or lies in its subtree.
bool SameOrBelow(const std::vector<std::string>& inner, const std::vector<std::string>& outer) {
    if (inner.size() < outer.size())
        return false;
    for (size_t i = 0; i < outer.size(); ++i) {
        if (!EqualsIgnoreCase(inner[i], outer[i]))
            return false;
    }
    return true;
}

bool Touch(const EntryPlace& a, const EntryPlace& b) {
    if (a.root != b.root)
        return false;
    if (a.isValue && b.isValue) {
        return a.keySegments.size() == b.keySegments.size() &&
               SameOrBelow(a.keySegments, b.keySegments) &&
               EqualsIgnoreCase(a.valueName, b.valueName);
    }
    if (a.isValue)
        return SameOrBelow(a.keySegments, b.keySegments);
    if (b.isValue)
        return SameOrBelow(b.keySegments, a.keySegments);
    return SameOrBelow(a.keySegments, b.keySegments) || SameOrBelow(b.keySegments, a.keySegments);
}

bool StaysInList(RepairOutcome outcome) {
    return outcome == RepairOutcome::DeleteRefused || outcome == RepairOutcome::ExportRefused;
}

// The rows of one commit. Each row's backup block is rendered as the row is added; Complete
// appends the blocks to the file in one write, commits it and then deletes the rows' entries in
// the order they were added, so no entry goes before its backup block is on the disk. One write
// per batch also spares the file an open and a close per row. A row whose entry touches one still
// waiting for its deletion completes the batch first: within a batch no export sees an entry that
// an earlier row deletes, and each row finds the registry as a repair row by row would.
class RepairBatch {
  public:
    RepairBatch(const RepairContext& context, const FileDeleter& deleteFile, RepairTally& tally)
        : context_(context),
          deleteFile_(deleteFile),
          tally_(tally),
          recheck_(context.registry, context.fileSystem) {}

    void Add(size_t index, const ScanIssue& row) {
        const RowTarget target = RowTargetOf(row);
        std::optional<EntryPlace> place = PlaceOf(target);
        if (rows_.size() >= std::max<size_t>(context_.rowsPerCommit, 1) ||
            blocks_.size() >= kBlockBytesPerCommit || (place && TouchesAWaitingEntry(*place)))
            Complete();
        Row added{index, RepairOutcome::NotFound, std::nullopt, std::nullopt, std::nullopt};
        // Judged after the rows it touches are done, as a repair row by row would find it.
        if (!recheck_.StillAProblem(row)) {
            added.outcome = RepairOutcome::NoLongerAProblem;
            rows_.push_back(std::move(added));
            return;
        }
        switch (target.kind) {
            case RowTarget::Kind::Key:
                added.Take(PrepareKey(context_, target.rootName, target.keyPath, blocks_));
                break;
            case RowTarget::Kind::Value:
                added.Take(PrepareValue(context_, target.rootName, target.keyPath, target.valueName,
                                        blocks_));
                break;
            case RowTarget::Kind::DefaultValue:
                added.Take(PrepareValue(context_, target.rootName, target.keyPath, {}, blocks_));
                break;
            case RowTarget::Kind::File:
                added.filePath = target.filePath;
                break;
            case RowTarget::Kind::Nothing:
                // A kind this program does not know: nothing to do, and the row goes.
                break;
        }
        if (added.exported)
            added.place = std::move(place);
        rows_.push_back(std::move(added));
    }

    // Raises BackupFileError when the blocks cannot be written or committed: then none of the
    // batch's entries is deleted and its rows are left as they were.
    void Complete() {
        std::vector<Row> rows = std::move(rows_);
        std::string blocks = std::move(blocks_);
        rows_.clear();
        blocks_.clear();
        if (!blocks.empty())
            WriteAndCommit(context_, blocks);
        for (Row& row : rows) {
            const RepairOutcome outcome = row.Finish(deleteFile_);
            (StaysInList(outcome) ? tally_.notRemoved : tally_.removed).push_back(row.index);
            if (outcome == RepairOutcome::NoLongerAProblem)
                tally_.noLongerProblems.push_back(row.index);
        }
    }

    // After an error in a later row: the rows before it are completed if their commit works.
    // The error the caller passes on is the first one.
    void CompleteBeforeError() {
        try {
            Complete();
        } catch (...) {
            // Their entries stay, and so do their rows.
        }
    }

  private:
    struct Row {
        size_t index;
        RepairOutcome outcome;  // when nothing waits for deletion
        std::optional<ExportedEntry> exported;
        std::optional<std::string> filePath;
        std::optional<EntryPlace> place;  // of an exported entry

        void Take(PreparedEntry prepared) {
            outcome = prepared.outcome;
            exported = std::move(prepared.exported);
        }
        RepairOutcome Finish(const FileDeleter& deleteFile) {
            if (exported)
                return exported->Delete();
            if (filePath)
                return deleteFile(*filePath) ? RepairOutcome::Deleted
                                             : RepairOutcome::DeleteRefused;
            return outcome;
        }
    };

    bool TouchesAWaitingEntry(const EntryPlace& place) const {
        return std::any_of(rows_.begin(), rows_.end(),
                           [&](const Row& row) { return row.place && Touch(*row.place, place); });
    }

    const RepairContext& context_;
    const FileDeleter& deleteFile_;
    RepairTally& tally_;
    RowRecheck recheck_;
    std::vector<Row> rows_;
    std::string blocks_;  // the backup blocks of rows_, in their order
};

}  // namespace

std::vector<size_t> RepairTally::Gone() const {
    std::vector<bool> leftAlone;
    for (const size_t index : noLongerProblems) {
        if (index >= leftAlone.size())
            leftAlone.resize(index + 1, false);
        leftAlone[index] = true;
    }
    std::vector<size_t> gone;
    for (const size_t index : removed) {
        if (index >= leftAlone.size() || !leftAlone[index])
            gone.push_back(index);
    }
    return gone;
}

std::string TwoDigits(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

std::string BackupFileName(std::string_view folder, const BackupTime& time) {
    std::string name = WithTrailingBackslash(folder);
    name += "Backup" + std::to_string(time.year) + TwoDigits(time.month) + TwoDigits(time.day) +
            TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second) + ".reg";
    return name;
}

void RepairRows(const RepairContext& context, const std::vector<RepairRow>& rows,
                const FileDeleter& deleteFile, RepairTally& tally) {
    RepairBatch batch(context, deleteFile, tally);
    try {
        for (size_t index = rows.size(); index-- > 0;) {
            const RepairRow& row = rows[index];
            if (!row.ticked || row.issue.keyText.find('\\') == std::string::npos)
                continue;
            batch.Add(index, row.issue);
        }
    } catch (...) {
        batch.CompleteBeforeError();
        throw;
    }
    batch.Complete();
}

std::string NotRemovedNotice(size_t count) {
    return std::to_string(count) + " entries could not be removed";
}

std::string NoLongerProblemsNotice(size_t count) {
    return std::to_string(count) + " entries were left alone: they are no longer problems";
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
