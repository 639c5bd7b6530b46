#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ResultsList.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/RegistryAccess.h"
#include "platform/win32/ComReadyFileSystem.h"
#include "scan/ScanEventQueue.h"
#include "scan/ScanTaskThread.h"
#include "ui/GuiHandles.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/UiThreadTasks.h"
#include "ui/WindowDpi.h"
#include "ui/WindowShell.h"

namespace vantrel {

struct ScanProgressArgs {
    HWND owner;
    HINSTANCE instance;
    RegistrySource& registry;
    FileSystem& files;
    WindowsVersion windowsVersion;
    std::vector<std::string> checkList;  // the window keeps its own copy
    ResultsList& results;                // where the rows go, on the UI thread
    Prompts* prompts;                    // injected prompts; nullptr for the window's own boxes
    // Called with true when the modal loop has taken a message and with false when it has
    // handled it: how a benchmark sees how long the UI thread goes without pumping.
    std::function<void(bool handling)> loopObserver;
    ShellOpener* shell = nullptr;  // injected shell (F1); nullptr for the real one
};

struct ScanOutcome {
    enum class End { Finished, Stopped, EndedEarly };
    End end = End::Finished;
    std::string reason;  // why the scan ended early
};

// TfrmRegProgressHint: the modal "Scanning" window. Once it is on screen it starts the scan
// task; the task's reports come back through a ScanEventQueue and are applied on this thread in
// their order, a bounded batch at a time so that painting and Stop stay responsive.
class TfrmRegProgressHint {
  public:
    static constexpr const char* kHelpPage = "scan-window.html";  // F1
    // The private message the window posts itself when shown; its handler starts the task.
    static constexpr UINT WM_STARTSCAN = 0x2409;
    static constexpr const char* kClassName = "TfrmRegProgressHint";

    explicit TfrmRegProgressHint(ScanProgressArgs args);
    ~TfrmRegProgressHint();
    TfrmRegProgressHint(const TfrmRegProgressHint&) = delete;
    TfrmRegProgressHint& operator=(const TfrmRegProgressHint&) = delete;

    // Shows the window, runs its modal loop until the scan ends or is stopped, and destroys it.
    // The rows found stay in the results list whatever the end.
    ScanOutcome ShowModal();

    // The window procedure's side (see BoundWindowProc).
    void Attach(HWND window) {
        window_ = window;
        prompts_.SetOwner(window);
        shell_.SetOwner(window);
    }
    void Detach() { window_ = nullptr; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    Prompts& UserPrompts() { return prompts_.Get(); }

  private:
    void CreateControls();
    void OnStartScan();
    void OnTimer1();
    // Takes waiting reports and applies the next batch of them.
    void PumpEvents();
    // Moves what the queue holds into pending_, when that is empty.
    void TakeQueued();
    void ScheduleContinue(std::chrono::milliseconds delay);
    void CancelContinue();
    void ApplyBatch();
    void ShowRowsNowAndThen();
    void ApplyEvent(const ScanEvent& event);
    // Stop, and the title bar's close button: no more reports, the rows found so far stay.
    void Stop();
    void EndScan(ScanOutcome::End end, std::string reason);

    ScanProgressArgs args_;
    WindowPrompts prompts_;
    WindowShell shell_;
    HWND window_ = nullptr;
    HWND groupBox_ = nullptr;
    HWND lScanTask_ = nullptr;
    HWND progressBar1_ = nullptr;
    HWND label1_ = nullptr;
    HWND bStop_ = nullptr;
    DpiScaler scale_;  // pixel sizes at the DPI of the owner's monitor
    unique_hfont font_;

    ComReadyFileSystem files_;
    // Declared before the task, which reports into it, so the task goes first.
    // Tells this thread that reports wait in the queue. Declared before the queue and the
    // task, so it ends last: a report of a task that is still ending has somewhere to go.
    UiThreadTasks uiTasks_;
    std::unique_ptr<ScanEventQueue> queue_;
    std::unique_ptr<TScanTaskThread> task_;
    std::deque<ScanEvent> pending_;  // taken from the queue, not yet applied
    std::chrono::steady_clock::time_point lastShown_{};
    std::chrono::steady_clock::time_point lastDrain_{};
    bool continueScheduled_ = false;
    bool done_ = false;
    ScanOutcome outcome_;
};

}  // namespace vantrel
