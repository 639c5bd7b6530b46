// The restore dialog under Wine, driven through its messages with scripted prompts: the files
// it lists and their order, Delete's selection rule, another folder from "...", and a restore
// stopped in the progress window.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialogs/BackupProgressWindow.h"
#include "dialogs/RestoreDialog.h"
#include "platform/ProductVersion.h"
#include "platform/memory/RecordingShellOpener.h"
#include "platform/memory/ScriptedPrompts.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "repair/RestoreCheck.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/ScratchArea.h"
#include "tests/win32/ToolPaths.h"
#include "ui/ListViewItems.h"

namespace vantrel {
namespace {

using test::Click;
using test::ControlText;
using test::FileExists;
using test::ModalScript;
using test::ScratchFolder;
using test::WriteFile;
using Steps = std::vector<ModalScript::Step>;

HWND FilesOf(HWND dialog) {
    return ::GetDlgItem(dialog, TfrmRestore::kFiles);
}

std::vector<std::string> Column(HWND dialog, int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < ListRowCount(FilesOf(dialog)); ++row)
        cells.push_back(ListCellText(FilesOf(dialog), row, column));
    return cells;
}

bool Enabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

class RestoreDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        test::EnsureCommonControls();
        options_.OutputDirectory = folder_.Path();
        options_.DeleteBackupFile = true;
    }

    // Shows the dialog while the steps run; the first step finds it as dialog_.
    void Show(Steps steps, const std::string& editor = "C:\\windows\\regedit.exe") {
        steps.insert(steps.begin(),
                     ModalScript::OnDialog(
                         kProductName, [this](HWND d) { dialog_ = d; }, TfrmRestore::kFiles));
        ModalScript script(std::move(steps));
        TfrmRestore dialog(
            {nullptr, options_, files_, registry_, backups_, editor, &prompts_, &shell_});
        EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
    }

    ScratchFolder folder_;
    OptionsSetting options_;
    Win32FileSystem files_;
    Win32Registry registry_;
    Win32BackupFile backups_;
    ScriptedPrompts prompts_;
    RecordingShellOpener shell_;
    HWND dialog_ = nullptr;
};

TEST_F(RestoreDialog, ListsTheRegFilesOfTheFolderDescendingWithDateAndSize) {
    WriteFile(folder_.Path("a.reg"), "");
    WriteFile(folder_.Path("B.REG"), std::string(1500, 'x'));
    WriteFile(folder_.Path("c.txt"), "REGEDIT4\r\n");
    folder_.CreateFolder(L"d.reg");
    Show({ModalScript::Do([&] {
        EXPECT_EQ(ControlText(dialog_, TfrmRestore::kFolder), folder_.Path());
        EXPECT_EQ(Column(dialog_, 0), (std::vector<std::string>{"B.REG", "a.reg"}));
        EXPECT_EQ(Column(dialog_, 2), (std::vector<std::string>{"2 KB", "0 KB"}));
        for (const std::string& date : Column(dialog_, 1))
            EXPECT_FALSE(date.empty());
        EXPECT_FALSE(Enabled(dialog_, TfrmRestore::kRestore));
        EXPECT_FALSE(Enabled(dialog_, TfrmRestore::kDelete));
        SelectListRow(FilesOf(dialog_), 1);
        EXPECT_TRUE(Enabled(dialog_, TfrmRestore::kRestore));
        EXPECT_TRUE(Enabled(dialog_, TfrmRestore::kDelete));
        Click(dialog_, IDCANCEL);
    })});
    EXPECT_TRUE(prompts_.Log().empty());
}

TEST_F(RestoreDialog, AFolderThatDoesNotExistIsReportedAndListsNothing) {
    options_.OutputDirectory = folder_.Path("missing");
    Show({ModalScript::Do([&] {
        EXPECT_EQ(ListRowCount(FilesOf(dialog_)), 0);
        EXPECT_FALSE(Enabled(dialog_, TfrmRestore::kRestore));
        EXPECT_FALSE(Enabled(dialog_, TfrmRestore::kDelete));
        Click(dialog_, IDCANCEL);
    })});
    EXPECT_EQ(prompts_.Notices(),
              (std::vector<std::string>{"The backup directory does not exist."}));
}

