#include "console/ConsoleRepair.h"

#include <windows.h>

#include <exception>

#include "platform/BackupFile.h"
#include "platform/RegistryAccess.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "repair/Repair.h"
#include "repair/ShortcutCopies.h"

namespace vantrel {
namespace {

std::string AbsolutePath(const std::string& path) {
    char full[MAX_PATH * 4];
    const DWORD length =
        ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(sizeof full), full, nullptr);
    if (length == 0 || length >= sizeof full)
        return path;
    return std::string(full, length);
}

// On a console nobody answers: the folder is made, and the user is told afterwards. Notices
// and errors go to the error stream; there is no dialog to show.
class CreateWithoutAsking : public Prompts {
  public:
    explicit CreateWithoutAsking(std::FILE* errors) : errors_(errors) {}
    bool AskYesNo(std::string_view, DefaultAnswer) override {
        asked_ = true;
        return true;
    }
    void ShowNotice(std::string_view text) override { Print(text); }
    void ShowError(std::string_view text) override { Print(text); }
    std::optional<std::string> AskSaveFileName(const SaveFileQuestion&) override {
        return std::nullopt;
    }
    std::optional<std::string> AskFolder(std::string_view) override { return std::nullopt; }
    bool Asked() const { return asked_; }

  private:
    void Print(std::string_view text) {
        std::fprintf(errors_, "vantrel-scan: %.*s\n", static_cast<int>(text.size()), text.data());
    }

    std::FILE* errors_;
    bool asked_ = false;
};

// True when the folder exists or was made; the messages are on `errors`.
bool PrepareBackupFolder(const std::string& folder, std::FILE* errors) {
    Win32FileSystem fileSystem;
    CreateWithoutAsking prompts(errors);
    try {
        EnsureBackupFolder(folder, fileSystem, prompts, &CreateFolderWithParents);
    } catch (const RepairCommandError& error) {
        std::fprintf(errors, "vantrel-scan: %s\n", error.what());
        return false;
    }
    if (prompts.Asked())
        std::fprintf(errors, "vantrel-scan: created the backup folder %s\n", folder.c_str());
    return true;
}

// Remembers whether this run wrote anything: the file may be older, from a run in the same
// second.
class WriteNotingBackupFile : public BackupFile {
  public:
    explicit WriteNotingBackupFile(BackupFile& next) : next_(next) {}
    bool Exists(std::string_view path) override { return next_.Exists(path); }
    void Create(std::string_view path, std::string_view text) override {
        next_.Create(path, text);
        wrote_ = true;
    }
    void Append(std::string_view path, std::string_view text) override {
        next_.Append(path, text);
        wrote_ = true;
    }
    void Commit(std::string_view path) override { next_.Commit(path); }
    std::string Read(std::string_view path) override { return next_.Read(path); }
    void CreateFolder(std::string_view path) override { next_.CreateFolder(path); }
    void Remove(std::string_view path) override { next_.Remove(path); }
    void RemoveFolder(std::string_view path) override { next_.RemoveFolder(path); }
    bool Wrote() const { return wrote_; }

  private:
    BackupFile& next_;
    bool wrote_ = false;
};

std::vector<RepairRow> AllTicked(const std::vector<ScanIssue>& issues) {
    std::vector<RepairRow> rows;
    rows.reserve(issues.size());
    for (const ScanIssue& issue : issues)
        rows.push_back({issue, true});
    return rows;
}

}  // namespace

ConsoleRepair::ConsoleRepair(const std::string& backupFolder, std::FILE* out, std::FILE* errors)
    : folder_(AbsolutePath(backupFolder)),
      backupFileName_(BackupFileName(folder_, LocalBackupTime())),
      out_(out),
      errors_(errors) {}

bool ConsoleRepair::PrepareFolder() {
    if (PrepareBackupFolder(folder_, errors_))
        return true;
    result_ = ConsoleRepairResult::Failed;
    return false;
}

std::vector<ScanIssue> ConsoleRepair::Repair(const std::vector<ScanIssue>& issues) {
    std::vector<ScanIssue> gone;
    if (result_ == ConsoleRepairResult::Failed)
        return gone;
    Win32Registry registry;
    Win32FileSystem fileSystem;
    Win32BackupFile diskFiles;
    WriteNotingBackupFile files(diskFiles);
    const RepairContext context{registry, fileSystem, files, backupFileName_};
    const FileDeleter deleteFile = CopyingFileDeleter(
        files, context.backupFileName,
        [&](const std::string& path) {
            if (ShellDeletedFile(path))
                return true;
            std::fprintf(errors_, "vantrel-scan: cannot delete %s\n", path.c_str());
            return false;
        },
        [&](const std::string& message) {
            std::fprintf(errors_, "vantrel-scan: %s\n", message.c_str());
        });

    RepairTally tally;
    try {
        RepairRows(context, AllTicked(issues), deleteFile, tally);
    } catch (const std::exception& error) {
        // BackupFileError or RegistryError: the row that raised it and those above it stay.
        std::fprintf(errors_, "vantrel-scan: %s\n", error.what());
        result_ = ConsoleRepairResult::Failed;
    }
    wrote_ = wrote_ || files.Wrote();
    if (!tally.noLongerProblems.empty())
        std::fprintf(errors_, "vantrel-scan: %s\n",
                     NoLongerProblemsNotice(tally.noLongerProblems.size()).c_str());
    const size_t notRemoved = tally.notRemoved.size();
    if (notRemoved > 0) {
        std::fprintf(errors_, "vantrel-scan: %s\n", NotRemovedNotice(notRemoved).c_str());
        if (result_ == ConsoleRepairResult::AllRepaired)
            result_ = ConsoleRepairResult::SomeNotRemoved;
    }
    for (const size_t index : tally.Gone())
        gone.push_back(issues[index]);
    return gone;
}

ConsoleRepairResult ConsoleRepair::Finish() {
    // Also after a failure: what was exported before it is in the file.
    std::fprintf(out_, "%s\n", wrote_ ? backupFileName_.c_str() : kNoBackupFileLine);
    std::fflush(out_);
    return result_;
}

}  // namespace vantrel
