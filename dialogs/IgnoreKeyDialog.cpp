#include "dialogs/IgnoreKeyDialog.h"

#include <utility>

#include "platform/TextCase.h"
#include "ui/DialogTemplate.h"
#include "ui/WindowLayout.h"
#include "ui/WindowText.h"

namespace vantrel {
namespace {

DialogTemplate Layout() {
    DialogTemplate layout(TfrmRegAddRegistry::kCaption, 261, 119);
    layout.AddControl("BUTTON", "", -1, BS_GROUPBOX, 7, 4, 247, 88);
    layout.AddControl("STATIC", "Registry Key", -1, SS_LEFT, 17, 19, 80, 8);
    layout.AddControl("BUTTON", "&Launch Registry Editor", TfrmRegAddRegistry::kLaunchRegedit,
                      WS_TABSTOP | BS_PUSHBUTTON, 150, 15, 94, 14);
    layout.AddControl("EDIT", "", TfrmRegAddRegistry::kRegistryKey,
                      WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 17, 35, 227, 13);
    layout.AddControl("STATIC",
                      "Enter the value or key like: HKEY_CURRENT_USER\\Software\\Microsoft", -1,
                      SS_LEFT | SS_NOPREFIX, 17, 56, 227, 26);
    layout.AddControl("BUTTON", "&OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 150, 98, 50, 14);
    layout.AddControl("BUTTON", "&Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 204, 98, 50, 14);
    return layout;
}

}  // namespace

TfrmRegAddRegistry::TfrmRegAddRegistry(IgnoreKeyDialogArgs args)
    : BoundDialog(args.prompts, args.shell), args_(std::move(args)) {}

std::optional<std::string> TfrmRegAddRegistry::ShowModal() {
    if (ShowModalDialog(args_.owner, Layout(), *this) != IDOK)
        return std::nullopt;
    return accepted_;
}

bool TfrmRegAddRegistry::AcceptsText(std::string_view text) {
    return FindIgnoreCase(text, "HKEY_") != std::string_view::npos;
}

// This dialog keeps its built-in look: no skin is applied to it.
void TfrmRegAddRegistry::OnInitDialog() {
    CentreOnOwner(dialog_);
    const HWND edit = ::GetDlgItem(dialog_, kRegistryKey);
    ::SetWindowTextA(edit, args_.text.c_str());
    UpdateOk();
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

std::string TfrmRegAddRegistry::EnteredText() const {
    return WindowText(::GetDlgItem(dialog_, kRegistryKey));
}

void TfrmRegAddRegistry::UpdateOk() {
    ::EnableWindow(::GetDlgItem(dialog_, IDOK), AcceptsText(EnteredText()) ? TRUE : FALSE);
}

void TfrmRegAddRegistry::OnOk() {
    // Enter reaches here even while the button is disabled.
    std::string text = EnteredText();
    if (!AcceptsText(text))
        return;
    accepted_ = std::move(text);
    ::EndDialog(dialog_, IDOK);
}

INT_PTR TfrmRegAddRegistry::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // the focus was set
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kRegistryKey:
                    if (HIWORD(wParam) == EN_CHANGE)
                        UpdateOk();
                    return TRUE;
                case kLaunchRegedit:
                    // The editor runs on its own; the dialog is not told when it ends.
                    shell_.Get().Open(args_.editorPath, "");
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
