#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// An in-memory file system for tests, with the path rules of Windows: backslash separators
// (and "/", as the system accepts), letters a to z compared without case, repeated backslashes
// collapsed, "." and ".." components resolved, trailing dots and blanks of the last component
// ignored (of the others one trailing dot, as the system trims), a trailing backslash naming
// only folders. Only drive paths resolve ("x:\..."; "x:name" is taken from the drive's root);
// relative, UNC and wildcard paths name nothing. Drives must be added before files on them; a
// drive that was not added does not exist. Building calls raise std::invalid_argument for
// paths they cannot hold (no such drive, a file in the way). Folder links (junctions) lead to
// another folder: paths pass through them, listings show them as reparse points.
class MemoryFileSystem : public FileSystem {
  public:
    MemoryFileSystem();

    void AddDrive(char letter, uint32_t driveType);
    // Creates the missing parent folders.
    void AddFile(std::string_view path);
    void AddDirectory(std::string_view path);
    void Remove(std::string_view path);
    // A short (8.3) alias by which an existing file or folder can also be named; the short
    // path's folder must be the long path's folder (either may be named by short names).
    void AddShortName(std::string_view longPath, std::string_view shortPath);
    void SetEnvironment(std::string_view name, std::string_view value);
    void SetSpecialFolder(int folder, std::string_view path);
    // Adds the shortcut file and records its target.
    void SetShortcutTarget(std::string_view linkPath, std::string_view targetPath);
    // A junction at linkPath (its parent folders are created) to the folder at targetPath,
    // which may be one of its own parents.
    void AddFolderLink(std::string_view linkPath, std::string_view targetPath);
    // The system folder and its 32-bit programs' stand-in ("" for none, the default).
    void SetSystemFolders(std::string_view systemFolder, std::string_view systemWow64Folder);

    // FileExists and DirectoryExists calls so far.
    size_t ExistenceQueries() const;

    bool FileExists(std::string_view path) override;
    bool DirectoryExists(std::string_view path) override;
    uint32_t DriveType(std::string_view rootFolder) override;
    std::vector<FolderEntry> ListFolder(std::string_view folder) override;
    std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                        size_t bufferChars) override;
    std::optional<std::string> EnvironmentVariable(std::string_view name) override;
    std::string SpecialFolderPath(int folder) override;
    std::string SystemFolder() override;
    std::string SystemWow64Folder() override;
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override;

  private:
    struct Node;
    struct Drive {
        uint32_t type = drivetype::kUnknown;
        std::shared_ptr<Node> root;
    };

    // The node a path names, through long or short names and folder links (the last one only
    // when followLastLink); null when nothing is there. A path ending with a separator names
    // only folders.
    Node* Find(std::string_view path, bool followLastLink = false, int linkDepth = 0) const;
    // The folder a link leads to; null when it leads nowhere or links lead on too deep.
    Node* Follow(Node* node, int linkDepth) const;
    // The drive's root folder; null for a drive that was not added.
    Node* DriveRoot(char lowerLetter) const;
    // Adds a file or folder with its missing parent folders; raises std::invalid_argument for a
    // path it cannot hold.
    Node* AddNode(std::string_view path, bool directory);

    mutable std::mutex mutex_;
    std::map<char, Drive> drives_;                    // keyed by lower-case letter
    std::map<std::string, std::string> environment_;  // keyed by upper-cased name
    std::map<int, std::string> specialFolders_;
    std::string systemFolder_;
    std::string systemWow64Folder_;
    size_t existenceQueries_ = 0;
};

}  // namespace vantrel
