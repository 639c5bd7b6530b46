// The plumbing every window shares, under Wine: the bound window and dialog procedures with
// their exception barrier, in-memory dialog templates, and the hand-over of work from other
// threads to the UI thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/ResultsList.h"
#include "platform/memory/ScriptedPrompts.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ResultsRows.h"
#include "ui/BoundWindowProc.h"
#include "ui/DialogTemplate.h"
#include "ui/UiThreadTasks.h"
#include "ui/WindowClass.h"

namespace vantrel {
namespace {

using test::PumpMessages;

// --- UI-thread tasks ---------------------------------------------------------------------------

TEST(UiThreadTasks, TasksFromOtherThreadsRunOnTheUiThreadInTheirOrder) {
    ScriptedPrompts prompts;
    UiThreadTasks tasks(&prompts);
    const DWORD uiThread = ::GetCurrentThreadId();
    std::vector<std::pair<int, int>> ran;  // (worker, sequence), touched on the UI thread only
    std::atomic<int> offThread{0};
    {
        std::vector<std::thread> workers;
        for (int worker = 0; worker < 3; ++worker) {
            workers.emplace_back([&, worker, poster = tasks.MakePoster()] {
                for (int sequence = 0; sequence < 200; ++sequence) {
                    poster.Post([&, worker, sequence] {
                        if (::GetCurrentThreadId() != uiThread)
                            ++offThread;
                        ran.emplace_back(worker, sequence);
                    });
                }
            });
        }
        for (std::thread& worker : workers)
            worker.join();
    }
    EXPECT_TRUE(ran.empty()) << "tasks ran before the UI thread took its messages";
    PumpMessages();
    ASSERT_EQ(ran.size(), 600u);
    EXPECT_EQ(offThread.load(), 0);
    int next[3] = {0, 0, 0};
    for (const auto& [worker, sequence] : ran) {
        EXPECT_EQ(sequence, next[worker]) << "worker " << worker;
        next[worker] = sequence + 1;
    }
}

TEST(UiThreadTasks, AfterCloseNothingRunsAndWhatTheTasksCarryIsFreed) {
    ScriptedPrompts prompts;
    auto payload = std::make_shared<int>(7);
    bool ran = false;
    UiThreadTasks::Poster poster = [&] {
        UiThreadTasks tasks(&prompts);
        UiThreadTasks::Poster kept = tasks.MakePoster();
        EXPECT_TRUE(kept.Post([&ran, payload] { ran = *payload == 7; }));
        return kept;
    }();
    // The tasks object has ended with one task waiting: dropped, not run.
    EXPECT_EQ(payload.use_count(), 1);
    EXPECT_FALSE(poster.Post([&ran, payload] { ran = true; }));
    EXPECT_EQ(payload.use_count(), 1) << "a task posted after the end is kept";
    PumpMessages();
    EXPECT_FALSE(ran);
}

TEST(UiThreadTasks, AnErrorIsShownAndTheNextTaskStillRunsButCloseStopsTheBatch) {
    ScriptedPrompts prompts;
    UiThreadTasks tasks(&prompts);
    std::vector<std::string> ran;
    tasks.Post([&] {
        ran.push_back("first");
        throw std::runtime_error("the task failed");
    });
    tasks.Post([&] { ran.push_back("second"); });
    tasks.Post([&] {
        ran.push_back("closing");
        tasks.Close();
    });
    tasks.Post([&] { ran.push_back("after close"); });
    PumpMessages();
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "closing"}));
    EXPECT_EQ(prompts.Errors(), (std::vector<std::string>{"the task failed"}));
}

// --- Bound window procedure ----------------------------------------------------------------------

constexpr UINT kThrowMessage = WM_APP + 1;

// A window that fails on request, as a command handler may.
class FailingWindow {
  public:
    explicit FailingWindow(Prompts& prompts, bool failCreate = false)
        : prompts_(prompts), failCreate_(failCreate) {
        WNDCLASSEXA windowClass{};
        windowClass.lpfnWndProc = &BoundWindowProc<FailingWindow>;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VantrelFailingWindow";
        RegisterWindowClass(windowClass, "failing window");
        created_ = ::CreateWindowExA(0, "VantrelFailingWindow", "", WS_OVERLAPPED, 0, 0, 50, 50,
                                     nullptr, nullptr, ::GetModuleHandleA(nullptr), this);
    }
    ~FailingWindow() {
        if (window_ != nullptr)
            ::DestroyWindow(window_);
    }

    HWND Created() const { return created_; }
    HWND Bound() const { return window_; }
    void Attach(HWND window) { window_ = window; }
    void Detach() { window_ = nullptr; }
    Prompts& UserPrompts() { return prompts_; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CREATE && failCreate_)
            throw std::runtime_error("cannot make the window");
        if (message == kThrowMessage)
            throw std::runtime_error("the command failed");
        return ::DefWindowProcA(window_, message, wParam, lParam);
    }

  private:
    Prompts& prompts_;
    bool failCreate_;
    HWND created_ = nullptr;
    HWND window_ = nullptr;
};

