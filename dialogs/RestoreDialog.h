#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/BackupFile.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/RegistryAccess.h"
#include "platform/ShellOpener.h"
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

// TfrmRestore: the ".reg" files of a folder, newest backup first, with their date and size.
// Restore merges the selected file with the registry editor and puts its shortcut copies back;
// with DeleteBackupFile set the file is deleted afterwards, but only once every key and value of
// it is back in the registry and every shortcut in its place.
// "..." lists another folder without changing the settings' backup folder.
class TfrmRestore : public BoundDialog {
  public:
    static constexpr const char* kBrowsePrompt = "Please select the directory to add";
    static constexpr int kFolder = 101;
    static constexpr int kBrowseFolder = 102;
    static constexpr int kFiles = 103;
    static constexpr int kRestore = 104;
    static constexpr int kOpenDirectory = 105;
    static constexpr int kDelete = 106;

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
    bool RestoredCompletely(const std::string& file);
    void OnDelete();
    bool OnNotify(const NMHDR& header);

    RestoreDialogArgs args_;
    std::string folder_;                 // the text of eFolder
    std::vector<std::string> rowNames_;  // the files of the list's rows, in their order
};

}  // namespace vantrel
