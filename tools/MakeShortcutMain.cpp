// vantrel-make-shortcut: the demo's helper. Creates the shell folders and shortcut files that a
// list names, through the shell link object, so the demo has real .lnk files to scan.
//
// Each line of the list is a folder ("...\", created with its parents) or a shortcut
// ("LINK|TARGET"). A path may begin with a shell folder in braces: {CommonStartMenu},
// {CommonDesktop}, {CommonPrograms}, {AppData}, {StartMenu}, {Programs}, {Recent}, {Desktop}.
// Blank lines and lines beginning with "#" are skipped.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/AnsiText.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Shell.h"

namespace {

using vantrel::ComInitializer;
using vantrel::ComPtr;

struct ShellFolderName {
    std::string_view name;
    int csidl;
};

constexpr std::array<ShellFolderName, 8> kShellFolders = {{
    {"CommonStartMenu", CSIDL_COMMON_STARTMENU},
    {"CommonDesktop", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"CommonPrograms", CSIDL_COMMON_PROGRAMS},
    {"AppData", CSIDL_APPDATA},
    {"StartMenu", CSIDL_STARTMENU},
    {"Programs", CSIDL_PROGRAMS},
    {"Recent", CSIDL_RECENT},
    {"Desktop", CSIDL_DESKTOPDIRECTORY},
}};

// The path with a leading "{Folder}" replaced by that shell folder's path; nullopt (after a
// message) for a folder name that is not known or that the system cannot supply.
std::optional<std::wstring> ExpandShellFolder(std::string_view path) {
    if (path.empty() || path.front() != '{')
        return vantrel::ToWide(path);
    const size_t close = path.find('}');
    const std::string_view name = path.substr(1, close == std::string_view::npos ? 0 : close - 1);
    for (const ShellFolderName& folder : kShellFolders) {
        if (folder.name != name)
            continue;
        wchar_t buffer[MAX_PATH] = {};
        if (FAILED(
                ::SHGetFolderPathW(nullptr, folder.csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
            break;
        }
        return std::wstring(buffer) + vantrel::ToWide(path.substr(close + 1));
    }
    std::fprintf(stderr, "vantrel-make-shortcut: unknown shell folder in '%.*s'\n",
                 static_cast<int>(path.size()), path.data());
    return std::nullopt;
}

// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolders(const std::wstring& folder) {
    const int status = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return status == ERROR_SUCCESS || status == ERROR_ALREADY_EXISTS || status == ERROR_FILE_EXISTS;
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// One line of the list; false (after a message) when it cannot be carried out.
bool CarryOut(std::string_view line) {
    const size_t bar = line.find('|');
    if (bar == std::string_view::npos) {
        const std::optional<std::wstring> folder = ExpandShellFolder(line);
        return folder && CreateFolders(*folder);
    }
    const std::optional<std::wstring> link = ExpandShellFolder(line.substr(0, bar));
    const std::optional<std::wstring> target = ExpandShellFolder(line.substr(bar + 1));
    if (!link || !target)
        return false;
    if (!CreateFolders(ParentFolder(*link)) || !vantrel::SaveShortcutFile(*link, *target)) {
        std::fprintf(stderr, "vantrel-make-shortcut: cannot save the shortcut '%.*s'\n",
                     static_cast<int>(line.size()), line.data());
        return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vantrel-make-shortcut LIST\n", stderr);
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::fprintf(stderr, "vantrel-make-shortcut: cannot read '%s'\n", argv[1]);
        return 2;
    }
    const ComInitializer com(COINIT_APARTMENTTHREADED);
    if (!com.Succeeded()) {
        std::fputs("vantrel-make-shortcut: COM cannot be initialised\n", stderr);
        return 1;
    }
    int failures = 0;
    std::string line;
    while (std::getline(list, line)) {
        const std::string_view text = Trimmed(line);
        if (text.empty() || text.front() == '#')
            continue;
        if (!CarryOut(text))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
