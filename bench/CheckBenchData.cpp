#include "bench/CheckBenchData.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string_view>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Shell.h"

namespace vantrel::bench {

namespace {

constexpr uint32_t kClassSeed = kBenchSeed + 13;
constexpr uint32_t kShortcutSeed = kBenchSeed + 17;
constexpr size_t kShortcutGroups = 20;

unique_hkey CreateKey(HKEY parent, const std::wstring& name) {
    unique_hkey key;
    if (::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create a benchmark class key");
    }
    return key;
}

void WriteString(HKEY key, const std::wstring& name, const std::string& text) {
    const std::wstring wide = Widen(text);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                         bytes) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot write a benchmark class value");
    }
}

std::string ClassName(size_t index, uint32_t noise) {
    char name[48];
    std::snprintf(name, sizeof name, "{%08X-%04X-4%03X-8%03X-%012zX}", noise, 0xBE7Cu,
                  static_cast<unsigned>(index % 0x1000), static_cast<unsigned>(noise % 0x1000),
                  index);
    return name;
}

// Draws the paths the class keys and shortcuts name.
class PathPicker {
  public:
    PathPicker(const BenchFiles& files, uint32_t seed) : files_(files), rng_(seed) {}

    bool Chance(unsigned percent) { return rng_() % 100 < percent; }
    uint32_t Noise() { return static_cast<uint32_t>(rng_()); }
    std::string ExistingFile() { return files_.files[Pick(files_.files.size())]; }
    std::string ExistingFolder() { return files_.folders[Pick(files_.folders.size())]; }
    std::string MissingFile(std::string_view extension) {
        return ExistingFolder() + "\\gone" + std::to_string(missing_++) + std::string(extension);
    }

  private:
    size_t Pick(size_t count) { return static_cast<size_t>(rng_() % count); }

    const BenchFiles& files_;
    std::mt19937 rng_;
    size_t missing_ = 0;
};

// One class: description, server, ProgID, sometimes an icon and a category.
void WriteClass(HKEY classes, size_t index, PathPicker& paths, ClassTreeCount& count) {
    const std::string name = ClassName(index, paths.Noise());
    const unique_hkey classKey = CreateKey(classes, Widen(name));
    WriteString(classKey.get(), L"", "VantrelBench Class " + std::to_string(index));
    count.keys += 1;
    count.values += 1;

    const bool local = paths.Chance(12);
    std::string server =
        paths.Chance(25) ? paths.MissingFile(local ? ".exe" : ".dll") : paths.ExistingFile();
    if (paths.Chance(5))
        server = local ? "vbenchsrv.exe" : "ole32.dll";  // found through the search path
    const unique_hkey serverKey =
        CreateKey(classKey.get(), local ? L"LocalServer32" : L"InprocServer32");
    if (local) {
        WriteString(serverKey.get(), L"", "\"" + server + "\" /automation");
        count.values += 1;
    } else {
        WriteString(serverKey.get(), L"", server);
        WriteString(serverKey.get(), L"ThreadingModel", "Apartment");
        count.values += 2;
    }
    const unique_hkey progId = CreateKey(classKey.get(), L"ProgID");
    WriteString(progId.get(), L"", "VantrelBench.Class" + std::to_string(index) + ".1");
    count.keys += 2;
    count.values += 1;

    if (paths.Chance(25)) {
        const unique_hkey icon = CreateKey(classKey.get(), L"DefaultIcon");
        WriteString(icon.get(), L"",
                    (paths.Chance(20) ? paths.MissingFile(".ico") : paths.ExistingFile()) + ",0");
        count.keys += 1;
        count.values += 1;
    }
    if (paths.Chance(10)) {
        const unique_hkey categories = CreateKey(classKey.get(), L"Implemented Categories");
        CreateKey(categories.get(), L"{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
        count.keys += 2;
    }
}

void MakeFolder(const std::string& path) {
    if (!::CreateDirectoryW(Widen(path).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
        throw std::runtime_error("cannot create the folder " + path);
    }
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    unique_find search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search.get(), &found));
    }
    search.reset();
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

ClassTreeCount WriteClassTree(HKEY root, const std::wstring& path, size_t classes,
                              const BenchFiles& files) {
    if (!DeleteBenchTree(root, path))
        throw std::runtime_error("cannot remove the old class tree");
    PathPicker paths(files, kClassSeed);
    const unique_hkey top = CreateKey(root, path);
    ClassTreeCount count;
    count.keys = 1;
    for (size_t index = 0; index < classes; ++index)
        WriteClass(top.get(), index, paths, count);
    count.classes = classes;
    return count;
}

ShortcutFolderCount CreateShortcutFolder(const std::string& folder, size_t shortcuts,
                                         const BenchFiles& files) {
    RemoveShortcutFolder(folder);
    MakeFolder(folder);
    PathPicker paths(files, kShortcutSeed);
    ShortcutFolderCount count;
    count.folders = 1;
    for (size_t group = 0; group < kShortcutGroups && group < shortcuts; ++group) {
        const std::string groupFolder = folder + "\\Group " + std::to_string(group);
        MakeFolder(groupFolder);
        ++count.folders;
        for (size_t link = group; link < shortcuts; link += kShortcutGroups) {
            std::string target;
            if (paths.Chance(35)) {
                target = paths.MissingFile(".exe");
                ++count.missingTargets;
            } else {
                target = paths.Chance(20) ? paths.ExistingFolder() : paths.ExistingFile();
            }
            const std::string linkPath = groupFolder + "\\Link " + std::to_string(link) + ".lnk";
            if (!SaveShortcutFile(Widen(linkPath), Widen(target)))
                throw std::runtime_error("cannot save the shortcut " + linkPath);
            ++count.shortcuts;
        }
    }
    return count;
}

void RemoveShortcutFolder(const std::string& folder) {
    RemoveTree(Widen(folder));
}

}  // namespace vantrel::bench
