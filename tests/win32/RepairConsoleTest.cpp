// vantrel-scan --repair as a script runs it: a child process against Wine's real registry,
// its backup file merged back by the real registry editor.
//
// Check 9 repairs every stale shared-DLL entry of the prefix, so these tests assume that no
// other test seeds that key at the same moment (the end-to-end scan test does; the two must
// not run side by side).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ScanCommandLine.h"
#include "platform/ProductVersion.h"
#include "platform/TextCase.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/win32/ConsoleRunner.h"
#include "tests/win32/RegistrySnapshot.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::ConsolePath;
using test::ConsoleRun;
using test::LimitedToken;
using test::MergeWithRegedit;
using test::Occurrences;
using test::ReadFile;
using test::RunConsole;
using test::RunConsoleAs;
using test::ScratchFolder;
using test::SnapshotDifferences;
using test::SnapshotSubtree;
using test::WriteFile;

constexpr const wchar_t* kSharedDlls = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

std::string LastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r'))
        trimmed.pop_back();
    const auto start = trimmed.find_last_of('\n');
    return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

// A stale shared-DLL entry (its file does not exist) beside the prefix's own entries, removed
// again when the test ends.
class RepairConsole : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, sharedDlls_.put(), nullptr),
                  ERROR_SUCCESS);
        const DWORD count = 1;
        ASSERT_EQ(::RegSetValueExW(sharedDlls_.get(), StaleName().c_str(), 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&count), sizeof count),
                  ERROR_SUCCESS);
        before_ = SnapshotSubtree(HKEY_LOCAL_MACHINE, kSharedDlls);
    }
    void TearDown() override { ::RegDeleteValueW(sharedDlls_.get(), StaleName().c_str()); }

    std::wstring StaleName() const { return folder_.WidePath(L"vantrel-gone-shared.dll"); }
    bool StaleEntryThere() const {
        return ::RegQueryValueExW(sharedDlls_.get(), StaleName().c_str(), nullptr, nullptr, nullptr,
                                  nullptr) == ERROR_SUCCESS;
    }

    ScratchFolder folder_;
    unique_hkey sharedDlls_;
    test::SubtreeSnapshot before_;
};

TEST_F(RepairConsole, RepairsIntoOneBackupThatRegeditMergesBack) {
    const std::string backupFolder = folder_.Path("made\\by repair");
    const ConsoleRun run =
        RunConsole("--checks 9 --repair --backup-dir \"" + backupFolder + "\"", folder_);
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    EXPECT_NE(run.err.find("created the backup folder " + backupFolder), std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("vantrel-gone-shared.dll"), std::string::npos) << run.out;
    EXPECT_FALSE(StaleEntryThere());

    const std::string backupFile = LastLine(run.out);
    const std::string prefix = backupFolder + "\\Backup";
    ASSERT_EQ(backupFile.size(), prefix.size() + 14 + 4) << backupFile;
    EXPECT_EQ(backupFile.substr(0, prefix.size()), prefix);
    EXPECT_EQ(backupFile.find_first_not_of("0123456789", prefix.size()), prefix.size() + 14);
    EXPECT_EQ(backupFile.substr(prefix.size() + 14), ".reg");
    const std::string text = ReadFile(backupFile);
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\", 0), 0u) << text;
    EXPECT_EQ(Occurrences(text, "REGEDIT4"), 1u) << text;

    ASSERT_EQ(MergeWithRegedit(backupFile), 0u);
    const auto differences =
        SnapshotDifferences(before_, SnapshotSubtree(HKEY_LOCAL_MACHINE, kSharedDlls));
    EXPECT_TRUE(differences.empty()) << differences.front();
}

TEST_F(RepairConsole, BackupFolderThatCannotBeMadeChangesNothing) {
    folder_.CreateFile(L"a file");
    const std::string backupFolder = folder_.Path("a file\\below");
    const ConsoleRun run =
        RunConsole("--checks 9 --repair --backup-dir \"" + backupFolder + "\"", folder_);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.err.find("Cannot create " + backupFolder), std::string::npos) << run.err;
    EXPECT_TRUE(StaleEntryThere());
    EXPECT_EQ(SnapshotDifferences(before_, SnapshotSubtree(HKEY_LOCAL_MACHINE, kSharedDlls)),
              std::vector<std::string>{});
}

