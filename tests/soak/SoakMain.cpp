// vantrel-soak CYCLES [SEED]: the soak test (scripts/soak runs it in a private prefix; not part
// of make test). It seeds a generated registry of stale and healthy entries with values of every
// type and odd names, takes a snapshot, then runs cycles of: vantrel-scan --repair over every
// check, and the registry editor's merge of the cycle's backup file. After every cycle the
// registry must equal the snapshot taken before the first. It prints one line per cycle and
// every difference, removes what it seeded, and exits 0 when nothing differed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/win32/ExecutableFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/win32/RegistrySnapshot.h"

namespace {

using vantrel::unique_handle;
using vantrel::unique_hkey;
using vantrel::test::SnapshotDifferences;
using vantrel::test::SnapshotSubtree;
using vantrel::test::SubtreeSnapshot;

constexpr int kEntriesPerFamily = 40;
constexpr const wchar_t* kGone = L"C:\\vantrel-soak-gone\\";

// The subtrees compared after every cycle: everything the checks examine.
struct Place {
    HKEY root;
    const wchar_t* rootName;
    const wchar_t* path;
};
const Place kCompared[] = {
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software"},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"System\\CurrentControlSet\\Services"},
    {HKEY_CURRENT_USER, L"HKCU", L"Software"},
    {HKEY_CURRENT_USER, L"HKCU", L"AppEvents"},
    {HKEY_USERS, L"HKU", L".DEFAULT\\Software"},
};

// What the soak seeds, removed before it seeds again and when it ends.
struct Seeded {
    HKEY root;
    std::wstring path;
    std::wstring value;  // empty: the whole key
    bool isValue;
};

// Writes the registry with the wide API, so every type and byte is exactly as chosen.
class Seeder {
  public:
    explicit Seeder(unsigned seed) : random_(seed) {}

    void Value(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
               const std::vector<uint8_t>& data) {
        unique_hkey key;
        if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot create a seeded key");
        }
        ::RegSetValueExW(key.get(), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                         static_cast<DWORD>(data.size()));
    }
    void Text(HKEY root, const std::wstring& path, const std::wstring& name,
              const std::wstring& text, DWORD type = REG_SZ) {
        Value(root, path, name, type, Bytes(text));
    }
    void Key(HKEY root, const std::wstring& path) {
        unique_hkey key;
        ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr);
    }

    // A value of a random type, name and content: strings with quotes, backslashes and 8-bit
    // characters, numbers, binary data long enough to wrap, lists, and the types the backup
    // file carries as hex(N).
    void RandomValue(HKEY root, const std::wstring& path, int index) {
        static const wchar_t* const kNames[] = {
            L"Plain", L"With \"quotes\"", L"Back\\slash", L"a=b", L"[bracket]", L";semicolon",
            L"@",     L"  spaced  ",      L"caf\u00e9",   L"",    L"Tab\there",
        };
        const std::wstring name =
            std::wstring(kNames[Pick(std::size(kNames))]) + L" " + std::to_wstring(index);
        switch (Pick(9)) {
            case 0:
                Text(root, path, name,
                     L"C:\\Program Files\\Soak \"x\"\\file" + std::to_wstring(index) +
                         L".dat \\\\ end\\");
                break;
            case 1:
                Text(root, path, name, L"%SystemRoot%\\soak\\caf\u00e9", REG_EXPAND_SZ);
                break;
            case 2:
                Value(root, path, name, REG_DWORD, RandomBytes(4));
                break;
            case 3:
                Value(root, path, name, REG_BINARY, RandomBytes(Pick(80)));
                break;
            case 4:
                Value(root, path, name, REG_MULTI_SZ, Bytes(std::wstring(L"one\0two\0", 8)));
                break;
            case 5:
                Value(root, path, name, REG_QWORD, RandomBytes(8));
                break;
            case 6:
                Value(root, path, name, REG_NONE, RandomBytes(Pick(3)));
                break;
            case 7:
                Value(root, path, name, REG_DWORD_BIG_ENDIAN, RandomBytes(4));
                break;
            default:
                Text(root, path, name, L"");
                break;
        }
    }

    size_t Pick(size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
    }

  private:
    static std::vector<uint8_t> Bytes(const std::wstring& text) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
        return std::vector<uint8_t>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    }
    std::vector<uint8_t> RandomBytes(size_t count) {
        std::vector<uint8_t> bytes(count);
        for (auto& byte : bytes)
            byte = static_cast<uint8_t>(Pick(256));
        return bytes;
    }

    std::mt19937 random_;
};

