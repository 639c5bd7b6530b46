#pragma once

#include <string_view>

#include "platform/BackupFile.h"

namespace vantrel {

// Backup files on disk through CreateFileA, WriteFile and FlushFileBuffers: paths and text in
// the ANSI code page, the bytes written exactly as given. Each call opens and closes the file
// itself. Folders through SHCreateDirectoryExA and RemoveDirectoryA.
class Win32BackupFile final : public BackupFile {
  public:
    bool Exists(std::string_view path) override;
    void Create(std::string_view path, std::string_view text) override;
    void Append(std::string_view path, std::string_view text) override;
    void Commit(std::string_view path) override;
    std::string Read(std::string_view path) override;
    void CreateFolder(std::string_view path) override;
    void Remove(std::string_view path) override;
    void RemoveFolder(std::string_view path) override;
};

// The local date and time now, for the name of a Repair command's backup file.
BackupTime LocalBackupTime();

}  // namespace vantrel
