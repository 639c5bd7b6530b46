#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <climits>

#include "platform/win32/AnsiText.h"
#include "platform/win32/LongPathForm.h"
#include "platform/win32/UniqueHandle.h"

namespace vantrel {

namespace {

constexpr DWORD kAllAttributes = 0x3F;
// Kept besides them: the shortcut search must not follow junctions and symbolic links.
constexpr DWORD kListedAttributes = kAllAttributes | FILE_ATTRIBUTE_REPARSE_POINT;
// Room for SHGetFolderPathW and IShellLinkW::GetPath, which write at most MAX_PATH characters.
constexpr int kPathChars = MAX_PATH + 1;

DWORD AttributesOf(std::string_view path) {
    return ::GetFileAttributesW(LongPathForm(ToWide(path)).c_str());
}

// The ANSI form of an existing path, or its short form when the long one would lose characters.
std::optional<std::string> AnsiPath(const std::wstring& path) {
    AnsiText ansi = ToAnsi(path);
    if (ansi.exact)
        return std::move(ansi.text);
    std::wstring shortPath(kPathChars, L'\0');
    const DWORD length =
        ::GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size())
        return std::nullopt;
    shortPath.resize(length);
    AnsiText shortAnsi = ToAnsi(shortPath);
    if (!shortAnsi.exact)
        return std::nullopt;
    return std::move(shortAnsi.text);
}

std::optional<std::string> EntryName(const WIN32_FIND_DATAW& found) {
    AnsiText name = ToAnsi(found.cFileName);
    if (name.exact)
        return std::move(name.text);
    AnsiText shortName = ToAnsi(found.cAlternateFileName);
    if (shortName.exact && !shortName.text.empty())
        return std::move(shortName.text);
    return std::nullopt;
}

// The link's target from its item list, into a buffer of kPathChars characters.
bool ReadItemListPath(IShellLinkW& link, wchar_t* target) {
    PIDLIST_ABSOLUTE items = nullptr;
    if (link.GetIDList(&items) != S_OK || items == nullptr)
        return false;
    const bool read = ::SHGetPathFromIDListW(items, target) != FALSE;
    ::CoTaskMemFree(items);
    return read && std::wstring_view(target).find_first_of(L"?*") == std::wstring_view::npos;
}

uint64_t JoinHalves(DWORD high, DWORD low) {
    return (uint64_t{high} << 32) | low;
}

}  // namespace

bool Win32FileSystem::FileExists(std::string_view path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(std::string_view path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint32_t Win32FileSystem::DriveType(std::string_view rootFolder) {
    return ::GetDriveTypeW(ToWide(rootFolder).c_str());
}

std::vector<FolderEntry> Win32FileSystem::ListFolder(std::string_view folder) {
    std::vector<FolderEntry> entries;
    std::wstring pattern = ToWide(folder);
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    pattern = LongPathForm(pattern + L'*');
    WIN32_FIND_DATAW found{};
    unique_find search(::FindFirstFileW(pattern.c_str(), &found));
    if (!search)
        return entries;
    do {
        // Every attribute bit (0x3F) is asked for, so only the listing's own order applies.
        std::optional<std::string> name = EntryName(found);
        if (!name)
            continue;
        entries.push_back({std::move(*name), found.dwFileAttributes & kListedAttributes,
                           JoinHalves(found.nFileSizeHigh, found.nFileSizeLow),
                           JoinHalves(found.ftLastWriteTime.dwHighDateTime,
                                      found.ftLastWriteTime.dwLowDateTime)});
    } while (::FindNextFileW(search.get(), &found));
    return entries;
}

std::optional<std::string> Win32FileSystem::ExpandEnvironmentStrings(std::string_view text,
                                                                     size_t bufferChars) {
    if (bufferChars == 0 || bufferChars > static_cast<size_t>(INT_MAX))
        return std::nullopt;
    std::wstring buffer(bufferChars, L'\0');
    const DWORD needed = ::ExpandEnvironmentStringsW(ToWide(text).c_str(), buffer.data(),
                                                     static_cast<DWORD>(bufferChars));
    if (needed == 0 || needed > bufferChars)
        return std::nullopt;
    // An expansion the code page cannot hold would name some other file: it is given in its
    // short form, or counts as failed.
    return AnsiPath(buffer.c_str());
}

std::optional<std::string> Win32FileSystem::EnvironmentVariable(std::string_view name) {
    const std::wstring wideName = ToWide(name);
    std::wstring value(kPathChars, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                       static_cast<DWORD>(value.size()));
        if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return std::nullopt;
        if (length < value.size()) {
            value.resize(length);
            return AnsiPath(value);
        }
        value.assign(length, L'\0');
    }
    return std::nullopt;
}

std::string Win32FileSystem::SystemFolder() {
    wchar_t buffer[kPathChars] = {};
    const UINT length = ::GetSystemDirectoryW(buffer, kPathChars);
    if (length == 0 || length >= kPathChars)
        return "";
    return AnsiPath(buffer).value_or("");
}

std::string Win32FileSystem::SystemWow64Folder() {
    wchar_t buffer[kPathChars] = {};
    // Fails on a system that runs no 32-bit programs beside 64-bit ones.
    const UINT length = ::GetSystemWow64DirectoryW(buffer, kPathChars);
    if (length == 0 || length >= kPathChars)
        return "";
    return AnsiPath(buffer).value_or("");
}

std::string Win32FileSystem::SpecialFolderPath(int folder) {
    wchar_t buffer[kPathChars] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
        return "";
    }
    return AnsiPath(buffer).value_or("");
}

std::optional<std::string> Win32FileSystem::ResolveShortcutTarget(std::string_view linkPath) {
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.put_void()))) {
        return std::nullopt;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())))
        return std::nullopt;
    if (FAILED(file->Load(ToWide(linkPath).c_str(), STGM_READ)))
        return std::nullopt;
    wchar_t target[kPathChars] = {};
    WIN32_FIND_DATAW found{};
    if (link->GetPath(target, kPathChars, &found, SLGP_UNCPRIORITY) != S_OK)
        return "";
    // Some shell versions answer from the link's ANSI copy of the path, where characters
    // outside the code page are already '?'; the item list still holds the real path.
    if (std::wstring_view(target).find_first_of(L"?*") != std::wstring_view::npos &&
        !ReadItemListPath(*link.get(), target)) {
        return std::nullopt;
    }
    if (target[0] == L'\0')
        return "";
    return AnsiPath(target);
}

}  // namespace vantrel
