#include "platform/win32/Win32RegistryAccess.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "platform/win32/AnsiText.h"

namespace vantrel {

namespace {

// Only what KeyExists needs: the test must not fail on keys that refuse wider access.
constexpr REGSAM kExistenceRights = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | READ_CONTROL;
// What deleting a key with its subtree asks of every key in it: listing it and deleting it.
constexpr REGSAM kDeletionRights = DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE;
// Longest value name the registry allows (16383 characters) plus its terminator.
constexpr DWORD kMaxValueNameChars = 16384;
// Longest key name (255 characters) plus its terminator.
constexpr DWORD kMaxKeyNameChars = 256;
// Reads past the cache start with this much room; most values fit in one call.
constexpr DWORD kFirstQueryBytes = 1024;
// A value that keeps growing between calls is given up after this many attempts.
constexpr int kMaxQueryAttempts = 4;
// Where the system keeps the key a link leads to.
constexpr const wchar_t* kLinkValueName = L"SymbolicLinkValue";
constexpr std::string_view kLinkValueAnsiName = "SymbolicLinkValue";
// NtQueryKey's class for the key's full name, and its answers when the buffer is too small.
constexpr int kKeyNameInformation = 3;
constexpr LONG kStatusBufferOverflow = static_cast<LONG>(0x80000005);
constexpr LONG kStatusBufferTooSmall = static_cast<LONG>(0xC0000023);

using NtQueryKeyFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

// ntdll's NtQueryKey: not in the import libraries' usual headers, but in every Windows and Wine.
NtQueryKeyFunction NtQueryKeyEntry() {
    static const auto entry = reinterpret_cast<NtQueryKeyFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryKey")));
    return entry;
}

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser:
            return HKEY_CURRENT_USER;
        case RootKey::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RootKey::Users:
            return HKEY_USERS;
        case RootKey::PerformanceData:
            return HKEY_PERFORMANCE_DATA;
        case RootKey::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
        case RootKey::DynData:
            return HKEY_DYN_DATA;
        case RootKey::None:
            break;
    }
    return nullptr;
}

// Value names compare without regard to case, as the registry compares them.
std::wstring FoldName(std::wstring_view name) {
    std::wstring folded(name);
    if (folded.empty())
        return folded;
    const int length = static_cast<int>(folded.size());
    if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), length, folded.data(),
                        length, nullptr, nullptr, 0) != length) {
        folded.assign(name);
    }
    return folded;
}

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_LINK;
}

std::wstring WideFromBytes(const std::vector<uint8_t>& data) {
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    if (!wide.empty())
        std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    return wide;
}

std::string AnsiName(const wchar_t* name, DWORD length, bool& allExact) {
    AnsiText ansi = ToAnsi(std::wstring_view(name, length));
    allExact = allExact && ansi.exact;
    return std::move(ansi.text);
}

}  // namespace

Win32RegistryAccess::Win32RegistryAccess(std::shared_ptr<std::atomic<size_t>> callCounter)
    : callCounter_(std::move(callCounter)) {}

// Closed here rather than by the handle's owner so that the close is counted too.
Win32RegistryAccess::~Win32RegistryAccess() {
    CloseKey();
}

void Win32RegistryAccess::SetRootKey(RootKey root) {
    CloseKey();
    root_ = root;
}

REGSAM Win32RegistryAccess::OpenRights() const {
    return (mode_ == AccessMode::ReadOnly ? KEY_READ : KEY_ALL_ACCESS) | ViewRights();
}

REGSAM Win32RegistryAccess::ViewRights() const {
    return view_ == RegistryView::ThirtyTwoBit ? KEY_WOW64_32KEY : 0;
}

void Win32RegistryAccess::CloseCounted(unique_hkey& key) {
    if (!key)
        return;
    CountCall();
    key.reset();
}

void Win32RegistryAccess::DropValueCache() {
    valueCacheLoaded_ = false;
    listedValues_.clear();
    valueIndex_.clear();
    nextValue_ = 0;
    listedValueNames_.clear();
    listedValueNamesExact_ = true;
    listingUnclaimed_ = false;
    subkeyInfo_.reset();
    queriedName_.reset();
}

