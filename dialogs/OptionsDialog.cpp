#include "dialogs/OptionsDialog.h"

#include <commctrl.h>

#include <utility>

#include "dialogs/IgnoreKeyDialog.h"
#include "ui/DialogTemplate.h"
#include "ui/ListViewItems.h"
#include "ui/Skin.h"
#include "ui/WindowDpi.h"
#include "ui/WindowLayout.h"
#include "ui/WindowText.h"

namespace vantrel {
namespace {

constexpr int kItemsColumnWidth = 320;
constexpr int kPageMargin = 3;  // pixels (at 96 dpi) between a page's edge and its list

DialogTemplate Layout() {
    DialogTemplate layout(TfrmOptions::kCaption, 292, 283);
    // GroupBox1 with the folder group and the check box.
    layout.AddControl("BUTTON", "", -1, BS_GROUPBOX, 7, 4, 278, 80);
    layout.AddControl("BUTTON",
                      "Select a destination folder to backup deleted entries by repairing", -1,
                      BS_GROUPBOX, 14, 12, 264, 36);
    layout.AddControl("EDIT", "", TfrmOptions::kOutputFolder,
                      WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 21, 27, 222, 13);
    layout.AddControl("BUTTON", "...", TfrmOptions::kBrowse, WS_TABSTOP | BS_PUSHBUTTON, 247, 26,
                      24, 15);
    layout.AddControl("BUTTON", "Delete backup file after restoring the registry on restore dialog",
                      TfrmOptions::kDeleteBackupFile, WS_TABSTOP | BS_AUTOCHECKBOX, 16, 58, 260,
                      12);
    // suiGroupBox2 with the two pages and their buttons. The lists lie above the page control,
    // which leaves them out of its painting; the group box lies below both, or the page control
    // would leave out all of itself.
    const DWORD listStyle =
        WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
    layout.AddControl(WC_LISTVIEWA, "", TfrmOptions::kValues, listStyle, 17, 114, 218, 131);
    layout.AddControl(WC_LISTVIEWA, "", TfrmOptions::kKeys, listStyle, 17, 114, 218, 131);
    layout.AddControl(WC_TABCONTROLA, "", TfrmOptions::kPages, WS_TABSTOP | WS_CLIPSIBLINGS, 13, 97,
                      226, 152);
    layout.AddControl("BUTTON", "&Add", TfrmOptions::kAdd, WS_TABSTOP | BS_PUSHBUTTON, 243, 114, 36,
                      14);
    layout.AddControl("BUTTON", "&Edit", TfrmOptions::kEdit, WS_TABSTOP | BS_PUSHBUTTON, 243, 132,
                      36, 14);
    layout.AddControl("BUTTON", "&Remove", TfrmOptions::kRemove, WS_TABSTOP | BS_PUSHBUTTON, 243,
                      150, 36, 14);
    layout.AddControl("BUTTON", "", -1, BS_GROUPBOX, 7, 88, 278, 167);
    layout.AddControl("BUTTON", "&OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 181, 262, 50, 14);
    layout.AddControl("BUTTON", "&Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 235, 262, 50, 14);
    return layout;
}

void AddPage(HWND pages, int index, const char* caption) {
    TCITEMA page{};
    page.mask = TCIF_TEXT;
    page.pszText = const_cast<char*>(caption);
    ::SendMessageA(pages, TCM_INSERTITEMA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&page));
}

}  // namespace

TfrmOptions::TfrmOptions(OptionsDialogArgs args)
    : BoundDialog(args.prompts, args.shell), args_(std::move(args)) {}

INT_PTR TfrmOptions::ShowModal() {
    return ShowModalDialog(args_.owner, Layout(), *this);
}

void TfrmOptions::OnInitDialog() {
    CentreOnOwner(dialog_);
    ApplyCurrentSkin(dialog_);
    const HWND pages = ::GetDlgItem(dialog_, kPages);
    AddPage(pages, kValuesPage, "Values");
    AddPage(pages, kKeysPage, "Keys");
    ::SendMessageA(pages, TCM_SETCURSEL, kValuesPage, 0);
    PlaceListsInPages();

    ::SetDlgItemTextA(dialog_, kOutputFolder, args_.options.OutputDirectory.c_str());
    ::CheckDlgButton(dialog_, kDeleteBackupFile,
                     args_.options.DeleteBackupFile ? BST_CHECKED : BST_UNCHECKED);
    CreateList(kValues, args_.options.IgnoreValueList);
    CreateList(kKeys, args_.options.IgnoreKeyList);
    ShowActivePage();
}

void TfrmOptions::CreateList(int id, const std::vector<std::string>& entries) {
    const HWND list = ::GetDlgItem(dialog_, id);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    AddListColumn(list, 0, "Items", kItemsColumnWidth);
    for (const std::string& entry : entries)
        AppendListRow(list, {entry});
}

// The lists fill the page control's display area, whatever size its tabs came out.
void TfrmOptions::PlaceListsInPages() {
    const HWND pages = ::GetDlgItem(dialog_, kPages);
    RECT area = ChildRect(pages);
    ::SendMessageA(pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int margin = ScaledFor(dialog_, kPageMargin);
    ::InflateRect(&area, -margin, -margin);
    for (const int id : {kValues, kKeys})
        PlaceChild(::GetDlgItem(dialog_, id), area.left, area.top, area.right - area.left,
                   area.bottom - area.top);
}

void TfrmOptions::ShowActivePage() {
    const HWND active = ActiveList();
    for (const int id : {kValues, kKeys}) {
        const HWND list = ::GetDlgItem(dialog_, id);
        ::ShowWindow(list, list == active ? SW_SHOW : SW_HIDE);
    }
}

HWND TfrmOptions::ActiveList() const {
    const auto page = ::SendMessageA(::GetDlgItem(dialog_, kPages), TCM_GETCURSEL, 0, 0);
    return ::GetDlgItem(dialog_, page == kKeysPage ? kKeys : kValues);
}

std::vector<std::string> TfrmOptions::Captions(HWND list) const {
    std::vector<std::string> captions;
    for (int row = 0; row < ListRowCount(list); ++row)
        captions.push_back(ListCellText(list, row, 0));
    return captions;
}

void TfrmOptions::OnBrowse() {
    if (const auto folder = UserPrompts().AskFolder(kBrowsePrompt))
        ::SetDlgItemTextA(dialog_, kOutputFolder, folder->c_str());
}

void TfrmOptions::OnAdd() {
    TfrmRegAddRegistry add({dialog_, "", args_.editorPath, prompts_.Injected(), shell_.Injected()});
    if (const auto entry = add.ShowModal())
        AppendListRow(ActiveList(), {*entry});
}

void TfrmOptions::OnEdit() {
    const HWND list = ActiveList();
    const auto row = SelectedListRow(list);
    if (!row)
        return;
    TfrmRegAddRegistry edit({dialog_, ListCellText(list, *row, 0), args_.editorPath,
                             prompts_.Injected(), shell_.Injected()});
    if (const auto entry = edit.ShowModal())
        SetListCellText(list, *row, 0, *entry);
}

// The ticks are marks for Remove only; the selection plays no part.
void TfrmOptions::OnRemove() {
    const HWND list = ActiveList();
    for (int row = ListRowCount(list) - 1; row >= 0; --row) {
        if (IsListRowChecked(list, row))
            ::SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    }
}

void TfrmOptions::OnOk() {
    const HWND folderEdit = ::GetDlgItem(dialog_, kOutputFolder);
    const std::string folder = WindowText(folderEdit);
    if (!args_.files.DirectoryExists(folder)) {
        UserPrompts().ShowError(folder + "," + kMissingFolderMessage);
        ::SetFocus(folderEdit);
        return;
    }
    OptionsSetting& options = args_.options;
    options.OutputDirectory = folder;
    options.DeleteBackupFile = ::IsDlgButtonChecked(dialog_, kDeleteBackupFile) == BST_CHECKED;
    options.IgnoreValueList = Captions(::GetDlgItem(dialog_, kValues));
    options.IgnoreKeyList = Captions(::GetDlgItem(dialog_, kKeys));
    ::EndDialog(dialog_, IDOK);
}

INT_PTR TfrmOptions::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header == nullptr || header->idFrom != kPages || header->code != TCN_SELCHANGE)
                return FALSE;
            ShowActivePage();
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kBrowse:
                    OnBrowse();
                    return TRUE;
                case kAdd:
                    OnAdd();
                    return TRUE;
                case kEdit:
                    OnEdit();
                    return TRUE;
                case kRemove:
                    OnRemove();
                    return TRUE;
                case IDOK:
                    OnOk();
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
