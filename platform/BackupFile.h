#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vantrel {

// The local date and time a Repair command started at.
struct BackupTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

// A backup file that could not be created or written. The message names the file and the
// system's reason, ready for the user: Cannot write "C:\b\Backup20261206210507.reg": There is
// not enough space on the disk.
class BackupFileError : public std::runtime_error {
  public:
    BackupFileError(std::string_view action, std::string_view path, std::string_view reason);
};

// The files that repair writes its backups into, by path, and the folders beside them. Text is
// written as given: 8-bit bytes, no line-end translation, no byte order mark. Used from one
// thread at a time.
//
// Contract for every implementation (the in-memory one for tests, the Win32 one over
// CreateFileA and WriteFile):
// - Exists: true when a file (not a folder) of that path exists; never raises.
// - Create: makes a new file holding exactly `text`. It never overwrites: an existing file is
//   an error. When the text cannot be written in full, the file it just made is removed again,
//   so a later Exists is false and no file without its header is left behind. Raises
//   BackupFileError("Cannot create", path, reason) when the file cannot be made, and
//   BackupFileError("Cannot write", path, reason) when the text cannot be written.
// - Append: adds `text` at the end of an existing file, which it opens and closes within the
//   call (nothing is held open between calls). A missing file is an error, not a reason to
//   make one. Raises BackupFileError("Cannot open", path, reason) or ("Cannot write", ...);
//   after a failed write the file is cut back to what it held before, so that it never ends
//   in part of a block (which would make the whole file unreadable to the registry editor).
// - Commit: makes everything written to the file so far durable: on the disk, not only in the
//   system's cache, when it returns (FlushFileBuffers), so that a power cut after it loses
//   nothing of it. Repair deletes an entry only after the block that backs it up is committed.
//   Raises BackupFileError("Cannot open", ...) or ("Cannot write", path, reason).
// - Read: the whole file, byte for byte (a restore reads its backup back to check it). Raises
//   BackupFileError("Cannot open", path, reason) or ("Cannot read", ...).
// - CreateFolder: makes the folder with all its missing parents; one that exists already is no
//   error. Raises BackupFileError("Cannot create", path, reason).
// - Remove: deletes the file at once (not into the recycle bin); a missing file is no error.
//   Raises BackupFileError("Cannot delete", path, reason), also for a folder.
// - RemoveFolder: deletes the folder when it is empty; a missing folder is no error. Raises
//   BackupFileError("Cannot delete", path, reason), also for a folder that is not empty.
// Create and Append alone promise nothing about the disk: a crash may lose what they wrote.
// The reason is the system's message for the error (FormatMessage text without its final
// CR LF).
class BackupFile {
  public:
    virtual ~BackupFile() = default;

    virtual bool Exists(std::string_view path) = 0;
    virtual void Create(std::string_view path, std::string_view text) = 0;
    virtual void Append(std::string_view path, std::string_view text) = 0;
    virtual void Commit(std::string_view path) = 0;
    virtual std::string Read(std::string_view path) = 0;
    virtual void CreateFolder(std::string_view path) = 0;
    virtual void Remove(std::string_view path) = 0;
    virtual void RemoveFolder(std::string_view path) = 0;
};

}  // namespace vantrel
