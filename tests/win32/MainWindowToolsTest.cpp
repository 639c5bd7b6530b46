// The main window's commands that open a dialog or an outside program, under Wine: the full
// backup through the system's registry editor, Windows Backup, the editor opened at a row's key,
// the options dialog, and the window's placement saved while it is minimized.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialogs/BackupProgressWindow.h"
#include "dialogs/IgnoreKeyDialog.h"
#include "dialogs/OptionsDialog.h"
#include "platform/ProductVersion.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/RegistrySeed.h"
#include "tests/win32/ResultsRows.h"
#include "tests/win32/ScratchArea.h"
#include "tests/win32/ToolPaths.h"
#include "ui/SystemRegistryEditor.h"

namespace vantrel {
namespace {

using test::Click;
using test::MainWindowUnderTest;
using test::ModalScript;
using test::ReadFile;
using test::ScratchFolder;
using Opened = RecordingShellOpener::Opened;

// The program's current folder for one scope.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& folder) {
        char previous[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, previous);
        previous_ = previous;
        EXPECT_TRUE(::SetCurrentDirectoryA(folder.c_str()));
    }
    ~CurrentFolder() { ::SetCurrentDirectoryA(previous_.c_str()); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::string previous_;
};

// A string value of the current user's registry, put back as it was when the scope ends.
class SavedString {
  public:
    SavedString(std::string path, std::string name)
        : path_(std::move(path)), name_(std::move(name)), before_(Read()) {}
    ~SavedString() {
        if (before_)
            ::RegSetKeyValueA(HKEY_CURRENT_USER, path_.c_str(), name_.c_str(), REG_SZ,
                              before_->c_str(), static_cast<DWORD>(before_->size() + 1));
        else
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, path_.c_str(), name_.c_str());
    }
    SavedString(const SavedString&) = delete;
    SavedString& operator=(const SavedString&) = delete;

