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
#include "repair/RegFileWriter.h"
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
constexpr int kEntryKeyColumnWidth = 250;
constexpr int kEntryValueColumnWidth = 90;
constexpr int kEntryTypeColumnWidth = 80;
constexpr int kEntryNowColumnWidth = 105;

std::string TypeText(const BackupEntry& entry) {
    if (entry.removes)
        return "removes it";
    if (!entry.isValue)
        return "key";
    switch (entry.type) {
        case regtype::kString:
            return "REG_SZ";
        case regtype::kExpandString:
            return "REG_EXPAND_SZ";
        case regtype::kBinary:
            return "REG_BINARY";
        case regtype::kDword:
            return "REG_DWORD";
        case regtype::kMultiString:
            return "REG_MULTI_SZ";
        default:
            return "type " + std::to_string(entry.type);
    }
}

// Where the ticked entries are written to be merged alone: a file of their own in the temporary
// folder, so the backup folder lists only backups.
std::string SubsetFilePath() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof folder, folder);
    const std::string temp = length > 0 && length < sizeof folder ? folder : "C:\\";
    return temp + "Vantrel-restore-" + std::to_string(::GetCurrentProcessId()) + ".reg";
}

DialogTemplate Layout() {
    DialogTemplate layout(kProductName, 376, 341);
    layout.AddControl("BUTTON", "Backup files are stored in the folder", -1, BS_GROUPBOX, 5, 4, 366,
                      36);
    layout.AddControl("EDIT", "", TfrmRestore::kFolder,
                      WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 12, 19, 322, 13);
    layout.AddControl("BUTTON", "...", TfrmRestore::kBrowseFolder, WS_TABSTOP | BS_PUSHBUTTON, 339,
                      18, 25, 15);
    layout.AddControl(
        WC_LISTVIEWA, "", TfrmRestore::kFiles,
        WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
        5, 46, 366, 110);
    layout.AddControl("STATIC",
                      "What the selected backup holds (tick entries to restore only them):", -1,
                      SS_LEFT, 5, 161, 366, 9);
    layout.AddControl(WC_LISTVIEWA, "", TfrmRestore::kEntries,
                      WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, 5,
                      172, 366, 140);
    layout.AddControl("BUTTON", "&Restore", TfrmRestore::kRestore, WS_TABSTOP | BS_DEFPUSHBUTTON, 5,
                      320, 50, 14);
    layout.AddControl("BUTTON", "&Open Directory", TfrmRestore::kOpenDirectory,
                      WS_TABSTOP | BS_PUSHBUTTON, 59, 320, 64, 14);
    layout.AddControl("BUTTON", "&Delete", TfrmRestore::kDelete, WS_TABSTOP | BS_PUSHBUTTON, 127,
                      320, 50, 14);
    layout.AddControl("BUTTON", "&Close", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 321, 320, 50, 14);
    return layout;
}

