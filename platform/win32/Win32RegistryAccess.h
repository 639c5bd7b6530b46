#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/RegistryAccess.h"
#include "platform/win32/UniqueHandle.h"

namespace vantrel {

// One accessor onto the real registry through the wide-character API; names and text reach the
// caller in the ANSI code page.
//
// Each registry call costs a round trip to the registry server, so GetValueNames reads every
// value's type and data in the same enumeration pass and keeps them for the open key: the
// reads a check makes right after listing a key are then answered without further calls. The
// kept values are dropped when the open key changes or a value is written or deleted.
class Win32RegistryAccess : public RegistryAccess {
  public:
    // Every registry call made is added to the counter.
    explicit Win32RegistryAccess(std::shared_ptr<std::atomic<size_t>> callCounter);
    ~Win32RegistryAccess() override;
    Win32RegistryAccess(const Win32RegistryAccess&) = delete;
    Win32RegistryAccess& operator=(const Win32RegistryAccess&) = delete;

    void SetRootKey(RootKey root) override;
    RootKey GetRootKey() const override { return root_; }
    void SetAccess(AccessMode mode) override { mode_ = mode; }
    void SetView(RegistryView view) override { view_ = view; }
    void SetLinkMode(LinkMode mode) override { linkMode_ = mode; }

    bool OpenKey(std::string_view path) override;
    void CloseKey() override;
    bool HasOpenKey() const override { return static_cast<bool>(key_); }
    std::string CurrentPath() const override { return path_; }
    bool OpenKeyIsLink() override;
    std::optional<std::string> OpenKeyName() override;

    bool KeyExists(std::string_view path) override;
    bool ValueExists(std::string_view name) override;

    std::vector<std::string> GetKeyNames() override;
    std::vector<std::string> GetValueNames() override;
    bool LastNamesExact() const override { return lastNamesExact_; }

    ValueType GetDataType(std::string_view name) override;
    std::string ReadString(std::string_view name) override;
    int32_t ReadInteger(std::string_view name) override;
    RawValue ReadRawValue(std::string_view name) override;

    bool DeleteKey(std::string_view path) override;
    bool DeleteValue(std::string_view name) override;
    void WriteString(std::string_view name, std::string_view value) override;

  private:
    struct StoredValue {
        DWORD type = REG_NONE;
        std::vector<uint8_t> data;
    };

    // Where a path leads: the key it is relative to, the rest of the path, and the path below
    // the root that the key would have once opened.
    struct ResolvedPath {
        HKEY base = nullptr;
        std::wstring subKey;
        std::string fullPath;
    };

    ResolvedPath Resolve(std::string_view path) const;
    REGSAM OpenRights() const;
    // KEY_WOW64_32KEY in the 32-bit view, else nothing.
    REGSAM ViewRights() const;
    // True when the key at subKey below base is itself a link (asked with REG_OPTION_OPEN_LINK).
    bool IsLinkAt(HKEY base, const std::wstring& subKey);
    // A handle of the open key that the system can name: the predefined roots have none.
    std::optional<std::string> NameOfHandle(HKEY key);
    void CountCall() { callCounter_->fetch_add(1, std::memory_order_relaxed); }
    void CloseCounted(unique_hkey& key);
    void DropValueCache();
    // True when the key and every key below it open with the rights their deletion needs.
    bool SubtreeGrantsDeletion(HKEY base, const std::wstring& subKey);

    // The open key's value of that name, from the cache or from the registry; null when the
    // value cannot be read (or no key is open).
    const StoredValue* FindValue(std::string_view name);
    // The listed value of that name; null when the listing has none.
    const StoredValue* FindListedValue(std::string_view name);
    const StoredValue* QueryValue(const std::wstring& name);
    // Reads every value of the open key into the cache, with their names in enumeration order.
    void LoadValueCache();

    std::shared_ptr<std::atomic<size_t>> callCounter_;
    RootKey root_ = RootKey::CurrentUser;
    AccessMode mode_ = AccessMode::Full;
    RegistryView view_ = RegistryView::Native;
    LinkMode linkMode_ = LinkMode::Follow;
    unique_hkey key_;
    std::string path_;
    bool lastNamesExact_ = true;

    // One value of the open key's listing, in enumeration order; valid only while
    // valueCacheLoaded_.
    struct ListedValue {
        bool exact = true;  // the ANSI name is the value's own name
        StoredValue value;
    };
    bool valueCacheLoaded_ = false;
    std::vector<ListedValue> listedValues_;
    // The listing by folded name, made on the first lookup that the order does not answer.
    std::unordered_map<std::wstring, size_t> valueIndex_;
    // Where the last lookup by name found its value.
    size_t nextValue_ = 0;
    // The names as the last listing of the open key gave them, and whether all were exact.
    std::vector<std::string> listedValueNames_;
    bool listedValueNamesExact_ = true;
    // The names were listed by OpenKeyIsLink and not yet handed out.
    bool listingUnclaimed_ = false;
    // The open key's subkey count and longest subkey name, as measured with its values, so
    // that listing the subkeys next costs no second measurement.
    struct SubkeyInfo {
        DWORD count = 0;
        DWORD maxNameChars = 0;
    };
    std::optional<SubkeyInfo> subkeyInfo_;
    // The last value read past the cache, and its exact name while it is still current (until
    // the key is closed, reopened or written).
    StoredValue queried_;
    std::optional<std::wstring> queriedName_;
    // Where ReadString copies a text's characters.
    std::wstring wideText_;
};

}  // namespace vantrel
