// The Repair command in the main window under Wine: a scan of a seeded key, then Repair of its
// ticked rows into one backup file that the system registry editor merges back unchanged.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "repair/Repair.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/RegistrySnapshot.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::FilesIn;
using test::FolderExists;
using test::MainWindowUnderTest;
using test::Occurrences;
using test::ReadFile;
using test::ScratchFolder;
using test::ScratchKey;
using test::WriteFile;

// A seeded key of stale and healthy values, and the main window over settings whose backup
// folder the test chooses, after a scan that left ticked only the rows of that key.
class MainWindowRepair : public ::testing::Test {
  protected:
    void SetUp() override { test::SeedMissingPrograms(key_); }

    MainWindowUnderTest& ScannedWindow(const std::string& backups) {
        WriteFile(folder_.Path("options.ini"), "[Options]\r\nOutputDirectory=" + backups + "\r\n");
        main_ = std::make_unique<MainWindowUnderTest>(folder_.Path());
        ours_ = main_->ScanAndTickOnlyRowsBelow(KeyText());
        rowsBefore_ = main_->RowCount();
        return *main_;
    }
    std::string KeyText() const { return "HKEY_CURRENT_USER\\" + key_.Path(); }
    // Nothing of the seeded key was deleted and no row was removed.
    void ExpectNothingChanged() const {
        EXPECT_EQ(main_->RowCount(), rowsBefore_);
        EXPECT_TRUE(key_.HasValue(L"MissingTool"));
        EXPECT_TRUE(key_.HasValue(L"MissingExpand"));
    }

    ScratchKey key_;
    ScratchFolder folder_;
    std::unique_ptr<MainWindowUnderTest> main_;
    std::vector<int> ours_;
    int rowsBefore_ = 0;
};

TEST_F(MainWindowRepair, TickedRowsGoIntoOneBackupThatTheEditorMergesBack) {
    const std::string path = key_.Path();
    const std::wstring widePath(path.begin(), path.end());
    const test::SubtreeSnapshot before = test::SnapshotSubtree(HKEY_CURRENT_USER, widePath);
    const std::string backups = folder_.Path("backups\\repairs");
    MainWindowUnderTest& main = ScannedWindow(backups);
    ASSERT_EQ(ours_.size(), 3u);

    main.Prompts().AnswerQuestion(TfrmRegCleaner::kCheckAgainQuestion, false);
    main.Command(command::kRepair);

    EXPECT_EQ(main.Questions(), (std::vector<std::string>{MissingBackupFolderQuestion(backups),
                                                          TfrmRegCleaner::kCheckAgainQuestion}));
    EXPECT_TRUE(FolderExists(backups));
    EXPECT_TRUE(main.Errors().empty());
    EXPECT_TRUE(main.Notices().empty());
    // Only the ticked rows went; the others stay, unticked.
    EXPECT_EQ(main.RowCount(), rowsBefore_ - 3);
    for (int row = 0; row < main.RowCount(); ++row) {
        EXPECT_NE(main.Window().Results().Row(row).keyText.rfind(KeyText() + "\\", 0), 0u);
        EXPECT_FALSE(main.IsRowTicked(row));
    }
    EXPECT_EQ(main.StatusText(1), " 0 problems selected for repairing");
    EXPECT_FALSE(key_.HasValue(L"MissingTool"));
    EXPECT_FALSE(key_.HasValue(L"MissingExpand"));
    EXPECT_TRUE(key_.HasValue(L"Present"));

    const std::vector<std::string> written = FilesIn(backups);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(backups + "\\" + written[0], main.Window().LastBackupFileName());
    EXPECT_EQ(written[0].rfind("Backup", 0), 0u);
    const std::string backup = ReadFile(main.Window().LastBackupFileName());
    EXPECT_EQ(backup.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_EQ(Occurrences(backup, "REGEDIT4"), 1u);

    ASSERT_EQ(test::MergeWithRegedit(main.Window().LastBackupFileName()), 0u);
    const test::SubtreeSnapshot after = test::SnapshotSubtree(HKEY_CURRENT_USER, widePath);
    EXPECT_EQ(test::SnapshotDifferences(before, after), std::vector<std::string>{});
}

TEST_F(MainWindowRepair, NoToTheMissingFolderChangesNothing) {
    const std::string backups = folder_.Path("not yet");
    MainWindowUnderTest& main = ScannedWindow(backups);

    main.AnswerQuestions(false);
    main.Command(command::kRepair);

    EXPECT_EQ(main.Questions().size(), 1u);
    EXPECT_FALSE(FolderExists(backups));
    ExpectNothingChanged();
    EXPECT_TRUE(main.Window().LastBackupFileName().empty());
}

TEST_F(MainWindowRepair, AFolderThatCannotBeCreatedIsReportedAndNothingChanges) {
    folder_.CreateFile(L"plain file");
    // A folder below a file cannot be made.
    const std::string backups = folder_.Path("plain file\\backup");
    MainWindowUnderTest& main = ScannedWindow(backups);

    main.Command(command::kRepair);

    EXPECT_EQ(main.Errors(), (std::vector<std::string>{"Cannot create " + backups}));
    ExpectNothingChanged();
}

// A vendor key whose one value names a missing file: repairing the value leaves the key empty,
// and Check Again lists it, ticked, after the rows that were there.
TEST_F(MainWindowRepair, CheckAgainListsTheKeyTheRepairEmptied) {
    const std::wstring vendor = L"VantrelChain" + std::to_wstring(::GetCurrentProcessId());
    ScratchKey chain(L"Software\\" + vendor + L"\\App", L"Software");
    const std::string gone = folder_.Path("gone\\app.exe");
    chain.SetString(L"Path", std::wstring(gone.begin(), gone.end()));
    WriteFile(folder_.Path("options.ini"),
              "[Options]\r\nOutputDirectory=" + folder_.Path("backups") + "\r\n");
    main_ = std::make_unique<MainWindowUnderTest>(folder_.Path());
    MainWindowUnderTest& main = *main_;
    main.TickOnly({test::kFilesAndFoldersCurrentUser, test::kObsoleteSoftware});
    main.Command(command::kScan);
    main.Command(command::kSelectNone);
    const std::string valueRow = "HKEY_CURRENT_USER\\" + chain.Path();
    ResultsList& results = main.Window().Results();
    for (int row = 0; row < results.Count(); ++row)
        results.SetTicked(row, results.Row(row).keyText.rfind(valueRow + "\\", 0) == 0);
    const int listed = results.Count();

    main.Command(command::kRepair);

    EXPECT_EQ(main.Questions().back(), TfrmRegCleaner::kCheckAgainQuestion);
    ASSERT_FALSE(main.Notices().empty());
    EXPECT_EQ(main.Notices().back().rfind("Check Again found", 0), 0u) << main.Notices().back();
    const std::string emptied(vendor.begin(), vendor.end());
    bool listedTicked = false;
    for (int row = listed - 1; row < results.Count(); ++row)
        listedTicked = listedTicked || (results.Row(row).valueText == emptied &&
                                        results.Row(row).keyText == "HKEY_CURRENT_USER\\Software" &&
                                        results.IsTicked(row));
    EXPECT_TRUE(listedTicked) << "the emptied vendor key is not among the new rows";
}

// The backup file names of the next `seconds` seconds, as a Repair command started in one of
// them would choose.
std::vector<std::string> BackupFileNamesAhead(const std::string& folder, int seconds) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    FILETIME start{};
    ::SystemTimeToFileTime(&now, &start);
    std::vector<std::string> names;
    for (int second = 0; second < seconds; ++second) {
        ULARGE_INTEGER ticks{};
        ticks.LowPart = start.dwLowDateTime;
        ticks.HighPart = start.dwHighDateTime;
        ticks.QuadPart += static_cast<ULONGLONG>(second) * 10000000ULL;
        const FILETIME at{ticks.LowPart, ticks.HighPart};
        SYSTEMTIME time{};
        ::FileTimeToSystemTime(&at, &time);
        names.push_back(BackupFileName(folder, BackupTime{time.wYear, time.wMonth, time.wDay,
                                                          time.wHour, time.wMinute, time.wSecond}));
    }
    return names;
}

