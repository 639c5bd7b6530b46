#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ForwardingFileSystem.h"

namespace vantrel {

// The file system as a 32-bit program on 64-bit Windows sees it: "System32" below the Windows
// folder is the 32-bit system folder (SysWOW64), "Sysnative" is the real System32, and
// %ProgramFiles% and %CommonProgramFiles% expand to their "(x86)" folders. On a system without
// 32-bit view every answer is the wrapped file system's. Used from one thread at a time.
class ThirtyTwoBitFileView : public ForwardingFileSystem {
  public:
    explicit ThirtyTwoBitFileView(FileSystem& files);
    ThirtyTwoBitFileView(const ThirtyTwoBitFileView&) = delete;
    ThirtyTwoBitFileView& operator=(const ThirtyTwoBitFileView&) = delete;

    // False when this view sees what the native one does.
    bool IsOwnView();
    // The path a 32-bit program's path names for this program.
    std::string Redirect(std::string_view path);

    bool FileExists(std::string_view path) override;
    bool DirectoryExists(std::string_view path) override;
    std::vector<FolderEntry> ListFolder(std::string_view folder) override;
    std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                        size_t bufferChars) override;
    std::optional<std::string> EnvironmentVariable(std::string_view name) override;
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override;

  private:
    struct Folders {
        std::string system;     // "C:\Windows\system32"
        std::string wow64;      // "C:\Windows\SysWOW64"
        std::string sysnative;  // "C:\Windows\Sysnative"
        // Variables whose value differs for a 32-bit program, with that value.
        std::vector<std::pair<std::string, std::string>> variables;
    };

    // Asked of the wrapped file system once, on first use.
    const Folders& ViewFolders();
    // The 32-bit value of a variable that has one.
    const std::string* ThirtyTwoBitValue(std::string_view name);
    // The text with the references to variables of their own replaced by their 32-bit values.
    std::string WithThirtyTwoBitVariables(std::string_view text);

    std::optional<Folders> folders_;
};

}  // namespace vantrel
