// vantrel-bench-results-list.exe: 100,000 rows streamed from the scan's worker thread into the
// main window's results list through the path a real scan takes (the scan task, its event
// queue, the scan window's batched drain, the list's append). The registry and the file system
// are the in-memory ones, so the worker produces rows as fast as it can and the figures are the
// window's. Reports the time until every row is in the list, the time per row, and the longest
// time the UI thread spent on one message without pumping.
//
// With --registry the scan is a real one, of every category over the registry and files of the
// prefix it runs in (scripts/bench's generated machine): it reports the time from the scan's end
// to a window that answers again with every row listed, the longest stall while rows arrive,
// Select All, Select None and Invert over all rows, and the process's peak working set.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "bench/CountingSink.h"
#include "platform/ForwardingFileSystem.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedPrompts.h"
#include "platform/win32/ComReadyFileSystem.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "scan/ScanTaskThread.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kValuesPerKey = 1000;
constexpr int kCurrentUserNode = 4;
constexpr double kTargetSeconds = 2.0;
constexpr double kStallLimitMs = 100.0;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void SeedMissingValues(vantrel::MemoryRegistry& registry, int keys) {
    for (int k = 0; k < keys; ++k) {
        const std::string key = "Software\\VantrelBench\\K" + std::to_string(k);
        for (int v = 0; v < kValuesPerKey; ++v)
            registry.SetString(
                vantrel::RootKey::CurrentUser, key, "V" + std::to_string(v),
                "C:\\vantrel-missing\\K" + std::to_string(k) + "\\v" + std::to_string(v) + ".exe");
    }
}

// The UI thread's own CPU time (user and kernel), in milliseconds: a stall the thread spent
// waiting for the CPU or for another process is not its own work.
double ThreadCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-4;
}

// Times between taking a message and having handled it.
struct LoopWatch {
    Clock::time_point first;
    Clock::time_point taken;
    double takenCpuMs = 0;
    double longestMs = 0;
    double longestCpuMs = 0;  // of the longest, the thread's own CPU time
    double longestAtMs = 0;   // when the longest began, from the first message
    int stalls = 0;
    long messages = 0;
    double busyMs = 0;
    // Every handling over the limit: when it began (from the first message), how long it took,
    // and how much of that was the UI thread's own CPU time.
    struct Stall {
        double atMs, wallMs, cpuMs;
    };
    std::vector<Stall> overLimit;

    void Observe(bool handling) {
        const auto now = Clock::now();
        if (handling) {
            if (messages == 0 && first == Clock::time_point{})
                first = now;
            taken = now;
            takenCpuMs = ThreadCpuMs();
            return;
        }
        const double busy = Milliseconds(now - taken);
        const double cpu = ThreadCpuMs() - takenCpuMs;
        if (busy > longestMs) {
            longestMs = busy;
            longestCpuMs = cpu;
            longestAtMs = Milliseconds(taken - first);
        }
        busyMs += busy;
        if (busy > kStallLimitMs) {
            ++stalls;
            overLimit.push_back({Milliseconds(taken - first), busy, cpu});
        }
        ++messages;
    }
};

std::string ScratchSettingsFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "vantrel-bench-results-list";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// The last moment the scan's worker asked the registry or the file system for anything: the
// scan's end, as near as can be seen from outside it.
class WorkerWatch {
  public:
    explicit WorkerWatch(DWORD uiThread) : uiThread_(uiThread) {}
    void Touch() {
        if (::GetCurrentThreadId() != uiThread_)
            last_.store(Clock::now().time_since_epoch().count());
    }
    Clock::time_point Last() const { return Clock::time_point(Clock::duration(last_.load())); }

  private:
    DWORD uiThread_;
    std::atomic<Clock::rep> last_{0};
};

class WatchedRegistry : public vantrel::RegistrySource {
  public:
    WatchedRegistry(vantrel::RegistrySource& inner, WorkerWatch& watch)
        : inner_(inner), watch_(watch) {}
    std::unique_ptr<vantrel::RegistryAccess> NewAccess() override {
        watch_.Touch();
        return inner_.NewAccess();
    }

  private:
    vantrel::RegistrySource& inner_;
    WorkerWatch& watch_;
};

