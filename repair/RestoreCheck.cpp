#include "repair/RestoreCheck.h"

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/TextCase.h"
#include "repair/RegFileWriter.h"

namespace vantrel {
namespace {

// What the merge should have left of one value: its type and bytes, or nothing.
struct ExpectedValue {
    std::string name;
    bool removed = false;
    uint32_t type = regtype::kNone;
    std::vector<uint8_t> data;
};

// What the merge should have left of one key: the key with these values, or no key at all.
struct ExpectedKey {
    RootKey root = RootKey::None;
    std::string path;
    bool removed = false;
    std::map<std::string, ExpectedValue> values;  // by upper-cased name
};

using KeyId = std::pair<RootKey, std::string>;  // the root and the upper-cased path

bool IsBelow(const KeyId& key, const KeyId& parent) {
    return key.first == parent.first && key.second.size() > parent.second.size() &&
           key.second.compare(0, parent.second.size(), parent.second) == 0 &&
           key.second[parent.second.size()] == '\\';
}

// The registry's state after the blocks, as far as they say anything about it.
std::map<KeyId, ExpectedKey> ExpectedState(const std::vector<RegFileBlock>& blocks) {
    std::map<KeyId, ExpectedKey> keys;
    for (const RegFileBlock& block : blocks) {
        const KeyId id{block.root, UpperAscii(block.path)};
        if (block.removesKey) {
            // A removed key takes its whole subtree with it.
            for (auto it = keys.begin(); it != keys.end();) {
                it = IsBelow(it->first, id) ? keys.erase(it) : std::next(it);
            }
            keys[id] = ExpectedKey{block.root, block.path, true, {}};
            continue;
        }
        // A merge makes the missing parents of a key it writes, removed ones too.
        for (auto& [otherId, other] : keys) {
            if (other.removed && IsBelow(id, otherId))
                other.removed = false;
        }
        auto [at, added] = keys.try_emplace(id, ExpectedKey{block.root, block.path, false, {}});
        ExpectedKey& key = at->second;
        if (!added && key.removed)
            key = ExpectedKey{block.root, block.path, false, {}};
        for (const RegFileValue& value : block.values) {
            key.values[UpperAscii(value.name)] =
                ExpectedValue{value.name, value.removes, value.type, value.data};
        }
    }
    return keys;
}

EntryNow ValueNow(RegistryAccess& access, const ExpectedValue& expected) {
    if (!access.ValueExists(expected.name))
        return EntryNow::Absent;
    try {
        const RawValue actual = access.ReadRawValue(expected.name);
        return actual.type == expected.type && actual.data == expected.data ? EntryNow::Same
                                                                            : EntryNow::Different;
    } catch (const RegistryError&) {
        // What cannot be read is not known to be the backup's.
        return EntryNow::Different;
    }
}

void AddEntriesOfKey(RegistryAccess& access, const ExpectedKey& key,
                     std::vector<BackupEntry>& entries) {
    access.SetRootKey(key.root);
    const bool exists = access.OpenKey(key.path);
    const OpenKeyScope closeAtEnd(access);
    BackupEntry keyEntry;
    keyEntry.root = key.root;
    keyEntry.keyPath = key.path;
    keyEntry.removes = key.removed;
    keyEntry.now = exists ? EntryNow::Same : EntryNow::Absent;
    entries.push_back(keyEntry);
    if (key.removed)
        return;
    for (const auto& named : key.values) {
        const ExpectedValue& value = named.second;
        BackupEntry valueEntry;
        valueEntry.root = key.root;
        valueEntry.keyPath = key.path;
        valueEntry.isValue = true;
        valueEntry.valueName = value.name;
        valueEntry.removes = value.removed;
        valueEntry.type = value.type;
        valueEntry.data = value.data;
        valueEntry.now = exists ? ValueNow(access, value) : EntryNow::Absent;
        entries.push_back(std::move(valueEntry));
    }
}

// A block's first line after its empty line: "[ROOT\path]", or "[-ROOT\path]" for a removal.
std::string KeyLine(RootKey root, const std::string& path, bool removes) {
    return std::string("\r\n") + (removes ? "[-" : "[") + RootKeyName(root) + "\\" + path + "]\r\n";
}

}  // namespace

std::vector<BackupEntry> ListBackupEntries(RegistrySource& registry,
                                           const std::vector<RegFileBlock>& blocks) {
    const std::unique_ptr<RegistryAccess> access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    std::vector<BackupEntry> entries;
    for (const auto& entry : ExpectedState(blocks))
        AddEntriesOfKey(*access, entry.second, entries);
    return entries;
}

RestoreCheck CheckRestored(RegistrySource& registry, const std::vector<RegFileBlock>& blocks) {
    RestoreCheck check;
    for (const BackupEntry& entry : ListBackupEntries(registry, blocks)) {
        ++check.entries;
        if (!entry.AsMerged())
            ++check.missing;
    }
    return check;
}

std::string EntryNowText(const BackupEntry& entry) {
    switch (entry.now) {
        case EntryNow::Absent:
            return "not in the registry";
        case EntryNow::Same:
            return entry.isValue ? "the same now" : "in the registry";
        case EntryNow::Different:
            break;
    }
    return "different now";
}

std::string RegBlocksOfEntries(const std::vector<BackupEntry>& entries,
                               const std::vector<size_t>& chosen) {
    std::string blocks;
    std::optional<std::pair<RootKey, std::string>>
        openKey;  // of the last block, if it takes values
    for (const size_t index : chosen) {
        const BackupEntry& entry = entries.at(index);
        const std::pair<RootKey, std::string> key{entry.root, entry.keyPath};
        if (!entry.isValue) {
            blocks += KeyLine(entry.root, entry.keyPath, entry.removes);
            openKey = entry.removes ? std::nullopt : std::optional(key);
            continue;
        }
        if (openKey != key) {
            blocks += KeyLine(entry.root, entry.keyPath, false);
            openKey = key;
        }
        if (!entry.removes)
            blocks += RegValueLine(entry.valueName, RawValue{entry.type, entry.data, true});
        else if (entry.valueName.empty())
            blocks += "@=-\r\n";
        else
            blocks += "\"" + EscapeRegText(entry.valueName) + "\"=-\r\n";
    }
    return blocks;
}

std::string RestoredNotice(const RestoreCheck& check, size_t shortcutsBack) {
    std::string notice;
    if (check.entries == 0) {
        // A backup of shortcut files alone.
    } else if (check.Complete()) {
        notice = check.entries == 1 ? "The entry is back in the registry."
                                    : "All " + std::to_string(check.entries) +
                                          " entries are back in the registry.";
    } else {
        notice = std::to_string(check.missing) + " of the " + std::to_string(check.entries) +
                 (check.missing == 1 ? " entries is not in the registry."
                                     : " entries are not in the registry.");
    }
    if (shortcutsBack > 0) {
        notice += notice.empty() ? "" : "\r\n";
        notice += shortcutsBack == 1
                      ? "1 shortcut file is back in its place."
                      : std::to_string(shortcutsBack) + " shortcut files are back in their places.";
    }
    return notice;
}

RestoreCheck CheckBackupRestored(RegistrySource& registry, BackupFile& files,
                                 std::string_view path) {
    return CheckRestored(registry, ReadRegFile(files.Read(path)));
}

std::string MissingEntriesNotice(size_t missing) {
    if (missing == 1)
        return "1 entry of the backup is not in the registry; the backup file was kept.";
    return std::to_string(missing) +
           " entries of the backup are not in the registry; the backup file was kept.";
}

std::string UncheckedBackupNotice(std::string_view reason) {
    return "The backup could not be compared with the registry; the backup file was kept.\r\n" +
           std::string(reason);
}

}  // namespace vantrel