Win32RegistryAccess::ResolvedPath Win32RegistryAccess::Resolve(std::string_view path) const {
    ResolvedPath resolved;
    const bool fromRoot = !key_ || (!path.empty() && path.front() == '\\');
    if (fromRoot) {
        if (!path.empty() && path.front() == '\\')
            path.remove_prefix(1);
        resolved.base = RootHandle(root_);
        resolved.fullPath = std::string(path);
    } else {
        resolved.base = key_.get();
        resolved.fullPath = path.empty() ? path_ : JoinKeyPath(path_, path);
    }
    resolved.subKey = ToWide(path);
    return resolved;
}

bool Win32RegistryAccess::OpenKey(std::string_view path) {
    const ResolvedPath target = Resolve(path);
    unique_hkey opened;
    bool ok = false;
    if (target.base != nullptr) {
        const DWORD options = linkMode_ == LinkMode::OpenLinkItself ? REG_OPTION_OPEN_LINK : 0;
        CountCall();
        ok = ::RegOpenKeyExW(target.base, target.subKey.c_str(), options, OpenRights(),
                             opened.put()) == ERROR_SUCCESS;
    }
    // The old key may be the base of the new one, so it is closed only now.
    CloseKey();
    if (!ok)
        return false;
    key_ = std::move(opened);
    path_ = target.fullPath;
    return true;
}

void Win32RegistryAccess::CloseKey() {
    CloseCounted(key_);
    path_.clear();
    DropValueCache();
}

bool Win32RegistryAccess::KeyExists(std::string_view path) {
    const ResolvedPath target = Resolve(path);
    if (target.base == nullptr)
        return false;
    unique_hkey probe;
    CountCall();
    const bool exists =
        ::RegOpenKeyExW(target.base, target.subKey.c_str(), 0, kExistenceRights | ViewRights(),
                        probe.put()) == ERROR_SUCCESS;
    CloseCounted(probe);
    return exists;
}

bool Win32RegistryAccess::ValueExists(std::string_view name) {
    return FindValue(name) != nullptr;
}

std::vector<std::string> Win32RegistryAccess::GetKeyNames() {
    std::vector<std::string> names;
    lastNamesExact_ = true;
    if (!key_)
        return names;
    SubkeyInfo info;
    if (subkeyInfo_) {
        info = *subkeyInfo_;
    } else {
        CountCall();
        if (::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, &info.count,
                               &info.maxNameChars, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr) != ERROR_SUCCESS) {
            // Nothing listed is not "no subkeys": a backup of the key would miss them all.
            lastNamesExact_ = false;
            return names;
        }
    }
    std::vector<wchar_t> name(std::max(info.maxNameChars + 1, kMaxKeyNameChars));
    names.reserve(info.count);
    // The measured count ends the loop: asking once more only to hear "no more items" would
    // cost a registry call per key.
    for (DWORD index = 0; index < info.count; ++index) {
        DWORD nameChars = static_cast<DWORD>(name.size());
        CountCall();
        const LONG result = ::RegEnumKeyExW(key_.get(), index, name.data(), &nameChars, nullptr,
                                            nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) {
            // Fewer subkeys than measured is a key that shrank meanwhile; any other error
            // leaves the listing short.
            if (result != ERROR_NO_MORE_ITEMS)
                lastNamesExact_ = false;
            break;
        }
        names.push_back(AnsiName(name.data(), nameChars, lastNamesExact_));
    }
    return names;
}

std::vector<std::string> Win32RegistryAccess::GetValueNames() {
    // A listing made for OpenKeyIsLink just now serves the listing that follows it; any other
    // listing reads the key afresh.
    if (!valueCacheLoaded_ || !listingUnclaimed_)
        LoadValueCache();
    listingUnclaimed_ = false;
    lastNamesExact_ = listedValueNamesExact_;
    return listedValueNames_;
}