const std::wstring kAppPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::wstring kSharedDlls = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::wstring kHelp = L"Software\\Microsoft\\Windows\\Help";

std::vector<Seeded> SeededEntries() {
    std::vector<Seeded> seeded;
    for (int i = 0; i < kEntriesPerFamily; ++i) {
        const std::wstring n = std::to_wstring(i);
        seeded.push_back({HKEY_LOCAL_MACHINE, kAppPaths + L"\\vsoak-" + n + L".exe", L"", false});
        seeded.push_back({HKEY_LOCAL_MACHINE, kSharedDlls, kGone + (L"lib-" + n + L".dll"), true});
        seeded.push_back({HKEY_CURRENT_USER, kRun, L"VantrelSoak" + n, true});
        seeded.push_back({HKEY_LOCAL_MACHINE, kUninstall + L"\\VantrelSoakEmpty" + n, L"", false});
        seeded.push_back({HKEY_LOCAL_MACHINE, kHelp, L"vsoak-" + n + L".hlp", true});
        seeded.push_back({HKEY_CURRENT_USER, L"Software\\VantrelSoakEmpty" + n, L"", false});
    }
    seeded.push_back({HKEY_LOCAL_MACHINE, L"Software\\VantrelSoak", L"", false});
    seeded.push_back({HKEY_CURRENT_USER, L"Software\\VantrelSoak", L"", false});
    seeded.push_back({HKEY_USERS, L".DEFAULT\\Software\\VantrelSoak", L"", false});
    return seeded;
}

void RemoveSeeded() {
    for (const Seeded& entry : SeededEntries()) {
        if (entry.isValue)
            ::RegDeleteKeyValueW(entry.root, entry.path.c_str(), entry.value.c_str());
        else
            ::RegDeleteTreeW(entry.root, entry.path.c_str());
    }
}

void Seed(unsigned seed) {
    Seeder seeder(seed);
    for (int i = 0; i < kEntriesPerFamily; ++i) {
        const std::wstring n = std::to_wstring(i);
        // Application paths whose program is gone, with subtrees (key rows).
        const std::wstring appPath = kAppPaths + L"\\vsoak-" + n + L".exe";
        seeder.Text(HKEY_LOCAL_MACHINE, appPath, L"", kGone + (L"vsoak-" + n + L".exe"));
        seeder.RandomValue(HKEY_LOCAL_MACHINE, appPath, i);
        seeder.RandomValue(HKEY_LOCAL_MACHINE, appPath + L"\\SupportedTypes", i);
        // Shared DLLs, startup programs and help files that are gone (value rows).
        seeder.Value(HKEY_LOCAL_MACHINE, kSharedDlls, kGone + (L"lib-" + n + L".dll"), REG_DWORD,
                     {static_cast<uint8_t>(i + 1), 0, 0, 0});
        seeder.Text(HKEY_CURRENT_USER, kRun, L"VantrelSoak" + n,
                    L"\"" + std::wstring(kGone) + L"agent" + n + L".exe\" /tray");
        seeder.Text(HKEY_LOCAL_MACHINE, kHelp, L"vsoak-" + n + L".hlp", kGone);
        // Empty uninstall entries and vendor keys whose subtree holds nothing (subkey rows).
        seeder.Key(HKEY_LOCAL_MACHINE, kUninstall + L"\\VantrelSoakEmpty" + n);
        seeder.Key(HKEY_CURRENT_USER, L"Software\\VantrelSoakEmpty" + n + L"\\Settings\\Deeper");
        // Values the hive walks find, missing files among healthy values of every type.
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS}) {
            const std::wstring top =
                root == HKEY_USERS ? L".DEFAULT\\Software\\VantrelSoak" : L"Software\\VantrelSoak";
            const std::wstring key = top + L"\\Group" + std::to_wstring(i % 5) + L"\\Item" + n;
            seeder.Text(root, key, L"Missing", kGone + (L"file-" + n + L".txt"));
            seeder.Text(root, key, L"Present", L"C:\\windows\\system32\\kernel32.dll");
            seeder.RandomValue(root, key, i);
            seeder.RandomValue(root, key, i + 1000);
            // A name no line of a backup file can carry: its row is refused and stays.
            if (i == 0)
                seeder.Text(root, key, L"Line\nbreak", kGone + std::wstring(L"broken.txt"));
        }
    }
}

