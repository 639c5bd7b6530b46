#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "platform/RegistryAccess.h"

namespace vantrel {

// The nine characters at which a command line may end its program path.
bool IsPathSeparator(char c);

// The lower-case letters c to z whose root folder is a fixed disk, in alphabetical order.
std::string ComputeFixedDriveLetters(FileSystem& files);

// The shared judgements of registry strings naming files.
class PathTests {
  public:
    PathTests(FileSystem& files, std::string fixedDriveLetters);

    // True when Text names a file on a fixed disk that does not exist (a problem to report).
    bool IsMissingFilePath(std::string_view text, std::string_view fileName = {},
                           bool allowDirectory = false) const;
    // The expansion of Text's environment references when it names an existing folder,
    // otherwise Text unchanged.
    std::string ExpandEnvironmentPath(std::string_view text) const;

    const std::string& FixedDriveLetters() const { return fixedDriveLetters_; }

    // True for "X:\..." with X a fixed disk's letter: the only paths whose absence is known. A
    // network share, a removable or optical drive, and a name without a drive (looked up in the
    // program's own current folder) cannot be judged from here.
    bool IsOnFixedDrive(std::string_view path) const;

  private:
    // Every path the text names, read in its format (ReadPathList), is missing.
    bool JudgeEveryPath(std::string_view text, std::string_view fileName,
                        bool allowDirectory) const;
    bool Judge(std::string_view text, std::string_view fileName, bool allowDirectory) const;
    // False when the text, unquoted, neither begins with a variable nor names a fixed drive's
    // path: without a file name to look for, such a text is never judged missing.
    bool MayNameADrivePath(std::string_view text) const;
    bool JudgeWithFileName(std::string_view path, std::string_view fileName) const;
    bool JudgeCommandLine(std::string_view path, bool allowDirectory) const;
    // The path with a leading "%VAR%" replaced by the folder it names; nullopt when not judged.
    std::optional<std::string> ExpandLeadingVariable(std::string_view path) const;
    bool JudgeInsideFolder(std::string_view path, size_t folderLength, bool allowDirectory) const;
    bool NamesProgram(const std::string& candidate, bool allowDirectory) const;
    // Whether candidate followed by ".exe" exists as a file.
    bool ProgramExists(std::string_view candidate) const;
    // True when path plainly names an entry of a folder that does not exist, so nothing is there:
    // the folder is asked about once, not once for every character of the names tried in it.
    bool InMissingFolder(std::string_view path) const;
    bool JudgeWithoutFolder(std::string_view path) const;
    // ExpandEnvironmentPath of a "%VAR%" reference, remembered: the environment and the folders
    // do not change during the scan this object serves.
    const std::string& ExpandReference(std::string_view reference) const;

    FileSystem& files_;
    std::string fixedDriveLetters_;
    mutable std::unordered_map<std::string, std::string> expandedReferences_;
    // Each judgement made, by its arguments: the file system does not change during the scan.
    mutable std::unordered_map<std::string, bool> judgements_;
    mutable std::string judgementKey_;
    // The paths a judgement tries, built in buffers kept from one text to the next: a scan
    // judges hundreds of thousands of texts.
    mutable std::string candidate_;
    mutable std::vector<std::string_view> paths_;
    mutable std::string program_;
    // The folder InMissingFolder asked about last, and the answer.
    mutable std::string lastFolder_;
    mutable bool lastFolderMissing_ = false;
};

// True when the key exists; asks only for read access and creates nothing.
bool RegKeyExists(RegistrySource& registry, RootKey root, std::string_view path);

// The recursive emptiness count; Limit 0 means no limit. A key that cannot be opened, at any
// depth, counts as one entry: the scan never takes what it could not read for empty.
int CountKeyEntries(RegistrySource& registry, RootKey root, std::string_view path, int limit,
                    bool countSubkeys, bool countEmptyDefault);

}  // namespace vantrel