bool Win32RegistryAccess::OpenKeyIsLink() {
    if (!key_)
        return false;
    // A walk lists the values of the keys it opens anyway: the listing answers this too.
    if (!valueCacheLoaded_) {
        LoadValueCache();
        listingUnclaimed_ = true;
    }
    if (!valueCacheLoaded_) {
        const StoredValue* value = QueryValue(kLinkValueName);
        return value != nullptr && value->type == REG_LINK;
    }
    for (size_t i = 0; i < listedValues_.size(); ++i) {
        if (listedValues_[i].exact && listedValues_[i].value.type == REG_LINK &&
            EqualsIgnoreCase(listedValueNames_[i], kLinkValueAnsiName)) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> Win32RegistryAccess::OpenKeyName() {
    if (!key_)
        return std::nullopt;
    return NameOfHandle(key_.get());
}

std::optional<std::string> Win32RegistryAccess::NameOfHandle(HKEY key) {
    // An empty path leaves the predefined root's own handle open, which has no name of its own.
    if (key == RootHandle(root_)) {
        switch (root_) {
            case RootKey::LocalMachine:
                return std::string(kMachineKeyNamePrefix);
            case RootKey::Users:
                return std::string(kUsersKeyNamePrefix);
            case RootKey::CurrentUser: {
                unique_hkey user;
                CountCall();
                if (::RegOpenCurrentUser(KEY_READ, user.put()) != ERROR_SUCCESS)
                    return std::nullopt;
                const std::optional<std::string> name = NameOfHandle(user.get());
                CloseCounted(user);
                return name;
            }
            default:
                return std::nullopt;
        }
    }
    const NtQueryKeyFunction queryKey = NtQueryKeyEntry();
    if (queryKey == nullptr)
        return std::nullopt;
    // KEY_NAME_INFORMATION: the name's length in bytes, then the name without a terminator.
    std::vector<uint8_t> buffer(512);
    for (int attempt = 0; attempt < kMaxQueryAttempts; ++attempt) {
        ULONG needed = 0;
        CountCall();
        const LONG status = queryKey(key, kKeyNameInformation, buffer.data(),
                                     static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusBufferOverflow || status == kStatusBufferTooSmall) {
            buffer.resize(std::max<size_t>(needed, buffer.size() * 2));
            continue;
        }
        if (status != 0 || needed < sizeof(ULONG))
            return std::nullopt;
        ULONG nameBytes = 0;
        std::memcpy(&nameBytes, buffer.data(), sizeof(nameBytes));
        if (nameBytes > buffer.size() - sizeof(ULONG))
            return std::nullopt;
        std::wstring name(nameBytes / sizeof(wchar_t), L'\0');
        std::memcpy(name.data(), buffer.data() + sizeof(ULONG), name.size() * sizeof(wchar_t));
        AnsiText ansi = ToAnsi(name);
        if (!ansi.exact)
            return std::nullopt;
        return std::move(ansi.text);
    }
    return std::nullopt;
}

// One pass of RegEnumValueW that takes name, type and data together, in enumeration order.
void Win32RegistryAccess::LoadValueCache() {
    DropValueCache();
    if (!key_)
        return;
    DWORD valueCount = 0;
    DWORD maxNameChars = 0;
    DWORD maxDataBytes = 0;
    SubkeyInfo subkeys;
    CountCall();
    if (::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, &subkeys.count,
                           &subkeys.maxNameChars, nullptr, &valueCount, &maxNameChars,
                           &maxDataBytes, nullptr, nullptr) != ERROR_SUCCESS) {
        // Nothing listed is not "no values": a backup of the key would miss them all.
        listedValueNamesExact_ = false;
        return;
    }
    subkeyInfo_ = subkeys;
    std::vector<wchar_t> name(maxNameChars + 1);
    std::vector<uint8_t> data(std::max<DWORD>(maxDataBytes, 1));
    std::vector<std::string>& names = listedValueNames_;
    names.reserve(valueCount);
    listedValues_.reserve(valueCount);
    bool complete = true;
    int attempts = 0;
    for (DWORD index = 0; index < valueCount;) {
        DWORD nameChars = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        CountCall();
        const LONG result = ::RegEnumValueW(key_.get(), index, name.data(), &nameChars, nullptr,
                                            &type, data.data(), &dataBytes);
        if (result == ERROR_MORE_DATA && ++attempts < kMaxQueryAttempts) {
            // The key changed since it was measured: widen what was too small and retry.
            if (name.size() < kMaxValueNameChars)
                name.resize(kMaxValueNameChars);
            data.resize(std::max<size_t>(data.size() * 2, dataBytes));
            continue;
        }
        if (result != ERROR_SUCCESS) {
            complete = result == ERROR_NO_MORE_ITEMS;
            break;
        }
        bool exact = true;
        names.push_back(AnsiName(name.data(), nameChars, exact));
        listedValueNamesExact_ = listedValueNamesExact_ && exact;
        ListedValue& listed = listedValues_.emplace_back();
        listed.exact = exact;
        listed.value.type = type;
        listed.value.data.assign(data.begin(), data.begin() + static_cast<ptrdiff_t>(dataBytes));
        ++index;
        attempts = 0;
    }
    valueCacheLoaded_ = complete;
    if (!complete) {
        // A short listing must not pass for the key's values: a backup would miss the rest.
        listedValueNamesExact_ = false;
        listedValues_.clear();
    }
}

const Win32RegistryAccess::StoredValue* Win32RegistryAccess::FindValue(std::string_view name) {
    if (!key_)
        return nullptr;
    if (valueCacheLoaded_) {
        if (const StoredValue* listed = FindListedValue(name))
            return listed;
        // A miss is asked of the registry: its own name comparison is the final word.
    }
    return QueryValue(ToWide(name));
}

const Win32RegistryAccess::StoredValue* Win32RegistryAccess::FindListedValue(
    std::string_view name) {
    // Checks read the values in the order listed, each one or twice (its type, then its data).
    for (const size_t index : {nextValue_, nextValue_ + 1}) {
        if (index < listedValues_.size() && listedValues_[index].exact &&
            listedValueNames_[index] == name) {
            nextValue_ = index;
            return &listedValues_[index].value;
        }
    }
    // A name the listing cannot hold exactly is not this value's name: it is left out.
    if (valueIndex_.empty()) {
        for (size_t index = 0; index < listedValues_.size(); ++index) {
            if (listedValues_[index].exact)
                valueIndex_.emplace(FoldName(ToWide(listedValueNames_[index])), index);
        }
    }
    const auto found = valueIndex_.find(FoldName(ToWide(name)));
    if (found == valueIndex_.end())
        return nullptr;
    nextValue_ = found->second;
    return &listedValues_[found->second].value;
}

const Win32RegistryAccess::StoredValue* Win32RegistryAccess::QueryValue(const std::wstring& name) {
    // A type test and then a read of the same value cost one query, not two.
    if (queriedName_ && *queriedName_ == name)
        return &queried_;
    queriedName_.reset();
    queried_.data.resize(kFirstQueryBytes);
    for (int attempt = 0; attempt < kMaxQueryAttempts; ++attempt) {
        DWORD dataBytes = static_cast<DWORD>(queried_.data.size());
        CountCall();
        const LONG result = ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &queried_.type,
                                               queried_.data.data(), &dataBytes);
        if (result == ERROR_SUCCESS) {
            queried_.data.resize(dataBytes);
            queriedName_ = name;
            return &queried_;
        }
        if (result != ERROR_MORE_DATA)
            return nullptr;
        queried_.data.resize(std::max<size_t>(dataBytes, queried_.data.size() * 2));
    }
    return nullptr;
}

