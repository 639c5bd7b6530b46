#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BackupFile.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/RegistryAccess.h"
#include "scan/ScanIssue.h"

namespace vantrel {

// "0" and the number below 10, the number itself otherwise.
std::string TwoDigits(int number);

// The command's backup file: folder, a "\" unless it ends with one, "Backup", the time as
// YYYYMMDDhhmmss and ".reg" (Backup20261206210507.reg).
std::string BackupFileName(std::string_view folder, const BackupTime& time);

// Rows repaired per commit of the backup file (see RepairRows). A commit (FlushFileBuffers)
// costs milliseconds, many times what the rest of a row costs: a commit per row made a repair
// several times slower (vantrel-bench-repair), while 64 rows sharing one write and one commit
// repair no slower than rows written one by one without any commit.
constexpr size_t kRowsPerCommit = 64;
// A batch also ends once its backup blocks hold this many bytes: the blocks wait in memory
// until their write, and a key's subtree can be large.
constexpr size_t kBlockBytesPerCommit = 1 << 20;

// What repair works on: the live registry (full access: repair is the only writer), the disk
// as it is now (each row's entry is judged again on it, RowRecheck) and the command's backup
// file.
struct RepairContext {
    RegistrySource& registry;
    FileSystem& fileSystem;
    BackupFile& files;
    std::string backupFileName;
    size_t rowsPerCommit = kRowsPerCommit;  // 0 counts as 1
};

// One row of the results list as the Repair command sees it.
struct RepairRow {
    ScanIssue issue;
    bool ticked = false;
};

// Deletes the file of a kind-4 row through the shell, silently and without a backup; true when
// the file is gone afterwards (deleted, or not there).
using FileDeleter = std::function<bool(const std::string& path)>;

// What the loop did, filled in as it goes.
struct RepairTally {
    // Rows to take out of the list, in the order handled: from the last to the first.
    std::vector<size_t> removed;
    // Rows whose entry could not be removed (deletion or backup refused, a file the shell
    // could not delete): they stay in the list, unticked. Also from the last to the first.
    std::vector<size_t> notRemoved;
    // Rows whose entry their check no longer finds a problem, judged again just before its
    // backup: nothing of them is written or deleted. Also in `removed`, in its order.
    std::vector<size_t> noLongerProblems;

    // The rows of `removed` whose entry is gone now (deleted, or gone already): those not left
    // alone as no longer problems. From the last to the first.
    std::vector<size_t> Gone() const;
};

// The Repair command's loop over the rows, from the last to the first: unticked rows and rows
// whose key text has no "\" are passed over and stay as they are; every other row is first
// judged again by its check's rule (RowRecheck) and repaired by its RepairKind while it is
// still a problem; a row no longer a problem is removed untouched (noLongerProblems).
// A row is removed when its entry was deleted or is gone (or its root name
// maps to no root); it stays, to be unticked, when the registry refused the deletion or no
// faithful backup could be made. A protected key (IsProtectedKey: the root itself, a hive, a
// container Windows creates, a list the checks read) is never deleted: its row stays, and
// nothing of it is written.
// Write-ahead: the rows go in batches of context.rowsPerCommit (fewer when their blocks pass
// kBlockBytesPerCommit); each row's backup block is read from the registry as the row comes,
// and once per batch the blocks are appended to the backup file in one write and committed to
// the disk before the batch's entries are deleted, in the rows' order. No entry is deleted
// before its backup block is on the disk.
// A BackupFileError (or RegistryError) ends the loop and propagates. The rows of the batch
// before a row whose export raised it are first completed (written, committed, deleted),
// unless that fails too; `tally` then holds the rows completed, and that row, the rows above
// it and the rows of a batch that could not be written or committed are left as they were
// (their backup blocks may be in the file).
void RepairRows(const RepairContext& context, const std::vector<RepairRow>& rows,
                const FileDeleter& deleteFile, RepairTally& tally);

// "N entries could not be removed": the notice shown after a loop that left rows behind.
std::string NotRemovedNotice(size_t count);

// "N entries were left alone: they are no longer problems": shown after a loop whose re-tests
// kept rows.
std::string NoLongerProblemsNotice(size_t count);

// Creates a folder with all its missing parents; false when it cannot.
using FolderCreator = std::function<bool(const std::string& folder)>;

// The folder could not be created: "Cannot create " and the folder.
class RepairCommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The question asked when the backup folder is missing: the folder, ",", "The backup
// directory does not exist.", CR LF, "creates a new directory?".
std::string MissingBackupFolderQuestion(std::string_view folder);

// The first step of the Repair command: true when the backup folder exists or was created on
// the user's Yes; false on No (the command then ends with nothing changed). Raises
// RepairCommandError("Cannot create " + folder) when the creation fails.
bool EnsureBackupFolder(const std::string& folder, FileSystem& fileSystem, Prompts& prompts,
                        const FolderCreator& createFolder);

}  // namespace vantrel
