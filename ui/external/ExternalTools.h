#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "scan/ScanIssue.h"

namespace vantrel {

// The registry editor and the backup tool as the window drives them.

// Where the registry editor opens: the key stored as "LastKey" under HKEY_CURRENT_USER.
constexpr std::string_view kRegeditSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr std::string_view kLastKeyValueName = "LastKey";
// Its switch that opens a window of its own even when one is open already.
constexpr std::string_view kOpenEditorParameters = "-m";

constexpr std::string_view kMissingEditorNotice = "Please check if Regedit.exe exists.";
constexpr std::string_view kFullBackupHint = "Backup registry...";
constexpr std::string_view kRestoreHint = "Restore registry...";
constexpr std::string_view kFullBackupTitle = "Save full registry";
constexpr std::string_view kFullBackupFilter = "Registry backup files (*.reg)|*.REG";

// The registry editor in the Windows folder, named by its full path: a program started by its
// bare name is looked for in the current folder first, where anyone may have put one.
std::string RegistryEditorPath(std::string_view windowsFolder);

// `"<editor>" /e "<file>"`: exports the whole registry into the file.
std::string ExportCommandLine(std::string_view editorPath, std::string_view file);
// `"<editor>" /s "<file>"`: merges the file into the registry without asking.
std::string MergeCommandLine(std::string_view editorPath, std::string_view file);

// The full backup's file: the chosen path, with ".reg" appended unless its extension (from
// its last dot) is ".reg" in some letter case; backup.txt becomes backup.txt.reg.
std::string FullBackupPath(std::string_view chosen);

// Asked before a full backup overwrites a file: the path and " has existed,overite it?".
std::string OverwriteQuestion(std::string_view path);

// The key the registry editor is to open at for a row, root name first: the key of the row's
// target (RowTargetOf), or the value's key; "" for a file or a row that names no key.
std::string RegistryEditorKeyText(const ScanIssue& row);

// The system's backup tool: "%SystemRoot%" expanded as the path tests expand it, then
// "\system32\ntbackup.exe" where that file exists, else "\system32\sdclt.exe" (the backup tool
// of the systems after XP) where that one exists, else ntbackup.exe's path for the shell to
// report as missing.
std::string WindowsBackupProgram(FileSystem& files);

}  // namespace vantrel
