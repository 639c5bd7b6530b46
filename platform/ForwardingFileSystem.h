#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// A file system that passes every question to another one: a wrapper derives from it and
// overrides only what it answers differently.
class ForwardingFileSystem : public FileSystem {
  public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}
    ForwardingFileSystem(const ForwardingFileSystem&) = delete;
    ForwardingFileSystem& operator=(const ForwardingFileSystem&) = delete;

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
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override {
        return inner_.ResolveShortcutTarget(linkPath);
    }

  protected:
    // The file system the questions go to.
    FileSystem& Inner() { return inner_; }

  private:
    FileSystem& inner_;
};

}  // namespace vantrel