TEST_F(RestoreDialog, DeleteSelectsTheRowThatTookTheRemovedRowsPlace) {
    for (const char* name : {"x1.reg", "x2.reg", "x3.reg"})
        WriteFile(folder_.Path(name), "REGEDIT4\r\n");
    const auto selected = [&] { return SelectedListRow(FilesOf(dialog_)); };
    Show({ModalScript::Do([&] {
        ASSERT_EQ(Column(dialog_, 0), (std::vector<std::string>{"x3.reg", "x2.reg", "x1.reg"}));
        SelectListRow(FilesOf(dialog_), 1);
        Click(dialog_, TfrmRestore::kDelete);
        EXPECT_FALSE(FileExists(folder_.Path("x2.reg")));
        EXPECT_EQ(Column(dialog_, 0), (std::vector<std::string>{"x3.reg", "x1.reg"}));
        EXPECT_EQ(selected(), 1) << "the next row took its place";
        Click(dialog_, TfrmRestore::kDelete);
        EXPECT_EQ(Column(dialog_, 0), (std::vector<std::string>{"x3.reg"}));
        EXPECT_EQ(selected(), 0) << "the removed row was the last: the new last row";
        Click(dialog_, TfrmRestore::kDelete);
        EXPECT_EQ(ListRowCount(FilesOf(dialog_)), 0);
        EXPECT_EQ(selected(), std::nullopt);
        EXPECT_FALSE(Enabled(dialog_, TfrmRestore::kRestore));
        EXPECT_FALSE(Enabled(dialog_, TfrmRestore::kDelete));
        Click(dialog_, IDCANCEL);
    })});
    EXPECT_FALSE(FileExists(folder_.Path("x1.reg")));
    EXPECT_FALSE(FileExists(folder_.Path("x3.reg")));
}

TEST_F(RestoreDialog, AnotherFolderFromTheBrowserLeavesTheBackupFolderAlone) {
    WriteFile(folder_.Path("here.reg"), "REGEDIT4\r\n");
    const std::string other = folder_.Path("other");
    folder_.CreateFolder(L"other");
    WriteFile(folder_.Path("other\\there.reg"), "REGEDIT4\r\n");
    prompts_.QueueFolder(other);
    prompts_.QueueFolder(std::nullopt);
    Show({ModalScript::Do([&] {
        Click(dialog_, TfrmRestore::kBrowseFolder);
        EXPECT_EQ(ControlText(dialog_, TfrmRestore::kFolder), other);
        EXPECT_EQ(Column(dialog_, 0), (std::vector<std::string>{"there.reg"}));
        // A cancelled browser changes nothing.
        Click(dialog_, TfrmRestore::kBrowseFolder);
        EXPECT_EQ(ControlText(dialog_, TfrmRestore::kFolder), other);
        Click(dialog_, TfrmRestore::kOpenDirectory);
        SelectListRow(FilesOf(dialog_), 0);
        Click(dialog_, TfrmRestore::kDelete);
        Click(dialog_, IDCANCEL);
    })});
    EXPECT_EQ(prompts_.FolderBrowsers(),
              (std::vector<std::string>(2, "Please select the directory to add")));
    EXPECT_EQ(shell_.OpenedSoFar(), (std::vector<RecordingShellOpener::Opened>{{other, ""}}));
    EXPECT_FALSE(FileExists(folder_.Path("other\\there.reg")));
    EXPECT_TRUE(FileExists(folder_.Path("here.reg")));
    EXPECT_EQ(options_.OutputDirectory, folder_.Path());
}