class WatchedFiles : public vantrel::ForwardingFileSystem {
  public:
    WatchedFiles(vantrel::FileSystem& inner, WorkerWatch& watch)
        : ForwardingFileSystem(inner), watch_(watch) {}
    bool FileExists(std::string_view path) override {
        watch_.Touch();
        return Inner().FileExists(path);
    }
    bool DirectoryExists(std::string_view path) override {
        watch_.Touch();
        return Inner().DirectoryExists(path);
    }
    std::vector<vantrel::FolderEntry> ListFolder(std::string_view folder) override {
        watch_.Touch();
        return Inner().ListFolder(folder);
    }

  private:
    WorkerWatch& watch_;
};

double TimeCommand(HWND window, WORD command) {
    const Clock::time_point start = Clock::now();
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return Milliseconds(Clock::now() - start);
}

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// "@ name value": the figures scripts/bench puts in its table.
void Figure(const char* name, double value) {
    std::printf("@ %s %.6g\n", name, value);
}

// Every category scanned over the real registry into the main window.
int RunOnRegistry() {
    using namespace vantrel;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    WorkerWatch worker(::GetCurrentThreadId());
    Win32Registry system;
    WatchedRegistry registry(system, worker);
    Win32FileSystem systemFiles;
    ComReadyFileSystem comFiles(systemFiles);
    WatchedFiles files(comFiles, worker);

    const std::string folder = ScratchSettingsFolder();
    LoopWatch watch;
    ScriptedPrompts prompts;
    TfrmRegCleaner window(
        MainWindowArgs{::GetModuleHandleA(nullptr), registry, files, CurrentWindowsVersion(),
                       folder, folder + "\\options.ini", false, &prompts,
                       [&](bool handling) { watch.Observe(handling); }, nullptr, ""});
    window.Create();
    window.Show(SW_SHOWNORMAL);
    CategoryTree& tree = window.Tree();
    tree.WalkCategoryTree(tree.Root(), TreeWalkMode::Set2, nullptr, nullptr);  // every tick

    const Clock::time_point start = Clock::now();
    ::SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(command::kScan, 0), 0);
    const Clock::time_point answering = Clock::now();
    const int rows = window.Results().Count();
    const double responsiveMs = Milliseconds(answering - worker.Last());
    const double selectAllMs = TimeCommand(window.Handle(), command::kSelectAll);
    const double selectNoneMs = TimeCommand(window.Handle(), command::kSelectNone);
    const double invertMs = TimeCommand(window.Handle(), command::kSelectInvert);
    const double peakMb = PeakWorkingSetMb();
    ::SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
    ::DeleteFileA((folder + "\\options.ini").c_str());
    ::RemoveDirectoryA(folder.c_str());

    std::printf("scan in the window:          %.1f s, %d rows listed\n",
                Milliseconds(answering - start) / 1000, rows);
    std::printf("scan's end to an answering window with every row: %.0f ms\n", responsiveMs);
    std::printf("longest message handling:    %.1f ms (limit %.0f ms), %d over the limit\n",
                watch.longestMs, kStallLimitMs, watch.stalls);
    std::printf(
        "  the longest: %.0f ms into the scan, %.0f ms of it the UI thread's own CPU time; "
        "%ld messages, %.0f ms busy in all\n",
        watch.longestAtMs, watch.longestCpuMs, watch.messages, watch.busyMs);
    std::printf("Select All %.0f ms, Select None %.0f ms, Invert %.0f ms\n", selectAllMs,
                selectNoneMs, invertMs);
    std::printf("peak working set:            %.1f MB\n", peakMb);
    for (const std::string& line : prompts.Log())
        std::printf("%s\n", line.c_str());
    Figure("list_rows", rows);
    Figure("list_responsive_ms", responsiveMs);
    Figure("list_stall_ms", watch.longestMs);
    Figure("list_stall_cpu_ms", watch.longestCpuMs);
    Figure("select_all_ms", selectAllMs);
    Figure("select_none_ms", selectNoneMs);
    Figure("invert_ms", invertMs);
    Figure("window_peak_mb", peakMb);
    return 0;
}

}  // namespace