// Wine keeps here the display settings it hands to the programs it starts; the keys come with
// the first program of a session that draws, not with a repair.
const std::wstring kWineDisplaySettings = L"Wine\\Temporary System Parameters";

std::vector<SubtreeSnapshot> SnapshotAll() {
    std::vector<SubtreeSnapshot> snapshots;
    for (const Place& place : kCompared) {
        SubtreeSnapshot snapshot = SnapshotSubtree(place.root, place.path);
        for (auto key = snapshot.begin(); key != snapshot.end();) {
            if (key->first.rfind(kWineDisplaySettings, 0) == 0)
                key = snapshot.erase(key);
            else
                ++key;
        }
        snapshots.push_back(std::move(snapshot));
    }
    return snapshots;
}

// Runs a program hidden and waits for it; its exit code (0xFFFFFFFF when it did not start).
DWORD Run(std::string commandLine, const std::string& outPath) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    vantrel::unique_file out(::CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = out.get();
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return 0xFFFFFFFF;
    }
    const unique_handle processHandle(process.hProcess);
    const unique_handle threadHandle(process.hThread);
    ::WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD exitCode = 0xFFFFFFFF;
    ::GetExitCodeProcess(processHandle.get(), &exitCode);
    return exitCode;
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return lines;
    std::string line;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    std::fclose(file);
    return lines;
}

int Soak(int cycles, unsigned seed) {
    RemoveSeeded();
    Seed(seed);
    const std::string scanner =
        vantrel::JoinFilePath(vantrel::ExecutableFolder(), "vantrel-scan.exe");
    const std::string work = "C:\\vantrel-soak";
    ::CreateDirectoryA(work.c_str(), nullptr);
    const std::vector<SubtreeSnapshot> before = SnapshotAll();
    std::printf("soak: seed %u, %d cycles\n", seed, cycles);

    size_t allDifferences = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        const std::string folder = work + "\\cycle" + std::to_string(cycle);
        const std::string output = work + "\\cycle" + std::to_string(cycle) + ".txt";
        const DWORD scan =
            Run("\"" + scanner + "\" --no-ignore --repair --backup-dir \"" + folder + "\"", output);
        const std::vector<std::string> lines = Lines(output);
        const std::string backup = lines.empty() ? std::string() : lines.back();
        size_t rows = 0;
        for (const std::string& line : lines) {
            if (line.find('\t') != std::string::npos)
                ++rows;
        }
        // What the repair left behind (refused entries) is what a scan finds now.
        const std::string leftPath = work + "\\cycle" + std::to_string(cycle) + "-left.txt";
        Run("\"" + scanner + "\" --no-ignore", leftPath);
        const std::vector<std::string> left = Lines(leftPath);
        for (const std::string& line : left)
            std::printf("  left: %s\n", line.c_str());
        DWORD merge = 0;
        if (backup.rfind(folder, 0) == 0)
            merge = vantrel::test::MergeWithRegedit(backup);
        const std::vector<SubtreeSnapshot> after = SnapshotAll();
        size_t differences = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            for (const std::string& difference : SnapshotDifferences(before[i], after[i])) {
                ++differences;
                std::printf("  %ls\\%ls: %s\n", kCompared[i].rootName, kCompared[i].path,
                            difference.c_str());
            }
        }
        std::printf(
            "cycle %d: vantrel-scan --repair exit %lu, %zu rows, %zu found again after "
            "the repair, regedit exit %lu, %zu differences\n",
            cycle, static_cast<unsigned long>(scan), rows, left.size(),
            static_cast<unsigned long>(merge), differences);
        std::fflush(stdout);
        allDifferences += differences;
    }
    RemoveSeeded();
    std::printf("soak: %d cycles, %zu differences in all\n", cycles, allDifferences);
    return allDifferences == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vantrel-soak CYCLES [SEED]\n");
        return 2;
    }
    const int cycles = std::atoi(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                                   : std::random_device()();
    try {
        return Soak(cycles, seed);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrel-soak: %s\n", error.what());
        return 2;
    }
}
