#pragma once

#include <windows.h>
// <windows.h> maps this name to its ANSI function; with this header it is the FileSystem method.
#undef ExpandEnvironmentStrings

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// The real file system and shell through the wide-character API, with paths and names in the
// ANSI code page.
//
// A name the code page cannot hold would come back with '?' in place of its lost characters,
// and '?' is a wildcard to the shell: such a name is never handed out. Where the system has a
// short (8.3) form that the code page holds, that form is given instead; otherwise the entry is
// left out or the answer is "none".
class Win32FileSystem : public FileSystem {
  public:
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
    // Uses the shell link object: the calling thread must have initialised COM (see
    // ComInitializer); without it the link cannot be created and the answer is nullopt.
    // A shortcut without a file-system target gives "".
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override;
};

}  // namespace vantrel