TEST_F(MainWindowRepair, ABackupFileThatCannotBeWrittenDeletesNothing) {
    const std::string backups = folder_.Path("backups");
    ::CreateDirectoryA(backups.c_str(), nullptr);
    MainWindowUnderTest& main = ScannedWindow(backups);
    // Folders where the backup file would go: it can be neither created nor written.
    for (const std::string& name : BackupFileNamesAhead(backups, 60))
        ::CreateDirectoryA(name.c_str(), nullptr);

    main.Command(command::kRepair);

    ASSERT_EQ(main.Errors().size(), 1u);
    EXPECT_NE(main.Errors()[0].find(main.Window().LastBackupFileName()), std::string::npos)
        << main.Errors()[0];
    ExpectNothingChanged();
    EXPECT_TRUE(main.Notices().empty());
}

// The current user's Run value of this test, removed when the test ends.
struct RunValue {
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const wchar_t* kName = L"VantrelTestRecheck";
    explicit RunValue(const std::wstring& command) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kName, REG_SZ, command.c_str(),
                          static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~RunValue() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kName); }
    bool Exists() const {
        return ::RegGetValueW(HKEY_CURRENT_USER, kKey, kName, RRF_RT_ANY, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS;
    }
};

// The program a Run value names is put back after the scan: Repair judges the row again, leaves
// the value, writes no backup and says why the row went.
TEST_F(MainWindowRepair, ARunValueWhoseProgramAppearedAfterTheScanIsNotDeleted) {
    constexpr int kStartupProgramsNode = 10;  // the check's id is its image index
    const RunValue run(folder_.WidePath(L"tool.exe"));
    const std::string backups = folder_.Path("backups");
    WriteFile(folder_.Path("options.ini"), "[Options]\r\nOutputDirectory=" + backups + "\r\n");
    main_ = std::make_unique<MainWindowUnderTest>(folder_.Path());
    ASSERT_EQ(main_
                  ->ScanAndTickOnlyRowsBelow(
                      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                      {kStartupProgramsNode})
                  .size(),
              1u);
    const int rowsBefore = main_->RowCount();

    WriteFile(folder_.Path("tool.exe"), "MZ");
    main_->Command(command::kRepair);

    EXPECT_TRUE(run.Exists());
    EXPECT_EQ(main_->Notices(), std::vector<std::string>{NoLongerProblemsNotice(1)});
    EXPECT_EQ(main_->RowCount(), rowsBefore - 1);
    EXPECT_TRUE(FilesIn(backups).empty());
}

}  // namespace
}  // namespace vantrel
