#include "tests/win32/RegistrySeed.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <stdexcept>

#include "platform/win32/AnsiText.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Shell.h"

namespace vantrel::test {

RegistrySeed::~RegistrySeed() {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
        RegDeleteKeyValueA(it->root, it->path.c_str(), it->name.c_str());
    }
    for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it) {
        RegDeleteTreeA(it->root, it->path.c_str());
    }
    for (const auto& file : files_)
        DeleteFileA(file.c_str());
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
        RemoveDirectoryA(it->c_str());
}

// Creates the missing keys along the path one level at a time, so that exactly the keys this
// seed made are removed again.
HKEY RegistrySeed::OpenOrCreate(HKEY root, const std::string& path) {
    std::string::size_type start = 0;
    while (true) {
        const auto slash = path.find('\\', start);
        const std::string prefix = path.substr(0, slash);
        HKEY probe = nullptr;
        if (RegOpenKeyExA(root, prefix.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
            RegCloseKey(probe);
        } else {
            HKEY created = nullptr;
            if (RegCreateKeyExA(root, prefix.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &created, nullptr) != ERROR_SUCCESS) {
                throw std::runtime_error("cannot create " + prefix);
            }
            RegCloseKey(created);
            createdKeys_.push_back({root, prefix});
        }
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot open " + path);
    }
    return key;
}

void RegistrySeed::Key(HKEY root, const std::string& path) {
    RegCloseKey(OpenOrCreate(root, path));
}

void RegistrySeed::Set(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const void* data, DWORD size) {
    const HKEY key = OpenOrCreate(root, path);
    const LONG status =
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot write " + path + "\\" + name);
    values_.push_back({root, path, name});
}

void RegistrySeed::String(HKEY root, const std::string& path, const std::string& name,
                          const std::string& text) {
    Set(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void RegistrySeed::Dword(HKEY root, const std::string& path, const std::string& name,
                         uint32_t number) {
    Set(root, path, name, REG_DWORD, &number, sizeof number);
}

void RegistrySeed::ExpandString(HKEY root, const std::string& path, const std::string& name,
                                const std::string& text) {
    Set(root, path, name, REG_EXPAND_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void RegistrySeed::CreateFileAt(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    CloseHandle(file);
    files_.push_back(path);
}

}  // namespace vantrel::test

namespace vantrel::test {

void RegistrySeed::Folder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr))
        folders_.push_back(path);
}

}  // namespace vantrel::test

namespace vantrel::test {

void RegistrySeed::Shortcut(const std::string& linkPath, const std::string& target) {
    if (!SaveShortcutFile(ToWide(linkPath), ToWide(target)))
        throw std::runtime_error("cannot save a shell link " + linkPath + " to " + target);
    files_.push_back(linkPath);
}

}  // namespace vantrel::test