// The one optional argument is the number of rows in thousands (default 100), or --registry.
int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc > 1 && std::string_view(argv[1]) == "--registry")
        return RunOnRegistry();
    const int keys = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int kRows = keys * kValuesPerKey;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    MemoryRegistry registry;
    SeedMissingValues(registry, keys);
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);

    const std::string folder = ScratchSettingsFolder();
    LoopWatch watch;
    ResultsList* results = nullptr;
    Clock::time_point allRowsShown{};
    // Nothing is asked during a scan; a notice (an early end) is printed at the end.
    ScriptedPrompts prompts;
    TfrmRegCleaner window(MainWindowArgs{
        ::GetModuleHandleA(nullptr), registry, files, WindowsVersion::WindowsXp, folder,
        folder + "\\options.ini", false, &prompts,
        [&](bool handling) {
            watch.Observe(handling);
            if (!handling && allRowsShown == Clock::time_point{} && results->ShownCount() >= kRows)
                allRowsShown = Clock::now();
        },
        nullptr, ""});
    window.Create();
    window.Show(SW_SHOWNORMAL);
    results = &window.Results();
    CategoryTree& tree = window.Tree();
    tree.WalkCategoryTree(tree.Root(), TreeWalkMode::Set1, nullptr, nullptr);
    tree.ToggleTick(tree.FindByImageIndex(kCurrentUserNode));

    {
        // The worker alone, into a sink that only counts: the floor of the streamed figure.
        bench::CountingSink counter;
        TScanTaskThread task(registry, files, WindowsVersion::WindowsXp, counter);
        task.CheckList() = {"1", "2", "4"};
        const Clock::time_point alone = Clock::now();
        task.Execute();
        std::printf("scan alone, rows counted:   %.0f ms (%zu rows)\n",
                    Milliseconds(Clock::now() - alone), counter.Rows());
    }
    {
        // The list alone: the same rows moved in in batches of 1000 and shown once.
        std::vector<ScanIssue> alone(
            static_cast<size_t>(kRows),
            ScanIssue{"Files and Folders Issue",
                      "HKEY_CURRENT_USER\\Software\\VantrelBench\\K1\\V1",
                      "C:\\vantrel-missing\\K1\\v1.exe", RepairKind::DeleteValueInKey});
        const Clock::time_point quiet = Clock::now();
        for (size_t first = 0; first < alone.size(); first += 1000) {
            std::vector<ScanIssue*> batch;
            for (size_t i = first; i < std::min(alone.size(), first + 1000); ++i)
                batch.push_back(&alone[i]);
            results->MoveInQuietly(batch);
        }
        const Clock::time_point appended = Clock::now();
        results->ShowAppended();
        std::printf("list alone, shown once:     %.0f ms (%.0f ms of it to show)\n",
                    Milliseconds(Clock::now() - quiet), Milliseconds(Clock::now() - appended));
        results->Clear();
    }
    const Clock::time_point start = Clock::now();
    ::SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(command::kScan, 0), 0);
    const Clock::time_point end = Clock::now();
    const int shown = results->Count();
    ::SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
    ::DeleteFileA((folder + "\\options.ini").c_str());
    ::RemoveDirectoryA(folder.c_str());

    if (allRowsShown == Clock::time_point{})
        allRowsShown = end;
    const double rowsMs = Milliseconds(allRowsShown - start);
    std::printf("rows shown:                %d of %d\n", shown, kRows);
    std::printf("all rows in the list after: %.0f ms (target %.0f ms)\n", rowsMs,
                kTargetSeconds * 1000);
    std::printf("per row:                   %.2f us\n", rowsMs * 1000.0 / kRows);
    std::printf("then window closed, rows ticked, filtered, counted: %.0f ms\n",
                Milliseconds(end - allRowsShown));
    std::printf("messages handled in scan:  %ld, UI thread busy %.0f ms in all\n", watch.messages,
                watch.busyMs);
    std::printf("longest message handling:  %.1f ms (limit %.0f ms), %d over the limit\n",
                watch.longestMs, kStallLimitMs, watch.stalls);
    for (const std::string& line : prompts.Log())
        std::printf("%s\n", line.c_str());
    const bool met = shown == kRows && rowsMs <= kTargetSeconds * 1000 && watch.stalls == 0;
    std::printf("%s\n", met ? "targets met" : "TARGETS MISSED");
    return met ? 0 : 1;
}
