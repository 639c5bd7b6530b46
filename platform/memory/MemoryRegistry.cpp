#include "platform/memory/MemoryRegistry.h"

#include <mutex>
#include <stdexcept>

#include "platform/memory/MemoryRegistryStore.h"

namespace vantrel {

MemoryRegistry::MemoryRegistry(std::string_view currentUserSid)
    : store_(std::make_shared<Store>(currentUserSid)) {}

MemoryRegistry::~MemoryRegistry() = default;

std::unique_ptr<RegistryAccess> MemoryRegistry::NewAccess() {
    return NewMemoryRegistryAccess(store_);
}

void MemoryRegistry::AddKey(RootKey root, std::string_view path) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->FindOrCreate(root, path);
}

void MemoryRegistry::SetValue(RootKey root, std::string_view path, std::string_view name,
                              uint32_t type, std::vector<uint8_t> data) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->FindOrCreate(root, path)->SetValue(name, type, std::move(data));
}

void MemoryRegistry::SetString(RootKey root, std::string_view path, std::string_view name,
                               std::string_view text, uint32_t type) {
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(root, path, name, type, std::move(data));
}

void MemoryRegistry::SetDword(RootKey root, std::string_view path, std::string_view name,
                              uint32_t number) {
    std::vector<uint8_t> data(4);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>((number >> (8 * i)) & 0xFFu);
    }
    SetValue(root, path, name, regtype::kDword, std::move(data));
}

void MemoryRegistry::AddLink(RootKey root, std::string_view path, RootKey targetRoot,
                             std::string_view targetPath) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    const std::optional<std::string> targetRootName = store_->RootName(targetRoot);
    if (!targetRootName)
        throw std::invalid_argument("MemoryRegistry: a link cannot lead into that root");
    std::string target = *targetRootName;
    for (const auto segment : SplitKeyPath(targetPath)) {
        target += '\\';
        target.append(segment);
    }
    const auto link = store_->FindOrCreate(root, path);
    if (!link->subkeys.empty() || !link->values.empty())
        throw std::invalid_argument("MemoryRegistry: a link replaces no key: " + std::string(path));
    link->linkTarget = target;
    // As the system keeps it: the target's name without a terminating zero.
    link->SetValue("SymbolicLinkValue", regtype::kLink,
                   std::vector<uint8_t>(target.begin(), target.end()));
}

void MemoryRegistry::RemoveKey(RootKey root, std::string_view path) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->Remove(root, path);
}

void MemoryRegistry::RemoveValue(RootKey root, std::string_view path, std::string_view name) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    if (const auto key = store_->Find(root, path))
        key->RemoveValue(name);
}

bool MemoryRegistry::HasKey(RootKey root, std::string_view path) const {
    std::lock_guard<std::mutex> lock(store_->mutex);
    return store_->Find(root, path) != nullptr;
}

bool MemoryRegistry::HasValue(RootKey root, std::string_view path, std::string_view name) const {
    std::lock_guard<std::mutex> lock(store_->mutex);
    const auto key = store_->Find(root, path);
    return key && key->FindValue(name) != nullptr;
}

std::optional<RawValue> MemoryRegistry::GetValue(RootKey root, std::string_view path,
                                                 std::string_view name) const {
    std::lock_guard<std::mutex> lock(store_->mutex);
    const auto key = store_->Find(root, path);
    if (!key)
        return std::nullopt;
    const memreg::Value* value = key->FindValue(name);
    if (!value)
        return std::nullopt;
    return RawValue{value->type, value->data, !key->ValueTextInexact(name)};
}

std::vector<std::string> MemoryRegistry::SubkeyNames(RootKey root, std::string_view path) const {
    std::lock_guard<std::mutex> lock(store_->mutex);
    std::vector<std::string> names;
    if (const auto key = store_->Find(root, path)) {
        for (const auto& subkey : key->subkeys)
            names.push_back(subkey->name);
    }
    return names;
}

std::vector<std::string> MemoryRegistry::ValueNames(RootKey root, std::string_view path) const {
    std::lock_guard<std::mutex> lock(store_->mutex);
    std::vector<std::string> names;
    if (const auto key = store_->Find(root, path)) {
        for (const auto& value : key->values)
            names.push_back(value.name);
    }
    return names;
}

void MemoryRegistry::RefuseOpen(RootKey root, std::string_view path) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->FindOrCreate(root, path)->refuseOpen = true;
}

void MemoryRegistry::RefuseWriteAccess(RootKey root, std::string_view path) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->FindOrCreate(root, path)->refuseWrite = true;
}

void MemoryRegistry::RefuseNotify(RootKey root, std::string_view path) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->FindOrCreate(root, path)->refuseNotify = true;
}

void MemoryRegistry::FailRead(RootKey root, std::string_view path, std::string_view name) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    memreg::AddNameOnce(store_->FindOrCreate(root, path)->failReadValues, name);
}

void MemoryRegistry::RefuseDelete(RootKey root, std::string_view path) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->FindOrCreate(root, path)->refuseDelete = true;
}

void MemoryRegistry::MarkInexactName(RootKey root, std::string_view path,
                                     std::optional<std::string> valueName) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    const auto key = store_->FindOrCreate(root, path);
    if (valueName) {
        memreg::AddNameOnce(key->inexactValueNames, *valueName);
    } else {
        key->inexactName = true;
    }
}

void MemoryRegistry::MarkInexactText(RootKey root, std::string_view path,
                                     std::string_view valueName) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    memreg::AddNameOnce(store_->FindOrCreate(root, path)->inexactTexts, valueName);
}

void MemoryRegistry::FailCall(RegistryCall call, size_t nth) {
    if (nth == 0)
        throw std::invalid_argument("MemoryRegistry: calls are counted from 1");
    std::lock_guard<std::mutex> lock(store_->mutex);
    store_->failingCalls[call].insert(store_->callsOfKind[call] + nth);
}

void MemoryRegistry::SetCallObserver(std::function<void(RegistryCall)> observer) {
    std::lock_guard<std::mutex> lock(store_->mutex);
    if (observer)
        store_->observer =
            std::make_shared<const std::function<void(RegistryCall)>>(std::move(observer));
    else
        store_->observer.reset();
}

size_t MemoryRegistry::CallCount() const {
    std::lock_guard<std::mutex> lock(store_->mutex);
    return store_->callCount;
}

}  // namespace vantrel
