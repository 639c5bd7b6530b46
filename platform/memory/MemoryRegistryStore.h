#pragma once

// The tree behind MemoryRegistry and its accessors. Private to platform/memory.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/PathText.h"
#include "platform/memory/MemoryRegistry.h"

namespace vantrel {
namespace memreg {

struct Value {
    std::string name;
    uint32_t type = regtype::kNone;
    std::vector<uint8_t> data;
};

// One key. Accessors hold their open key by shared pointer, so a key deleted while open stays
// valid memory and answers as a deleted key does (nothing in it, nothing below it).
struct Key {
    std::string name;
    // Sorted by name without regard to case, as the registry enumerates subkeys.
    std::vector<std::shared_ptr<Key>> subkeys;
    // Insertion order is enumeration order.
    std::vector<Value> values;
    // Fault marks on value names; kept apart from the values so that they may be set first.
    std::vector<std::string> failReadValues;
    std::vector<std::string> inexactValueNames;
    std::vector<std::string> inexactTexts;
    bool refuseOpen = false;
    bool refuseWrite = false;
    bool refuseNotify = false;
    bool refuseDelete = false;
    // A loaded hive's root (the current user's under HKEY_USERS): the registry never deletes it.
    bool hiveRoot = false;
    // The system name of the key a link leads to; nullopt for an ordinary key.
    std::optional<std::string> linkTarget;
    bool inexactName = false;
    bool deleted = false;
    // Where the last value found by name lies: a walk reads the values in enumeration order,
    // and a search from the start each time would make a key of many values cost its square.
    mutable size_t lastFoundValue = 0;

    std::shared_ptr<Key> FindSubkey(std::string_view subkeyName) const;
    std::shared_ptr<Key> FindOrAddSubkey(std::string_view subkeyName);
    const Value* FindValue(std::string_view valueName) const;
    Value* FindValue(std::string_view valueName);
    void SetValue(std::string_view valueName, uint32_t type, std::vector<uint8_t> data);
    bool RemoveValue(std::string_view valueName);
    bool ValueFailsRead(std::string_view valueName) const;
    bool ValueNameInexact(std::string_view valueName) const;
    bool ValueTextInexact(std::string_view valueName) const;
    bool IsLink() const { return linkTarget.has_value(); }
    // True when this key or one below it refuses to be deleted, written or opened, or is a
    // link (deleting through it would reach the key it leads to).
    bool SubtreeRefusesDelete() const;
    // Detaches the subkey at index and marks its whole subtree deleted.
    void RemoveSubkeyAt(size_t index);
};

// Adds name to a list of names unless one equal without case is already there.
void AddNameOnce(std::vector<std::string>& names, std::string_view name);

}  // namespace memreg

struct MemoryRegistry::Store {
    explicit Store(std::string_view currentUserSid);

    mutable std::mutex mutex;
    std::map<RootKey, std::shared_ptr<memreg::Key>> roots;
    std::string currentUserSid;
    size_t callCount = 0;
    // Calls of each kind so far, and the numbers (in that count) of the calls that are to fail.
    std::map<RegistryCall, size_t> callsOfKind;
    std::map<RegistryCall, std::set<size_t>> failingCalls;
    std::shared_ptr<const std::function<void(RegistryCall)>> observer;

    // Counts one call of this kind; true when it is one that must fail. Callers hold the mutex.
    bool CountCall(RegistryCall call);

    // The root's key, made on first use; null for RootKey::None. Callers hold the mutex.
    std::shared_ptr<memreg::Key> Root(RootKey root);
    // The system's name of the root ("\REGISTRY\MACHINE"); nullopt for a root it does not name.
    std::optional<std::string> RootName(RootKey root) const;
    // The root key a system name begins with, and the rest of the name; nullopt for a name the
    // registry does not hold.
    std::optional<std::pair<RootKey, std::string_view>> SplitSystemName(
        std::string_view name) const;
    // The key at path below the root, fault marks ignored; null when missing.
    std::shared_ptr<memreg::Key> Find(RootKey root, std::string_view path) const;
    // The key at path, with the missing keys on the way created. Raises std::invalid_argument
    // for RootKey::None.
    std::shared_ptr<memreg::Key> FindOrCreate(RootKey root, std::string_view path);
    // Removes the key with its subtree, fault marks ignored; false when missing or a root.
    bool Remove(RootKey root, std::string_view path);
};

std::unique_ptr<RegistryAccess> NewMemoryRegistryAccess(
    std::shared_ptr<MemoryRegistry::Store> store);

}  // namespace vantrel
