#pragma once

#include <cstddef>
#include <cstdint>
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

// Where one entry of a backup stands in the registry now.
enum class EntryNow {
    Absent,     // no such key or value
    Same,       // the key exists; the value has the backup's type and bytes
    Different,  // the value exists with another type or other bytes
};

// One key or value of a backup, as the restore dialog lists it.
struct BackupEntry {
    RootKey root = RootKey::None;
    std::string keyPath;
    bool isValue = false;
    std::string valueName;  // "" the default value
    bool removes = false;   // "[-key]" or "name"=-: the merge removes it
    uint32_t type = regtype::kNone;
    std::vector<uint8_t> data;
    EntryNow now = EntryNow::Absent;

    // Whether the registry holds it as a merge of the backup leaves it.
    bool AsMerged() const { return removes ? now == EntryNow::Absent : now == EntryNow::Same; }
};

// Every key and value the blocks leave after a merge (a later line about the same entry replacing
// an earlier one), keys in their order, each followed by its values, with where each stands in
// the registry now. The registry is only read.
std::vector<BackupEntry> ListBackupEntries(RegistrySource& registry,
                                           const std::vector<RegFileBlock>& blocks);

// The state column of the list: "not in the registry", "the same now", "different now" (a key
// that exists is "in the registry").
std::string EntryNowText(const BackupEntry& entry);

// REGEDIT4 blocks (no header) that merge the chosen entries alone, in their order: a key's block
// with the chosen values of it.
std::string RegBlocksOfEntries(const std::vector<BackupEntry>& entries,
                               const std::vector<size_t>& chosen);

// After a restore: "All 12 entries are back in the registry." or "3 of the 12 entries are not
// in the registry.", and a line for the shortcut files put back, if any; "" for a restore of
// nothing.
std::string RestoredNotice(const RestoreCheck& check, size_t shortcutsBack = 0);

// The notice when a restored backup is kept because entries of it are missing: "12 entries of
// the backup are not in the registry; the backup file was kept."
std::string MissingEntriesNotice(size_t missing);

// The notice when a restored backup is kept because it could not be checked, with the reason.
std::string UncheckedBackupNotice(std::string_view reason);

}  // namespace vantrel
