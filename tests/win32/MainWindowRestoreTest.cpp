// The loop a user depends on, from the main window alone under Wine: seed stale entries, Scan,
// Repair, open Restore and merge the newest backup back with the system's registry editor.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/RestoreDialog.h"
#include "platform/ProductVersion.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Shell.h"
#include "repair/RestoreCheck.h"
#include "repair/ShortcutCopies.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/RegistrySnapshot.h"
#include "tests/win32/ScratchArea.h"
#include "ui/ListViewItems.h"

namespace vantrel {
namespace {

using test::Click;
using test::FileExists;
using test::MainWindowUnderTest;
using test::ModalScript;
using test::ScratchFolder;
using test::ScratchKey;
using test::WriteFile;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

class MainWindowRestore : public ::testing::Test {
  protected:
    void SetUp() override {
        test::SeedMissingPrograms(key_);
        before_ = test::SnapshotSubtree(HKEY_CURRENT_USER, Wide(key_.Path()));
    }

    // The main window over a backup folder of this test, after a scan of the current user's
    // hive and a Repair of the rows of the seeded key.
    MainWindowUnderTest& ScannedAndRepaired(bool deleteBackupFile) {
        MainWindowUnderTest& main = Opened(deleteBackupFile);
        EXPECT_EQ(main.ScanAndTickOnlyRowsBelow("HKEY_CURRENT_USER\\" + key_.Path()).size(), 3u);
        Repair();
        EXPECT_FALSE(key_.HasValue(L"MissingTool")) << "the repair deleted nothing";
        return main;
    }

    MainWindowUnderTest& Opened(bool deleteBackupFile) {
        WriteFile(folder_.Path("options.ini"),
                  "[Options]\r\nOutputDirectory=" + Backups() +
                      "\r\nDeleteBackupFile=" + (deleteBackupFile ? "1" : "0") + "\r\n");
        ::CreateDirectoryA(Backups().c_str(), nullptr);
        main_ = std::make_unique<MainWindowUnderTest>(folder_.Path());
        main_->Prompts().AnswerQuestion(TfrmRegCleaner::kCheckAgainQuestion, false);
        return *main_;
    }

    void Repair() {
        main_->Command(command::kRepair);
        backup_ = main_->Window().LastBackupFileName();
        EXPECT_TRUE(FileExists(backup_));
    }

    std::string Backups() const { return folder_.Path("backups"); }
    std::string BackupName() const { return backup_.substr(backup_.find_last_of('\\') + 1); }

    // Opens Restore from the window, restores its first row (the newest backup), runs
    // `afterRestore` on the dialog and closes it.
    // `beforeRestore` runs on the dialog once the newest row is selected.
    void RestoreNewest(MainWindowUnderTest& main, std::function<void(HWND)> afterRestore) {
        RestoreNewest(
            main, [](HWND) {}, std::move(afterRestore));
    }
    void RestoreNewest(MainWindowUnderTest& main, std::function<void(HWND)> beforeRestore,
                       std::function<void(HWND)> afterRestore) {
        HWND restore = nullptr;
        ModalScript script({ModalScript::OnDialog(
                                kProductName,
                                [&](HWND dialog) {
                                    restore = dialog;
                                    const HWND files = ::GetDlgItem(dialog, TfrmRestore::kFiles);
                                    EXPECT_EQ(ListCellText(files, 0, 0), BackupName());
                                    SelectListRow(files, 0);
                                    beforeRestore(dialog);
                                    Click(dialog, TfrmRestore::kRestore);
                                },
                                TfrmRestore::kFiles),
                            ModalScript::Do([&] {
                                afterRestore(restore);
                                Click(restore, IDCANCEL);
                            })});
        main.Command(command::kRestore);
        EXPECT_TRUE(script.Finished());
    }

    std::vector<std::string> DifferencesFromTheSeed() const {
        return test::SnapshotDifferences(
            before_, test::SnapshotSubtree(HKEY_CURRENT_USER, Wide(key_.Path())));
    }

