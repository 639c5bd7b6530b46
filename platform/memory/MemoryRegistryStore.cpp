#include "platform/memory/MemoryRegistryStore.h"

#include <algorithm>
#include <stdexcept>

#include "platform/TextCase.h"

namespace vantrel {
namespace memreg {

std::shared_ptr<Key> Key::FindSubkey(std::string_view subkeyName) const {
    for (const auto& subkey : subkeys) {
        if (EqualsIgnoreCase(subkey->name, subkeyName))
            return subkey;
    }
    return nullptr;
}

namespace {

// The registry's order of subkeys: names compared character by character after folding a to z
// to capitals, a name before the longer names it begins. That is Windows' order; Wine folds to
// small letters, which puts the six characters between 'Z' and 'a' before the letters.
bool SubkeyNameLess(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto left = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto right = static_cast<unsigned char>(UpperAscii(b[i]));
        if (left != right)
            return left < right;
    }
    return a.size() < b.size();
}

}  // namespace

std::shared_ptr<Key> Key::FindOrAddSubkey(std::string_view subkeyName) {
    if (auto existing = FindSubkey(subkeyName))
        return existing;
    auto added = std::make_shared<Key>();
    added->name = std::string(subkeyName);
    const auto place =
        std::upper_bound(subkeys.begin(), subkeys.end(), subkeyName,
                         [](std::string_view wanted, const std::shared_ptr<Key>& key) {
                             return SubkeyNameLess(wanted, key->name);
                         });
    subkeys.insert(place, added);
    return added;
}

const Value* Key::FindValue(std::string_view valueName) const {
    // The same value again, or the one after it, before a search from the start.
    for (size_t index = lastFoundValue; index < values.size() && index <= lastFoundValue + 1;
         ++index) {
        if (EqualsIgnoreCase(values[index].name, valueName)) {
            lastFoundValue = index;
            return &values[index];
        }
    }
    for (size_t index = 0; index < values.size(); ++index) {
        if (EqualsIgnoreCase(values[index].name, valueName)) {
            lastFoundValue = index;
            return &values[index];
        }
    }
    return nullptr;
}

Value* Key::FindValue(std::string_view valueName) {
    return const_cast<Value*>(static_cast<const Key*>(this)->FindValue(valueName));
}

void Key::SetValue(std::string_view valueName, uint32_t type, std::vector<uint8_t> data) {
    // An existing value keeps its place and the letter case of its name, as the system does.
    if (Value* existing = FindValue(valueName)) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    values.push_back(Value{std::string(valueName), type, std::move(data)});
}

bool Key::RemoveValue(std::string_view valueName) {
    auto found = std::find_if(values.begin(), values.end(), [&](const Value& value) {
        return EqualsIgnoreCase(value.name, valueName);
    });
    if (found == values.end())
        return false;
    values.erase(found);
    return true;
}

namespace {

bool ContainsName(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& listed) { return EqualsIgnoreCase(listed, name); });
}

void MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& subkey : key.subkeys)
        MarkDeleted(*subkey);
}

}  // namespace

bool Key::ValueFailsRead(std::string_view valueName) const {
    return ContainsName(failReadValues, valueName);
}

bool Key::ValueNameInexact(std::string_view valueName) const {
    return ContainsName(inexactValueNames, valueName);
}

bool Key::ValueTextInexact(std::string_view valueName) const {
    return ContainsName(inexactTexts, valueName);
}

bool Key::SubtreeRefusesDelete() const {
    if (refuseDelete || refuseWrite || refuseOpen || refuseNotify || hiveRoot || IsLink())
        return true;
    return std::any_of(subkeys.begin(), subkeys.end(), [](const std::shared_ptr<Key>& subkey) {
        return subkey->SubtreeRefusesDelete();
    });
}

void Key::RemoveSubkeyAt(size_t index) {
    const auto position = subkeys.begin() + static_cast<std::ptrdiff_t>(index);
    MarkDeleted(**position);
    subkeys.erase(position);
}