// Puts the backup's shortcut files back after its merge; what it did.
ShortcutRestore PutShortcutsBack(BackupFile& files, const std::string& backup, Prompts& prompts) {
    ShortcutRestore restore = RestoreShortcutCopies(files, backup);
    if (!restore.Complete())
        prompts.ShowNotice(ShortcutRestoreNotice(restore));
    return restore;
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
    const HWND entries = ::GetDlgItem(dialog_, kEntries);
    ::SendMessageA(entries, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    AddListColumn(entries, 0, "Registry key", kEntryKeyColumnWidth);
    AddListColumn(entries, 1, "Value", kEntryValueColumnWidth);
    AddListColumn(entries, 2, "Type", kEntryTypeColumnWidth);
    AddListColumn(entries, 3, "Now", kEntryNowColumnWidth);
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
    rowFiles_.clear();
    const auto backups = vantrel::ListBackupFiles(args_.files, folder_);
    if (!backups) {
        UserPrompts().ShowNotice(kMissingBackupFolderNotice);
    } else {
        for (const FolderEntry& file : *backups) {
            AppendListRow(
                list, {file.name, LocalDateTimeText(file.lastWriteTime), FormatSizeKB(file.size)});
            rowFiles_.push_back(file);
        }
    }
    UpdateActions();
    ListEntries();
}

std::optional<int> TfrmRestore::SelectedRow() const {
    const auto row = SelectedListRow(FilesList());
    if (!row || *row >= static_cast<int>(rowFiles_.size()))
        return std::nullopt;
    return row;
}

std::string TfrmRestore::RowFile(int row) const {
    return BackupFilePath(folder_, rowFiles_.at(static_cast<size_t>(row)).name);
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

void TfrmRestore::ListEntries() {
    const HWND list = ::GetDlgItem(dialog_, kEntries);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    entries_.clear();
    if (const auto row = SelectedRow()) {
        const std::string file = RowFile(*row);
        const uint64_t size = rowFiles_.at(static_cast<size_t>(*row)).size;
        if (size > kLargestListedBackup) {
            AppendListRow(list, {std::string(kTooLargeToList) + " (" + FormatSizeKB(size) +
                                 "): Restore merges it whole."});
        } else {
            try {
                entries_ = ListBackupEntries(args_.registry, ReadRegFile(args_.backups.Read(file)));
                ::SendMessageA(list, LVM_SETITEMCOUNT, entries_.size(), 0);
                for (const BackupEntry& entry : entries_)
                    AppendListRow(list, {RootKeyName(entry.root) + "\\" + entry.keyPath,
                                         entry.isValue ? (entry.valueName.empty() ? "(Default)"
                                                                                  : entry.valueName)
                                                       : "",
                                         TypeText(entry), EntryNowText(entry)});
            } catch (const std::exception& error) {
                // Never shown as empty: a file this program cannot read may still merge.
                entries_.clear();
                ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
                AppendListRow(list, {std::string("Cannot be read here: ") + error.what()});
            }
        }
        ListShortcutCopiesOf(file);
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

// The shortcut files the backup holds, after its registry entries: restored with the whole
// backup, never alone, so their rows have no box to tick (a ticked one would restore nothing of
// what was asked, and the registry entries that were not).
void TfrmRestore::ListShortcutCopiesOf(const std::string& file) {
    const HWND list = ::GetDlgItem(dialog_, kEntries);
    try {
        for (const ShortcutCopy& copy : ListShortcutCopies(args_.backups, file))
            RemoveListRowBox(list, AppendListRow(list, {copy.originalPath, "", "shortcut file",
                                                        args_.files.FileExists(copy.originalPath)
                                                            ? "a file is there now"
                                                            : "not there"}));
    } catch (const BackupFileError& error) {
        RemoveListRowBox(
            list, AppendListRow(
                      list, {std::string("Shortcut copies that cannot be read: ") + error.what()}));
    }
}

std::vector<size_t> TfrmRestore::TickedEntries() const {
    const HWND list = ::GetDlgItem(dialog_, kEntries);
    std::vector<size_t> ticked;
    for (size_t index = 0; index < entries_.size(); ++index) {
        if (IsListRowChecked(list, static_cast<int>(index)))
            ticked.push_back(index);
    }
    return ticked;
}

void TfrmRestore::OnRestore() {
    const auto row = SelectedRow();
    if (!row)
        return;
    if (const std::vector<size_t> ticked = TickedEntries(); !ticked.empty()) {
        RestoreTicked(ticked);
        return;
    }
    const std::string file = RowFile(*row);
    const RegistryEditorRun run{dialog_, UserPrompts(), prompts_.Injected(), args_.editorPath};
    if (!RunAndWait(run, MergeCommandLine(args_.editorPath, file), kRestoreHint))
        return;
    const ShortcutRestore shortcuts = PutShortcutsBack(args_.backups, file, UserPrompts());
    if (rowFiles_.at(static_cast<size_t>(*row)).size > kLargestListedBackup) {
        // Reading it back would hold the dialog up as long as listing it would; unchecked, it
        // stays.
        UserPrompts().ShowNotice(UncheckedBackupNotice(kTooLargeToCompare));
        return;
    }
    // A shortcut left alone has its only copy in the backup.
    if (RestoredCompletely(file, shortcuts.restored.size()) && shortcuts.Complete() &&
        args_.options.DeleteBackupFile)
        OnDelete();
    else
        ListEntries();
}

bool TfrmRestore::RestoreTicked(const std::vector<size_t>& ticked) {
    const std::string blocks = RegBlocksOfEntries(entries_, ticked);
    const std::string subset = SubsetFilePath();
    try {
        ::DeleteFileA(subset.c_str());
        AppendRegBlocks(args_.backups, subset, blocks);
    } catch (const BackupFileError& error) {
        UserPrompts().ShowError(error.what());
        return false;
    }
    const RegistryEditorRun run{dialog_, UserPrompts(), prompts_.Injected(), args_.editorPath};
    const bool merged = RunAndWait(run, MergeCommandLine(args_.editorPath, subset), kRestoreHint);
    ::DeleteFileA(subset.c_str());
    if (!merged)
        return false;
    // A part restored leaves the backup in place, whatever the settings say. The entries are
    // read again from the same file, so the ticked indexes name the same entries.
    ListEntries();
    RestoreCheck check;
    for (const size_t index : ticked) {
        ++check.entries;
        if (index >= entries_.size() || !entries_[index].AsMerged())
            ++check.missing;
    }
    TellWhatCameBack(check);
    return true;
}

void TfrmRestore::TellWhatCameBack(const RestoreCheck& check, size_t shortcutsBack) {
    const std::string notice = RestoredNotice(check, shortcutsBack);
    if (!notice.empty())
        UserPrompts().ShowNotice(notice);
}

// The editor tells nobody whether its merge worked, and the backup may be the only copy of
// what a repair deleted: it is read back and compared before it may go.
bool TfrmRestore::RestoredCompletely(const std::string& file, size_t shortcutsBack) {
    try {
        const RestoreCheck check = CheckBackupRestored(args_.registry, args_.backups, file);
        if (!check.Complete() && args_.options.DeleteBackupFile)
            UserPrompts().ShowNotice(MissingEntriesNotice(check.missing));
        else
            TellWhatCameBack(check, shortcutsBack);
        return check.Complete();
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
    rowFiles_.erase(rowFiles_.begin() + *row);
    const int count = ListRowCount(list);
    if (count > 0)
        SelectListRow(list, *row < count ? *row : count - 1);
    UpdateActions();
    ListEntries();
}

bool TfrmRestore::OnNotify(const NMHDR& header) {
    if (header.idFrom == kEntries && header.code == LVN_ITEMCHANGING) {
        // The space bar would give a box-less row a box: rows after the entries keep none.
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool boxChange = (change.uChanged & LVIF_STATE) != 0 &&
                               (change.uNewState & LVIS_STATEIMAGEMASK) != 0 &&
                               ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0;
        const bool refused =
            boxChange && change.iItem >= 0 && static_cast<size_t>(change.iItem) >= entries_.size();
        ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, refused ? TRUE : FALSE);
        return refused;
    }
    if (header.idFrom != kFiles)
        return false;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0)
            ListEntries();
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
