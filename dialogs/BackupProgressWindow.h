#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Prompts.h"
#include "platform/win32/ChildProcess.h"
#include "ui/BoundDialog.h"

namespace vantrel {

struct BackupProgressArgs {
    HWND owner;
    ChildProcess& editor;  // the registry editor's process, waited for and perhaps terminated
    std::string hint;      // "Backup registry..." or "Restore registry..."
    Prompts* prompts;      // injected prompts; nullptr for the window's own boxes
};

// TfrmBackupHint: the modal window shown while the registry editor runs, with a bar that
// creeps forward on a timer since the editor reports no progress. It closes with IDOK by
// itself once the editor's process has ended; its Stop button terminates the process and closes
// it with IDCANCEL; the title bar's close button (and Escape) close it with IDCANCEL and leave
// the editor running. It neither opens nor closes the process's handles.
class TfrmBackupHint : public BoundDialog {
  public:
    static constexpr const char* kHelpPage = "backup-progress.html";  // F1
    static constexpr int kHintLabel = 101;
    static constexpr int kProgressBar = 102;
    static constexpr int kStopButton = 103;
    static constexpr UINT kTimerInterval = 500;

    explicit TfrmBackupHint(BackupProgressArgs args);

    // IDOK when the editor ended by itself, IDCANCEL otherwise; -1 when the window could not be
    // made.
    INT_PTR ShowModal();
    // Whether the window was made and set up; false also when its setup raised (the error was
    // shown then, and the window closed with IDCANCEL).
    bool Opened() const { return opened_; }

    // The dialog procedure's side (see BoundDialogProc).
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnInitDialog();
    void OnTimer1();
    void OnStop();
    void Close(INT_PTR result);

    BackupProgressArgs args_;
    int position_ = 0;
    bool opened_ = false;
};

// Where and how a window runs the registry editor under this window.
struct RegistryEditorRun {
    HWND owner;              // owns the backup progress window
    Prompts& prompts;        // tells the user when the editor cannot be started
    Prompts* injected;       // handed on to the progress window (nullptr: its own boxes)
    std::string editorPath;  // the editor's full path (RegistryEditorPath)
};

// Starts the editor hidden with `commandLine` and shows the backup progress window with `hint`
// until the editor ends. True exactly when the editor ended by itself; false when the user
// stopped it or closed the window. An editor that cannot be started: the notice "Please check
// if Regedit.exe exists." and false. The process and thread handles are closed once the wait
// has ended, whatever its outcome. A progress window that cannot be shown ends the editor (see
// WaitForEditor).
bool RunAndWait(const RegistryEditorRun& run, std::string_view commandLine, std::string_view hint);

// RunAndWait's wait for an editor already started. A progress window that cannot be shown
// would leave the editor running with nobody watching it, so the editor is ended: when the
// window cannot be made (or making it raises) the error is raised to the caller, to be shown
// like any other; when its setup raised, that error has been shown already and the result is
// false.
bool WaitForEditor(const RegistryEditorRun& run, ChildProcess& editor, std::string_view hint);

}  // namespace vantrel
