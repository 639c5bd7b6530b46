#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/BackupFile.h"

namespace vantrel {

// Backup files in memory for tests: paths compared without regard to the case of a to z, as
// Windows compares them, and faults that can be injected. Keeps the contract of BackupFile.
class MemoryBackupFile final : public BackupFile {
  public:
    bool Exists(std::string_view path) override;
    void Create(std::string_view path, std::string_view text) override;
    void Append(std::string_view path, std::string_view text) override;
    std::string Read(std::string_view path) override;

    // Fault injection.
    // Every later Create fails before making the file ("Access is denied.").
    void RefuseCreate() { refuseCreate_ = true; }
    // After this many more successful writes (a Create or an Append each), every write fails
    // ("There is not enough space on the disk.").
    void FailWritesAfter(size_t successfulWrites) { writesLeft_ = successfulWrites; }
    void FailWrites() { FailWritesAfter(0); }

    // Inspection.
    std::optional<std::string> Contents(std::string_view path) const;
    size_t FileCount() const { return files_.size(); }
    // Creates and appends that succeeded so far.
    size_t WriteCount() const { return writeCount_; }

  private:
    void SpendOneWrite(std::string_view path);

    std::map<std::string, std::string> files_;  // by upper-case path
    bool refuseCreate_ = false;
    std::optional<size_t> writesLeft_;
    size_t writeCount_ = 0;
};

}  // namespace vantrel
