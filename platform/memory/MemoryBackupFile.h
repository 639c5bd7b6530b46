#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/BackupFile.h"

namespace vantrel {

// Backup files in memory for tests: paths compared without regard to the case of a to z, as
// Windows compares them, faults that can be injected, and the line between what was written
// and what was committed to the disk (what a power cut would leave). Keeps the contract of
// BackupFile.
class MemoryBackupFile final : public BackupFile {
  public:
    bool Exists(std::string_view path) override;
    void Create(std::string_view path, std::string_view text) override;
    void Append(std::string_view path, std::string_view text) override;
    void Commit(std::string_view path) override;
    std::string Read(std::string_view path) override;
    void CreateFolder(std::string_view path) override;
    void Remove(std::string_view path) override;
    void RemoveFolder(std::string_view path) override;

    // Fault injection.
    // Every later Create fails before making the file ("Access is denied.").
    void RefuseCreate() { refuseCreate_ = true; }
    // After this many more successful writes (a Create or an Append each), every write fails
    // ("There is not enough space on the disk.") and leaves the file as it was.
    void FailWritesAfter(size_t successfulWrites) { writesLeft_ = successfulWrites; }
    void FailWrites() { FailWritesAfter(0); }
    // After this many more successful commits every commit fails ("The request could not be
    // performed because of an I/O device error."), committing nothing.
    void FailCommitsAfter(size_t successfulCommits) { commitsLeft_ = successfulCommits; }

    // Inspection.
    std::optional<std::string> Contents(std::string_view path) const;
    // What the disk holds of the file: its text as of its last successful Commit; nullopt when
    // it was never committed (a crash might leave no file at all).
    std::optional<std::string> CommittedContents(std::string_view path) const;
    size_t FileCount() const { return files_.size(); }
    // A folder made by CreateFolder (with its parents) and not removed since. Files need no
    // folder here: a file's folder is only known when it was made.
    bool FolderExists(std::string_view path) const;
    // Creates and appends that succeeded so far.
    size_t WriteCount() const { return writeCount_; }
    // Commits that succeeded so far.
    size_t CommitCount() const { return commitCount_; }

  private:
    struct File {
        std::string text;
        std::optional<std::string> committed;
    };

    void SpendOneWrite(std::string_view path);

    bool HoldsAnything(const std::string& upperFolder) const;

    std::map<std::string, File> files_;  // by upper-case path
    std::set<std::string> folders_;      // by upper-case path, without a trailing backslash
    bool refuseCreate_ = false;
    std::optional<size_t> writesLeft_;
    std::optional<size_t> commitsLeft_;
    size_t writeCount_ = 0;
    size_t commitCount_ = 0;
};

}  // namespace vantrel
