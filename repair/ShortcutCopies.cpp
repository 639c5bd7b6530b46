#include "repair/ShortcutCopies.h"

#include <utility>

#include "platform/PathText.h"
#include "repair/RegFileWriter.h"

namespace vantrel {
namespace {

constexpr size_t kMaxCopyNameDigits = 9;
constexpr size_t kMaxExtensionChars = 8;

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiLetterOrDigit(char c) {
    return IsAsciiDigit(c) || IsAsciiLetter(c);
}

// A short extension of letters and digits, dot included ("" for none): a copy's name never
// leaves its folder, whatever the file's name was.
std::string PlainExtension(std::string_view path) {
    const auto dot = path.find_last_of(".\\");
    if (dot == std::string_view::npos || path[dot] != '.')
        return {};
    const std::string_view extension = path.substr(dot + 1);
    if (extension.empty() || extension.size() > kMaxExtensionChars)
        return {};
    for (const char c : extension) {
        if (!IsAsciiLetterOrDigit(c))
            return {};
    }
    return "." + std::string(extension);
}

bool IsCopyName(std::string_view name) {
    size_t digits = 0;
    while (digits < name.size() && IsAsciiDigit(name[digits]))
        ++digits;
    if (digits == 0 || digits > kMaxCopyNameDigits)
        return false;
    return digits == name.size() || PlainExtension(name) == name.substr(digits);
}

// A full path ("C:\..." or "\\server\...") that a line of the index can hold.
bool IsRecordablePath(std::string_view path) {
    for (const char c : path) {
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    const bool drive =
        path.size() > 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\';
    const bool share = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    return drive || share;
}

std::string ParentFolder(std::string_view path) {
    std::string folder(path.substr(0, path.find_last_of('\\')));
    // A drive's root folder keeps its backslash: "C:" alone names a current folder.
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return folder;
}

std::string CopyName(size_t number, std::string_view originalPath) {
    return std::to_string(number) + PlainExtension(originalPath);
}

// The first unused name from the copy after the listed ones: a repair in the same second adds
// to the same backup.
std::string FreeCopyName(BackupFile& files, const std::string& folder, size_t number,
                         std::string_view originalPath) {
    while (files.Exists(JoinFilePath(folder, CopyName(number, originalPath))))
        ++number;
    return CopyName(number, originalPath);
}

std::string IndexPath(const std::string& folder) {
    return JoinFilePath(folder, kShortcutIndexName);
}

void EnsureRegFile(BackupFile& files, std::string_view backupFileName) {
    if (files.Exists(backupFileName))
        return;
    AppendRegBlocks(files, backupFileName, {});
    files.Commit(backupFileName);
}

// Whether the file at `path` holds exactly `bytes`; false when it cannot be read.
bool HoldsBytes(BackupFile& files, const std::string& path, const std::string& bytes) {
    try {
        return files.Read(path) == bytes;
    } catch (const BackupFileError&) {
        return false;
    }
}

std::string PathLines(std::string_view heading, const std::vector<std::string>& lines) {
    std::string text(heading);
    for (const std::string& line : lines)
        text += "\r\n" + line;
    return text;
}

}  // namespace

std::string ShortcutCopiesFolder(std::string_view backupFileName) {
    const auto dot = backupFileName.find_last_of(".\\");
    if (dot == std::string_view::npos || backupFileName[dot] != '.')
        return std::string(backupFileName) + " shortcuts";
    return std::string(backupFileName.substr(0, dot));
}

std::string ShortcutIndexText(const std::vector<ShortcutCopy>& copies) {
    std::string text;
    for (const ShortcutCopy& copy : copies)
        text += copy.copyName + "\t" + copy.originalPath + "\r\n";
    return text;
}

std::vector<ShortcutCopy> ReadShortcutIndex(std::string_view text, std::string_view indexPath) {
    std::vector<ShortcutCopy> copies;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find("\r\n");
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
        const auto tab = line.find('\t');
        if (end == std::string_view::npos || tab == std::string_view::npos ||
            !IsCopyName(line.substr(0, tab)) || !IsRecordablePath(line.substr(tab + 1))) {
            throw BackupFileError("Cannot read", indexPath,
                                  "Line " + std::to_string(lineNumber) +
                                      " is not a copy's name, a tab and a full path.");
        }
        copies.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
    }
    return copies;
}

void CopyShortcutIntoBackup(BackupFile& files, std::string_view backupFileName,
                            std::string_view path) {
    if (!IsRecordablePath(path))
        throw BackupFileError("Cannot copy", path, "The backup can record full paths only.");
    const std::string bytes = files.Read(path);
    EnsureRegFile(files, backupFileName);
    const std::string folder = ShortcutCopiesFolder(backupFileName);
    files.CreateFolder(folder);
    const std::string index = IndexPath(folder);
    const bool indexExists = files.Exists(index);
    const size_t listed = indexExists ? ReadShortcutIndex(files.Read(index), index).size() : 0;
    const ShortcutCopy copy{FreeCopyName(files, folder, listed + 1, path), std::string(path)};
    const std::string copyPath = JoinFilePath(folder, copy.copyName);
    files.Create(copyPath, bytes);
    bool listedInIndex = false;
    try {
        files.Commit(copyPath);
        const std::string line = ShortcutIndexText({copy});
        if (indexExists)
            files.Append(index, line);
        else
            files.Create(index, line);
        listedInIndex = true;
        files.Commit(index);
    } catch (const BackupFileError&) {
        // A copy the index does not name would never be restored nor deleted.
        if (!listedInIndex) {
            try {
                files.Remove(copyPath);
            } catch (const BackupFileError&) {
                // The first error is the one to report.
            }
        }
        throw;
    }
}

FileDeleter CopyingFileDeleter(BackupFile& files, std::string backupFileName,
                               FileDeleter deleteFile, CopyFailureReport reportFailure) {
    return [&files, backup = std::move(backupFileName), deleteFile = std::move(deleteFile),
            report = std::move(reportFailure)](const std::string& path) {
        // A file that is gone has nothing to copy; the deleter tells whether it is gone.
        if (files.Exists(path)) {
            try {
                CopyShortcutIntoBackup(files, backup, path);
            } catch (const BackupFileError& error) {
                if (report)
                    report(error.what());
                return false;
            }
        }
        return deleteFile(path);
    };
}

std::vector<ShortcutCopy> ListShortcutCopies(BackupFile& files, std::string_view backupFileName) {
    const std::string index = IndexPath(ShortcutCopiesFolder(backupFileName));
    if (!files.Exists(index))
        return {};
    return ReadShortcutIndex(files.Read(index), index);
}

ShortcutRestore RestoreShortcutCopies(BackupFile& files, std::string_view backupFileName) {
    ShortcutRestore restore;
    const std::string folder = ShortcutCopiesFolder(backupFileName);
    std::vector<ShortcutCopy> copies;
    try {
        copies = ListShortcutCopies(files, backupFileName);
    } catch (const BackupFileError& error) {
        restore.unreadable = error.what();
        return restore;
    }
    for (const ShortcutCopy& copy : copies) {
        const std::string& path = copy.originalPath;
        try {
            const std::string bytes = files.Read(JoinFilePath(folder, copy.copyName));
            if (files.Exists(path)) {
                // A restore run twice finds its own file there.
                (HoldsBytes(files, path, bytes) ? restore.restored : restore.leftAlone)
                    .push_back(path);
                continue;
            }
            files.CreateFolder(ParentFolder(path));
            files.Create(path, bytes);
            restore.restored.push_back(path);
        } catch (const BackupFileError& error) {
            restore.failed.push_back(error.what());
        }
    }
    return restore;
}

std::string ShortcutRestoreNotice(const ShortcutRestore& restore) {
    if (restore.unreadable)
        return "The backup's copies of deleted shortcuts cannot be read: " + *restore.unreadable;
    std::string notice;
    if (!restore.leftAlone.empty()) {
        notice = PathLines(
            "These shortcuts were not put back, as another file of the same name "
            "is there now:",
            restore.leftAlone);
    }
    if (!restore.failed.empty()) {
        if (!notice.empty())
            notice += "\r\n\r\n";
        notice += PathLines("These shortcuts could not be put back:", restore.failed);
    }
    return notice;
}

std::optional<std::string> DeleteShortcutCopies(BackupFile& files,
                                                std::string_view backupFileName) {
    const std::string folder = ShortcutCopiesFolder(backupFileName);
    const std::string index = IndexPath(folder);
    if (!files.Exists(index))
        return std::nullopt;
    try {
        for (const ShortcutCopy& copy : ReadShortcutIndex(files.Read(index), index))
            files.Remove(JoinFilePath(folder, copy.copyName));
        files.Remove(index);
        files.RemoveFolder(folder);
    } catch (const BackupFileError& error) {
        return "The backup's copies of deleted shortcuts were not all deleted: " +
               std::string(error.what());
    }
    return std::nullopt;
}

}  // namespace vantrel
