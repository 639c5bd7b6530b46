// Measures the Files and Folders walk against the cheapest possible walk of the same registry
// tree, then the Custom Controls walk over a generated class tree and the Shortcuts check over
// a generated folder of shortcut files. Under Wine every registry call is a round trip to the
// server and every file-existence question a path lookup on the host, so the figures that matter
// are calls and queries per value; the times follow from them. The walks take turns on each subtree
// of the top key, so a change in the machine's load weighs on all of them alike.
#include <windows.h>
// <windows.h> maps this name to its ANSI function; here it is the FileSystem method.
#undef ExpandEnvironmentStrings

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "bench/BenchRegistryData.h"
#include "bench/CheckBenchData.h"
#include "bench/CountingSink.h"
#include "platform/ForwardingFileSystem.h"
#include "platform/TextCase.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "scan/CheckTable.h"
#include "scan/FileExistenceCache.h"
#include "scan/PathTests.h"
#include "scan/ScanContext.h"
#include "scan/ScanSink.h"
#include "scan/checks/DefaultValueWalker.h"
#include "scan/checks/MissingFileValueWalker.h"

namespace {

using Clock = std::chrono::steady_clock;
using vantrel::bench::BenchTreeShape;

constexpr const wchar_t* kTreePathWide = L"Software\\VantrelBench";
constexpr const char* kTreePath = "Software\\VantrelBench";
constexpr vantrel::RootKey kRoot = vantrel::RootKey::CurrentUser;
// The class tree: a private stand-in for HKEY_CLASSES_ROOT\CLSID, walked by the same walker.
constexpr const wchar_t* kClassTreePathWide = L"Software\\VantrelBenchClasses\\CLSID";
constexpr const char* kClassTreePath = "Software\\VantrelBenchClasses\\CLSID";
constexpr const wchar_t* kClassTreeTopWide = L"Software\\VantrelBenchClasses";
constexpr vantrel::CheckId kFilesAndFoldersCurrentUserId{4};
constexpr vantrel::CheckId kCustomControlsId{13};
constexpr vantrel::CheckId kShortcutsId{17};
constexpr int kMinimumRounds = 2;
constexpr double kTargetRatio = 1.3;
constexpr double kTargetQueriesPerValue = 1.5;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User and kernel time this process has used: what the walks cost besides waiting on the
// registry and file servers.
double ProcessCpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

struct Options {
    size_t keys = BenchTreeShape{}.keys;
    size_t classes = 20000;
    size_t shortcuts = 2000;
    int rounds = kMinimumRounds;
    bool keep = false;
    bool help = false;
};

void PrintUsage() {
    std::fprintf(
        stderr,
        "usage: vantrel-bench-scan [--keys N] [--classes N] [--shortcuts N] [--rounds N] "
        "[--keep]\n"
        "  --keys N       keys in the generated tree (default 50000, at least 1)\n"
        "  --classes N    classes in the generated class tree (default 20000, 0: none)\n"
        "  --shortcuts N  shortcut files in the generated folder (default 2000, 0: none)\n"
        "  --rounds N     warm runs of each walk, the best counts (default 2, at least 2)\n"
        "  --keep         leave HKEY_CURRENT_USER\\%s, HKEY_CURRENT_USER\\%s, %s and %s "
        "in place\n",
        kTreePath, kClassTreePath, vantrel::bench::kBenchFolder, vantrel::bench::kBenchLinksFolder);
}

std::optional<long long> ParseCount(const char* text) {
    char* end = nullptr;
    const long long number = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0')
        return std::nullopt;
    return number;
}

// nullopt (after a message) when the command line cannot be used.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            options.help = true;
            continue;
        }
        if (argument == "--keep") {
            options.keep = true;
            continue;
        }
        const bool counted = argument == "--keys" || argument == "--classes" ||
                             argument == "--shortcuts" || argument == "--rounds";
        if (counted && i + 1 < argc) {
            const std::optional<long long> number = ParseCount(argv[++i]);
            const long long minimum = argument == "--keys"     ? 1
                                      : argument == "--rounds" ? kMinimumRounds
                                                               : 0;
            const long long maximum = argument == "--keys"        ? 10'000'000
                                      : argument == "--classes"   ? 1'000'000
                                      : argument == "--shortcuts" ? 100'000
                                                                  : 100;
            if (!number || *number < minimum || *number > maximum) {
                std::fprintf(
                    stderr,
                    "vantrel-bench-scan: %s needs a whole number from %lld to %lld, not '%s'\n",
                    argv[i - 1], minimum, maximum, argv[i]);
                return std::nullopt;
            }
            if (argument == "--keys")
                options.keys = static_cast<size_t>(*number);
            else if (argument == "--classes")
                options.classes = static_cast<size_t>(*number);
            else if (argument == "--shortcuts")
                options.shortcuts = static_cast<size_t>(*number);
            else
                options.rounds = static_cast<int>(*number);
            continue;
        }
        std::fprintf(stderr, "vantrel-bench-scan: unknown or incomplete option '%s'\n", argv[i]);
        PrintUsage();
        return std::nullopt;
    }
    return options;
}

