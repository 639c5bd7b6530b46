// A scan of all twenty categories against the registry editor's export of the whole registry
// ("regedit /e FILE" with no key named), measured in one run on a registry of at least 100,000
// keys: a generated tree in the current user's hive, a second user's hive loaded under
// HKEY_USERS, and links into both besides the prefix's own. The scan reads each key once and
// never passes through a link; the export writes every key it reaches, through links too. Both
// take turns, each round after the other's, and the best round of each counts.
#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/BenchRegistryData.h"
#include "bench/CountingSink.h"
#include "platform/win32/ComReadyFileSystem.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "scan/CheckTable.h"
#include "scan/ScanTaskThread.h"

namespace {

using Clock = std::chrono::steady_clock;
using vantrel::bench::BenchTreeShape;

constexpr const wchar_t* kUserTreePath = L"Software\\VantrelFullScanBench";
// Written here first, saved as a hive file and loaded under HKEY_USERS as another user's.
constexpr const wchar_t* kHiveSourcePath = L"Software\\VantrelFullScanBenchHive";
constexpr const wchar_t* kOtherUser = L"S-1-5-21-1004336348-1177238915-682003330-1099";
constexpr const wchar_t* kHiveFile = L"C:\\vantrel-bench-hive.dat";
constexpr const wchar_t* kExportFile = L"C:\\vantrel-bench-export.reg";
constexpr double kTargetRatio = 1.0;
constexpr size_t kMinimumKeys = 100000;
constexpr int kMinimumRounds = 1;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User and kernel time a process has used; the registry server's own time is not in it.
double ProcessCpuSeconds(HANDLE process = ::GetCurrentProcess()) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

struct Options {
    size_t userKeys = 60000;
    size_t hiveKeys = 40000;
    int rounds = 2;
    bool help = false;
};

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: vantrel-bench-full-scan [--user-keys N] [--hive-keys N] [--rounds N]\n"
                 "  --user-keys N  keys generated in the current user's hive (default 60000)\n"
                 "  --hive-keys N  keys of the second user's hive (default 40000)\n"
                 "  --rounds N     rounds of each, the best counts (default 2)\n");
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            options.help = true;
            continue;
        }
        if (i + 1 >= argc ||
            (argument != "--user-keys" && argument != "--hive-keys" && argument != "--rounds")) {
            std::fprintf(stderr, "vantrel-bench-full-scan: unknown or incomplete option '%s'\n",
                         argv[i]);
            return std::nullopt;
        }
        char* end = nullptr;
        const long long number = std::strtoll(argv[++i], &end, 10);
        const long long minimum = argument == "--rounds" ? kMinimumRounds : 1;
        if (*end != '\0' || number < minimum || number > 5'000'000) {
            std::fprintf(stderr, "vantrel-bench-full-scan: %s needs a whole number, not '%s'\n",
                         argv[i - 1], argv[i]);
            return std::nullopt;
        }
        if (argument == "--user-keys")
            options.userKeys = static_cast<size_t>(number);
        else if (argument == "--hive-keys")
            options.hiveKeys = static_cast<size_t>(number);
        else
            options.rounds = static_cast<int>(number);
    }
    return options;
}

// Loading and saving hives needs the backup and restore privileges.
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

// A link key at path below root to the key of that system name.
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

// Deletes a link key itself (a deletion by path would reach through it).
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

// Everything the benchmark adds, taken away again at its end, also when it fails half-way.
class BenchRegistry {
  public:
    explicit BenchRegistry(const vantrel::bench::BenchFiles& files) : files_(files) {}
    BenchRegistry(const BenchRegistry&) = delete;
    BenchRegistry& operator=(const BenchRegistry&) = delete;
    ~BenchRegistry() {
        for (const std::wstring& link : links_)
            DeleteLink(HKEY_CURRENT_USER, link);
        if (hiveLoaded_)
            ::RegUnLoadKeyW(HKEY_USERS, kOtherUser);
        vantrel::bench::DeleteBenchTree(HKEY_CURRENT_USER, kUserTreePath);
        vantrel::bench::DeleteBenchTree(HKEY_CURRENT_USER, kHiveSourcePath);
        ::DeleteFileW(kHiveFile);
        vantrel::bench::RemoveBenchFiles(files_);
    }

    void WriteUserTree(size_t keys) {
        BenchTreeShape shape;
        shape.keys = keys;
        vantrel::bench::BenchValueGenerator generator(files_, vantrel::bench::kBenchSeed);
        vantrel::bench::WriteBenchTree(HKEY_CURRENT_USER, kUserTreePath, shape, generator);
    }

