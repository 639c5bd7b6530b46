#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// <windows.h> defines ExpandEnvironmentStrings as a macro, which would rename the method below
// in any file that includes both.
#ifdef ExpandEnvironmentStrings
#undef ExpandEnvironmentStrings
#endif

namespace vantrel {

// Drive types as the system numbers them.
namespace drivetype {
constexpr uint32_t kUnknown = 0;
constexpr uint32_t kNoRootDir = 1;
constexpr uint32_t kRemovable = 2;
constexpr uint32_t kFixed = 3;
constexpr uint32_t kRemote = 4;
constexpr uint32_t kCdRom = 5;
constexpr uint32_t kRamDisk = 6;
}  // namespace drivetype

constexpr uint32_t kAttributeDirectory = 0x10;
// A junction or symbolic link: the entry stands for a folder or file somewhere else.
constexpr uint32_t kAttributeReparsePoint = 0x400;

struct FolderEntry {
    std::string name;  // without the folder
    uint32_t attributes = 0;
    uint64_t size = 0;           // of a file, in bytes
    uint64_t lastWriteTime = 0;  // UTC, in 100-nanosecond steps since 1601 (a FILETIME)
    bool IsDirectory() const { return (attributes & kAttributeDirectory) != 0; }
    bool IsReparsePoint() const { return (attributes & kAttributeReparsePoint) != 0; }
};

// Special folder numbers the program asks for.
namespace specialfolder {
constexpr int kPrograms = 2;
constexpr int kRecent = 8;
constexpr int kStartMenu = 11;
constexpr int kDesktopDirectory = 16;
constexpr int kFonts = 20;
constexpr int kCommonStartMenu = 22;
constexpr int kCommonPrograms = 23;
constexpr int kCommonDesktopDirectory = 25;
constexpr int kAppData = 26;
}  // namespace specialfolder

// The file system and shell as the scan sees them. Used from one thread at a time.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // An existing file that is not a directory.
    virtual bool FileExists(std::string_view path) = 0;
    virtual bool DirectoryExists(std::string_view path) = 0;
    // Type of the drive whose root folder is given ("c:\").
    virtual uint32_t DriveType(std::string_view rootFolder) = 0;
    // Entries of the folder matching "*" with all attribute bits, in listing order; "." and
    // ".." are included when the system lists them. An unreadable folder lists nothing. The
    // attributes hold the bits 0x3F and the reparse-point bit.
    virtual std::vector<FolderEntry> ListFolder(std::string_view folder) = 0;
    // The system's expansion of environment references into a buffer of bufferChars
    // characters; nullopt when the expansion fails or does not fit.
    virtual std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                                size_t bufferChars) = 0;
    // The value of an environment variable of this process; nullopt when it is not set.
    virtual std::optional<std::string> EnvironmentVariable(std::string_view name) = 0;
    // Path of a special folder by number; "" when the system has none.
    virtual std::string SpecialFolderPath(int folder) = 0;
    // The system folder ("C:\Windows\system32"), and the folder that 32-bit programs on 64-bit
    // Windows see under that name ("C:\Windows\SysWOW64"; "" on a system without one).
    virtual std::string SystemFolder() = 0;
    virtual std::string SystemWow64Folder() = 0;
    // The target path stored in a shell shortcut; nullopt when it cannot be read.
    virtual std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) = 0;
};

}  // namespace vantrel