// The floor: a depth-first walk through the plain ANSI API that takes each value's name, type
// and data in a single RegEnumValueA call, and opens each subkey relative to its parent.
class RawRegistryWalk {
  public:
    struct Result {
        size_t keys = 0;
        size_t values = 0;
        size_t calls = 0;
        size_t dataBytes = 0;  // keeps the reads honest
    };

    // Adds the key at path and everything below it to the totals.
    void Walk(HKEY root, const char* path) { WalkKey(root, path); }
    const Result& Totals() const { return result_; }

  private:
    void WalkKey(HKEY parent, const char* name) {
        HKEY key = nullptr;
        ++result_.calls;
        if (::RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        ++result_.keys;
        ReadValues(key);
        std::vector<std::string> subkeys = SubkeyNames(key);
        for (const std::string& subkey : subkeys)
            WalkKey(key, subkey.c_str());
        ++result_.calls;
        ::RegCloseKey(key);
    }

    void ReadValues(HKEY key) {
        for (DWORD index = 0;;) {
            DWORD nameChars = static_cast<DWORD>(name_.size());
            DWORD dataBytes = static_cast<DWORD>(data_.size());
            DWORD type = REG_NONE;
            ++result_.calls;
            const LONG status = ::RegEnumValueA(key, index, name_.data(), &nameChars, nullptr,
                                                &type, data_.data(), &dataBytes);
            if (status == ERROR_MORE_DATA) {
                data_.resize(std::max<size_t>(data_.size() * 2, dataBytes));
                continue;
            }
            if (status != ERROR_SUCCESS)
                return;
            ++result_.values;
            result_.dataBytes += dataBytes;
            ++index;
        }
    }

    std::vector<std::string> SubkeyNames(HKEY key) {
        std::vector<std::string> names;
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD nameChars = sizeof name;
            ++result_.calls;
            if (::RegEnumKeyExA(key, index, name, &nameChars, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                return names;
            }
            names.emplace_back(name, nameChars);
        }
    }

    Result result_;
    std::vector<char> name_ = std::vector<char>(16384);
    std::vector<BYTE> data_ = std::vector<BYTE>(64 * 1024);
};

// Runs one question and adds its count and time to the given totals.
template <typename Query>
auto TimeQuery(size_t& counter, double& seconds, Query query) {
    const Clock::time_point start = Clock::now();
    auto answer = query();
    seconds += SecondsSince(start);
    ++counter;
    return answer;
}

// Passes every question on and records how many of each kind reached the system and how long
// they took there: the part of the walk's time that the file system costs.
class TimedFileSystem : public vantrel::ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    bool FileExists(std::string_view path) override {
        NoteFolder(path);
        return TimeQuery(fileQueries_, seconds_, [&] { return Inner().FileExists(path); });
    }
    bool DirectoryExists(std::string_view path) override {
        NoteFolder(path);
        return TimeQuery(directoryQueries_, seconds_,
                         [&] { return Inner().DirectoryExists(path); });
    }
    uint32_t DriveType(std::string_view rootFolder) override {
        return TimeQuery(driveQueries_, seconds_, [&] { return Inner().DriveType(rootFolder); });
    }
    std::vector<vantrel::FolderEntry> ListFolder(std::string_view folder) override {
        return TimeQuery(listings_, listSeconds_, [&] { return Inner().ListFolder(folder); });
    }
    std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                        size_t bufferChars) override {
        return TimeQuery(expansions_, seconds_,
                         [&] { return Inner().ExpandEnvironmentStrings(text, bufferChars); });
    }
    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override {
        return TimeQuery(resolutions_, resolveSeconds_,
                         [&] { return Inner().ResolveShortcutTarget(linkPath); });
    }

    size_t FileQueries() const { return fileQueries_; }
    size_t Listings() const { return listings_; }
    size_t Resolutions() const { return resolutions_; }
    double ListSeconds() const { return listSeconds_; }
    double ResolveSeconds() const { return resolveSeconds_; }
    size_t DirectoryQueries() const { return directoryQueries_; }
    size_t DriveQueries() const { return driveQueries_; }
    size_t Expansions() const { return expansions_; }
    double Seconds() const { return seconds_; }
    // Folders (up to the last backslash, letter case folded) the existence questions fell in:
    // how many folder listings could stand in for the questions.
    size_t DistinctFolders() const { return folders_.size(); }

  private:
    void NoteFolder(std::string_view path) {
        const size_t separator = path.find_last_of('\\');
        if (separator == std::string_view::npos)
            return;
        folders_.insert(vantrel::LowerAscii(path.substr(0, separator + 1)));
    }

    std::unordered_set<std::string> folders_;
    size_t fileQueries_ = 0;
    size_t directoryQueries_ = 0;
    size_t driveQueries_ = 0;
    size_t expansions_ = 0;
    size_t listings_ = 0;
    size_t resolutions_ = 0;
    double seconds_ = 0;  // existence questions, drive types and expansions
    double listSeconds_ = 0;
    double resolveSeconds_ = 0;
};

