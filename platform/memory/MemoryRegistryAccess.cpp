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

constexpr std::string_view kWow64NodeName = "Wow6432Node";
// Links that lead on to links are followed this deep; a loop of links opens nothing.
constexpr int kMaxLinkDepth = 16;

std::optional<std::string> ChildName(const std::optional<std::string>& parentName,
                                     std::string_view childName) {
    if (!parentName)
        return std::nullopt;
    std::string name = *parentName;
    name += '\\';
    name.append(childName);
    return name;
}

RegistryError DataWriteError(std::string_view valueName) {
    return RegistryError("Failed to set data for '" + std::string(valueName) + "'");
}

// The open key's path as the Win32 adapter keeps it: the text asked for, after the open key's
// path when it was relative.
std::string PathText(bool fromRoot, std::string_view openPath, std::string_view path) {
    if (fromRoot) {
        if (!path.empty() && path.front() == '\\')
            path.remove_prefix(1);
        return std::string(path);
    }
    if (path.empty())
        return std::string(openPath);
    if (openPath.empty())
        return std::string(path);
    return std::string(openPath) + "\\" + std::string(path);
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
    void SetView(RegistryView view) override { view_ = view; }
    void SetLinkMode(LinkMode mode) override { linkMode_ = mode; }

    bool OpenKey(std::string_view path) override {
        const Call call = Begin(mode_ == AccessMode::Full ? RegistryCall::OpenForWrite
                                                          : RegistryCall::OpenForRead);
        std::optional<Target> target = Resolve(path, linkMode_);
        CloseKey();
        if (call.fails || !target || !GrantsOpen(*target->key, mode_))
            return false;
        openKey_ = target->key;
        openName_ = std::move(target->name);
        openPath_ = std::move(target->path);
        openKeyMode_ = mode_;
        return true;
    }

    void CloseKey() override {
        openKey_.reset();
        openName_.reset();
        openPath_.clear();
    }

    bool HasOpenKey() const override { return openKey_ != nullptr; }
    std::string CurrentPath() const override { return openPath_; }

    // Answered from the open key: the Win32 adapter has it from the values it lists anyway.
    bool OpenKeyIsLink() override {
        std::lock_guard<std::mutex> lock(store_->mutex);
        const Key* key = LiveOpenKey();
        return key != nullptr && key->IsLink();
    }

    std::optional<std::string> OpenKeyName() override {
        const Call call = Begin(RegistryCall::KeyName);
        return !call.fails && LiveOpenKey() ? openName_ : std::nullopt;
    }

    bool KeyExists(std::string_view path) override {
        const Call call = Begin(RegistryCall::KeyExists);
        const std::optional<Target> target = Resolve(path, LinkMode::Follow);
        return !call.fails && target && GrantsExistenceTest(*target->key);
    }

    bool ValueExists(std::string_view name) override {
        const Call call = Begin(RegistryCall::ValueExists);
        return !call.fails && FindValue(LiveOpenKey(), name) != nullptr;
    }

    std::vector<std::string> GetKeyNames() override {
        const Call call = Begin(RegistryCall::ListNames);
        std::vector<std::string> names;
        lastNamesExact_ = !call.fails;
        if (const Key* key = call.fails ? nullptr : LiveOpenKey()) {
            for (const auto& subkey : key->subkeys) {
                names.push_back(subkey->name);
                if (subkey->inexactName)
                    lastNamesExact_ = false;
            }
        }
        return names;
    }

    std::vector<std::string> GetValueNames() override {
        const Call call = Begin(RegistryCall::ListNames);
        std::vector<std::string> names;
        lastNamesExact_ = !call.fails;
        if (const Key* key = call.fails ? nullptr : LiveOpenKey()) {
            for (const auto& value : key->values) {
                names.push_back(value.name);
                if (key->ValueNameInexact(value.name))
                    lastNamesExact_ = false;
            }
        }
        return names;
    }

    bool LastNamesExact() const override { return lastNamesExact_; }

    ValueType GetDataType(std::string_view name) override {
        const Call call = Begin(RegistryCall::ReadType);
        const memreg::Value* value = call.fails ? nullptr : FindValue(LiveOpenKey(), name);
        return value ? ValueTypeOf(value->type) : ValueType::Unknown;
    }

    std::string ReadString(std::string_view name) override {
        const Call call = Begin(RegistryCall::ReadData);
        const memreg::Value& value = ReadableValue(name, call);
        if (value.data.empty())
            return "";
        if (value.type != regtype::kString && value.type != regtype::kExpandString) {
            throw DataReadError(name);
        }
        std::string text(value.data.begin(), value.data.end());
        return text.substr(0, text.find('\0'));
    }

    int32_t ReadInteger(std::string_view name) override {
        const Call call = Begin(RegistryCall::ReadData);
        const memreg::Value& value = ReadableValue(name, call);
        if (value.type != regtype::kDword || value.data.size() != 4)
            throw DataReadError(name);
        uint32_t number = 0;
        for (size_t i = 0; i < 4; ++i)
            number |= static_cast<uint32_t>(value.data[i]) << (8 * i);
        return static_cast<int32_t>(number);
    }

    RawValue ReadRawValue(std::string_view name) override {
        const Call call = Begin(RegistryCall::ReadData);
        const memreg::Value& value = ReadableValue(name, call);
        return RawValue{value.type, value.data, !openKey_->ValueTextInexact(name)};
    }

    bool DeleteKey(std::string_view path) override {
        const Call call = Begin(RegistryCall::DeleteKey);
        // A read-only accessor deletes nothing, as the Win32 adapter's does; nor does one set to
        // the 32-bit view, whose paths name other keys than they say.
        if (call.fails || mode_ == AccessMode::ReadOnly || view_ == RegistryView::ThirtyTwoBit)
            return false;
        // The root itself, or the open key named by an empty path, is never deleted.
        const bool fromRoot = IsFromRoot(path);
        const auto segments = SplitKeyPath(fromRoot ? WithoutLeadingBackslash(path) : path);
        if (segments.empty())
            return false;
        const std::vector<std::string_view> parentSegments(segments.begin(), segments.end() - 1);
        const std::optional<Reached> parent =
            Descend(Start(fromRoot), parentSegments, RegistryView::Native, LinkMode::Follow, 0);
        if (!parent)
            return false;
        for (size_t i = 0; i < parent->key->subkeys.size(); ++i) {
            const KeyPtr& victim = parent->key->subkeys[i];
            if (victim->inexactName || !EqualsIgnoreCase(victim->name, segments.back()))
                continue;
            // All or nothing: a refusal anywhere in the subtree leaves the subtree whole. A link
            // is refused too: what lies behind it is another key's.
            if (victim->IsLink() || victim->SubtreeRefusesDelete())
                return false;
            parent->key->RemoveSubkeyAt(i);
            return true;
        }
        return false;
    }

    bool DeleteValue(std::string_view name) override {
        const Call call = Begin(RegistryCall::DeleteValue);
        Key* key = LiveOpenKey();
        if (call.fails || !key || openKeyMode_ != AccessMode::Full || key->refuseDelete ||
            key->refuseWrite || !FindValue(key, name)) {
            return false;
        }
        return key->RemoveValue(name);
    }

    void WriteString(std::string_view name, std::string_view value) override {
        const Call call = Begin(RegistryCall::WriteValue);
        Key* key = LiveOpenKey();
        if (call.fails || !key || openKeyMode_ != AccessMode::Full || key->refuseWrite)
            throw DataWriteError(name);
        std::vector<uint8_t> data(value.begin(), value.end());
        data.push_back(0);
        key->SetValue(name, regtype::kString, std::move(data));
    }

  private:
    // A key as a path leads to it, with its system name.
    struct Reached {
        KeyPtr key;
        std::optional<std::string> name;
    };

    struct Target {
        KeyPtr key;
        std::optional<std::string> name;
        std::string path;
    };

    // A registry call in progress: the store's lock, and whether the call is to fail.
    struct Call {
        std::unique_lock<std::mutex> lock;
        bool fails = false;
    };

    // Tells the observer, then takes the lock and counts the call.
    Call Begin(RegistryCall kind) {
        std::unique_lock<std::mutex> lock(store_->mutex);
        const auto observer = store_->observer;
        if (observer) {
            lock.unlock();
            (*observer)(kind);
            lock.lock();
        }
        const bool fails = store_->CountCall(kind);
        return Call{std::move(lock), fails};
    }

    bool IsFromRoot(std::string_view path) const {
        return !openKey_ || (!path.empty() && path.front() == '\\');
    }

    static std::string_view WithoutLeadingBackslash(std::string_view path) {
        if (!path.empty() && path.front() == '\\')
            path.remove_prefix(1);
        return path;
    }

    // Whether the key's rights allow an open in that mode: both modes ask for notification.
    static bool GrantsOpen(const Key& key, AccessMode mode) {
        return !key.refuseOpen && !key.refuseNotify &&
               (mode == AccessMode::ReadOnly || !key.refuseWrite);
    }

    static bool GrantsExistenceTest(const Key& key) { return !key.refuseOpen; }

    Reached Start(bool fromRoot) const {
        if (fromRoot)
            return Reached{store_->Root(root_), store_->RootName(root_)};
        return Reached{openKey_, openName_};
    }

    // The 32-bit view's step into a key's "Wow6432Node" subkey before the next name is looked
    // up (or at the end of the path, with an empty next name), unless that name is the node's.
    static Reached IntoWow64Node(Reached at, std::string_view nextName) {
        if (EqualsIgnoreCase(nextName, kWow64NodeName))
            return at;
        const KeyPtr node = at.key->FindSubkey(kWow64NodeName);
        if (!node || node->inexactName)
            return at;
        return Reached{node, ChildName(at.name, node->name)};
    }

    // The key a link leads to (the key itself when it is no link); nullopt when the target is
    // missing or links lead on too deep.
    std::optional<Reached> FollowLink(Reached at, int linkDepth) const {
        if (!at.key->IsLink())
            return at;
        if (linkDepth >= kMaxLinkDepth)
            return std::nullopt;
        const auto split = store_->SplitSystemName(*at.key->linkTarget);
        if (!split)
            return std::nullopt;
        const Reached root{store_->Root(split->first), store_->RootName(split->first)};
        return Descend(root, SplitKeyPath(split->second), RegistryView::Native, LinkMode::Follow,
                       linkDepth + 1);
    }

    // The key the segments lead to from `at`, as the registry resolves a path: links on the
    // way are followed, the last one only with LinkMode::Follow; the 32-bit view steps into
    // "Wow6432Node" subkeys. The rights of the keys passed through are not asked, as the
    // registry does not ask them; a name that stands for one the ANSI code page lost leads
    // nowhere.
    std::optional<Reached> Descend(Reached at, const std::vector<std::string_view>& segments,
                                   RegistryView view, LinkMode lastLink, int linkDepth) const {
        if (!at.key || at.key->deleted)
            return std::nullopt;
        for (size_t i = 0; i < segments.size(); ++i) {
            if (view == RegistryView::ThirtyTwoBit)
                at = IntoWow64Node(std::move(at), segments[i]);
            if (i > 0) {
                std::optional<Reached> followed = FollowLink(std::move(at), linkDepth);
                if (!followed)
                    return std::nullopt;
                at = std::move(*followed);
            }
            KeyPtr child = at.key->FindSubkey(segments[i]);
            if (!child || child->inexactName)
                return std::nullopt;
            at.name = ChildName(at.name, child->name);
            at.key = std::move(child);
        }
        if (view == RegistryView::ThirtyTwoBit)
            at = IntoWow64Node(std::move(at), {});
        if (lastLink == LinkMode::Follow)
            return FollowLink(std::move(at), linkDepth);
        return at;
    }

    // The value of that name in the key as the accessor reaches it.
    static const memreg::Value* FindValue(const Key* key, std::string_view name) {
        if (!key || key->ValueNameInexact(name))
            return nullptr;
        return key->FindValue(name);
    }

    std::optional<Target> Resolve(std::string_view path, LinkMode lastLink) const {
        const bool fromRoot = IsFromRoot(path);
        const auto segments = SplitKeyPath(fromRoot ? WithoutLeadingBackslash(path) : path);
        std::optional<Reached> reached = Descend(Start(fromRoot), segments, view_, lastLink, 0);
        if (!reached)
            return std::nullopt;
        return Target{std::move(reached->key), std::move(reached->name),
                      PathText(fromRoot, openPath_, path)};
    }

    Key* LiveOpenKey() const { return openKey_ && !openKey_->deleted ? openKey_.get() : nullptr; }

    const memreg::Value& ReadableValue(std::string_view name, const Call& call) const {
        const Key* key = LiveOpenKey();
        const memreg::Value* value = FindValue(key, name);
        if (call.fails || !value || key->ValueFailsRead(name))
            throw DataReadError(name);
        return *value;
    }

    std::shared_ptr<MemoryRegistry::Store> store_;
    RootKey root_ = RootKey::CurrentUser;
    AccessMode mode_ = AccessMode::Full;
    RegistryView view_ = RegistryView::Native;
    LinkMode linkMode_ = LinkMode::Follow;
    KeyPtr openKey_;
    std::optional<std::string> openName_;
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
