#pragma once

#include <windows.h>
// <windows.h> maps this name to its ANSI function; here it is the FileSystem method.
#undef ExpandEnvironmentStrings

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// Passes everything to another file system, and makes sure the calling thread has initialised
// COM before a shortcut is resolved: the shell link object needs it, and the scan resolves
// shortcuts on its own worker thread. COM stays initialised until that thread ends.
class ComReadyFileSystem : public FileSystem {
  public:
    explicit ComReadyFileSystem(FileSystem& inner) : inner_(inner) {}

    bool FileExists(std::string_view path) override { return inner_.FileExists(path); }
    bool DirectoryExists(std::string_view path) override { return inner_.DirectoryExists(path); }
    uint32_t DriveType(std::string_view rootFolder) override {
        return inner_.DriveType(rootFolder);
    }
    std::vector<FolderEntry> ListFolder(std::string_view folder) override {
        return inner_.ListFolder(folder);
    }
    std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                        size_t bufferChars) override {
        return inner_.ExpandEnvironmentStrings(text, bufferChars);
    }
    std::optional<std::string> EnvironmentVariable(std::string_view name) override {
        return inner_.EnvironmentVariable(name);
    }
    std::string SpecialFolderPath(int folder) override { return inner_.SpecialFolderPath(folder); }
    std::string SystemFolder() override { return inner_.SystemFolder(); }
    std::string SystemWow64Folder() override { return inner_.SystemWow64Folder(); }
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override;

  private:
    FileSystem& inner_;
};

}  // namespace vantrel
