#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BackupFile.h"
#include "repair/Repair.h"

namespace vantrel {

// The shortcut files a repair deletes are kept with its backup: a REGEDIT4 file can hold no
// file, and the shell's deletion has no undo. Beside "C:\b\Backup20261206210507.reg" the folder
// "C:\b\Backup20261206210507" holds one byte copy per file ("1.lnk", "2.lnk", ...) and the
// index "shortcuts.txt": a line per copy, its name, a tab and the file's original full path,
// then CR LF. A Windows path holds no tab and no line break, so any path survives the index.
// The REGEDIT4 file stays exactly what the registry editor merges.

constexpr std::string_view kShortcutIndexName = "shortcuts.txt";

// The copies' folder of a backup file: its path without the extension.
std::string ShortcutCopiesFolder(std::string_view backupFileName);

// One line of the index.
struct ShortcutCopy {
    std::string copyName;      // "3.lnk", in the copies' folder
    std::string originalPath;  // where the file was, and where a restore puts it back
};

// The index's text for `copies`, in their order.
std::string ShortcutIndexText(const std::vector<ShortcutCopy>& copies);

// The index read back. Raises BackupFileError("Cannot read", indexPath, what is wrong) for a
// line that is not a copy's name (digits, and a short extension), a tab and a full path.
std::vector<ShortcutCopy> ReadShortcutIndex(std::string_view text, std::string_view indexPath);

// Copies the file at `path` byte for byte into the backup of `backupFileName`, and commits the
// copy and its line of the index to the disk before it returns. The REGEDIT4 file is created
// with its header alone when it does not exist yet, so that the restore dialog lists the
// backup. Raises BackupFileError when any step fails; no copy is then left unlisted.
void CopyShortcutIntoBackup(BackupFile& files, std::string_view backupFileName,
                            std::string_view path);

// Repair's file deletion with the copy: a file that is there is first copied into the backup
// (CopyShortcutIntoBackup), then handed to `deleteFile`. A copy that fails keeps the file and
// gives false (the row is not removed); `reportFailure`, when set, receives the error's text.
using CopyFailureReport = std::function<void(const std::string& message)>;
FileDeleter CopyingFileDeleter(BackupFile& files, std::string backupFileName,
                               FileDeleter deleteFile, CopyFailureReport reportFailure = {});

// The copies a backup holds, from its index; none when it has no index. Raises BackupFileError
// when the index cannot be read or is not an index.
std::vector<ShortcutCopy> ListShortcutCopies(BackupFile& files, std::string_view backupFileName);

// What a restore did with the copies of a backup.
struct ShortcutRestore {
    std::vector<std::string> restored;      // put back (or there already, byte for byte)
    std::vector<std::string> leftAlone;     // another file of that path exists now
    std::vector<std::string> failed;        // the errors, which name the files
    std::optional<std::string> unreadable;  // the index could not be read: nothing put back
    bool Complete() const { return leftAlone.empty() && failed.empty() && !unreadable; }
};

// Puts every copy of the backup back at its original path, creating its missing folders; a
// file that exists there now is never overwritten. A backup without copies restores nothing.
ShortcutRestore RestoreShortcutCopies(BackupFile& files, std::string_view backupFileName);

// The notice after a restore that did not put every shortcut back; "" when it did.
std::string ShortcutRestoreNotice(const ShortcutRestore& restore);

// Deletes the copies of a backup with the index and the folder, which keeps anything else put
// there. The notice when something could not be deleted; nullopt when nothing stays.
std::optional<std::string> DeleteShortcutCopies(BackupFile& files, std::string_view backupFileName);

}  // namespace vantrel