    std::optional<std::string> Read() const {
        char text[1024] = {};
        DWORD size = sizeof text;
        if (::RegGetValueA(HKEY_CURRENT_USER, path_.c_str(), name_.c_str(), RRF_RT_REG_SZ, nullptr,
                           text, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::string(text);
    }

  private:
    std::string path_;
    std::string name_;
    std::optional<std::string> before_;
};

using MainWindowTools = test::FreshMainWindow;

// A regedit.exe in the current folder is what the system's search rules find first: the full
// backup must run the system's editor all the same.
TEST_F(MainWindowTools, AFullBackupIsWrittenByTheSystemsEditorNotOneOfTheCurrentFolder) {
    ASSERT_TRUE(
        ::CopyFileA(test::TestEditorPath().c_str(), folder_.Path("regedit.exe").c_str(), FALSE));
    const CurrentFolder here(folder_.Path());
    MainWindowUnderTest& main = Main();
    main.Prompts().QueueSaveFileName(folder_.Path("whole registry"));
    bool progressShown = false;
    {
        ModalScript script({ModalScript::OnDialog(
            kProductName,
            [&](HWND progress) {
                progressShown = true;
                EXPECT_EQ(test::ControlText(progress, TfrmBackupHint::kHintLabel),
                          "Backup registry...");
            },
            TfrmBackupHint::kStopButton)});
        main.Command(command::kBackupFullRegistry);
        EXPECT_TRUE(script.Finished());
    }
    ASSERT_EQ(main.Prompts().SaveDialogs().size(), 1u);
    EXPECT_EQ(main.Prompts().SaveDialogs()[0].title, "Save full registry");
    EXPECT_EQ(main.Prompts().SaveDialogs()[0].filter, "Registry backup files (*.reg)|*.REG");
    EXPECT_TRUE(progressShown);
    const std::string written = ReadFile(folder_.Path("whole registry.reg"));
    EXPECT_NE(written.rfind("decoy export", 0), 0u) << "the regedit.exe of the current folder ran";
    // The system's editor writes a header and the whole registry: far more than a screenful.
    EXPECT_GT(written.size(), 100000u);
    EXPECT_TRUE(main.Questions().empty());
    EXPECT_TRUE(main.Notices().empty());
}

TEST_F(MainWindowTools, AFullBackupOntoAnExistingFileAsksFirstAndNoStartsNothing) {
    const std::string existing = folder_.Path("old.Reg");
    test::WriteFile(existing, "keep");
    MainWindowUnderTest& main = Main();
    main.Prompts().QueueSaveFileName(existing);
    main.Prompts().QueueSaveFileName(std::nullopt);
    main.AnswerQuestions(false);
    main.Command(command::kBackupFullRegistry);
    EXPECT_EQ(main.Questions(), (std::vector<std::string>{existing + " has existed,overite it?"}));
    EXPECT_EQ(main.Prompts().QuestionDefaults(), (std::vector<DefaultAnswer>{DefaultAnswer::No}));
    // A cancelled save dialog asks nothing.
    main.Command(command::kBackupFullRegistry);
    EXPECT_EQ(main.Questions().size(), 1u);
    EXPECT_EQ(ReadFile(existing), "keep");
    EXPECT_TRUE(main.Notices().empty());
}

TEST_F(MainWindowTools, WindowsBackupOpensTheBackupToolThisSystemHas) {
    MainWindowUnderTest& main = Main();
    // Wine has neither tool: the XP path, for the shell to report.
    main.Command(command::kWindowsBackup);
    {
        // A system after XP: its backup tool instead.
        test::RegistrySeed seed;
        seed.CreateFileAt("C:\\windows\\system32\\sdclt.exe");
        main.Command(command::kWindowsBackup);
    }
    EXPECT_EQ(main.Opened(), (std::vector<Opened>{{"C:\\windows\\system32\\ntbackup.exe", ""},
                                                  {"C:\\windows\\system32\\sdclt.exe", ""}}));
}

TEST_F(MainWindowTools, TheEditorOpensAtTheRowsKeyByItsFullPath) {
    const SavedString lastKey("Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit",
                              "LastKey");
    MainWindowUnderTest& main = Main();
    test::ShowRow(main.Window().Results(),
                  ScanIssue{"Problem", "HKEY_CURRENT_USER\\Software\\X\\Name", "C:\\x.exe",
                            RepairKind::DeleteValueInKey});
    test::ShowRow(main.Window().Results(), ScanIssue{"Problem", "HKEY_CURRENT_USER\\Software\\Run",
                                                     "Sub", RepairKind::DeleteSubkey});
    main.SelectRow(0);
    main.Command(command::kOpenInRegistryEditor);
    EXPECT_EQ(lastKey.Read(), "HKEY_CURRENT_USER\\Software\\X");
    main.SelectRow(1);
    main.Command(command::kOpenInRegistryEditor);
    EXPECT_EQ(lastKey.Read(), "HKEY_CURRENT_USER\\Software\\Run\\Sub");
    const Opened editor{SystemRegistryEditorPath(), "-m"};
    EXPECT_EQ(main.Opened(), (std::vector<Opened>{editor, editor}));
    EXPECT_EQ(editor.target, "C:\\windows\\regedit.exe");
}

TEST_F(MainWindowTools, OptionsTakenOverReachTheFileWhenTheWindowCloses) {
    folder_.CreateFolder(L"backup");  // the default backup folder, which OK requires
    MainWindowUnderTest& main = Main();
    HWND options = nullptr;
    {
        ModalScript script({
            ModalScript::OnDialog(TfrmOptions::kCaption, [&](HWND dialog) { options = dialog; }),
            ModalScript::Do([&] { Click(options, TfrmOptions::kAdd); }),
            ModalScript::OnDialog(TfrmRegAddRegistry::kCaption,
                                  [](HWND ignore) {
                                      test::Type(ignore, TfrmRegAddRegistry::kRegistryKey,
                                                 "HKEY_CURRENT_USER\\Software\\Ignored");
                                      Click(ignore, IDOK);
                                  }),
            ModalScript::Do([&] { Click(options, IDOK); }),
        });
        main.Command(command::kOptions);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(main.Window().Options().IgnoreValueList,
              (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Ignored"}));
    EXPECT_TRUE(main.Errors().empty());
    main.Close();
    const std::string settings = ReadFile(folder_.Path("options.ini"));
    EXPECT_NE(
        settings.find("[IgnoreValue]\r\nCount=1\r\nValue1=HKEY_CURRENT_USER\\Software\\Ignored"),
        std::string::npos)
        << settings;
}

int StoredInteger(const std::string& file, const char* key) {
    return static_cast<int>(::GetPrivateProfileIntA("Window", key, -1, file.c_str()));
}

TEST(MainWindowPlacement, AWindowClosedWhileMinimizedOpensAtItsNormalSizeNextTime) {
    ScratchFolder folder;
    RECT normal{};
    {
        MainWindowUnderTest first(folder.Path());
        ::SetWindowPos(first.Handle(), nullptr, 100, 80, 720, 560, SWP_NOZORDER);
        ::GetWindowRect(first.Handle(), &normal);
        ::ShowWindow(first.Handle(), SW_MINIMIZE);
        test::PumpMessages();
        ASSERT_TRUE(::IsIconic(first.Handle()));
    }
    const std::string settings = folder.Path("options.ini");
    EXPECT_EQ(StoredInteger(settings, "State"), 2);
    EXPECT_EQ(StoredInteger(settings, "Left"), normal.left);
    EXPECT_EQ(StoredInteger(settings, "Top"), normal.top);
    EXPECT_EQ(StoredInteger(settings, "Width"), normal.right - normal.left);
    EXPECT_EQ(StoredInteger(settings, "Height"), normal.bottom - normal.top);

    MainWindowUnderTest second(folder.Path());
    RECT opened{};
    ::GetWindowRect(second.Handle(), &opened);
    EXPECT_EQ(opened.right - opened.left, normal.right - normal.left);
    EXPECT_EQ(opened.bottom - opened.top, normal.bottom - normal.top);
}

}  // namespace
}  // namespace vantrel