// The real file system, with the shell's folders narrowed to one private folder standing in for
// the all users' Start Menu, so the Shortcuts check reads the generated shortcuts and nothing
// else. Without a folder every question goes to the system.
class BenchShellFolders : public vantrel::Win32FileSystem {
  public:
    explicit BenchShellFolders(std::string shortcutFolder)
        : shortcutFolder_(std::move(shortcutFolder)) {}

    std::string SpecialFolderPath(int folder) override {
        if (shortcutFolder_.empty())
            return vantrel::Win32FileSystem::SpecialFolderPath(folder);
        return folder == vantrel::specialfolder::kCommonStartMenu ? shortcutFolder_ : "";
    }

  private:
    std::string shortcutFolder_;
};

struct Timing {
    double seconds = 0;
    double cpuSeconds = 0;
};

struct WalkResult {
    double seconds = 0;
    double cpuSeconds = 0;
    size_t registryCalls = 0;
    size_t realQueries = 0;  // the cache's count of questions that reached the file system
    size_t rows = 0;
    size_t fileQueries = 0;
    size_t directoryQueries = 0;
    size_t driveQueries = 0;
    size_t expansions = 0;
    size_t distinctFolders = 0;
    double fileSystemSeconds = 0;
    // Asked of the cache by the path tests, and the time the cache took to answer them.
    size_t askedQueries = 0;
    double askedSeconds = 0;
    size_t listings = 0;  // folder listings that reached the system, the cache's included
    double listSeconds = 0;
    size_t resolutions = 0;
    double resolveSeconds = 0;
};

// One scan's worth of a walk: a fresh registry source and a fresh per-scan cache, as a real scan
// has, run piece by piece (the Files and Folders walk slice by slice) and timed in total.
class ScanWalk {
  public:
    explicit ScanWalk(const std::string& fixedDriveLetters, std::string shortcutFolder = "")
        : system_(std::move(shortcutFolder)),
          timed_(system_),
          cache_(timed_),
          asked_(cache_),
          context_(registry_, asked_, fixedDriveLetters, vantrel::CurrentWindowsVersion(), sink_,
                   stopRequested_) {}