ValueType Win32RegistryAccess::GetDataType(std::string_view name) {
    const StoredValue* value = FindValue(name);
    return value == nullptr ? ValueType::Unknown : ValueTypeOf(value->type);
}

std::string Win32RegistryAccess::ReadString(std::string_view name) {
    const StoredValue* value = FindValue(name);
    if (value == nullptr)
        throw DataReadError(name);
    if (value->data.empty())
        return "";
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
        throw DataReadError(name);
    // Copied into a buffer kept from one read to the next: a scan reads hundreds of thousands
    // of texts, and the bytes are not wchar_t objects to be read in place.
    wideText_.resize(value->data.size() / sizeof(wchar_t));
    if (!wideText_.empty())
        std::memcpy(wideText_.data(), value->data.data(), wideText_.size() * sizeof(wchar_t));
    const std::wstring_view text(wideText_);
    return ToAnsi(text.substr(0, text.find(L'\0'))).text;
}

int32_t Win32RegistryAccess::ReadInteger(std::string_view name) {
    const StoredValue* value = FindValue(name);
    if (value == nullptr || value->type != REG_DWORD || value->data.size() != sizeof(uint32_t)) {
        throw DataReadError(name);
    }
    uint32_t number = 0;
    std::memcpy(&number, value->data.data(), sizeof(number));
    return static_cast<int32_t>(number);
}

