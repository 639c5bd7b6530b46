#include "dialogs/RunAndWait.h"

#include <optional>

#include "dialogs/BackupProgressWindow.h"
#include "platform/win32/ChildProcess.h"
#include "repair/ExternalTools.h"

namespace vantrel {

bool RunAndWait(const RegistryEditorRun& run, std::string_view commandLine, std::string_view hint) {
    std::optional<ChildProcess> editor = ChildProcess::StartHidden(run.editorPath, commandLine);
    if (!editor) {
        run.prompts.ShowNotice(kMissingEditorNotice);
        return false;
    }
    TfrmBackupHint progress({run.owner, *editor, std::string(hint), run.injected});
    return progress.ShowModal() == IDOK;
}

std::string SystemRegistryEditorPath() {
    const std::string windows = WindowsFolder();
    // A bare "regedit.exe" would be looked for in the current folder: better none at all.
    return windows.empty() ? std::string() : RegistryEditorPath(windows);
}

}  // namespace vantrel
