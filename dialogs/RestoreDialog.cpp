#include "dialogs/RestoreDialog.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

#include "dialogs/BackupProgressWindow.h"
#include "platform/ProductVersion.h"
#include "platform/win32/LocalTimeText.h"
#include "platform/win32/Win32Shell.h"
#include "repair/BackupFileList.h"
#include "repair/RegFileReader.h"
#include "repair/RestoreCheck.h"
#include "repair/ShortcutCopies.h"
#include "ui/DialogTemplate.h"
#include "ui/ListViewItems.h"
#include "ui/Skin.h"
#include "ui/WindowLayout.h"
#include "ui/external/ExternalTools.h"

namespace vantrel {
namespace {

constexpr int kNameColumnWidth = 170;
constexpr int kDateColumnWidth = 140;
constexpr int kSizeColumnWidth = 82;

DialogTemplate Layout() {
    DialogTemplate layout(kProductName, 276, 262);
    layout.AddControl("BUTTON", "Backup files are stored in the folder", -1, BS_GROUPBOX, 5, 4, 266,
                      36);
    layout.AddControl("EDIT", "", TfrmRestore::kFolder,
                      WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 12, 19, 222, 13);
    layout.AddControl("BUTTON", "...", TfrmRestore::kBrowseFolder, WS_TABSTOP | BS_PUSHBUTTON, 239,
                      18, 25, 15);
    layout.AddControl(
        WC_LISTVIEWA, "", TfrmRestore::kFiles,
        WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
        5, 46, 266, 187);
    layout.AddControl("BUTTON", "&Restore", TfrmRestore::kRestore, WS_TABSTOP | BS_DEFPUSHBUTTON, 5,
                      241, 50, 14);
    layout.AddControl("BUTTON", "&Open Directory", TfrmRestore::kOpenDirectory,
                      WS_TABSTOP | BS_PUSHBUTTON, 59, 241, 64, 14);
    layout.AddControl("BUTTON", "&Delete", TfrmRestore::kDelete, WS_TABSTOP | BS_PUSHBUTTON, 127,
                      241, 50, 14);
    layout.AddControl("BUTTON", "&Close", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 221, 241, 50, 14);
    return layout;
}

// Puts the backup's shortcut files back after its merge; true when every one is back.
bool PutShortcutsBack(BackupFile& files, const std::string& backup, Prompts& prompts) {
    const ShortcutRestore restore = RestoreShortcutCopies(files, backup);
    if (!restore.Complete())
        prompts.ShowNotice(ShortcutRestoreNotice(restore));
    return restore.Complete();
}

}  // namespace

TfrmRestore::TfrmRestore(RestoreDialogArgs args)
    : BoundDialog(args.prompts, args.shell), args_(std::move(args)) {}

INT_PTR TfrmRestore::ShowModal() {
    return ShowModalDialog(args_.owner, Layout(), *this);
}

void TfrmRestore::OnInitDialog() {
    CentreOnOwner(dialog_);
    ApplyCurrentSkin(dialog_);
    const HWND list = FilesList();
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    // A date in the user's formats with its seconds and AM or PM needs more than the size.
    AddListColumn(list, 0, "Backup file", kNameColumnWidth);
    AddListColumn(list, 1, "Date", kDateColumnWidth);
    AddListColumn(list, 2, "Size", kSizeColumnWidth);
    ShowFolder(args_.options.OutputDirectory);
    // The list, not the read-only folder field, has the focus.
    ::SetFocus(list);
}

void TfrmRestore::ShowFolder(const std::string& folder) {
    folder_ = folder;
    ::SetDlgItemTextA(dialog_, kFolder, folder_.c_str());
    ListBackupFiles();
}

void TfrmRestore::ListBackupFiles() {
    const HWND list = FilesList();
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    rowNames_.clear();
    const auto backups = vantrel::ListBackupFiles(args_.files, folder_);
    if (!backups) {
        UserPrompts().ShowNotice(kMissingBackupFolderNotice);
    } else {
        for (const FolderEntry& file : *backups) {
            AppendListRow(
                list, {file.name, LocalDateTimeText(file.lastWriteTime), FormatSizeKB(file.size)});
            rowNames_.push_back(file.name);
        }
    }
    UpdateActions();
}

std::optional<int> TfrmRestore::SelectedRow() const {
    const auto row = SelectedListRow(FilesList());
    if (!row || *row >= static_cast<int>(rowNames_.size()))
        return std::nullopt;
    return row;
}

std::string TfrmRestore::RowFile(int row) const {
    return BackupFilePath(folder_, rowNames_.at(static_cast<size_t>(row)));
}

void TfrmRestore::UpdateActions() {
    const BOOL enabled = SelectedRow() ? TRUE : FALSE;
    ::EnableWindow(::GetDlgItem(dialog_, kRestore), enabled);
    ::EnableWindow(::GetDlgItem(dialog_, kDelete), enabled);
}

void TfrmRestore::OnBrowseFolder() {
    if (const auto folder = UserPrompts().AskFolder(kBrowsePrompt))
        ShowFolder(*folder);
}

void TfrmRestore::OnOpenDirectory() {
    shell_.Get().Open(folder_, "");
}

void TfrmRestore::OnRestore() {
    const auto row = SelectedRow();
    if (!row)
        return;
    const std::string file = RowFile(*row);
    const RegistryEditorRun run{dialog_, UserPrompts(), prompts_.Injected(), args_.editorPath};
    if (!RunAndWait(run, MergeCommandLine(args_.editorPath, file), kRestoreHint))
        return;
    const bool shortcutsBack = PutShortcutsBack(args_.backups, file, UserPrompts());
    // A shortcut left alone has its only copy in the backup.
    if (args_.options.DeleteBackupFile && RestoredCompletely(file) && shortcutsBack)
        OnDelete();
}

// The editor tells nobody whether its merge worked, and the backup may be the only copy of
// what a repair deleted: it is read back and compared before it may go.
bool TfrmRestore::RestoredCompletely(const std::string& file) {
    try {
        const RestoreCheck check = CheckBackupRestored(args_.registry, args_.backups, file);
        if (check.Complete())
            return true;
        UserPrompts().ShowNotice(MissingEntriesNotice(check.missing));
    } catch (const BackupFileError& error) {
        UserPrompts().ShowNotice(UncheckedBackupNotice(error.what()));
    } catch (const RegFileError& error) {
        UserPrompts().ShowNotice(UncheckedBackupNotice(error.what()));
    }
    return false;
}

void TfrmRestore::OnDelete() {
    const auto row = SelectedRow();
    if (!row)
        return;
    // The shell reports a failure itself, if at all; the row goes either way.
    const std::string file = RowFile(*row);
    ShellDeleteFile(file);
    // The shortcut copies go with their backup, never without it.
    if (!args_.backups.Exists(file)) {
        if (const auto notice = DeleteShortcutCopies(args_.backups, file))
            UserPrompts().ShowNotice(*notice);
    }
    const HWND list = FilesList();
    ::SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(*row), 0);
    rowNames_.erase(rowNames_.begin() + *row);
    const int count = ListRowCount(list);
    if (count > 0)
        SelectListRow(list, *row < count ? *row : count - 1);
    UpdateActions();
}

bool TfrmRestore::OnNotify(const NMHDR& header) {
    if (header.idFrom != kFiles)
        return false;
    if (header.code == LVN_ITEMCHANGED) {
        UpdateActions();
        return false;
    }
    if (header.code == NM_DBLCLK) {
        // The click has selected the row under it; a click on no row leaves none selected.
        OnRestore();
        return true;
    }
    return false;
}

INT_PTR TfrmRestore::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // the focus was set
        case WM_NOTIFY:
            return lParam != 0 && OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kBrowseFolder:
                    OnBrowseFolder();
                    return TRUE;
                case kOpenDirectory:
                    OnOpenDirectory();
                    return TRUE;
                case kRestore:
                    OnRestore();
                    return TRUE;
                case kDelete:
                    OnDelete();
                    return TRUE;
                case IDCANCEL:
                    ::EndDialog(dialog_, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace vantrel
