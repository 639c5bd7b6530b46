// vantrel-bench-generate.exe: writes the registry of bench/Windows11Registry.h into the prefix
// it runs in (scripts/bench keeps one prefix per size and builds it once), or loads its second
// user's hive again: the registry server forgets loaded hives when it ends.
//   --scale F        the size, 1 for a full machine (default 1)
//   --stale-every N  one entry in N is stale (default 200)
//   --load           only load the second user's hive (and make the links again)
// Prints the counts of what it wrote, one "name entries stale" line per list.
#include <windows.h>

#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchRegistryData.h"
#include "bench/Windows11Registry.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"

namespace {

using vantrel::RootKey;
using vantrel::bench::Widen;

// Written in the current user's hive first, saved as a hive file, removed, and loaded under
// HKEY_USERS: the registry server writes only its own users' hives to the prefix.
constexpr const wchar_t* kHiveSourcePath = L"Software\\VantrelBenchHiveSource";
constexpr const wchar_t* kHiveFile = L"C:\\vantrel-bench-user2.dat";

std::wstring OtherUserSid() {
    return Widen(std::string(vantrel::bench::kOtherUserSid));
}

// The generator's keys and files, written through the Windows API.
class Win32Target : public vantrel::bench::GeneratedRegistryTarget {
  public:
    void Key(RootKey root, std::string_view path) override {
        key_.reset();
        HKEY parent = nullptr;
        const std::wstring name = Place(root, path, parent);
        if (::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key_.put(), nullptr) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot create the key " + std::string(path));
        }
    }
    void String(std::string_view name, std::string_view text) override {
        const std::wstring wide = Widen(std::string(text));
        Set(name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    void Dword(std::string_view name, uint32_t number) override {
        const DWORD value = number;
        Set(name, REG_DWORD, &value, sizeof value);
    }
    void Binary(std::string_view name, size_t bytes) override {
        const std::vector<BYTE> data(bytes, static_cast<BYTE>(bytes));
        Set(name, REG_BINARY, data.data(), data.size());
    }
    // Made by MakeLinks once the second user's hive is loaded.
    void Link(RootKey, std::string_view, RootKey, std::string_view) override {}
    void File(std::string_view path) override {
        const std::string text(path);
        vantrel::CreateFolderWithParents(text.substr(0, text.rfind('\\')));
        vantrel::unique_handle file(::CreateFileW(Widen(text).c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw std::runtime_error("cannot create the file " + text);
    }
    void Folder(std::string_view path) override {
        if (!vantrel::CreateFolderWithParents(std::string(path)))
            throw std::runtime_error("cannot create the folder " + std::string(path));
    }
    void Shortcut(std::string_view link, std::string_view target) override {
        const std::string text(link);
        vantrel::CreateFolderWithParents(text.substr(0, text.rfind('\\')));
        if (!vantrel::SaveShortcutFile(Widen(text), Widen(std::string(target))))
            throw std::runtime_error("cannot save the shortcut " + text);
    }
    std::string SpecialFolder(int folder) override { return files_.SpecialFolderPath(folder); }

    void Close() { key_.reset(); }

  private:
    static std::wstring Place(RootKey root, std::string_view path, HKEY& parent) {
        const std::wstring wide = Widen(std::string(path));
        const std::wstring sid = OtherUserSid();
        switch (root) {
            case RootKey::ClassesRoot:
                // The machine's registrations, where HKEY_CLASSES_ROOT shows them.
                parent = HKEY_LOCAL_MACHINE;
                return L"Software\\Classes\\" + wide;
            case RootKey::CurrentUser:
                parent = HKEY_CURRENT_USER;
                return wide;
            case RootKey::Users:
                if (wide.compare(0, sid.size(), sid) != 0)
                    throw std::runtime_error("only the second user's hive is generated");
                parent = HKEY_CURRENT_USER;
                return kHiveSourcePath + wide.substr(sid.size());
            default:
                parent = HKEY_LOCAL_MACHINE;
                return wide;
        }
    }
    void Set(std::string_view name, DWORD type, const void* data, size_t bytes) {
        if (::RegSetValueExW(key_.get(), Widen(std::string(name)).c_str(), 0, type,
                             static_cast<const BYTE*>(data),
                             static_cast<DWORD>(bytes)) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot write the value " + std::string(name));
        }
    }

    vantrel::unique_hkey key_;
    vantrel::Win32FileSystem files_;
};

std::wstring SystemName(RootKey root, const std::string& path) {
    switch (root) {
        case RootKey::CurrentUser:
            return vantrel::bench::CurrentUserKeyName() + L"\\" + Widen(path);
        case RootKey::Users:
            return L"\\REGISTRY\\USER\\" + Widen(path);
        default:
            return L"\\REGISTRY\\MACHINE\\" + Widen(path);
    }
}

HKEY Handle(RootKey root) {
    return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

void MakeLinks(const std::vector<vantrel::bench::GeneratedLink>& links) {
    for (const vantrel::bench::GeneratedLink& link : links) {
        const std::wstring path = Widen(link.path);
        vantrel::bench::DeleteLink(Handle(link.root), path);
        vantrel::bench::CreateLink(Handle(link.root), path,
                                   SystemName(link.targetRoot, link.targetPath));
    }
}

void SaveSecondHive() {
    vantrel::bench::SaveAsHive(kHiveSourcePath, kHiveFile, OtherUserSid());
}

void LoadSecondHive() {
    vantrel::bench::LoadHive(kHiveFile, OtherUserSid());
}

struct Options {
    vantrel::bench::GeneratedSize size;
    bool loadOnly = false;
};

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--load") {
            options.loadOnly = true;
        } else if (argument == "--scale" && i + 1 < argc) {
            options.size.scale = std::atof(argv[++i]);
        } else if (argument == "--stale-every" && i + 1 < argc) {
            options.size.staleEvery = static_cast<size_t>(std::atoll(argv[++i]));
        } else {
            return false;
        }
    }
    return options.size.scale > 0 && options.size.staleEvery > 1;
}

int Run(const Options& options) {
    Win32Target target;
    if (options.loadOnly) {
        LoadSecondHive();
        MakeLinks(vantrel::bench::GeneratedLinks());
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    const vantrel::bench::GeneratedCount count =
        vantrel::bench::GenerateWindows11Registry(options.size, target);
    target.Close();
    SaveSecondHive();
    LoadSecondHive();
    MakeLinks(vantrel::bench::GeneratedLinks());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("generated %zu keys, %zu values, %zu links, %zu files in %.1f s\n", count.keys,
                count.values, count.links, count.files, seconds);
    for (const vantrel::bench::GeneratedList& list : count.lists)
        std::printf("  %-32s %8zu entries %6zu stale\n", list.name.c_str(), list.entries,
                    list.stale);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: vantrel-bench-generate [--scale F] [--stale-every N] [--load]\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        const int status = Run(options);
        ::CoUninitialize();
        return status;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrel-bench-generate: %s\n", error.what());
        return 2;
    }
}
