#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// The restore dialog's rules for the backup files of a folder.

// The message when the dialog's folder does not exist.
constexpr std::string_view kMissingBackupFolderNotice = "The backup directory does not exist.";

// The size column: the size in kilobytes rounded up, with "," between groups of three digits,
// and " KB" (1500 bytes give "2 KB", 1234567890 bytes "1,205,633 KB").
std::string FormatSizeKB(uint64_t size);

// A file, not a folder, whose extension (from its last dot, dot included) is ".reg" in any
// letter case: a.reg and B.REG are listed, a.reg.txt and reg are not.
bool IsBackupFileEntry(const FolderEntry& entry);

// The rows' order: the second name compared with the first without regard to the case of
// a to z, so that names come in descending order and the newest "Backup<time>.reg" first.
// Below zero when `first` belongs above `second`.
int CompareBackupNames(std::string_view first, std::string_view second);

// The backup files of the folder in the rows' order; nullopt when the folder does not exist.
// A folder that cannot be listed gives no files.
std::optional<std::vector<FolderEntry>> ListBackupFiles(FileSystem& files, std::string_view folder);

// A row's file: the folder with a trailing backslash added unless it has one, then the name.
std::string BackupFilePath(std::string_view folder, std::string_view name);

}  // namespace vantrel
