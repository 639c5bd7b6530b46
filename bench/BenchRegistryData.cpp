#include "bench/BenchRegistryData.h"

#include <sddl.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace vantrel::bench {

namespace {

// An open registry key, closed once.
class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept {
        std::swap(key_, other.key_);
        return *this;
    }
    ~RegKey() {
        if (key_ != nullptr)
            ::RegCloseKey(key_);
    }

    static RegKey Create(HKEY parent, const std::wstring& name) {
        RegKey key;
        if (::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key.key_, nullptr) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot create a benchmark key");
        }
        return key;
    }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

void WriteValue(HKEY key, const BenchValue& value) {
    const std::wstring name = Widen(value.name);
    const std::wstring text = Widen(value.text);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(key, name.c_str(), 0, value.expandable ? REG_EXPAND_SZ : REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()), bytes) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot write the benchmark value " + value.name);
    }
}

}  // namespace

BenchTreeCount WriteBenchTree(HKEY root, const std::wstring& path, const BenchTreeShape& shape,
                              BenchValueGenerator& generator) {
    if (!DeleteBenchTree(root, path))
        throw std::runtime_error("cannot remove the old tree");
    BenchTreeCount count;
    // The open keys from the top key down to the parent of the next key.
    std::vector<RegKey> openKeys;
    VisitBenchTree(shape, generator, [&](const BenchKey& key) {
        openKeys.resize(key.depth);
        openKeys.push_back(key.depth == 0 ? RegKey::Create(root, path)
                                          : RegKey::Create(openKeys.back().get(), Widen(key.name)));
        for (const BenchValue& value : key.values)
            WriteValue(openKeys.back().get(), value);
        ++count.keys;
        count.values += key.values.size();
    });
    return count;
}

bool DeleteBenchTree(HKEY root, const std::wstring& path) {
    // With a subkey named, RegDeleteTree removes that key itself as well.
    ::RegDeleteTreeW(root, path.c_str());
    HKEY probe = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
        ::RegCloseKey(probe);
        return false;
    }
    return true;
}

void EnablePrivilege(const wchar_t* name) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        throw std::runtime_error("cannot open the process token");
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool enabled = ::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid) &&
                         ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                         ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(token);
    if (!enabled)
        throw std::runtime_error("cannot enable a privilege to load hives");
}

std::wstring CurrentUserKeyName() {
    HANDLE token = nullptr;
    std::vector<BYTE> user(256);
    DWORD size = 0;
    wchar_t* sid = nullptr;
    const bool read =
        ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) &&
        ::GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()),
                              &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid);
    if (token != nullptr)
        ::CloseHandle(token);
    if (!read)
        throw std::runtime_error("cannot name the current user");
    std::wstring name = L"\\REGISTRY\\USER\\" + std::wstring(sid);
    ::LocalFree(sid);
    return name;
}

void CreateLink(HKEY root, const std::wstring& path, const std::wstring& target) {
    vantrel::unique_hkey link;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                          KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, link.put(),
                          nullptr) != ERROR_SUCCESS ||
        ::RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK,
                         reinterpret_cast<const BYTE*>(target.c_str()),
                         static_cast<DWORD>(target.size() * sizeof(wchar_t))) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create a link");
    }
}

void DeleteLink(HKEY root, const std::wstring& path) {
    using NtDeleteKeyFunction = LONG(WINAPI*)(HANDLE);
    const auto deleteKey = reinterpret_cast<NtDeleteKeyFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    vantrel::unique_hkey link;
    if (deleteKey != nullptr && ::RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE,
                                                link.put()) == ERROR_SUCCESS) {
        deleteKey(link.get());
    }
}

void SaveAsHive(const std::wstring& sourcePath, const std::wstring& hiveFile,
                const std::wstring& user) {
    EnablePrivilege(L"SeBackupPrivilege");
    ::RegUnLoadKeyW(HKEY_USERS, user.c_str());
    ::DeleteFileW(hiveFile.c_str());
    vantrel::unique_hkey source;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, sourcePath.c_str(), 0, KEY_READ, source.put()) !=
            ERROR_SUCCESS ||
        ::RegSaveKeyW(source.get(), hiveFile.c_str(), nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot save the second user's hive");
    }
    source.reset();
    DeleteBenchTree(HKEY_CURRENT_USER, sourcePath);
}

void LoadHive(const std::wstring& hiveFile, const std::wstring& user) {
    EnablePrivilege(L"SeRestorePrivilege");
    ::RegUnLoadKeyW(HKEY_USERS, user.c_str());
    if (::RegLoadKeyW(HKEY_USERS, user.c_str(), hiveFile.c_str()) != ERROR_SUCCESS)
        throw std::runtime_error("cannot load the second user's hive");
}

}  // namespace vantrel::bench
