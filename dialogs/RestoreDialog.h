#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/BackupFile.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/RegistryAccess.h"
#include "platform/ShellOpener.h"
#include "repair/RestoreCheck.h"
#include "settings/OptionsSetting.h"
#include "ui/BoundDialog.h"

namespace vantrel {

struct RestoreDialogArgs {
    HWND owner;
    const OptionsSetting& options;  // the backup folder to start in; whether to delete
    FileSystem& files;              // lists the folder
    RegistrySource& registry;       // checked against a restored backup
    BackupFile& backups;            // reads a restored backup back
    std::string editorPath;         // the registry editor that merges a backup
    Prompts* prompts;               // injected prompts; nullptr for the dialog's own boxes
    ShellOpener* shell;             // injected shell; nullptr for the real one
};

// TfrmRestore: the ".reg" files of a folder, newest backup first, with their date and size, and
// under them the keys and values of the selected backup, each with where it stands in the
// registry now. Restore merges the selected file with the registry editor and puts its shortcut
// copies back, or, when entries are ticked, merges a file of those entries alone; a notice then
// says what came back. With DeleteBackupFile set a wholly restored file is deleted afterwards,
// but only once every key and value of it is back in the registry and every shortcut in its
// place.
// "..." lists another folder without changing the settings' backup folder.
class TfrmRestore : public BoundDialog {
  public:
    static constexpr const char* kHelpPage = "restore.html";  // F1
    static constexpr const char* kBrowsePrompt = "Please select the directory to add";
    static constexpr int kFolder = 101;
    static constexpr int kBrowseFolder = 102;
    static constexpr int kFiles = 103;
    static constexpr int kRestore = 104;
    static constexpr int kOpenDirectory = 105;
    static constexpr int kDelete = 106;
    static constexpr int kEntries = 107;
    // A backup larger than this is not listed entry by entry: reading it would hold the dialog
    // up, and the registry editor's full exports run to hundreds of megabytes.
    static constexpr uint64_t kLargestListedBackup = 16u << 20;
    static constexpr const char* kTooLargeToList = "Too large to list";
    static constexpr const char* kTooLargeToCompare =
        "It is too large to be read back here; check it with the registry editor.";

    explicit TfrmRestore(RestoreDialogArgs args);

    INT_PTR ShowModal();

    // The dialog procedure's side (see BoundDialogProc).
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnInitDialog();
    HWND FilesList() const { return ::GetDlgItem(dialog_, kFiles); }
    void ShowFolder(const std::string& folder);
    void ListBackupFiles();
    std::optional<int> SelectedRow() const;
    std::string RowFile(int row) const;
    // aRestoreUpdate: Restore and Delete need a selected row.
    void UpdateActions();
    void OnBrowseFolder();
    void OnOpenDirectory();
    void OnRestore();
    // Whether every entry of the restored file is back, so that the file may go.
    bool RestoredCompletely(const std::string& file, size_t shortcutsBack);
    void OnDelete();
    // The entries list for the selected backup (empty without one).
    void ListEntries();
    void ListShortcutCopiesOf(const std::string& file);
    std::vector<size_t> TickedEntries() const;
    // Merges the ticked entries alone; false when the merge did not run to its end.
    bool RestoreTicked(const std::vector<size_t>& ticked);
    void TellWhatCameBack(const RestoreCheck& check, size_t shortcutsBack = 0);
    bool OnNotify(const NMHDR& header);

    RestoreDialogArgs args_;
    std::string folder_;                 // the text of eFolder
    std::vector<FolderEntry> rowFiles_;  // the files of the list's rows, in their order
    std::vector<BackupEntry> entries_;   // the rows of the entries list, in their order
};

}  // namespace vantrel