// A file the size of a full registry export is neither listed nor read back after its merge:
// the dialog would hang on it. Unchecked, it stays whatever DeleteBackupFile says.
TEST_F(RestoreDialog, AFileTooLargeToReadIsMergedWholeAndKept) {
    const std::string file = folder_.Path("Backup20261206210507.reg");
    std::string text = "REGEDIT4\r\n\r\n";
    while (text.size() <= TfrmRestore::kLargestListedBackup)
        text += "; " + std::string(254, 'x') + "\r\n";
    WriteFile(file, text);
    Show({ModalScript::Do([&] {
        SelectListRow(FilesOf(dialog_), 0);
        const HWND entries = ::GetDlgItem(dialog_, TfrmRestore::kEntries);
        ASSERT_EQ(ListRowCount(entries), 1);
        EXPECT_EQ(ListCellText(entries, 0, 0).rfind(TfrmRestore::kTooLargeToList, 0), 0u);
        Click(dialog_, TfrmRestore::kRestore);
        Click(dialog_, IDCANCEL);
    })});
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(prompts_.Notices(),
              std::vector<std::string>{UncheckedBackupNotice(TfrmRestore::kTooLargeToCompare)});
}

// A backup's shortcut files are restored with the whole backup, never alone: their rows have no
// box, and neither a click nor the space bar gives them one (ticked alone, the rows would have
// restored the whole backup).
TEST_F(RestoreDialog, ShortcutRowsHaveNoBoxToTick) {
    const std::string file = folder_.Path("Backup20261209081500.reg");
    WriteFile(file,
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VantrelRestoreBoxes]\r\n"
              "\"Tool\"=\"C:\\\\gone\\\\tool.exe\"\r\n\r\n");
    folder_.CreateFolder(L"Backup20261209081500");
    WriteFile(folder_.Path("Backup20261209081500\\1.lnk"), "L");
    WriteFile(folder_.Path("Backup20261209081500\\shortcuts.txt"),
              "1.lnk\t" + folder_.Path("Desktop\\Tool.lnk") + "\r\n");
    Show({ModalScript::Do([&] {
        SelectListRow(FilesOf(dialog_), 0);
        const HWND entries = ::GetDlgItem(dialog_, TfrmRestore::kEntries);
        const int shortcut = ListRowCount(entries) - 1;
        ASSERT_EQ(ListCellText(entries, shortcut, 2), "shortcut file");
        const auto box = [&](int row) {
            return ::SendMessageA(entries, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                  LVIS_STATEIMAGEMASK);
        };
        EXPECT_NE(box(0), 0) << "a registry entry keeps its box";
        EXPECT_EQ(box(shortcut), 0);
        SetListRowChecked(entries, shortcut, true);
        SelectListRow(entries, shortcut);
        ::SendMessageA(entries, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(box(shortcut), 0);
        Click(dialog_, IDCANCEL);
    })});
}

// A double click restores the row; Stop in the progress window keeps the file and its row,
// whatever DeleteBackupFile says.
TEST_F(RestoreDialog, ARestoreStoppedInTheProgressWindowKeepsTheFile) {
    WriteFile(folder_.Path("Backup20261206210507.reg"), "REGEDIT4\r\n");
    Show({ModalScript::Do([&] {
              const HWND list = FilesOf(dialog_);
              SelectListRow(list, 0);
              RECT row{};
              row.left = LVIR_LABEL;
              ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
              ::SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
                             MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2));
          }),
          ModalScript::OnDialog(
              kProductName,
              [](HWND progress) {
                  EXPECT_EQ(ControlText(progress, TfrmBackupHint::kHintLabel),
                            "Restore registry...");
                  Click(progress, TfrmBackupHint::kStopButton);
              },
              TfrmBackupHint::kStopButton),
          ModalScript::Do([&] {
              EXPECT_EQ(Column(dialog_, 0), (std::vector<std::string>{"Backup20261206210507.reg"}));
              Click(dialog_, IDCANCEL);
          })},
         test::TestEditorPath());
    EXPECT_TRUE(FileExists(folder_.Path("Backup20261206210507.reg")));
    EXPECT_TRUE(prompts_.Log().empty());
}

}  // namespace
}  // namespace vantrel
