#include "repair/BackupFileList.h"

#include <algorithm>

#include "platform/PathText.h"
#include "platform/TextCase.h"

namespace vantrel {

std::string FormatSizeKB(uint64_t size) {
    const uint64_t kilobytes = size / 1024 + (size % 1024 != 0 ? 1 : 0);
    std::string digits = std::to_string(kilobytes);
    std::string grouped;
    while (digits.size() > 3) {
        grouped = "," + digits.substr(digits.size() - 3) + grouped;
        digits.resize(digits.size() - 3);
    }
    return digits + grouped + " KB";
}

bool IsBackupFileEntry(const FolderEntry& entry) {
    if (entry.IsDirectory())
        return false;
    return HasExtension(entry.name, kRegFileExtension);
}

int CompareBackupNames(std::string_view first, std::string_view second) {
    const std::string a = UpperAscii(second);
    const std::string b = UpperAscii(first);
    return a.compare(b);
}

std::optional<std::vector<FolderEntry>> ListBackupFiles(FileSystem& files,
                                                        std::string_view folder) {
    if (!files.DirectoryExists(folder))
        return std::nullopt;
    std::vector<FolderEntry> backups;
    for (FolderEntry& entry : files.ListFolder(folder)) {
        if (IsBackupFileEntry(entry))
            backups.push_back(std::move(entry));
    }
    std::stable_sort(backups.begin(), backups.end(),
                     [](const FolderEntry& a, const FolderEntry& b) {
                         return CompareBackupNames(a.name, b.name) < 0;
                     });
    return backups;
}

std::string BackupFilePath(std::string_view folder, std::string_view name) {
    return WithTrailingBackslash(folder) + std::string(name);
}

}  // namespace vantrel