    double WalkSlice(const std::string& keyPath) {
        return Run([&](vantrel::ScanContext& context) {
            context.BeginCheck(*vantrel::FindCheck(kFilesAndFoldersCurrentUserId));
            vantrel::WalkMissingFileValues(context, kRoot, keyPath, "",
                                           vantrel::CurrentUserSkipKeys());
        });
    }

    // Times one piece of work on this walk's context.
    template <typename Work>
    double Run(Work work) {
        const double cpuBefore = ProcessCpuSeconds();
        const Clock::time_point start = Clock::now();
        work(context_);
        const double seconds = SecondsSince(start);
        seconds_ += seconds;
        cpuSeconds_ += ProcessCpuSeconds() - cpuBefore;
        return seconds;
    }

    WalkResult Result() const {
        WalkResult result;
        result.seconds = seconds_;
        result.cpuSeconds = cpuSeconds_;
        result.registryCalls = registry_.CallCount();
        result.realQueries = cache_.RealQueries();
        result.rows = sink_.Rows();
        result.fileQueries = timed_.FileQueries();
        result.directoryQueries = timed_.DirectoryQueries();
        result.driveQueries = timed_.DriveQueries();
        result.expansions = timed_.Expansions();
        result.fileSystemSeconds = timed_.Seconds();
        result.distinctFolders = timed_.DistinctFolders();
        result.askedQueries =
            asked_.FileQueries() + asked_.DirectoryQueries() + asked_.DriveQueries();
        result.askedSeconds = asked_.Seconds();
        result.listings = timed_.Listings();
        result.listSeconds = timed_.ListSeconds();
        result.resolutions = timed_.Resolutions();
        result.resolveSeconds = timed_.ResolveSeconds();
        return result;
    }

  private:
    vantrel::Win32Registry registry_;
    BenchShellFolders system_;
    TimedFileSystem timed_;
    vantrel::FileExistenceCache cache_;
    TimedFileSystem asked_;
    vantrel::bench::CountingSink sink_;
    const std::atomic<bool> stopRequested_{false};
    vantrel::ScanContext context_;
    double seconds_ = 0;
    double cpuSeconds_ = 0;
};

// The top key's subkeys: the walks take turns on each, so a change in the machine's load
// during the run weighs on all of them alike. A tree without subkeys is one slice.
std::vector<std::string> TreeSlices() {
    std::vector<std::string> slices;
    HKEY top = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTreePath, 0, KEY_READ, &top) == ERROR_SUCCESS) {
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD nameChars = sizeof name;
            if (::RegEnumKeyExA(top, index, name, &nameChars, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            slices.push_back(std::string(kTreePath) + "\\" + std::string(name, nameChars));
        }
        ::RegCloseKey(top);
    }
    if (slices.empty())
        slices.emplace_back(kTreePath);
    return slices;
}