TEST_F(RepairConsole, TheIgnoreListsBesideTheProgramDropRowsUnlessNoIgnore) {
    const std::string program = folder_.Path("vantrel-scan.exe");
    ASSERT_TRUE(::CopyFileA(ConsolePath().c_str(), program.c_str(), FALSE));
    const std::string keyText =
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
    const std::string staleName = folder_.Path("vantrel-gone-shared.dll");
    struct Case {
        const char* name;
        std::string settings;
        bool dropped;
    };
    const std::string valueEntry = keyText + "\\" + staleName;
    const Case cases[] = {
        {"value entry, other letter case",
         "[IgnoreValue]\r\nCount=1\r\nValue1=" + LowerAscii(valueEntry) + "\r\n", true},
        // Value entries are compared whole, and key entries drop key rows only.
        {"value entry cut short",
         "[IgnoreValue]\r\nCount=1\r\nValue1=" + valueEntry.substr(0, valueEntry.size() - 4) +
             "\r\n",
         false},
        {"key entry holding the key", "[IgnoreKey]\r\nCount=1\r\nKey1=" + valueEntry + "\r\n",
         false},
    };
    for (const auto& c : cases) {
        WriteFile(folder_.Path("options.ini"), c.settings);
        const ConsoleRun filtered = RunConsole("--checks 9", folder_, program);
        EXPECT_EQ(filtered.out.find("vantrel-gone-shared.dll") == std::string::npos, c.dropped)
            << c.name;
        const ConsoleRun all = RunConsole("--checks 9 --no-ignore", folder_, program);
        EXPECT_EQ(all.exitCode, 1u) << c.name;
        EXPECT_NE(all.out.find("vantrel-gone-shared.dll"), std::string::npos) << c.name;
    }
    EXPECT_TRUE(StaleEntryThere());
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

// From a prompt without administrator rights a scan runs as ever, and a repair stops before its
// scan: nothing of the machine's is deleted, nor the backup folder made.
TEST_F(RepairConsole, RepairWithoutAdministratorRightsStopsAtOnce) {
    const unique_handle limited = LimitedToken();
    if (!limited)
        GTEST_SKIP() << "this test process holds no administrator rights to give up";
    const std::string backupFolder = folder_.Path("backups");
    struct Case {
        const char* name;
        std::string arguments;
        DWORD exitCode;
        std::string err;
        bool listsTheRow;
    };
    const Case cases[] = {
        {"scan alone", "--checks 9", 1, "", true},
        {"repair", "--checks 9 --repair --backup-dir \"" + backupFolder + "\"", 2,
         WithCrLf(RepairNeedsAdministratorText()), false},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = RunConsoleAs(limited.get(), c.arguments, folder_);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        EXPECT_EQ(run.err, c.err) << c.name;
        EXPECT_EQ(run.out.find("vantrel-gone-shared.dll") != std::string::npos, c.listsTheRow)
            << c.name << ": " << run.out;
        EXPECT_TRUE(StaleEntryThere()) << c.name;
        EXPECT_EQ(::GetFileAttributesA(backupFolder.c_str()), INVALID_FILE_ATTRIBUTES) << c.name;
    }
}

TEST_F(RepairConsole, UsageErrors) {
    struct Case {
        const char* name;
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"backup folder without repair", "--checks 9 --backup-dir C:\\x",
         "--backup-dir is used only with --repair"},
        {"backup folder missing", "--checks 9 --repair --backup-dir",
         "--backup-dir needs a folder"},
        {"unknown option", "--frobnicate", "unknown option '--frobnicate'"},
        {"not a check", "--checks 2", "not a check number from 3 to 22: '2'"},
        {"review rows without repair", "--checks 9 --include-review",
         "--include-review is used only with --repair"},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = RunConsole(c.arguments, folder_);
        EXPECT_EQ(run.exitCode, 2u) << c.name;
        // The error and one line pointing at --help; the whole help text is for --help.
        EXPECT_EQ(run.err, "vantrel-scan: " + std::string(c.message) +
                               "\r\nTry 'vantrel-scan --help' for more information.\r\n")
            << c.name;
        EXPECT_TRUE(run.out.empty()) << c.name;
        EXPECT_TRUE(StaleEntryThere()) << c.name;
    }
}

// The stale entry's row says why it is there, in both formats; TSV only when asked, so the four
// default fields stay for scripts.
TEST_F(RepairConsole, RowsGiveTheirReasonAndRisk) {
    const std::string stale = folder_.Path("vantrel-gone-shared.dll");
    const ConsoleRun plain = RunConsole("--checks 9", folder_);
    EXPECT_NE(plain.out.find(stale + "\t2\r\n"), std::string::npos) << plain.out;
    EXPECT_EQ(plain.out.find("does not exist"), std::string::npos) << plain.out;
    const ConsoleRun tsv = RunConsole("--checks 9 --reasons", folder_);
    EXPECT_NE(tsv.out.find(stale + "\t2\t" + stale + " does not exist\tsafe\r\n"),
              std::string::npos)
        << tsv.out;
    const ConsoleRun json = RunConsole("--checks 9 --json", folder_);
    EXPECT_NE(json.out.find("vantrel-gone-shared.dll does not exist\", \"risk\": \"safe\"}"),
              std::string::npos)
        << json.out;
}

// A history entry is a "review" row: a repair leaves it unless told to take it.
TEST_F(RepairConsole, ReviewRowsAreRepairedOnlyWhenIncluded) {
    const std::wstring history =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\"
        L"vantrel-test";
    const std::wstring gone = folder_.WidePath(L"vantrel-gone-history.txt");
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, history.c_str(), L"a", REG_SZ, gone.c_str(),
                                static_cast<DWORD>((gone.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const auto entryThere = [&] {
        return ::RegGetValueW(HKEY_CURRENT_USER, history.c_str(), L"a", RRF_RT_REG_SZ, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS;
    };
    const std::string backupFolder = folder_.Path("backups");
    const ConsoleRun left =
        RunConsole("--checks 20 --repair --backup-dir \"" + backupFolder + "\"", folder_);
    EXPECT_EQ(left.exitCode, 1u) << left.err;
    EXPECT_NE(left.err.find("of risk \"review\" alone (--include-review repairs them)"),
              std::string::npos)
        << left.err;
    EXPECT_TRUE(entryThere());
    const ConsoleRun taken = RunConsole(
        "--checks 20 --repair --include-review --backup-dir \"" + backupFolder + "\"", folder_);
    EXPECT_EQ(taken.exitCode, 1u) << taken.err;
    EXPECT_EQ(taken.err.find("alone"), std::string::npos) << taken.err;
    EXPECT_FALSE(entryThere());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, history.c_str());
}

TEST_F(RepairConsole, VersionAndHelpGoToStandardOutput) {
    const ConsoleRun version = RunConsole("--version", folder_);
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.out,
              std::string("vantrel-scan (") + kProductName + ") " + kProductVersion + "\r\n");
    const ConsoleRun help = RunConsole("--help", folder_);
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
}

}  // namespace
}  // namespace vantrel
