// The options dialog and the ignore-key dialog under Wine, driven through their messages with
// scripted prompts: what OK takes over and in what order, what Cancel and a missing folder
// leave alone, and the rule of the ignore-key dialog's OK.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialogs/IgnoreKeyDialog.h"
#include "dialogs/OptionsDialog.h"
#include "platform/memory/RecordingShellOpener.h"
#include "platform/memory/ScriptedPrompts.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/ScratchArea.h"
#include "ui/ListViewItems.h"

namespace vantrel {
namespace {

using test::Click;
using test::ControlText;
using test::ModalScript;
using test::ScratchFolder;
using test::Type;
using Steps = std::vector<ModalScript::Step>;

constexpr const char* kEditor = "C:\\windows\\regedit.exe";
constexpr const char* kIgnoreCaption = TfrmRegAddRegistry::kCaption;

std::vector<std::string> Rows(HWND dialog, int listId) {
    const HWND list = ::GetDlgItem(dialog, listId);
    std::vector<std::string> rows;
    for (int row = 0; row < ListRowCount(list); ++row)
        rows.push_back(ListCellText(list, row, 0));
    return rows;
}

int ActivePage(HWND dialog) {
    return static_cast<int>(
        ::SendMessageA(::GetDlgItem(dialog, TfrmOptions::kPages), TCM_GETCURSEL, 0, 0));
}

// As the user moves between the pages: the arrow keys on the page control's tabs.
void ShowPage(HWND dialog, int page) {
    ::SendMessageA(::GetDlgItem(dialog, TfrmOptions::kPages), WM_KEYDOWN,
                   page == TfrmOptions::kKeysPage ? VK_RIGHT : VK_LEFT, 0);
}

bool IsShown(HWND dialog, int id) {
    return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE;
}

// Add (or Edit) on the options dialog, then the ignore-key dialog's text and OK.
Steps EnterThroughIgnoreDialog(HWND& options, int button, const std::string& text) {
    return {ModalScript::Do([&options, button] { Click(options, button); }),
            ModalScript::OnDialog(kIgnoreCaption, [text](HWND ignore) {
                Type(ignore, TfrmRegAddRegistry::kRegistryKey, text);
                Click(ignore, IDOK);
            })};
}

class OptionsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        test::EnsureCommonControls();
        options_.OutputDirectory = folder_.Path();
        options_.DeleteBackupFile = true;
    }

    // Shows the dialog while the steps run; the first step finds it as options_dialog_.
    INT_PTR Show(Steps steps) {
        steps.insert(steps.begin(),
                     ModalScript::OnDialog(TfrmOptions::kCaption, [this](HWND d) { dialog_ = d; }));
        ModalScript script(std::move(steps));
        TfrmOptions dialog({nullptr, options_, files_, kEditor, &prompts_, &shell_});
        const INT_PTR result = dialog.ShowModal();
        EXPECT_TRUE(script.Finished());
        return result;
    }

    ScratchFolder folder_;
    OptionsSetting options_;
    Win32FileSystem files_;
    ScriptedPrompts prompts_;
    RecordingShellOpener shell_;
    HWND dialog_ = nullptr;
};

