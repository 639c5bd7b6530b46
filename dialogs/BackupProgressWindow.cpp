#include "dialogs/BackupProgressWindow.h"

#include <commctrl.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/ProductVersion.h"
#include "platform/win32/SystemMessage.h"
#include "ui/DialogTemplate.h"
#include "ui/ProgressCreep.h"
#include "ui/Skin.h"
#include "ui/WindowLayout.h"
#include "ui/external/ExternalTools.h"

namespace vantrel {
namespace {

constexpr UINT_PTR kTimer1 = 1;
// The editor's exit code when it is ended because nobody can watch it.
constexpr UINT kUnwatchedExitCode = 1;

DialogTemplate Layout() {
    DialogTemplate layout(kProductName, 243, 97);
    layout.AddControl("BUTTON", "", -1, BS_GROUPBOX, 7, 4, 229, 62);
    layout.AddControl("STATIC", "Backup registry...", TfrmBackupHint::kHintLabel,
                      SS_LEFT | SS_NOPREFIX, 17, 18, 209, 9);
    layout.AddControl(PROGRESS_CLASSA, "", TfrmBackupHint::kProgressBar, 0, 17, 34, 209, 12);
    layout.AddControl("BUTTON", "Stop", TfrmBackupHint::kStopButton, WS_TABSTOP | BS_DEFPUSHBUTTON,
                      186, 75, 50, 15);
    return layout;
}

}  // namespace

TfrmBackupHint::TfrmBackupHint(BackupProgressArgs args)
    : BoundDialog(args.prompts, nullptr), args_(std::move(args)) {}

INT_PTR TfrmBackupHint::ShowModal() {
    return ShowModalDialog(args_.owner, Layout(), *this);
}

void TfrmBackupHint::OnInitDialog() {
    CentreOnOwner(dialog_);
    ApplyCurrentSkin(dialog_);
    const HWND bar = ::GetDlgItem(dialog_, kProgressBar);
    ::SendMessageA(bar, PBM_SETRANGE32, 0, kBackupHintBarEnd);
    position_ = 0;
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    ::SetDlgItemTextA(dialog_, kHintLabel, args_.hint.c_str());
    ::SetTimer(dialog_, kTimer1, kTimerInterval, nullptr);
    opened_ = true;
}

// Polls the editor without waiting, so the window stays responsive and no thread is needed.
void TfrmBackupHint::OnTimer1() {
    if (args_.editor.HasEnded()) {
        Close(IDOK);
        return;
    }
    // Kept here: the bar itself holds no position past its end.
    position_ = NextCreepPosition(kBackupHintCreep, position_);
    ::SendMessageA(::GetDlgItem(dialog_, kProgressBar), PBM_SETPOS, static_cast<WPARAM>(position_),
                   0);
}

void TfrmBackupHint::OnStop() {
    // An editor that has ended since the last tick is left as it is; the result is cancel all
    // the same.
    args_.editor.Terminate(0);
    Close(IDCANCEL);
}

void TfrmBackupHint::Close(INT_PTR result) {
    ::KillTimer(dialog_, kTimer1);
    ::EndDialog(dialog_, result);
}

INT_PTR TfrmBackupHint::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_TIMER:
            if (wParam == kTimer1)
                OnTimer1();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == kStopButton) {
                OnStop();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                // The title bar's close button and Escape: the editor goes on alone.
                Close(IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

bool RunAndWait(const RegistryEditorRun& run, std::string_view commandLine, std::string_view hint) {
    std::optional<ChildProcess> editor = ChildProcess::StartHidden(run.editorPath, commandLine);
    if (!editor) {
        run.prompts.ShowNotice(kMissingEditorNotice);
        return false;
    }
    return WaitForEditor(run, *editor, hint);
}

bool WaitForEditor(const RegistryEditorRun& run, ChildProcess& editor, std::string_view hint) {
    try {
        TfrmBackupHint progress({run.owner, editor, std::string(hint), run.injected});
        const INT_PTR result = progress.ShowModal();
        if (result == -1) {
            const DWORD error = ::GetLastError();
            throw std::runtime_error(
                "The progress window could not be shown, so the registry editor was stopped." +
                (error != 0 ? " " + SystemMessage(error) : std::string()));
        }
        if (!progress.Opened()) {
            editor.Terminate(kUnwatchedExitCode);
            return false;
        }
        return result == IDOK;
    } catch (...) {
        editor.Terminate(kUnwatchedExitCode);
        throw;
    }
}

}  // namespace vantrel