    // Written in the user's hive, saved to a hive file, removed, and loaded as another user's.
    void LoadSecondHive(size_t keys) {
        BenchTreeShape shape;
        shape.keys = keys;
        vantrel::bench::BenchValueGenerator generator(files_, vantrel::bench::kBenchSeed + 1);
        vantrel::bench::WriteBenchTree(HKEY_CURRENT_USER, kHiveSourcePath, shape, generator);
        EnablePrivilege(L"SeBackupPrivilege");
        EnablePrivilege(L"SeRestorePrivilege");
        ::RegUnLoadKeyW(HKEY_USERS, kOtherUser);
        ::DeleteFileW(kHiveFile);
        vantrel::unique_hkey source;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kHiveSourcePath, 0, KEY_READ, source.put()) !=
                ERROR_SUCCESS ||
            ::RegSaveKeyW(source.get(), kHiveFile, nullptr) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot save the second user's hive");
        }
        source.reset();
        vantrel::bench::DeleteBenchTree(HKEY_CURRENT_USER, kHiveSourcePath);
        if (::RegLoadKeyW(HKEY_USERS, kOtherUser, kHiveFile) != ERROR_SUCCESS)
            throw std::runtime_error("cannot load the second user's hive");
        hiveLoaded_ = true;
    }

    // Links from the user's tree into the second hive and into the user's own tree: the scan
    // passes them by, the export follows them.
    void AddLinks() {
        const std::wstring hive = L"\\REGISTRY\\USER\\" + std::wstring(kOtherUser);
        AddLink(L"LinkToOtherUser", hive + L"\\" + FirstSubkey(HKEY_USERS, kOtherUser));
        const std::wstring tree = std::wstring(kUserTreePath);
        AddLink(L"LinkWithinTree",
                CurrentUserKeyName() + L"\\" + tree + L"\\" + FirstSubkey(HKEY_CURRENT_USER, tree));
    }

  private:
    void AddLink(const std::wstring& name, const std::wstring& target) {
        const std::wstring path = std::wstring(kUserTreePath) + L"\\" + name;
        CreateLink(HKEY_CURRENT_USER, path, target);
        links_.push_back(path);
    }

    static std::wstring FirstSubkey(HKEY root, const std::wstring& path) {
        vantrel::unique_hkey key;
        wchar_t name[256];
        DWORD chars = 256;
        if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
            ::RegEnumKeyExW(key.get(), 0, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
            throw std::runtime_error("the generated tree has no subkey to link to");
        }
        return std::wstring(name, chars);
    }

    const vantrel::bench::BenchFiles& files_;
    std::vector<std::wstring> links_;
    bool hiveLoaded_ = false;
};

struct KeyCount {
    size_t keys = 0;
    size_t links = 0;
};

// Every key of the registry as it is stored: links counted, never followed.
void CountKeys(HKEY parent, const wchar_t* name, KeyCount& count) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, name, REG_OPTION_OPEN_LINK, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD type = REG_NONE;
    if (::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
            ERROR_SUCCESS &&
        type == REG_LINK) {
        ++count.links;
    } else {
        ++count.keys;
        wchar_t subkey[256];
        for (DWORD index = 0;; ++index) {
            DWORD chars = 256;
            if (::RegEnumKeyExW(key, index, subkey, &chars, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            CountKeys(key, subkey, count);
        }
    }
    ::RegCloseKey(key);
}

KeyCount CountRegistry() {
    KeyCount count;
    CountKeys(HKEY_LOCAL_MACHINE, L"", count);
    CountKeys(HKEY_USERS, L"", count);
    return count;
}

// Counts the rows and times each check: where a scan's time goes.
class TimingSink : public vantrel::bench::CountingSink {
  public:
    explicit TimingSink(std::vector<std::string> checks) : checks_(std::move(checks)) {}

    void BeginCheckProgress() override { start_ = Clock::now(); }
    void EndCheckProgress() override {
        seconds_.push_back(SecondsSince(start_));
        ++done_;
    }

    // The checks that took longest, slowest first: "4 8.1 s, 5 6.0 s, ...".
    std::string Slowest(size_t count) const {
        std::vector<size_t> order(seconds_.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](size_t a, size_t b) { return seconds_[a] > seconds_[b]; });
        std::string text;
        for (size_t i = 0; i < order.size() && i < count; ++i) {
            char item[64];
            std::snprintf(item, sizeof item, "%scheck %s %.2f s", text.empty() ? "" : ", ",
                          checks_[order[i]].c_str(), seconds_[order[i]]);
            text += item;
        }
        return text;
    }

  private:
    std::vector<std::string> checks_;
    std::vector<double> seconds_;
    size_t done_ = 0;
    Clock::time_point start_;
};

