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
#include <random>
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
using vantrel::bench::CreateLink;
using vantrel::bench::CurrentUserKeyName;
using vantrel::bench::DeleteLink;
using vantrel::bench::EnablePrivilege;

constexpr const wchar_t* kUserTreePath = L"Software\\VantrelFullScanBench";
// Written here first, saved as a hive file and loaded under HKEY_USERS as another user's.
constexpr const wchar_t* kHiveSourcePath = L"Software\\VantrelFullScanBenchHive";
constexpr const wchar_t* kOtherUser = L"S-1-5-21-1004336348-1177238915-682003330-1099";
constexpr const wchar_t* kHiveFile = L"C:\\vantrel-bench-hive.dat";
constexpr const wchar_t* kExportFile = L"C:\\vantrel-bench-export.reg";
constexpr double kTargetRatio = 0.75;
constexpr size_t kMinimumKeys = 100000;
constexpr int kMinimumRounds = 1;
constexpr uint32_t kStopSeed = 20261209;

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
    int stops = 0;
    // The registry as it stands (scripts/bench's generated one): nothing is added.
    bool existing = false;
    bool help = false;
};

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: vantrel-bench-full-scan [--user-keys N] [--hive-keys N] [--rounds N]\n"
                 "                               [--stops N] [--existing]\n"
                 "  --user-keys N  keys generated in the current user's hive (default 60000)\n"
                 "  --hive-keys N  keys of the second user's hive (default 40000)\n"
                 "  --rounds N     rounds of each, the best counts (default 2)\n"
                 "  --stops N      scans stopped at random moments, timed to their end\n"
                 "  --existing     scan the registry as it is, adding nothing\n");
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "--existing") {
            (argument == "--help" ? options.help : options.existing) = true;
            continue;
        }
        if (i + 1 >= argc || (argument != "--user-keys" && argument != "--hive-keys" &&
                              argument != "--rounds" && argument != "--stops")) {
            std::fprintf(stderr, "vantrel-bench-full-scan: unknown or incomplete option '%s'\n",
                         argv[i]);
            return std::nullopt;
        }
        char* end = nullptr;
        const long long number = std::strtoll(argv[++i], &end, 10);
        const long long minimum =
            argument == "--rounds" ? kMinimumRounds : (argument == "--stops" ? 0 : 1);
        if (*end != '\0' || number < minimum || number > 5'000'000) {
            std::fprintf(stderr, "vantrel-bench-full-scan: %s needs a whole number, not '%s'\n",
                         argv[i - 1], argv[i]);
            return std::nullopt;
        }
        if (argument == "--user-keys")
            options.userKeys = static_cast<size_t>(number);
        else if (argument == "--hive-keys")
            options.hiveKeys = static_cast<size_t>(number);
        else if (argument == "--stops")
            options.stops = static_cast<int>(number);
        else
            options.rounds = static_cast<int>(number);
    }
    return options;
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
        vantrel::bench::SaveAsHive(kHiveSourcePath, kHiveFile, kOtherUser);
        vantrel::bench::LoadHive(kHiveFile, kOtherUser);
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
    size_t values = 0;
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
        DWORD values = 0;
        if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            count.values += values;
        }
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

struct StopResult {
    double worstMs = 0;
    double medianMs = 0;
};

// Scans stopped at moments drawn over the length of a whole scan: the time from the request to
// the scan's end.
StopResult TimeStops(int stops, double scanSeconds) {
    std::mt19937 random(kStopSeed);
    std::uniform_real_distribution<double> moment(0.0, scanSeconds);
    std::vector<double> times;
    for (int i = 0; i < stops; ++i) {
        vantrel::Win32Registry registry;
        vantrel::Win32FileSystem system;
        vantrel::ComReadyFileSystem files(system);
        vantrel::bench::CountingSink sink;
        vantrel::TScanTaskThread task(registry, files, vantrel::CurrentWindowsVersion(), sink);
        task.CheckList() = vantrel::CheckIdsInTreeOrder();
        const double at = moment(random);
        task.Start();
        ::Sleep(static_cast<DWORD>(at * 1000));
        const Clock::time_point pressed = Clock::now();
        task.RequestStop();
        task.Wait();
        times.push_back(SecondsSince(pressed) * 1000);
        std::printf("  stop %d at %.2f s: stopped after %.1f ms\n", i + 1, at, times.back());
        std::fflush(stdout);
    }
    StopResult result;
    if (times.empty())
        return result;
    std::sort(times.begin(), times.end());
    result.worstMs = times.back();
    result.medianMs = times[times.size() / 2];
    return result;
}

// "@ name value": the figures scripts/bench puts in its table.
void Figure(const char* name, double value) {
    std::printf("@ %s %.6g\n", name, value);
}

int RunBenchmark(const Options& options) {
    const vantrel::bench::BenchFiles files =
        options.existing ? vantrel::bench::BenchFiles{} : vantrel::bench::CreateBenchFiles();
    std::optional<BenchRegistry> registry;
    Clock::time_point start = Clock::now();
    if (!options.existing) {
        std::printf("vantrel-bench-full-scan: preparing the registry\n");
        std::fflush(stdout);
        registry.emplace(files);
        registry->WriteUserTree(options.userKeys);
        registry->LoadSecondHive(options.hiveKeys);
        registry->AddLinks();
    }
    const double generationSeconds = SecondsSince(start);
    const KeyCount count = CountRegistry();
    std::printf("keys in the registry:          %zu (and %zu links), %zu values", count.keys,
                count.links, count.values);
    if (options.existing)
        std::printf("\n");
    else
        std::printf(", generated in %.1f s\n", generationSeconds);

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
    const double perCallUs = bestScan.cpuSeconds * 1e6 /
                             static_cast<double>(std::max<size_t>(1, bestScan.registryCalls));
    const double perValueUs =
        bestScan.cpuSeconds * 1e6 / static_cast<double>(std::max<size_t>(1, count.values));
    std::printf("scan of all twenty categories: %.2f s (best), %zu rows, %zu registry calls\n",
                bestScan.seconds, bestScan.rows, bestScan.registryCalls);
    std::printf(
        "  its own CPU time:            %.2f s: %.2f us per registry call, %.2f us per "
        "value\n",
        bestScan.cpuSeconds, perCallUs, perValueUs);
    std::printf("  slowest checks:              %s\n", bestScan.slowest.c_str());
    std::printf("regedit /e of the registry:    %.2f s (best), %zu bytes written\n",
                bestExport.seconds, bestExport.bytes);
    std::printf("ratio scan/export:             %.2f (target at most %.2f: %s)\n", ratio,
                kTargetRatio, ratio <= kTargetRatio ? "met" : "MISSED");
    if (!large)
        std::printf("the registry holds fewer than %zu keys: not the measurement asked for\n",
                    kMinimumKeys);
    const StopResult stops = TimeStops(options.stops, bestScan.seconds);
    Figure("keys", static_cast<double>(count.keys));
    Figure("values", static_cast<double>(count.values));
    Figure("links", static_cast<double>(count.links));
    Figure("rows", static_cast<double>(bestScan.rows));
    Figure("scan_s", bestScan.seconds);
    Figure("export_s", bestExport.seconds);
    Figure("scan_cpu_s", bestScan.cpuSeconds);
    Figure("registry_calls", static_cast<double>(bestScan.registryCalls));
    Figure("cpu_per_call_us", perCallUs);
    Figure("cpu_per_value_us", perValueUs);
    if (options.stops > 0) {
        Figure("stop_worst_ms", stops.worstMs);
        Figure("stop_median_ms", stops.medianMs);
    }
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
