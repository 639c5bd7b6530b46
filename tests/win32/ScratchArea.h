#pragma once

// Scratch places in Wine's real registry and file system for the adapter tests. Each test gets
// its own key and folder (named after its suite and test), because CTest runs tests of one
// suite in parallel processes. Also what the tests ask of the files they make there.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "tests/support/TextFiles.h"

namespace vantrel::test {

inline bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

inline bool FolderExists(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The names of the files (not the folders) in a folder, in the order the system lists them.
inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    unique_find search(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(found.cFileName);
    } while (::FindNextFileA(search.get(), &found));
    return names;
}

inline std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "\\" + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return std::wstring(name.begin(), name.end());
}

inline std::vector<uint8_t> WideBytes(std::wstring_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t));
}

inline std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// HKEY_CURRENT_USER\Software\VantrelTest\<suite>\<test>, written with the native API.
class ScratchKey {
  public:
    static constexpr const wchar_t* kParent = L"Software\\VantrelTest";

    ScratchKey() : ScratchKey(std::wstring(kParent) + L"\\" + CurrentTestName(), kParent) {}
    // A key elsewhere below HKEY_CURRENT_USER, removed with its empty parents up to `keep`.
    ScratchKey(std::wstring path, std::wstring keep)
        : path_(std::move(path)), keep_(std::move(keep)) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    ~ScratchKey() {
        key_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        // The suite's key and the parent go too once empty, so a prefix that is also scanned
        // for real (the demo's) keeps no empty key of the tests behind.
        for (std::wstring parent = path_; parent.size() > keep_.size();) {
            parent.resize(parent.find_last_of(L'\\'));
            if (::RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str()) != ERROR_SUCCESS)
                break;
        }
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The key's path below HKEY_CURRENT_USER (plain ASCII, so the ANSI form is the same).
    std::string Path() const { return std::string(path_.begin(), path_.end()); }
    std::string Path(std::string_view below) const { return Path() + "\\" + std::string(below); }

    void CreateKey(const std::wstring& subPath) {
        unique_hkey created;
        ASSERT_EQ(::RegCreateKeyExW(key_.get(), subPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, created.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void SetValue(const std::wstring& name, DWORD type, const std::vector<uint8_t>& data,
                  const std::wstring& subPath = L"") {
        ASSERT_EQ(::RegSetKeyValueW(key_.get(), subPath.empty() ? nullptr : subPath.c_str(),
                                    name.c_str(), type, data.empty() ? nullptr : data.data(),
                                    static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    void SetString(const std::wstring& name, std::wstring_view text, DWORD type = REG_SZ) {
        std::wstring stored(text);
        SetValue(name, type, WideBytes(std::wstring_view(stored.c_str(), stored.size() + 1)));
    }
    bool HasKey(const std::wstring& subPath) const {
        unique_hkey probe;
        return ::RegOpenKeyExW(key_.get(), subPath.c_str(), 0, KEY_READ, probe.put()) ==
               ERROR_SUCCESS;
    }
    bool HasValue(const std::wstring& name) const {
        return ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }
    // Type and bytes as the native API reads them.
    std::pair<DWORD, std::vector<uint8_t>> NativeValue(const std::wstring& name) const {
        DWORD type = 0;
        DWORD size = 0;
        ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
        std::vector<uint8_t> data(size);
        ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, data.data(), &size);
        return {type, data};
    }
    HKEY get() const { return key_.get(); }

  private:
    std::wstring path_;
    std::wstring keep_;
    unique_hkey key_;
};

// C:\vantrel-test\<suite>\<test> (or a path given), emptied before and removed after the test.
class ScratchFolder {
  public:
    ScratchFolder() : ScratchFolder(L"C:\\vantrel-test\\" + CurrentTestName()) {}
    // A folder at the path given, where a test needs one inside a folder the scan searches.
    explicit ScratchFolder(std::wstring path) : path_(std::move(path)) {
        RemoveTree(path_);
        ::SHCreateDirectoryExW(nullptr, path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring WidePath(const std::wstring& below = L"") const {
        return below.empty() ? path_ : path_ + L"\\" + below;
    }
    std::string Path(std::string_view below = "") const {
        std::string path(path_.begin(), path_.end());
        return below.empty() ? path : path + "\\" + std::string(below);
    }
    void CreateFile(const std::wstring& name) {
        unique_file file(::CreateFileW(WidePath(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << "cannot create a file in the scratch folder";
    }
    void CreateFolder(const std::wstring& name) {
        ASSERT_TRUE(::CreateDirectoryW(WidePath(name).c_str(), nullptr));
    }

  private:
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found{};
        unique_find search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (search) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = folder + L"\\" + name;
                // A link's folder lies elsewhere, maybe above this one: only the link goes.
                if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    ::RemoveDirectoryW(full.c_str());
                } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(full.c_str());
                }
            } while (::FindNextFileW(search.get(), &found));
        }
        search.reset();
        ::RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

}  // namespace vantrel::test