RawValue Win32RegistryAccess::ReadRawValue(std::string_view name) {
    const StoredValue* value = FindValue(name);
    if (value == nullptr)
        throw DataReadError(name);
    RawValue raw;
    raw.type = value->type;
    if (!IsTextType(value->type)) {
        raw.data = value->data;
        return raw;
    }
    // Terminating zeros convert like any character, so they stay as stored.
    AnsiText ansi = ToAnsi(WideFromBytes(value->data));
    raw.data.assign(ansi.text.begin(), ansi.text.end());
    raw.exact = ansi.exact && value->data.size() % sizeof(wchar_t) == 0;
    return raw;
}

bool Win32RegistryAccess::DeleteKey(std::string_view path) {
    DropValueCache();
    // A read-only accessor deletes nothing, as its keys could not; nor does one set to the
    // 32-bit view, since RegDeleteTreeW knows no view and would delete the native key.
    if (mode_ == AccessMode::ReadOnly || view_ == RegistryView::ThirtyTwoBit)
        return false;
    const ResolvedPath target = Resolve(path);
    // An empty path would clear the base key's contents instead of deleting a key.
    if (target.base == nullptr || target.subKey.empty())
        return false;
    // Deleting through a link would empty the key it leads to, which lives on elsewhere.
    if (IsLinkAt(target.base, target.subKey))
        return false;
    // RegDeleteTreeW alone would delete the keys it meets before one that refuses, and under
    // Wine it even deletes a key whose DELETE right is denied: it asks for DELETE alone, and
    // Wine grants a request of standard rights alone without reading the key's access list.
    if (!SubtreeGrantsDeletion(target.base, target.subKey))
        return false;
    CountCall();
    return ::RegDeleteTreeW(target.base, target.subKey.c_str()) == ERROR_SUCCESS;
}

bool Win32RegistryAccess::IsLinkAt(HKEY base, const std::wstring& subKey) {
    unique_hkey key;
    CountCall();
    if (::RegOpenKeyExW(base, subKey.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = REG_NONE;
    CountCall();
    const bool isLink = ::RegQueryValueExW(key.get(), kLinkValueName, nullptr, &type, nullptr,
                                           nullptr) == ERROR_SUCCESS &&
                        type == REG_LINK;
    CloseCounted(key);
    return isLink;
}

bool Win32RegistryAccess::SubtreeGrantsDeletion(HKEY base, const std::wstring& subKey) {
    unique_hkey key;
    CountCall();
    if (::RegOpenKeyExW(base, subKey.c_str(), 0, kDeletionRights, key.put()) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(kMaxKeyNameChars);
    bool granted = true;
    for (DWORD index = 0; granted; ++index) {
        DWORD nameChars = kMaxKeyNameChars;
        CountCall();
        const LONG result = ::RegEnumKeyExW(key.get(), index, name.data(), &nameChars, nullptr,
                                            nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        const std::wstring child(name.data(), nameChars);
        // RegDeleteTreeW would empty the key a link leads to and then fail on the link.
        granted = result == ERROR_SUCCESS && !IsLinkAt(key.get(), child) &&
                  SubtreeGrantsDeletion(key.get(), child);
    }
    CloseCounted(key);
    return granted;
}

bool Win32RegistryAccess::DeleteValue(std::string_view name) {
    DropValueCache();
    if (!key_)
        return false;
    CountCall();
    return ::RegDeleteValueW(key_.get(), ToWide(name).c_str()) == ERROR_SUCCESS;
}

void Win32RegistryAccess::WriteString(std::string_view name, std::string_view value) {
    DropValueCache();
    const std::wstring text = ToWide(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (key_) {
        CountCall();
        if (::RegSetValueExW(key_.get(), ToWide(name).c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS) {
            return;
        }
    }
    throw RegistryError("Failed to set data for '" + std::string(name) + "'");
}

}  // namespace vantrel
