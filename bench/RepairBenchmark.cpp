// Measures one Repair command over 10,000 rows: values spread over 1,000 keys of a private key,
// each backed up into the command's REGEDIT4 file and then deleted. The writer opens and closes
// the backup file once per export, so the time spent inside the file calls is measured apart
// from the rest (registry reads and deletions). The command runs over the same data without its
// commits (the backup file as it was written before write-ahead backups), as it runs, with a
// commit per batch of rows, and with a commit after every row (no deletion before its backup
// block is on the disk either way); the cost of the commits is the ratio of the times.
//
// With --against-export: 10,000 rows in 100 keys, the repair as it runs against the registry
// editor exporting the same keys one by one ("regedit /e FILE KEY"), the way a user would back
// them up by hand.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "repair/Repair.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const wchar_t* kBenchKey = L"Software\\VantrelBench\\Repair";
constexpr const char* kBenchKeyText = "HKEY_CURRENT_USER\\Software\\VantrelBench\\Repair";
// 1,000 keys of 10 values, or 100 of 100 against the export.
int g_keys = 1000;
int g_valuesPerKey = 10;

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

std::wstring KeyName(int key) {
    return L"Key" + std::to_wstring(key);
}
std::wstring ValueName(int value) {
    return L"C:\\Program Files\\Gone\\file" + std::to_wstring(value) + L".dll";
}

// Strings, numbers and binary data, as a real backup mixes them.
void Seed() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
    for (int k = 0; k < g_keys; ++k) {
        vantrel::unique_hkey key;
        const std::wstring path = std::wstring(kBenchKey) + L"\\" + KeyName(k);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.put(), nullptr);
        for (int v = 0; v < g_valuesPerKey; ++v) {
            const std::wstring name = ValueName(v);
            if (v % 3 == 0) {
                const std::wstring text = L"C:\\Program Files\\Gone \"quoted\" " + name;
                ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
            } else if (v % 3 == 1) {
                const DWORD number = static_cast<DWORD>(k * v);
                ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&number), sizeof number);
            } else {
                std::vector<BYTE> bytes(40, static_cast<BYTE>(v));
                ::RegSetValueExW(key.get(), name.c_str(), 0, REG_BINARY, bytes.data(),
                                 static_cast<DWORD>(bytes.size()));
            }
        }
    }
}

std::vector<vantrel::RepairRow> Rows() {
    std::vector<vantrel::RepairRow> rows;
    for (int k = 0; k < g_keys; ++k) {
        for (int v = 0; v < g_valuesPerKey; ++v) {
            const std::wstring wide = ValueName(v);
            vantrel::ScanIssue issue{
                "Invalid shared DLL", std::string(kBenchKeyText) + "\\Key" + std::to_string(k),
                std::string(wide.begin(), wide.end()), vantrel::RepairKind::DeleteNamedValue};
            rows.push_back({issue, true});
        }
    }
    return rows;
}

// The real file, with the time spent in its calls added up. Without commits it stands for the
// repair as it was before write-ahead backups: every commit is passed over.
class TimedBackupFile : public vantrel::BackupFile {
  public:
    explicit TimedBackupFile(bool commits) : commits_(commits) {}

    bool Exists(std::string_view path) override {
        const auto start = Clock::now();
        const bool exists = file_.Exists(path);
        spent_ += Clock::now() - start;
        return exists;
    }
    void Create(std::string_view path, std::string_view text) override {
        const auto start = Clock::now();
        file_.Create(path, text);
        spent_ += Clock::now() - start;
        ++opens_;
    }
    void Append(std::string_view path, std::string_view text) override {
        const auto start = Clock::now();
        file_.Append(path, text);
        spent_ += Clock::now() - start;
        ++opens_;
    }
    void Commit(std::string_view path) override {
        if (!commits_)
            return;
        const auto start = Clock::now();
        file_.Commit(path);
        const auto spent = Clock::now() - start;
        spent_ += spent;
        commitSpent_ += spent;
        ++commitCount_;
    }
    std::string Read(std::string_view path) override { return file_.Read(path); }
    void CreateFolder(std::string_view path) override { file_.CreateFolder(path); }
    void Remove(std::string_view path) override { file_.Remove(path); }
    void RemoveFolder(std::string_view path) override { file_.RemoveFolder(path); }
    Clock::duration Spent() const { return spent_; }
    Clock::duration CommitSpent() const { return commitSpent_; }
    size_t Opens() const { return opens_; }
    size_t Commits() const { return commitCount_; }

  private:
    vantrel::Win32BackupFile file_;
    bool commits_;
    Clock::duration spent_{};
    Clock::duration commitSpent_{};
    size_t opens_ = 0;
    size_t commitCount_ = 0;
};

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double Median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

struct RepairRun {
    double seconds = 0;
    bool allRemoved = false;
};

