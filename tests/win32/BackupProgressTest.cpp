// The backup progress window and RunAndWait under Wine: the window closes with OK by itself
// when the editor ends, Stop ends the editor, the title bar's close button leaves it running,
// and an editor that cannot be started is reported without a window.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs/BackupProgressWindow.h"
#include "platform/ProductVersion.h"
#include "platform/memory/ScriptedPrompts.h"
#include "platform/win32/ChildProcess.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/ScratchArea.h"
#include "tests/win32/ToolPaths.h"
#include "ui/SystemRegistryEditor.h"
#include "ui/external/ExternalTools.h"

namespace vantrel {
namespace {

using test::ControlText;
using test::ModalScript;
using test::ScratchFolder;
using test::ScratchKey;
using Steps = std::vector<ModalScript::Step>;

int BarPosition(HWND dialog) {
    return static_cast<int>(
        ::SendMessageA(::GetDlgItem(dialog, TfrmBackupHint::kProgressBar), PBM_GETPOS, 0, 0));
}

// The progress window's steps, run once it is on screen.
ModalScript::Step OnProgressWindow(std::function<void(HWND)> action) {
    return ModalScript::OnDialog(kProductName, std::move(action), TfrmBackupHint::kStopButton);
}

using test::StartSlowEditor;

DWORD ExitCodeOf(const ChildProcess& process) {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.Process(), &code);
    return code;
}

TEST(BackupProgress, TheBarStepsOnTheTimerAndStopEndsTheEditor) {
    test::EnsureCommonControls();
    ScriptedPrompts prompts;
    std::optional<ChildProcess> started = StartSlowEditor();
    ASSERT_TRUE(started) << "cannot start " << test::TestEditorPath();
    ChildProcess& editor = *started;
    HWND dialog = nullptr;
    INT_PTR result = 0;
    {
        const Steps steps = {
            OnProgressWindow([&](HWND found) {
                dialog = found;
                EXPECT_EQ(ControlText(dialog, TfrmBackupHint::kHintLabel), "Restore registry...");
                EXPECT_EQ(BarPosition(dialog), 0);
            }),
            ModalScript::WaitUntil([&] { return BarPosition(dialog) == 10; }),
            ModalScript::WaitUntil([&] { return BarPosition(dialog) == 20; }),
            ModalScript::Do([&] { test::Click(dialog, TfrmBackupHint::kStopButton); }),
        };
        ModalScript script(steps);
        TfrmBackupHint window({nullptr, editor, "Restore registry...", &prompts});
        result = window.ShowModal();
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(::WaitForSingleObject(editor.Process(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(editor), 0u) << "terminated with exit code 0";
    EXPECT_TRUE(prompts.Log().empty());
}

TEST(BackupProgress, TheTitleBarCloseLeavesTheEditorRunning) {
    test::EnsureCommonControls();
    ScriptedPrompts prompts;
    std::optional<ChildProcess> started = StartSlowEditor();
    ASSERT_TRUE(started) << "cannot start " << test::TestEditorPath();
    ChildProcess& editor = *started;
    INT_PTR result = 0;
    {
        ModalScript script({OnProgressWindow(
            [](HWND dialog) { ::SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); })});
        TfrmBackupHint window({nullptr, editor, "Backup registry...", &prompts});
        result = window.ShowModal();
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(editor.HasEnded());
    editor.Terminate(1);
}

// A merge the real editor finishes at once: the window closes at its first tick, with OK.
TEST(RunAndWait, AnEditorThatEndsByItselfClosesTheWindowWithOk) {
    test::EnsureCommonControls();
    ScratchKey key;
    ScratchFolder folder;
    const std::string file = folder.Path("merge.reg");
    test::WriteFile(
        file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key.Path() + "]\r\n\"Merged\"=\"yes\"\r\n");
    ScriptedPrompts prompts;
    bool shown = false;
    bool result = false;
    {
        ModalScript script({OnProgressWindow([&](HWND dialog) {
            shown = true;
            EXPECT_EQ(ControlText(dialog, TfrmBackupHint::kHintLabel), "Restore registry...");
            char caption[64] = {};
            ::GetWindowTextA(dialog, caption, sizeof caption);
            EXPECT_STREQ(caption, "Vantrel");
        })});
        const std::string editor = SystemRegistryEditorPath();
        result = RunAndWait({nullptr, prompts, &prompts, editor}, MergeCommandLine(editor, file),
                            kRestoreHint);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_TRUE(result);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(key.HasValue(L"Merged"));
    EXPECT_TRUE(prompts.Log().empty());
}

// An owner that is gone: the window cannot be made, and the editor must not run on unwatched.
TEST(RunAndWait, AProgressWindowThatCannotBeShownEndsTheEditorAndSaysSo) {
    ScriptedPrompts prompts;
    std::optional<ChildProcess> started = StartSlowEditor();
    ASSERT_TRUE(started) << "cannot start " << test::TestEditorPath();
    const HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_THROW(
        WaitForEditor({gone, prompts, &prompts, test::TestEditorPath()}, *started, kRestoreHint),
        std::runtime_error);
    EXPECT_EQ(::WaitForSingleObject(started->Process(), 10000), WAIT_OBJECT_0);
    started->Terminate(0);
}

TEST(RunAndWait, AnEditorThatCannotBeStartedIsReportedWithoutAWindow) {
    ScratchFolder folder;
    ScriptedPrompts prompts;
    // A path naming no file, and no path at all (a Windows folder the system did not name).
    for (const std::string& editor : {folder.Path("no-such-editor.exe"), std::string()}) {
        EXPECT_FALSE(RunAndWait({nullptr, prompts, &prompts, editor},
                                ExportCommandLine(editor, folder.Path("all.reg")),
                                kFullBackupHint));
    }
    EXPECT_EQ(prompts.Notices(),
              (std::vector<std::string>(2, "Please check if Regedit.exe exists.")));
    EXPECT_EQ(test::FindOwnDialog(kProductName), nullptr);
}

}  // namespace
}  // namespace vantrel
