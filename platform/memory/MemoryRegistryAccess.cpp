// The accessor of MemoryRegistry: the path rules, access rights and read rules of the Win32
// adapter, over the shared in-memory tree.

#include <mutex>
#include <optional>

#include "platform/TextCase.h"
#include "platform/memory/MemoryRegistryStore.h"

namespace vantrel {
namespace {

using memreg::Key;
using KeyPtr = std::shared_ptr<Key>;

RegistryError DataWriteError(std::string_view valueName) {
    return RegistryError("Failed to set data for '" + std::string(valueName) + "'");
}

std::string JoinKeyPath(std::string_view base, const std::vector<std::string_view>& segments) {
    std::string path(base);
    for (const auto segment : segments) {
        if (!path.empty())
            path += '\\';
        path += segment;
    }
    return path;
}

class MemoryRegistryAccess final : public RegistryAccess {
  public:
    explicit MemoryRegistryAccess(std::shared_ptr<MemoryRegistry::Store> store)
        : store_(std::move(store)) {}

    void SetRootKey(RootKey root) override {
        root_ = root;
        CloseKey();
    }
    RootKey GetRootKey() const override { return root_; }
    void SetAccess(AccessMode mode) override { mode_ = mode; }

    bool OpenKey(std::string_view path) override {
        auto lock = CountedCall();
        std::optional<Target> target = Resolve(path);
        CloseKey();
        if (!target)
            return false;
        openKey_ = target->key;
        openPath_ = std::move(target->path);
        openKeyMode_ = mode_;
        return true;
    }

    void CloseKey() override {
        openKey_.reset();
        openPath_.clear();
    }

    bool HasOpenKey() const override { return openKey_ != nullptr; }
    std::string CurrentPath() const override { return openPath_; }

    bool KeyExists(std::string_view path) override {
        auto lock = CountedCall();
        return Resolve(path).has_value();
    }

    bool ValueExists(std::string_view name) override {
        auto lock = CountedCall();
        const Key* key = LiveOpenKey();
        return key && key->FindValue(name);
    }

    std::vector<std::string> GetKeyNames() override {
        auto lock = CountedCall();
        std::vector<std::string> names;
        lastNamesExact_ = true;
        if (const Key* key = LiveOpenKey()) {
            for (const auto& subkey : key->subkeys) {
                names.push_back(subkey->name);
                if (subkey->inexactName)
                    lastNamesExact_ = false;
            }
        }
        return names;
    }

    std::vector<std::string> GetValueNames() override {
        auto lock = CountedCall();
        std::vector<std::string> names;
        lastNamesExact_ = true;
        if (const Key* key = LiveOpenKey()) {
            for (const auto& value : key->values) {
                names.push_back(value.name);
                if (key->ValueInexact(value.name))
                    lastNamesExact_ = false;
            }
        }
        return names;
    }

    bool LastNamesExact() const override { return lastNamesExact_; }

    ValueType GetDataType(std::string_view name) override {
        auto lock = CountedCall();
        const Key* key = LiveOpenKey();
        const memreg::Value* value = key ? key->FindValue(name) : nullptr;
        return value ? ValueTypeOf(value->type) : ValueType::Unknown;
    }

    std::string ReadString(std::string_view name) override {
        auto lock = CountedCall();
        const memreg::Value& value = ReadableValue(name);
        if (value.data.empty())
            return "";
        if (value.type != regtype::kString && value.type != regtype::kExpandString) {
            throw DataReadError(name);
        }
        std::string text(value.data.begin(), value.data.end());
        return text.substr(0, text.find('\0'));
    }

    int32_t ReadInteger(std::string_view name) override {
        auto lock = CountedCall();
        const memreg::Value& value = ReadableValue(name);
        if (value.type != regtype::kDword || value.data.size() != 4)
            throw DataReadError(name);
        uint32_t number = 0;
        for (size_t i = 0; i < 4; ++i)
            number |= static_cast<uint32_t>(value.data[i]) << (8 * i);
        return static_cast<int32_t>(number);
    }

    RawValue ReadRawValue(std::string_view name) override {
        auto lock = CountedCall();
        const memreg::Value& value = ReadableValue(name);
        return RawValue{value.type, value.data, !openKey_->ValueInexact(name)};
    }