    ScratchKey key_;
    ScratchFolder folder_;
    test::SubtreeSnapshot before_;
    std::unique_ptr<MainWindowUnderTest> main_;
    std::string backup_;
};

// The seeded key's two values and the subkey's one, with their two keys.
const std::string kAllBack = RestoredNotice(RestoreCheck{5, 0});

int Rows(HWND restore) {
    return ListRowCount(::GetDlgItem(restore, TfrmRestore::kFiles));
}

TEST_F(MainWindowRestore, EveryEntryComesBackByteForByteAndTheBackupGoes) {
    MainWindowUnderTest& main = ScannedAndRepaired(true);
    RestoreNewest(main, [](HWND restore) { EXPECT_EQ(Rows(restore), 0); });
    EXPECT_EQ(DifferencesFromTheSeed(), std::vector<std::string>{});
    EXPECT_FALSE(FileExists(backup_));
    EXPECT_EQ(main.Notices(), std::vector<std::string>{kAllBack});
    EXPECT_TRUE(main.Errors().empty());
}

TEST_F(MainWindowRestore, WithoutDeleteBackupFileTheBackupStays) {
    MainWindowUnderTest& main = ScannedAndRepaired(false);
    RestoreNewest(main, [](HWND restore) { EXPECT_EQ(Rows(restore), 1); });
    EXPECT_EQ(DifferencesFromTheSeed(), std::vector<std::string>{});
    EXPECT_TRUE(FileExists(backup_));
    EXPECT_EQ(main.Notices(), std::vector<std::string>{kAllBack});
}

// The restore centre: the newest backup's entries listed with where they stand, one ticked and
// restored alone; the backup stays.
TEST_F(MainWindowRestore, ATickedEntryIsRestoredAlone) {
    MainWindowUnderTest& main = ScannedAndRepaired(true);
    RestoreNewest(
        main,
        [&](HWND restore) {
            const HWND entries = ::GetDlgItem(restore, TfrmRestore::kEntries);
            ASSERT_EQ(ListRowCount(entries), 5);
            for (int row = 0; row < 5; ++row) {
                if (ListCellText(entries, row, 1) == "MissingTool")
                    SetListRowChecked(entries, row, true);
                EXPECT_EQ(ListCellText(entries, row, 3), ListCellText(entries, row, 1).empty()
                                                             ? "in the registry"
                                                             : "not in the registry");
            }
        },
        [](HWND restore) {
            const HWND entries = ::GetDlgItem(restore, TfrmRestore::kEntries);
            for (int row = 0; row < ListRowCount(entries); ++row)
                EXPECT_EQ(ListCellText(entries, row, 3) == "the same now",
                          ListCellText(entries, row, 1) == "MissingTool");
        });
    EXPECT_TRUE(key_.HasValue(L"MissingTool"));
    EXPECT_FALSE(key_.HasValue(L"MissingExpand"));
    EXPECT_TRUE(FileExists(backup_));
    EXPECT_EQ(main.Notices(), std::vector<std::string>{RestoredNotice(RestoreCheck{1, 0})});
}

// The editor ends by itself even when it could not write everything (it says so only on its
// own output): the backup is then the only copy of what is missing and must stay.
TEST_F(MainWindowRestore, ABackupThatCouldNotBeMergedCompletelyStays) {
    MainWindowUnderTest& main = ScannedAndRepaired(true);
    // Below a volatile key no lasting key can be made: the merge cannot bring "Sub" back.
    const std::wstring path = Wide(key_.Path());
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
    unique_hkey volatileKey;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, volatileKey.put(), nullptr),
              ERROR_SUCCESS);
    RestoreNewest(main, [](HWND restore) { EXPECT_EQ(Rows(restore), 1); });
    EXPECT_TRUE(FileExists(backup_));
    EXPECT_EQ(main.Notices(),
              (std::vector<std::string>{
                  "2 entries of the backup are not in the registry; the backup file was kept."}));
}

// A shortcut is the user's own file: Repair keeps a copy of a dead one beside its backup, and
// Restore puts the same bytes back, in the folder it makes again, and deletes the copy with the
// backup.
TEST_F(MainWindowRestore, ADeadDesktopShortcutComesBackByteForByte) {
    char desktop[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
    ScratchFolder links(Wide(std::string(desktop) + "\\vantrel-test-shortcut"));
    links.CreateFolder(L"Sub");
    const std::string link = links.Path("Sub\\Dead tool.lnk");
    {
        const ComInitializer com;
        ASSERT_TRUE(SaveShortcutFile(Wide(link), Wide(folder_.Path("gone.exe"))));
    }
    const std::string bytes = test::ReadFile(link);
    MainWindowUnderTest& main = Opened(true);
    EXPECT_EQ(main.ScanAndTickOnlyRowsBelow(links.Path(), {test::kShortcuts}).size(), 1u);
    Repair();
    EXPECT_FALSE(FileExists(link));
    ASSERT_TRUE(::RemoveDirectoryA(links.Path("Sub").c_str()));
    RestoreNewest(main, [](HWND restore) { EXPECT_EQ(Rows(restore), 0); });
    EXPECT_EQ(test::ReadFile(link), bytes);
    EXPECT_FALSE(FileExists(backup_));
    EXPECT_EQ(::GetFileAttributesA(ShortcutCopiesFolder(backup_).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(main.Notices(), std::vector<std::string>{RestoredNotice(RestoreCheck{}, 1)});
    EXPECT_TRUE(main.Errors().empty());
}

}  // namespace
}  // namespace vantrel