TEST(BoundWindowProc, AnErrorInAHandlerIsShownAndTheWindowStaysUsable) {
    ScriptedPrompts prompts;
    FailingWindow window(prompts);
    ASSERT_NE(window.Created(), nullptr);
    ::SendMessageA(window.Created(), kThrowMessage, 0, 0);
    ::SendMessageA(window.Created(), kThrowMessage, 0, 0);
    EXPECT_EQ(prompts.Errors(),
              (std::vector<std::string>{"the command failed", "the command failed"}));
    EXPECT_TRUE(::IsWindow(window.Created()));
    ::DestroyWindow(window.Created());
    EXPECT_EQ(window.Bound(), nullptr) << "still bound after WM_NCDESTROY";
}

TEST(BoundWindowProc, AFailedCreationIsShownAndMakesNoWindow) {
    ScriptedPrompts prompts;
    FailingWindow window(prompts, true);
    EXPECT_EQ(window.Created(), nullptr);
    EXPECT_EQ(window.Bound(), nullptr);
    EXPECT_EQ(prompts.Errors(), (std::vector<std::string>{"cannot make the window"}));
}

// A control's own procedure keeps errors in: here the results list's tick callback fails.
TEST(BoundWindowProc, AnErrorInASubclassedControlIsShownAndGoesNoFurther) {
    ScriptedPrompts prompts;
    test::EnsureCommonControls();
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    {
        ResultsList list;
        list.Create(parent, ::GetModuleHandleA(nullptr), nullptr, DpiScaler(), prompts,
                    [] { throw std::runtime_error("the count failed"); });
        test::ShowRow(list, ScanIssue{"p", "HKEY_CURRENT_USER\\k", "v", RepairKind::DeleteKey});
        LVITEMA selected{};
        selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        selected.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list.Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
        ::SendMessageA(list.Handle(), WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_TRUE(list.IsTicked(0)) << "the tick flipped before the callback failed";
        EXPECT_EQ(prompts.Errors(), (std::vector<std::string>{"the count failed"}));
    }
    ::DestroyWindow(parent);
}

// --- Bound dialog procedure and templates
// ---------------------------------------------------------

constexpr int kNameEdit = 101;
constexpr UINT kFailCommand = 102;

// A small dialog: a label, an edit, OK and Cancel. Records what its procedure saw.
class SampleDialog {
  public:
    enum class Failure { None, OnInit };
    SampleDialog(Prompts& prompts, Failure failure) : prompts_(prompts), failure_(failure) {}

    static DialogTemplate Layout() {
        DialogTemplate layout("Sample", 180, 70);
        layout.AddControl("STATIC", "&Name:", -1, SS_LEFT, 7, 9, 30, 8);
        layout.AddControl("EDIT", "", kNameEdit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 40, 7,
                          133, 12);
        layout.AddControl("BUTTON", "OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 69, 49, 50, 14);
        layout.AddControl("BUTTON", "Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 123, 49, 50,
                          14);
        return layout;
    }

    void Attach(HWND dialog) { dialog_ = dialog; }
    void Detach() { dialog_ = nullptr; }
    Prompts& UserPrompts() { return prompts_; }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) {
            if (failure_ == Failure::OnInit)
                throw std::runtime_error("the dialog cannot start");
            char caption[32] = {};
            ::GetWindowTextA(dialog_, caption, sizeof caption);
            caption_ = caption;
            editFound_ = ::GetDlgItem(dialog_, kNameEdit) != nullptr;
            ::SetDlgItemTextA(dialog_, kNameEdit, "typed");
            // The test's script: a failing command, then OK.
            ::PostMessageA(dialog_, WM_COMMAND, kFailCommand, 0);
            ::PostMessageA(dialog_, WM_COMMAND, IDOK, 0);
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == kFailCommand)
            throw std::runtime_error("the command failed");
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            char text[32] = {};
            ::GetDlgItemTextA(dialog_, kNameEdit, text, sizeof text);
            name_ = text;
            ::EndDialog(dialog_, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }

    HWND Dialog() const { return dialog_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Name() const { return name_; }
    bool EditFound() const { return editFound_; }

  private:
    Prompts& prompts_;
    Failure failure_;
    HWND dialog_ = nullptr;
    std::string caption_;
    std::string name_;
    bool editFound_ = false;
};

TEST(BoundDialogProc, ATemplateDialogBindsItsObjectAndOutlivesAFailingCommand) {
    ScriptedPrompts prompts;
    SampleDialog dialog(prompts, SampleDialog::Failure::None);
    const DialogTemplate layout = SampleDialog::Layout();
    EXPECT_EQ(layout.ControlCount(), 4);
    EXPECT_EQ(ShowModalDialog(nullptr, layout, dialog), IDOK);
    EXPECT_EQ(dialog.Caption(), "Sample");
    EXPECT_TRUE(dialog.EditFound());
    EXPECT_EQ(dialog.Name(), "typed") << "OK came after the failing command";
    EXPECT_EQ(prompts.Errors(), (std::vector<std::string>{"the command failed"}));
    EXPECT_EQ(dialog.Dialog(), nullptr) << "still bound after WM_NCDESTROY";
}

TEST(BoundDialogProc, ADialogThatCannotStartIsShownAndEndedAsCancelled) {
    ScriptedPrompts prompts;
    SampleDialog dialog(prompts, SampleDialog::Failure::OnInit);
    EXPECT_EQ(ShowModalDialog(nullptr, SampleDialog::Layout(), dialog), IDCANCEL);
    EXPECT_EQ(prompts.Errors(), (std::vector<std::string>{"the dialog cannot start"}));
    EXPECT_EQ(dialog.Dialog(), nullptr);
}

}  // namespace
}  // namespace vantrel