    bool DeleteKey(std::string_view path) override {
        auto lock = CountedCall();
        // The root itself, or the open key named by an empty path, is never deleted.
        const bool fromRoot = IsFromRoot(path);
        const auto segments = memreg::SplitKeyPath(fromRoot ? WithoutLeadingBackslash(path) : path);
        if (segments.empty())
            return false;
        const std::vector<std::string_view> parentSegments(segments.begin(), segments.end() - 1);
        const KeyPtr parent = Walk(fromRoot, parentSegments);
        if (!parent)
            return false;
        for (size_t i = 0; i < parent->subkeys.size(); ++i) {
            const KeyPtr& victim = parent->subkeys[i];
            if (!EqualsIgnoreCase(victim->name, segments.back()))
                continue;
            // All or nothing: a refusal anywhere in the subtree leaves the subtree whole.
            if (victim->SubtreeRefusesDelete())
                return false;
            parent->RemoveSubkeyAt(i);
            return true;
        }
        return false;
    }

    bool DeleteValue(std::string_view name) override {
        auto lock = CountedCall();
        Key* key = LiveOpenKey();
        if (!key || openKeyMode_ != AccessMode::Full || key->refuseDelete)
            return false;
        return key->RemoveValue(name);
    }

    void WriteString(std::string_view name, std::string_view value) override {
        auto lock = CountedCall();
        Key* key = LiveOpenKey();
        if (!key || openKeyMode_ != AccessMode::Full)
            throw DataWriteError(name);
        std::vector<uint8_t> data(value.begin(), value.end());
        data.push_back(0);
        key->SetValue(name, regtype::kString, std::move(data));
    }

  private:
    struct Target {
        KeyPtr key;
        std::string path;
    };

    std::unique_lock<std::mutex> CountedCall() {
        std::unique_lock<std::mutex> lock(store_->mutex);
        ++store_->callCount;
        return lock;
    }

    bool IsFromRoot(std::string_view path) const {
        return !openKey_ || (!path.empty() && path.front() == '\\');
    }

    static std::string_view WithoutLeadingBackslash(std::string_view path) {
        if (!path.empty() && path.front() == '\\')
            path.remove_prefix(1);
        return path;
    }

    // The key reached by the segments from the root or the open key; null when a key on the
    // way is missing, deleted or refuses to open.
    KeyPtr Walk(bool fromRoot, const std::vector<std::string_view>& segments) const {
        KeyPtr key = fromRoot ? store_->Root(root_) : openKey_;
        if (!key || key->deleted || (fromRoot && key->refuseOpen))
            return nullptr;
        for (const auto segment : segments) {
            key = key->FindSubkey(segment);
            if (!key || key->refuseOpen)
                return nullptr;
        }
        return key;
    }

    std::optional<Target> Resolve(std::string_view path) const {
        const bool fromRoot = IsFromRoot(path);
        const auto segments = memreg::SplitKeyPath(fromRoot ? WithoutLeadingBackslash(path) : path);
        KeyPtr key = Walk(fromRoot, segments);
        if (!key)
            return std::nullopt;
        return Target{std::move(key), JoinKeyPath(fromRoot ? "" : openPath_, segments)};
    }

    Key* LiveOpenKey() const { return openKey_ && !openKey_->deleted ? openKey_.get() : nullptr; }

    const memreg::Value& ReadableValue(std::string_view name) const {
        const Key* key = LiveOpenKey();
        const memreg::Value* value = key ? key->FindValue(name) : nullptr;
        if (!value || key->ValueFailsRead(name))
            throw DataReadError(name);
        return *value;
    }

    std::shared_ptr<MemoryRegistry::Store> store_;
    RootKey root_ = RootKey::CurrentUser;
    AccessMode mode_ = AccessMode::Full;
    KeyPtr openKey_;
    std::string openPath_;
    AccessMode openKeyMode_ = AccessMode::Full;
    bool lastNamesExact_ = true;
};

}  // namespace

std::unique_ptr<RegistryAccess> NewMemoryRegistryAccess(
    std::shared_ptr<MemoryRegistry::Store> store) {
    return std::make_unique<MemoryRegistryAccess>(std::move(store));
}

}  // namespace vantrel