void AddNameOnce(std::vector<std::string>& names, std::string_view name) {
    if (!ContainsName(names, name))
        names.emplace_back(name);
}

}  // namespace memreg

MemoryRegistry::Store::Store(std::string_view sid) : currentUserSid(sid) {
    // The current user's hive is the one HKEY_USERS lists under the user's SID.
    auto user = std::make_shared<memreg::Key>();
    user->name = currentUserSid;
    user->hiveRoot = true;
    roots[RootKey::CurrentUser] = user;
    auto users = std::make_shared<memreg::Key>();
    users->name = RootKeyName(RootKey::Users);
    users->subkeys.push_back(user);
    roots[RootKey::Users] = users;
}

bool MemoryRegistry::Store::CountCall(RegistryCall call) {
    ++callCount;
    const size_t number = ++callsOfKind[call];
    const auto marks = failingCalls.find(call);
    return marks != failingCalls.end() && marks->second.erase(number) != 0;
}

std::shared_ptr<memreg::Key> MemoryRegistry::Store::Root(RootKey root) {
    if (root == RootKey::None)
        return nullptr;
    auto& key = roots[root];
    if (!key) {
        key = std::make_shared<memreg::Key>();
        key->name = RootKeyName(root);
    }
    return key;
}

std::optional<std::string> MemoryRegistry::Store::RootName(RootKey root) const {
    switch (root) {
        case RootKey::LocalMachine:
            return std::string(kMachineKeyNamePrefix);
        case RootKey::Users:
            return std::string(kUsersKeyNamePrefix);
        case RootKey::CurrentUser:
            return std::string(kUsersKeyNamePrefix) + "\\" + currentUserSid;
        default:
            return std::nullopt;
    }
}

std::optional<std::pair<RootKey, std::string_view>> MemoryRegistry::Store::SplitSystemName(
    std::string_view name) const {
    for (const RootKey root : {RootKey::LocalMachine, RootKey::Users}) {
        const std::string prefix = *RootName(root);
        if (!StartsWithIgnoreCase(name, prefix))
            continue;
        std::string_view rest = name.substr(prefix.size());
        if (!rest.empty() && rest.front() != '\\')
            continue;
        return std::make_pair(root, rest);
    }
    return std::nullopt;
}

std::shared_ptr<memreg::Key> MemoryRegistry::Store::Find(RootKey root,
                                                         std::string_view path) const {
    const auto found = roots.find(root);
    if (found == roots.end())
        return nullptr;
    std::shared_ptr<memreg::Key> key = found->second;
    for (const auto segment : SplitKeyPath(path)) {
        key = key->FindSubkey(segment);
        if (!key)
            return nullptr;
    }
    return key;
}

std::shared_ptr<memreg::Key> MemoryRegistry::Store::FindOrCreate(RootKey root,
                                                                 std::string_view path) {
    std::shared_ptr<memreg::Key> key = Root(root);
    if (!key)
        throw std::invalid_argument("MemoryRegistry: no root key given");
    for (const auto segment : SplitKeyPath(path)) {
        if (key->IsLink())
            throw std::invalid_argument("MemoryRegistry: a link holds no keys: " +
                                        std::string(path));
        key = key->FindOrAddSubkey(segment);
    }
    return key;
}

bool MemoryRegistry::Store::Remove(RootKey root, std::string_view path) {
    const auto segments = SplitKeyPath(path);
    if (segments.empty())
        return false;
    const auto found = roots.find(root);
    if (found == roots.end())
        return false;
    std::shared_ptr<memreg::Key> parent = found->second;
    for (size_t i = 0; i + 1 < segments.size() && parent; ++i) {
        parent = parent->FindSubkey(segments[i]);
    }
    if (!parent)
        return false;
    for (size_t i = 0; i < parent->subkeys.size(); ++i) {
        if (EqualsIgnoreCase(parent->subkeys[i]->name, segments.back())) {
            parent->RemoveSubkeyAt(i);
            return true;
        }
    }
    return false;
}

}  // namespace vantrel
