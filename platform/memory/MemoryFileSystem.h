#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// An in-memory file system for tests, with the path rules of Windows: backslash separators,
// letters a to z compared without case, repeated backslashes collapsed, "." and ".."
// components resolved, trailing dots and blanks of a component ignored. Drives must be added
// before files on them; a drive that was not added does not exist.
class MemoryFileSystem : public FileSystem {
public:
    MemoryFileSystem();

    void AddDrive(char letter, uint32_t driveType);
    // Creates the missing parent folders.
    void AddFile(std::string_view path);
    void AddDirectory(std::string_view path);
    void Remove(std::string_view path);
    // A short (8.3) alias by which an existing file or folder can also be named.
    void AddShortName(std::string_view longPath, std::string_view shortPath);
    void SetEnvironment(std::string_view name, std::string_view value);
    void SetSpecialFolder(int folder, std::string_view path);
    // Adds the shortcut file and records its target.
    void SetShortcutTarget(std::string_view linkPath, std::string_view targetPath);

    // FileExists and DirectoryExists calls so far.
    size_t ExistenceQueries() const;

    bool FileExists(std::string_view path) override;
    bool DirectoryExists(std::string_view path) override;
    uint32_t DriveType(std::string_view rootFolder) override;
    std::vector<FolderEntry> ListFolder(std::string_view folder) override;
    std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                        size_t bufferChars) override;
    std::string SpecialFolderPath(int folder) override;
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override;

private:
    struct Node;
    mutable std::mutex mutex_;
    std::shared_ptr<Node> root_;
    std::map<std::string, uint32_t> drives_;
    std::map<std::string, std::string> environment_;  // keyed by upper-cased name
    std::map<int, std::string> specialFolders_;
    std::map<std::string, std::string> shortcutTargets_;  // keyed by normalised path
    std::map<std::string, std::string> shortNames_;       // normalised short -> long
    size_t existenceQueries_ = 0;
};

}  // namespace vantrel
