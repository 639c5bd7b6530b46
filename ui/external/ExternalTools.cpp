#include "ui/external/ExternalTools.h"

#include "platform/PathText.h"
#include "scan/PathTests.h"
#include "scan/RowTarget.h"

namespace vantrel {
namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string EditorCommandLine(std::string_view editorPath, std::string_view switchText,
                              std::string_view file) {
    return Quoted(editorPath) + " " + std::string(switchText) + " " + Quoted(file);
}

}  // namespace

std::string RegistryEditorPath(std::string_view windowsFolder) {
    return JoinFilePath(windowsFolder, "regedit.exe");
}

std::string ExportCommandLine(std::string_view editorPath, std::string_view file) {
    return EditorCommandLine(editorPath, "/e", file);
}

std::string MergeCommandLine(std::string_view editorPath, std::string_view file) {
    return EditorCommandLine(editorPath, "/s", file);
}

std::string FullBackupPath(std::string_view chosen) {
    return WithExtension(chosen, kRegFileExtension);
}

std::string OverwriteQuestion(std::string_view path) {
    return std::string(path) + " has existed,overite it?";
}

std::string RegistryEditorKeyText(const ScanIssue& row) {
    const RowTarget target = RowTargetOf(row);
    switch (target.kind) {
        case RowTarget::Kind::Key:
        case RowTarget::Kind::Value:
        case RowTarget::Kind::DefaultValue:
            return target.KeyText();
        default:
            return "";
    }
}

std::string WindowsBackupProgram(FileSystem& files) {
    const std::string systemRoot = PathTests(files, "").ExpandEnvironmentPath("%SystemRoot%");
    const std::string ntbackup = JoinFilePath(systemRoot, "system32\\ntbackup.exe");
    if (files.FileExists(ntbackup))
        return ntbackup;
    const std::string sdclt = JoinFilePath(systemRoot, "system32\\sdclt.exe");
    if (files.FileExists(sdclt))
        return sdclt;
    return ntbackup;
}

}  // namespace vantrel
