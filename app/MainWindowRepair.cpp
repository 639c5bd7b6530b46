// TfrmRegCleaner's Repair command: every ticked row's entry is backed up into this command's
// REGEDIT4 file and then deleted; file rows copy their file into the backup and delete it.
#include <windows.h>

#include <exception>
#include <vector>

#include "app/MainWindow.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/Win32Shell.h"
#include "repair/Repair.h"
#include "repair/RepairRounds.h"
#include "repair/ShortcutCopies.h"

namespace vantrel {
namespace {

// The hourglass while the rows are repaired: thousands of rows take seconds, and the window
// answers nothing meanwhile.
class WaitCursor {
  public:
    WaitCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};

std::string CheckAgainFoundText(size_t count) {
    return "Check Again found " + std::to_string(count) +
           " new problems that the repair left orphaned; they are listed after the others.";
}

std::vector<ScanIssue> RowsAt(const ResultsList& list, const std::vector<size_t>& indexes) {
    std::vector<ScanIssue> rows;
    rows.reserve(indexes.size());
    for (const size_t index : indexes)
        rows.push_back(list.Row(static_cast<int>(index)));
    return rows;
}

std::vector<RepairRow> RepairRowsOf(const ResultsList& list) {
    std::vector<RepairRow> rows;
    rows.reserve(list.Rows().size());
    for (int index = 0; index < list.Count(); ++index)
        rows.push_back({list.Row(index), list.IsTicked(index)});
    return rows;
}

}  // namespace

void TfrmRegCleaner::RepairCommand() {
    const std::string& folder = options_.OutputDirectory;
    try {
        if (!EnsureBackupFolder(folder, args_.files, UserPrompts(), &CreateFolderWithParents))
            return;
    } catch (const RepairCommandError& error) {
        UserPrompts().ShowError(error.what());
        return;
    }
    if (lvRegistryData_.Count() == 0)
        return;

    backupFileName_ = BackupFileName(folder, LocalBackupTime());
    Win32BackupFile files;
    const RepairContext context{args_.registry, args_.files, files, backupFileName_};
    RepairTally tally;
    std::string failure;
    {
        const WaitCursor busy;
        try {
            RepairRows(context, RepairRowsOf(lvRegistryData_),
                       CopyingFileDeleter(files, backupFileName_, &ShellDeletedFile), tally);
        } catch (const std::exception& error) {
            // The row that raised it and the rows above it stay as they were.
            failure = error.what();
        }
    }

    const std::vector<std::string> checks = ChecksToScanAgain(
        checkList_.value_or(std::vector<std::string>{}), RowsAt(lvRegistryData_, tally.Gone()));
    // Both lists run from the last row to the first; the ticks go before the indexes shift.
    for (const size_t index : tally.notRemoved)
        lvRegistryData_.SetTicked(static_cast<int>(index), false);
    lvRegistryData_.RemoveRows(tally.removed);
    UpdateStatusCounts();
    if (!failure.empty())
        UserPrompts().ShowError(failure);
    if (!tally.notRemoved.empty())
        UserPrompts().ShowNotice(NotRemovedNotice(tally.notRemoved.size()));
    if (!tally.noLongerProblems.empty())
        UserPrompts().ShowNotice(NoLongerProblemsNotice(tally.noLongerProblems.size()));
    if (failure.empty() && !checks.empty() &&
        UserPrompts().AskYesNo(kCheckAgainQuestion, DefaultAnswer::Yes))
        CheckAgain(checks);
}

void TfrmRegCleaner::CheckAgain(const std::vector<std::string>& checks) {
    const size_t listed = lvRegistryData_.Rows().size();
    const ScanOutcome outcome = RunScanWindow(checks);
    // Rows the list holds already (left unticked, or not removed) are not found anew.
    lvRegistryData_.RemoveRows(RepeatedRowsLastFirst(lvRegistryData_.Rows(), listed));
    lvRegistryData_.TickSafeRows(listed);
    ApplyIgnoreLists();
    UpdateStatusCounts();
    const size_t found =
        lvRegistryData_.Rows().size() - std::min(listed, lvRegistryData_.Rows().size());
    std::string notice =
        found == 0 ? std::string(kCheckAgainFoundNothing) : CheckAgainFoundText(found);
    if (outcome.end == ScanOutcome::End::EndedEarly)
        notice = "The scan stopped early: " + outcome.reason + "\r\n" + notice;
    UserPrompts().ShowNotice(notice);
}

}  // namespace vantrel
