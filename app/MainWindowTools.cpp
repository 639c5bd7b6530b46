// TfrmRegCleaner's commands that open a dialog or an outside program: Restore, Options, the
// full backup and Windows Backup, and the registry editor opened at a row's key.
#include <windows.h>

#include "app/MainWindow.h"
#include "dialogs/BackupProgressWindow.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/RestoreDialog.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/WriteRegistryString.h"
#include "ui/external/ExternalTools.h"

namespace vantrel {

void TfrmRegCleaner::RestoreCommand() {
    Win32BackupFile backups;
    TfrmRestore restore({window_, options_, args_.files, args_.registry, backups,
                         registryEditorPath_, prompts_.Injected(), shell_.Injected()});
    restore.ShowModal();
}

// Changed ignore lists take effect at the next Scan; nothing here is refreshed.
void TfrmRegCleaner::OptionsCommand() {
    TfrmOptions options({window_, options_, args_.files, registryEditorPath_, prompts_.Injected(),
                         shell_.Injected()});
    options.ShowModal();
}

void TfrmRegCleaner::BackupFullRegistryCommand() {
    const auto chosen = UserPrompts().AskSaveFileName(
        {std::string(kFullBackupTitle), std::string(kFullBackupFilter)});
    if (!chosen)
        return;
    const std::string path = FullBackupPath(*chosen);
    // The editor overwrites the file itself; this program deletes nothing.
    if (args_.files.FileExists(path) &&
        !UserPrompts().AskYesNo(OverwriteQuestion(path), DefaultAnswer::No)) {
        return;
    }
    const RegistryEditorRun run{window_, UserPrompts(), prompts_.Injected(), registryEditorPath_};
    RunAndWait(run, ExportCommandLine(registryEditorPath_, path), kFullBackupHint);
}

void TfrmRegCleaner::WindowsBackupCommand() {
    shell_.Get().Open(WindowsBackupProgram(args_.files), "");
}

// The editor opens at the key it remembers as "LastKey": the row's key is stored there first.
void TfrmRegCleaner::OpenInRegistryEditorCommand() {
    const auto row = lvRegistryData_.SelectedRow();
    if (!row)
        return;
    const std::string keyText = RegistryEditorKeyText(lvRegistryData_.Row(*row));
    // A key that can be neither opened nor created leaves the editor where it was; a value that
    // cannot be written raises, and the editor is not started.
    WriteRegistryString(kRegeditSettingsKey, kLastKeyValueName, keyText);
    shell_.Get().Open(registryEditorPath_, kOpenEditorParameters);
}

}  // namespace vantrel