RepairRun RunOnce(const char* name, bool commits, size_t rowsPerCommit,
                  const std::string& backupPath) {
    const auto seedStart = Clock::now();
    Seed();
    std::printf("seeded %d values over %d keys in %.2f s\n", g_keys * g_valuesPerKey, g_keys,
                Seconds(Clock::now() - seedStart));
    ::DeleteFileA(backupPath.c_str());

    vantrel::Win32Registry registry;
    TimedBackupFile files(commits);
    vantrel::Win32FileSystem fileSystem;
    const vantrel::RepairContext context{registry, fileSystem, files, backupPath, rowsPerCommit};
    const std::vector<vantrel::RepairRow> rows = Rows();
    vantrel::RepairTally tally;
    const size_t callsBefore = registry.CallCount();
    const auto start = Clock::now();
    vantrel::RepairRows(
        context, rows, [](const std::string&) { return true; }, tally);
    const double total = Seconds(Clock::now() - start);

    std::printf("%s: repaired %zu rows (%zu removed, %zu left) in %.2f s: %.1f us per row\n", name,
                rows.size(), tally.removed.size(), tally.notRemoved.size(), total,
                total * 1e6 / static_cast<double>(rows.size()));
    std::printf(
        "  registry calls: %zu (%.1f per row)\n", registry.CallCount() - callsBefore,
        static_cast<double>(registry.CallCount() - callsBefore) / static_cast<double>(rows.size()));
    std::printf(
        "  backup file calls: %zu opens, %zu commits, %.2f s (%.0f%% of the total), "
        "commits %.2f s\n",
        files.Opens(), files.Commits(), Seconds(files.Spent()),
        100.0 * Seconds(files.Spent()) / total, Seconds(files.CommitSpent()));
    std::printf("  backup file: %s, %lld bytes\n", backupPath.c_str(), FileSize(backupPath));
    ::DeleteFileA(backupPath.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
    return {total, tally.removed.size() == rows.size()};
}

// "regedit /e FILE KEY" for every key of the rows, one after the other.
double TimeKeyByKeyExport(const std::string& exportPath) {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring file(exportPath.begin(), exportPath.end());
    const auto start = Clock::now();
    for (int k = 0; k < g_keys; ++k) {
        std::wstring command = L"\"" + std::wstring(windows) + L"\\regedit.exe\" /e \"" + file +
                               L"\" \"HKEY_CURRENT_USER\\" + kBenchKey + L"\\" + KeyName(k) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process)) {
            throw std::runtime_error("cannot start the registry editor");
        }
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    const double seconds = Seconds(Clock::now() - start);
    ::DeleteFileA(exportPath.c_str());
    return seconds;
}

int RunAgainstExport(const std::string& backupPath) {
    g_keys = 100;
    g_valuesPerKey = 100;
    Seed();
    const double exportSeconds = TimeKeyByKeyExport(backupPath + ".export.reg");
    std::printf("regedit /e of the %d keys one by one: %.2f s\n", g_keys, exportSeconds);
    const RepairRun repair =
        RunOnce("a commit per batch of rows", true, vantrel::kRowsPerCommit, backupPath);
    const double ratio = repair.seconds / exportSeconds;
    std::printf("repair/export: %.2f (target at most 2.0: %s)\n", ratio,
                ratio <= 2.0 ? "met" : "MISSED");
    std::printf("@ repair_s %.6g\n@ repair_export_s %.6g\n", repair.seconds, exportSeconds);
    return repair.allRemoved && ratio <= 2.0 ? 0 : 1;
}

std::string BackupPath() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "VantrelRepairBench.reg";
}

int Run() {
    const std::string backupPath = BackupPath();
    // The same repair in one session: as it was, and committing once per batch as the repair
    // does, each several times in turn (on a shared machine single runs vary by more than the
    // difference), and once committing after every row.
    constexpr int kRounds = 5;
    std::vector<double> before;
    std::vector<double> batched;
    bool allRemoved = true;
    for (int round = 0; round < kRounds; ++round) {
        const RepairRun plain = RunOnce("without commits (as before)", false, 1, backupPath);
        const RepairRun batch =
            RunOnce("a commit per batch of 64 rows", true, vantrel::kRowsPerCommit, backupPath);
        before.push_back(plain.seconds);
        batched.push_back(batch.seconds);
        allRemoved = allRemoved && plain.allRemoved && batch.allRemoved;
    }
    const RepairRun perRow = RunOnce("a commit per row", true, 1, backupPath);
    allRemoved = allRemoved && perRow.allRemoved;
    const double beforeMedian = Median(before);
    const double batchedMedian = Median(batched);
    std::printf(
        "medians of %d runs: %.2f s without commits, %.2f s with a commit per batch: "
        "%.2f times the time\n",
        kRounds, beforeMedian, batchedMedian, batchedMedian / beforeMedian);
    std::printf("a commit per row: %.2f s, %.2f times the time without commits\n", perRow.seconds,
                perRow.seconds / beforeMedian);
    return allRemoved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc > 1 && std::string(argv[1]) == "--against-export")
            return RunAgainstExport(BackupPath());
        return Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrel-bench-repair: %s\n", error.what());
        return 2;
    }
}
