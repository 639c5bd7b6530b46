#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BackupFile.h"
#include "platform/RegistryAccess.h"
#include "repair/RegFileReader.h"

namespace vantrel {

// How much of a backup the registry holds again after a merge.
struct RestoreCheck {
    size_t entries = 0;  // the keys and values the backup names, each counted once
    size_t missing = 0;  // of those, the ones the registry does not hold as the backup has them
    bool Complete() const { return missing == 0; }
};

// Compares what a merge of `blocks` should have left in the registry with the registry, which
// it only reads. A key is there when it exists; a value when it exists with the same type and
// the same bytes; a "[-key]" or "name"=- removal when the key or value is absent. A later line
// about the same key or value (names compared without regard to the case of a to z) replaces
// an earlier one, as it does in a merge. A key that is missing counts once, and each value the
// backup gives it counts once more.
RestoreCheck CheckRestored(RegistrySource& registry, const std::vector<RegFileBlock>& blocks);

// Reads the backup file back and checks it. Raises BackupFileError when the file cannot be
// read and RegFileError when it is not REGEDIT4 text this program can read.
RestoreCheck CheckBackupRestored(RegistrySource& registry, BackupFile& files,
                                 std::string_view path);

// The notice when a restored backup is kept because entries of it are missing: "12 entries of
// the backup are not in the registry; the backup file was kept."
std::string MissingEntriesNotice(size_t missing);

// The notice when a restored backup is kept because it could not be checked, with the reason.
std::string UncheckedBackupNotice(std::string_view reason);

}  // namespace vantrel