TEST_F(OptionsDialog, OkTakesEverythingOverInOrderWithDuplicates) {
    options_.IgnoreValueList = {"HKEY_CURRENT_USER\\Software\\V1"};
    options_.IgnoreKeyList = {"HKEY_LOCAL_MACHINE\\SOFTWARE\\K1"};
    const std::string duplicate = " hkey_current_user\\software\\dup";
    Steps steps = {ModalScript::Do([&] {
        EXPECT_EQ(ActivePage(dialog_), TfrmOptions::kValuesPage);
        EXPECT_TRUE(IsShown(dialog_, TfrmOptions::kValues));
        EXPECT_FALSE(IsShown(dialog_, TfrmOptions::kKeys));
        EXPECT_EQ(ControlText(dialog_, TfrmOptions::kOutputFolder), folder_.Path());
        EXPECT_EQ(::IsDlgButtonChecked(dialog_, TfrmOptions::kDeleteBackupFile), BST_CHECKED);
        EXPECT_EQ(Rows(dialog_, TfrmOptions::kValues), options_.IgnoreValueList);
        EXPECT_EQ(Rows(dialog_, TfrmOptions::kKeys), options_.IgnoreKeyList);
    })};
    for (const Steps& more : {EnterThroughIgnoreDialog(dialog_, TfrmOptions::kAdd, duplicate),
                              EnterThroughIgnoreDialog(dialog_, TfrmOptions::kAdd, duplicate)})
        steps.insert(steps.end(), more.begin(), more.end());
    steps.push_back(ModalScript::Do([&] {
        ShowPage(dialog_, TfrmOptions::kKeysPage);
        EXPECT_EQ(ActivePage(dialog_), TfrmOptions::kKeysPage);
        EXPECT_TRUE(IsShown(dialog_, TfrmOptions::kKeys));
        EXPECT_FALSE(IsShown(dialog_, TfrmOptions::kValues));
        SelectListRow(::GetDlgItem(dialog_, TfrmOptions::kKeys), 0);
    }));
    for (const Steps& more :
         {EnterThroughIgnoreDialog(dialog_, TfrmOptions::kAdd, "HKEY_USERS\\.DEFAULT\\X"),
          EnterThroughIgnoreDialog(dialog_, TfrmOptions::kEdit,
                                   "HKEY_LOCAL_MACHINE\\SOFTWARE\\K2")})
        steps.insert(steps.end(), more.begin(), more.end());
    steps.push_back(ModalScript::Do([&] {
        // As the user clicks the check box.
        ::SendMessageA(::GetDlgItem(dialog_, TfrmOptions::kDeleteBackupFile), BM_CLICK, 0, 0);
        Click(dialog_, IDOK);
    }));

    EXPECT_EQ(Show(steps), IDOK);
    EXPECT_EQ(options_.OutputDirectory, folder_.Path());
    EXPECT_FALSE(options_.DeleteBackupFile);
    EXPECT_EQ(options_.IgnoreValueList,
              (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\V1", duplicate, duplicate}));
    EXPECT_EQ(options_.IgnoreKeyList, (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\K2",
                                                                "HKEY_USERS\\.DEFAULT\\X"}));
    EXPECT_TRUE(prompts_.Log().empty());
}

TEST_F(OptionsDialog, RemoveTakesTheTickedRowsAndCancelTakesNothingOver) {
    options_.IgnoreValueList = {"HKEY_A", "HKEY_B", "HKEY_C", "HKEY_D"};
    options_.IgnoreKeyList = {"HKEY_K"};
    const OptionsSetting before = options_;
    const std::string other = folder_.Path("other");
    ::CreateDirectoryA(other.c_str(), nullptr);
    const Steps steps = {
        ModalScript::Do([&] {
            const HWND values = ::GetDlgItem(dialog_, TfrmOptions::kValues);
            // A selected row without a tick is not removed.
            SelectListRow(values, 1);
            Click(dialog_, TfrmOptions::kRemove);
            EXPECT_EQ(Rows(dialog_, TfrmOptions::kValues), before.IgnoreValueList);
            SetListRowChecked(values, 0, true);
            SetListRowChecked(values, 2, true);
            Click(dialog_, TfrmOptions::kRemove);
            EXPECT_EQ(Rows(dialog_, TfrmOptions::kValues),
                      (std::vector<std::string>{"HKEY_B", "HKEY_D"}));
            EXPECT_EQ(Rows(dialog_, TfrmOptions::kKeys), before.IgnoreKeyList);
            Type(dialog_, TfrmOptions::kOutputFolder, other);
            ::SendMessageA(::GetDlgItem(dialog_, TfrmOptions::kDeleteBackupFile), BM_CLICK, 0, 0);
        }),
        ModalScript::Do([&] { Click(dialog_, TfrmOptions::kAdd); }),
        ModalScript::OnDialog(kIgnoreCaption,
                              [](HWND ignore) {
                                  Type(ignore, TfrmRegAddRegistry::kRegistryKey, "HKEY_NEW");
                                  Click(ignore, IDOK);
                              }),
        ModalScript::Do([&] { Click(dialog_, IDCANCEL); }),
    };
    EXPECT_EQ(Show(steps), IDCANCEL);
    EXPECT_EQ(options_.OutputDirectory, before.OutputDirectory);
    EXPECT_EQ(options_.DeleteBackupFile, before.DeleteBackupFile);
    EXPECT_EQ(options_.IgnoreValueList, before.IgnoreValueList);
    EXPECT_EQ(options_.IgnoreKeyList, before.IgnoreKeyList);
}

TEST_F(OptionsDialog, AFolderThatDoesNotExistIsRefusedNamingItAndTheDialogStays) {
    const Steps steps = {
        ModalScript::Do([&] {
            Type(dialog_, TfrmOptions::kOutputFolder, "C:\\Nowhere");
            Click(dialog_, IDOK);
            EXPECT_TRUE(::IsWindowVisible(dialog_));
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog_, TfrmOptions::kOutputFolder));
            // An empty field names no folder either.
            Type(dialog_, TfrmOptions::kOutputFolder, "");
            Click(dialog_, IDOK);
            Click(dialog_, IDCANCEL);
        }),
    };
    EXPECT_EQ(Show(steps), IDCANCEL);
    EXPECT_EQ(prompts_.Errors(),
              (std::vector<std::string>{"C:\\Nowhere,The backup directory does not exist.",
                                        ",The backup directory does not exist."}));
    EXPECT_EQ(options_.OutputDirectory, folder_.Path());
}

