#include "bench/BenchRegistryData.h"

#include <stdexcept>
#include <utility>
#include <vector>

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

}  // namespace vantrel::bench