struct ScanResult {
    double seconds = 0;
    double cpuSeconds = 0;
    size_t rows = 0;
    size_t registryCalls = 0;
    std::string slowest;
};

// A scan as the window starts it: every category ticked, on the scan's own thread.
ScanResult TimeFullScan() {
    vantrel::Win32Registry registry;
    vantrel::Win32FileSystem system;
    vantrel::ComReadyFileSystem files(system);
    const std::vector<std::string> checks = vantrel::CheckIdsInTreeOrder();
    TimingSink sink(checks);
    vantrel::TScanTaskThread task(registry, files, vantrel::CurrentWindowsVersion(), sink);
    task.CheckList() = checks;
    const double cpuBefore = ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    task.Start();
    task.Wait();
    return ScanResult{SecondsSince(start), ProcessCpuSeconds() - cpuBefore, sink.Rows(),
                      registry.CallCount(), sink.Slowest(5)};
}

struct ExportResult {
    double seconds = 0;
    double cpuSeconds = 0;
    size_t bytes = 0;
};

// "regedit /e FILE": the system registry editor's export of the whole registry.
ExportResult TimeRegistryExport() {
    ::DeleteFileW(kExportFile);
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(windows) + L"\\regedit.exe\" /e \"" +
                           std::wstring(kExportFile) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const Clock::time_point start = Clock::now();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        throw std::runtime_error("cannot start the registry editor");
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ExportResult result;
    result.seconds = SecondsSince(start);
    result.cpuSeconds = ProcessCpuSeconds(process.hProcess);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(kExportFile, GetFileExInfoStandard, &data))
        throw std::runtime_error("the registry editor wrote no export");
    result.bytes = (static_cast<size_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    ::DeleteFileW(kExportFile);
    return result;
}

int RunBenchmark(const Options& options) {
    std::printf("vantrel-bench-full-scan: preparing the registry\n");
    std::fflush(stdout);
    const vantrel::bench::BenchFiles files = vantrel::bench::CreateBenchFiles();
    BenchRegistry registry(files);
    Clock::time_point start = Clock::now();
    registry.WriteUserTree(options.userKeys);
    registry.LoadSecondHive(options.hiveKeys);
    registry.AddLinks();
    const double generationSeconds = SecondsSince(start);
    const KeyCount count = CountRegistry();
    std::printf("keys in the registry:          %zu (and %zu links), generated in %.1f s\n",
                count.keys, count.links, generationSeconds);

    ScanResult bestScan;
    ExportResult bestExport;
    for (int round = 0; round < options.rounds; ++round) {
        const ScanResult scan = TimeFullScan();
        const ExportResult exported = TimeRegistryExport();
        std::printf("  round %d: scan %.2f s (%.2f s of it its own), regedit /e %.2f s (%.2f s)\n",
                    round + 1, scan.seconds, scan.cpuSeconds, exported.seconds,
                    exported.cpuSeconds);
        std::fflush(stdout);
        if (round == 0 || scan.seconds < bestScan.seconds)
            bestScan = scan;
        if (round == 0 || exported.seconds < bestExport.seconds)
            bestExport = exported;
    }
    const double ratio = bestScan.seconds / bestExport.seconds;
    const bool large = count.keys >= kMinimumKeys;
    std::printf("scan of all twenty categories: %.2f s (best), %zu rows, %zu registry calls\n",
                bestScan.seconds, bestScan.rows, bestScan.registryCalls);
    std::printf("  slowest checks:              %s\n", bestScan.slowest.c_str());
    std::printf("regedit /e of the registry:    %.2f s (best), %zu bytes written\n",
                bestExport.seconds, bestExport.bytes);
    std::printf("ratio scan/export:             %.2f (target at most %.1f: %s)\n", ratio,
                kTargetRatio, ratio <= kTargetRatio ? "met" : "MISSED");
    if (!large)
        std::printf("the registry holds fewer than %zu keys: not the measurement asked for\n",
                    kMinimumKeys);
    return ratio <= kTargetRatio && large ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options)
        return 2;
    if (options->help) {
        PrintUsage();
        return 0;
    }
    try {
        return RunBenchmark(*options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrel-bench-full-scan: %s\n", error.what());
        return 2;
    }
}