double PerValue(size_t count, size_t values) {
    return values == 0 ? 0.0 : static_cast<double>(count) / static_cast<double>(values);
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

void PrintReport(const vantrel::bench::BenchTreeCount& tree, double generationSeconds,
                 const RawRegistryWalk::Result& floor, const Timing& floorTiming,
                 const WalkResult& walk, const WalkResult& registryOnly) {
    const double floorSeconds = floorTiming.seconds;
    const double ratio = walk.seconds / floorSeconds;
    const double queriesPerValue = PerValue(walk.realQueries, floor.values);
    std::printf("keys walked:                   %zu\n", floor.keys);
    std::printf("values walked:                 %zu\n", floor.values);
    std::printf("generation time:               %.2f s (%zu keys, %zu values written)\n",
                generationSeconds, tree.keys, tree.values);
    std::printf("floor time (best):             %.3f s (%.0f values/s)\n", floorSeconds,
                static_cast<double>(floor.values) / floorSeconds);
    std::printf("walk time (best):              %.3f s (%.0f values/s)\n", walk.seconds,
                static_cast<double>(floor.values) / walk.seconds);
    std::printf("ratio walk/floor:              %.2f (target at most %.1f: %s)\n", ratio,
                kTargetRatio, Verdict(ratio <= kTargetRatio));
    std::printf("registry calls per value:      walk %.2f, floor %.2f\n",
                PerValue(walk.registryCalls, floor.values), PerValue(floor.calls, floor.values));
    std::printf("file-system queries per value: %.3f (target at most %.1f: %s)\n", queriesPerValue,
                kTargetQueriesPerValue, Verdict(queriesPerValue <= kTargetQueriesPerValue));
    // The cache's count holds its folder listings too; the timed file system sees only queries.
    const size_t directQueries = walk.fileQueries + walk.directoryQueries + walk.driveQueries;
    const size_t listings = walk.realQueries > directQueries ? walk.realQueries - directQueries : 0;
    std::printf(
        "  of which file %zu, directory %zu, drive type %zu, folder listings %zu; "
        "expansions %zu\n",
        walk.fileQueries, walk.directoryQueries, walk.driveQueries, listings, walk.expansions);
    std::printf("  the real queries fell in %zu distinct folders\n", walk.distinctFolders);
    std::printf("  time in file-system queries and expansions: %.3f s (%.0f%% of the walk)\n",
                walk.fileSystemSeconds, 100.0 * walk.fileSystemSeconds / walk.seconds);
    std::printf(
        "  questions the path tests asked the cache: %zu (%.2f per value), answered in "
        "%.3f s\n",
        walk.askedQueries, PerValue(walk.askedQueries, floor.values), walk.askedSeconds);
    std::printf("  floor cost per registry call:  %.1f us\n",
                1e6 * floorSeconds / static_cast<double>(floor.calls));
    std::printf("  walk without file tests:       %.3f s, %.2f calls per value, %.1f us per call\n",
                registryOnly.seconds, PerValue(registryOnly.registryCalls, floor.values),
                1e6 * registryOnly.seconds / static_cast<double>(registryOnly.registryCalls));
    std::printf(
        "  process CPU time:              floor %.3f s, walk %.3f s, walk without file "
        "tests %.3f s\n",
        floorTiming.cpuSeconds, walk.cpuSeconds, registryOnly.cpuSeconds);
    std::printf("rows found:                    %zu\n", walk.rows);
}

// Removes the benchmark's tree and folder when the run ends, also when it fails half-way.
class BenchDataCleanup {
  public:
    BenchDataCleanup(const vantrel::bench::BenchFiles& files, bool keep)
        : files_(files), keep_(keep) {}
    BenchDataCleanup(const BenchDataCleanup&) = delete;
    BenchDataCleanup& operator=(const BenchDataCleanup&) = delete;
    ~BenchDataCleanup() {
        if (keep_)
            return;
        vantrel::bench::DeleteBenchTree(HKEY_CURRENT_USER, kTreePathWide);
        vantrel::bench::DeleteBenchTree(HKEY_CURRENT_USER, kClassTreeTopWide);
        vantrel::bench::RemoveShortcutFolder(vantrel::bench::kBenchLinksFolder);
        vantrel::bench::RemoveBenchFiles(files_);
    }

  private:
    const vantrel::bench::BenchFiles& files_;
    bool keep_;
};

double MicrosecondsEach(double seconds, size_t count) {
    return count == 0 ? 0.0 : 1e6 * seconds / static_cast<double>(count);
}

// The best of several rounds of one walk, each on a fresh scan's registry source and cache.
template <typename Work>
WalkResult BestOfRounds(int rounds, const char* label, const std::string& fixedDriveLetters,
                        const std::string& shortcutFolder, Work work) {
    WalkResult best;
    for (int round = 0; round < rounds; ++round) {
        ScanWalk walk(fixedDriveLetters, shortcutFolder);
        walk.Run(work);
        const WalkResult result = walk.Result();
        std::printf("  round %d: %s %.3f s\n", round + 1, label, result.seconds);
        std::fflush(stdout);
        if (round == 0 || result.seconds < best.seconds)
            best = result;
    }
    return best;
}

// The questions that reached the system, per item, and what they cost.
void PrintFileSystemFigures(const WalkResult& walk, size_t items, const char* item) {
    const size_t direct = walk.fileQueries + walk.directoryQueries + walk.driveQueries;
    std::printf(
        "file-system queries per %s:  %.3f real (file %zu, directory %zu, drive type %zu, "
        "folder listings %zu), %.3f asked of the cache\n",
        item, PerValue(direct + walk.listings, items), walk.fileQueries, walk.directoryQueries,
        walk.driveQueries, walk.listings, PerValue(walk.askedQueries, items));
    const double seconds = walk.fileSystemSeconds + walk.listSeconds;
    std::printf("  time in file-system queries:   %.3f s, listings included (%.0f%% of the walk)\n",
                seconds, 100.0 * seconds / walk.seconds);
}

// Custom Controls: the default-value walker over a generated class tree, as over
// HKEY_CLASSES_ROOT\CLSID. True when the walk found the tree's stale servers at all.
bool RunClassBenchmark(const Options& options, const vantrel::bench::BenchFiles& files,
                       const std::string& fixedDriveLetters) {
    std::printf("\nCustom Controls walk over HKEY_CURRENT_USER\\%s\n", kClassTreePath);
    std::fflush(stdout);
    Clock::time_point start = Clock::now();
    const vantrel::bench::ClassTreeCount tree = vantrel::bench::WriteClassTree(
        HKEY_CURRENT_USER, kClassTreePathWide, options.classes, files);
    const double generationSeconds = SecondsSince(start);
    // The check's own rules: every key judged and shown.
    const vantrel::DefaultValueWalkRules rules{vantrel::RepairKind::DeleteKey, nullptr, true};
    const WalkResult walk = BestOfRounds(
        options.rounds, "class walk", fixedDriveLetters, "", [&](vantrel::ScanContext& context) {
            context.BeginCheck(*vantrel::FindCheck(kCustomControlsId));
            vantrel::WalkDefaultValues(context, kRoot, kClassTreePath, rules);
        });
    std::printf("classes walked:                %zu (%zu keys, %zu values)\n", tree.classes,
                tree.keys, tree.values);
    std::printf("generation time:               %.2f s\n", generationSeconds);
    std::printf("walk time (best):              %.3f s: %.1f us per class, %.1f us per key\n",
                walk.seconds, MicrosecondsEach(walk.seconds, tree.classes),
                MicrosecondsEach(walk.seconds, tree.keys));
    std::printf("registry calls per key:        %.2f\n", PerValue(walk.registryCalls, tree.keys));
    PrintFileSystemFigures(walk, tree.classes, "class");
    std::printf("  process CPU time:              %.3f s\n", walk.cpuSeconds);
    std::printf("rows found:                    %zu\n", walk.rows);
    return walk.rows > 0;
}

// Shortcuts: the check itself over a generated folder of real shortcut files standing in for
// the shell's folders. True when exactly the shortcuts with missing targets were reported.
bool RunShortcutBenchmark(const Options& options, const vantrel::bench::BenchFiles& files,
                          const std::string& fixedDriveLetters) {
    std::printf("\nShortcuts check over %s\n", vantrel::bench::kBenchLinksFolder);
    std::fflush(stdout);
    // The shell link object, for making the shortcuts and for the check, needs COM here.
    const vantrel::ComInitializer com(COINIT_APARTMENTTHREADED);
    if (!com.Succeeded())
        throw std::runtime_error("COM cannot be initialised");
    Clock::time_point start = Clock::now();
    const vantrel::bench::ShortcutFolderCount folder = vantrel::bench::CreateShortcutFolder(
        vantrel::bench::kBenchLinksFolder, options.shortcuts, files);
    const double generationSeconds = SecondsSince(start);
    const WalkResult walk = BestOfRounds(
        options.rounds, "shortcut check", fixedDriveLetters, vantrel::bench::kBenchLinksFolder,
        [](vantrel::ScanContext& context) { vantrel::RunCheck(kShortcutsId, context); });
    std::printf("shortcuts read:                %zu in %zu folders (%zu with a missing target)\n",
                folder.shortcuts, folder.folders, folder.missingTargets);
    std::printf("generation time:               %.2f s\n", generationSeconds);
    std::printf("check time (best):             %.3f s: %.1f us per shortcut\n", walk.seconds,
                MicrosecondsEach(walk.seconds, folder.shortcuts));
    std::printf("shortcuts resolved:            %zu, %.1f us each (%.0f%% of the check)\n",
                walk.resolutions, MicrosecondsEach(walk.resolveSeconds, walk.resolutions),
                100.0 * walk.resolveSeconds / walk.seconds);
    PrintFileSystemFigures(walk, folder.shortcuts, "shortcut");
    std::printf("  process CPU time:              %.3f s\n", walk.cpuSeconds);
    const bool exact = walk.rows == folder.missingTargets;
    std::printf("rows found:                    %zu (expected %zu: %s)\n", walk.rows,
                folder.missingTargets, Verdict(exact));
    return exact;
}

int RunBenchmark(const Options& options) {
    std::printf("vantrel-bench-scan: preparing %s and HKEY_CURRENT_USER\\%s\n",
                vantrel::bench::kBenchFolder, kTreePath);
    std::fflush(stdout);
    const vantrel::bench::BenchFiles files = vantrel::bench::CreateBenchFiles();
    const BenchDataCleanup cleanup(files, options.keep);
    BenchTreeShape shape;
    shape.keys = options.keys;
    vantrel::bench::BenchValueGenerator generator(files);
    Clock::time_point start = Clock::now();
    const vantrel::bench::BenchTreeCount tree =
        vantrel::bench::WriteBenchTree(HKEY_CURRENT_USER, kTreePathWide, shape, generator);
    const double generationSeconds = SecondsSince(start);

    vantrel::Win32FileSystem system;
    const std::string fixedDriveLetters = vantrel::ComputeFixedDriveLetters(system);

    const std::vector<std::string> slices = TreeSlices();
    RawRegistryWalk::Result floor;
    Timing bestFloor;
    WalkResult bestWalk;
    WalkResult bestRegistryOnly;
    for (int round = 0; round < options.rounds; ++round) {
        RawRegistryWalk floorWalk;
        Timing floorTiming;
        ScanWalk walk(fixedDriveLetters);
        // With no fixed drive no path is looked up: what is left is the walk's registry part.
        ScanWalk registryOnly("");
        for (const std::string& slice : slices) {
            const double cpuBefore = ProcessCpuSeconds();
            start = Clock::now();
            floorWalk.Walk(HKEY_CURRENT_USER, slice.c_str());
            floorTiming.seconds += SecondsSince(start);
            floorTiming.cpuSeconds += ProcessCpuSeconds() - cpuBefore;
            walk.WalkSlice(slice);
            registryOnly.WalkSlice(slice);
        }
        floor = floorWalk.Totals();
        const WalkResult walkResult = walk.Result();
        const WalkResult registryResult = registryOnly.Result();
        std::printf("  round %d: floor %.3f s, walk %.3f s, walk without file tests %.3f s\n",
                    round + 1, floorTiming.seconds, walkResult.seconds, registryResult.seconds);
        std::fflush(stdout);
        if (round == 0 || floorTiming.seconds < bestFloor.seconds)
            bestFloor = floorTiming;
        if (round == 0 || walkResult.seconds < bestWalk.seconds)
            bestWalk = walkResult;
        if (round == 0 || registryResult.seconds < bestRegistryOnly.seconds)
            bestRegistryOnly = registryResult;
    }
    PrintReport(tree, generationSeconds, floor, bestFloor, bestWalk, bestRegistryOnly);
    // The top key itself is no slice when it has subkeys.
    const size_t expectedKeys =
        slices.size() == 1 && slices[0] == kTreePath ? tree.keys : tree.keys - 1;
    bool sound = floor.keys == expectedKeys;
    if (options.classes > 0)
        sound = RunClassBenchmark(options, files, fixedDriveLetters) && sound;
    if (options.shortcuts > 0)
        sound = RunShortcutBenchmark(options, files, fixedDriveLetters) && sound;
    return sound ? 0 : 1;
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
        std::fprintf(stderr, "vantrel-bench-scan: %s\n", error.what());
        return 1;
    }
}
