#include "tests/win32/RegistrySnapshot.h"

#include <cstdio>

#include "platform/win32/UniqueHandle.h"

namespace vantrel::test {
namespace {

constexpr DWORD kNameChars = 16384;  // the longest value name the registry allows, and more

void ReadValues(HKEY key, KeySnapshot& values) {
    std::vector<wchar_t> name(kNameChars + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = kNameChars + 1;
        DWORD type = 0;
        DWORD size = 0;
        if (::RegEnumValueW(key, index, name.data(), &nameChars, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return;
        }
        const std::wstring valueName(name.data(), nameChars);
        std::vector<uint8_t> data(size);
        DWORD read = size;
        ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                           data.empty() ? nullptr : data.data(), &read);
        data.resize(read);
        values[valueName] = SnapshotValue{type, std::move(data)};
    }
}

void ReadKey(HKEY root, const std::wstring& top, const std::wstring& below,
             SubtreeSnapshot& snapshot) {
    const std::wstring path = below.empty() ? top : top + L"\\" + below;
    unique_hkey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return;
    ReadValues(key.get(), snapshot[below]);
    std::vector<std::wstring> subkeys;
    std::vector<wchar_t> name(kNameChars + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = kNameChars + 1;
        if (::RegEnumKeyExW(key.get(), index, name.data(), &nameChars, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            break;
        }
        subkeys.emplace_back(name.data(), nameChars);
    }
    key.reset();
    for (const auto& subkey : subkeys)
        ReadKey(root, top, below.empty() ? subkey : below + L"\\" + subkey, snapshot);
}

std::string Hex(const std::vector<uint8_t>& data) {
    std::string out;
    char digits[4];
    for (size_t i = 0; i < data.size() && i < 64; ++i) {
        std::snprintf(digits, sizeof digits, "%02x ", static_cast<unsigned>(data[i]));
        out += digits;
    }
    if (data.size() > 64)
        out += "...";
    return out;
}

std::string Describe(const SnapshotValue& value) {
    return "type " + std::to_string(value.type) + ", " + std::to_string(value.data.size()) +
           " bytes: " + Hex(value.data);
}

}  // namespace

std::string Utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int length = static_cast<int>(wide.size());
    const int needed =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), needed, nullptr, nullptr);
    return out;
}

SubtreeSnapshot SnapshotSubtree(HKEY root, const std::wstring& path) {
    SubtreeSnapshot snapshot;
    ReadKey(root, path, L"", snapshot);
    return snapshot;
}

std::vector<std::string> SnapshotDifferences(const SubtreeSnapshot& expected,
                                             const SubtreeSnapshot& actual) {
    std::vector<std::string> differences;
    for (const auto& [path, values] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            differences.push_back("key [" + Utf8(path) + "] missing");
            continue;
        }
        for (const auto& [name, value] : values) {
            const auto other = found->second.find(name);
            const std::string where = "[" + Utf8(path) + "] \"" + Utf8(name) + "\"";
            if (other == found->second.end())
                differences.push_back(where + " missing (" + Describe(value) + ")");
            else if (!(other->second == value))
                differences.push_back(where + " was " + Describe(value) + "; now " +
                                      Describe(other->second));
        }
        for (const auto& [name, value] : found->second) {
            if (values.count(name) == 0)
                differences.push_back("[" + Utf8(path) + "] \"" + Utf8(name) + "\" extra (" +
                                      Describe(value) + ")");
        }
    }
    for (const auto& [path, values] : actual) {
        if (expected.count(path) == 0)
            differences.push_back("key [" + Utf8(path) + "] extra");
    }
    return differences;
}

size_t ValueCount(const SubtreeSnapshot& snapshot) {
    size_t count = 0;
    for (const auto& entry : snapshot)
        count += entry.second.size();
    return count;
}

DWORD MergeWithRegedit(const std::string& regFile) {
    std::string commandLine = "regedit.exe /s \"" + regFile + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return 0xFFFFFFFF;
    }
    const unique_handle processHandle(process.hProcess);
    const unique_handle threadHandle(process.hThread);
    if (::WaitForSingleObject(processHandle.get(), 120000) != WAIT_OBJECT_0)
        return 0xFFFFFFFE;
    DWORD exitCode = 0;
    ::GetExitCodeProcess(processHandle.get(), &exitCode);
    return exitCode;
}

}  // namespace vantrel::test