TEST_F(OptionsDialog, TheFolderBrowserFillsTheFolderAndACancelChangesNothing) {
    const std::string picked = folder_.Path("picked");
    ::CreateDirectoryA(picked.c_str(), nullptr);
    prompts_.QueueFolder(picked);
    prompts_.QueueFolder(std::nullopt);
    const Steps steps = {
        ModalScript::Do([&] {
            Click(dialog_, TfrmOptions::kBrowse);
            EXPECT_EQ(ControlText(dialog_, TfrmOptions::kOutputFolder), picked);
            Click(dialog_, TfrmOptions::kBrowse);
            EXPECT_EQ(ControlText(dialog_, TfrmOptions::kOutputFolder), picked);
            Click(dialog_, IDOK);
        }),
    };
    EXPECT_EQ(Show(steps), IDOK);
    EXPECT_EQ(prompts_.FolderBrowsers(),
              (std::vector<std::string>(2, "Please select the directory to add")));
    EXPECT_EQ(options_.OutputDirectory, picked);
}

TEST_F(OptionsDialog, EditWithoutASelectedRowAsksNothing) {
    options_.IgnoreValueList = {"HKEY_A"};
    const Steps steps = {
        ModalScript::Do([&] {
            Click(dialog_, TfrmOptions::kEdit);
            EXPECT_EQ(test::FindOwnDialog(kIgnoreCaption), nullptr);
            Click(dialog_, IDOK);
        }),
    };
    EXPECT_EQ(Show(steps), IDOK);
    EXPECT_EQ(options_.IgnoreValueList, (std::vector<std::string>{"HKEY_A"}));
}

// --- Ignore-key dialog ------------------------------------------------------------------------

class IgnoreKeyDialog : public ::testing::Test {
  protected:
    std::optional<std::string> Show(const std::string& text, Steps steps) {
        test::EnsureCommonControls();
        steps.insert(steps.begin(),
                     ModalScript::OnDialog(kIgnoreCaption, [this](HWND d) { dialog_ = d; }));
        ModalScript script(std::move(steps));
        TfrmRegAddRegistry dialog({nullptr, text, kEditor, &prompts_, &shell_});
        const auto result = dialog.ShowModal();
        EXPECT_TRUE(script.Finished());
        return result;
    }
    bool OkEnabled() const { return ::IsWindowEnabled(::GetDlgItem(dialog_, IDOK)) != FALSE; }

    ScriptedPrompts prompts_;
    RecordingShellOpener shell_;
    HWND dialog_ = nullptr;
};

TEST_F(IgnoreKeyDialog, OkNeedsHkeyUnderscoreAnywhereAndTakesTheTextAsTyped) {
    struct Case {
        const char* text;
        bool enabled;
    };
    const Case cases[] = {
        {"", false},
        {"hkey_current_user\\software", true},
        {" HKEY_CURRENT_USER\\Software", true},
        {"Software\\HKEY_x\\y", true},
        {"HKEY", false},
        {"HKEY-CURRENT_USER", false},
        {"Software\\Microsoft", false},
    };
    const Steps steps = {
        ModalScript::Do([&] {
            EXPECT_FALSE(OkEnabled()) << "an empty field";
            for (const Case& c : cases) {
                Type(dialog_, TfrmRegAddRegistry::kRegistryKey, c.text);
                EXPECT_EQ(OkEnabled(), c.enabled) << "\"" << c.text << "\"";
            }
            // Enter with OK disabled does nothing.
            Type(dialog_, TfrmRegAddRegistry::kRegistryKey, "Software");
            Click(dialog_, IDOK);
            EXPECT_TRUE(::IsWindowVisible(dialog_));
            Type(dialog_, TfrmRegAddRegistry::kRegistryKey, " hkey_users\\x ");
            Click(dialog_, IDOK);
        }),
    };
    EXPECT_EQ(Show("", steps), " hkey_users\\x ");
}

TEST_F(IgnoreKeyDialog, EditShowsTheEntryAndTheTitleBarCloseCancels) {
    const Steps steps = {
        ModalScript::Do([&] {
            EXPECT_EQ(ControlText(dialog_, TfrmRegAddRegistry::kRegistryKey), "HKEY_USERS\\Old");
            EXPECT_TRUE(OkEnabled());
            Click(dialog_, TfrmRegAddRegistry::kLaunchRegedit);
            EXPECT_TRUE(::IsWindowVisible(dialog_)) << "the dialog waits for no editor";
            ::SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        }),
    };
    EXPECT_EQ(Show("HKEY_USERS\\Old", steps), std::nullopt);
    // The system's editor by its full path, never a regedit.exe of the current folder.
    EXPECT_EQ(shell_.OpenedSoFar(), (std::vector<RecordingShellOpener::Opened>{{kEditor, ""}}));
}

}  // namespace
}  // namespace vantrel
