#include "repair/RestoreCheck.h"

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/TextCase.h"

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

// Whether the open key holds the value as expected.
bool ValueAsExpected(RegistryAccess& access, const ExpectedValue& expected) {
    const bool exists = access.ValueExists(expected.name);
    if (expected.removed)
        return !exists;
    if (!exists)
        return false;
    try {
        const RawValue actual = access.ReadRawValue(expected.name);
        return actual.type == expected.type && actual.data == expected.data;
    } catch (const RegistryError&) {
        return false;
    }
}

size_t MissingOfKey(RegistryAccess& access, const ExpectedKey& key) {
    access.SetRootKey(key.root);
    const bool exists = access.OpenKey(key.path);
    const OpenKeyScope closeAtEnd(access);
    if (key.removed)
        return exists ? 1 : 0;
    if (!exists)
        return 1 + key.values.size();
    size_t missing = 0;
    for (const auto& entry : key.values) {
        if (!ValueAsExpected(access, entry.second))
            ++missing;
    }
    return missing;
}

}  // namespace

RestoreCheck CheckRestored(RegistrySource& registry, const std::vector<RegFileBlock>& blocks) {
    const std::unique_ptr<RegistryAccess> access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    RestoreCheck check;
    for (const auto& entry : ExpectedState(blocks)) {
        const ExpectedKey& key = entry.second;
        check.entries += 1 + key.values.size();
        check.missing += MissingOfKey(*access, key);
    }
    return check;
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
