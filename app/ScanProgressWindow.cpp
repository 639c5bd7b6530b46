#include "app/ScanProgressWindow.h"

#include <commctrl.h>

#include <chrono>
#include <stdexcept>
#include <utility>

#include "ui/BoundWindowProc.h"
#include "ui/HelpFile.h"
#include "ui/ProgressCreep.h"
#include "ui/Skin.h"
#include "ui/WindowClass.h"
#include "ui/WindowDpi.h"
#include "ui/WindowLayout.h"

namespace vantrel {
namespace {

// Moves the rows among `events` into the list, unshown, in their order.
template <typename Events>
void MoveRowsInto(ResultsList& results, Events& events) {
    std::vector<ScanIssue*> rows;
    for (ScanEvent& event : events) {
        if (event.kind == ScanEvent::Kind::Row)
            rows.push_back(&event.issue);
    }
    results.MoveInQuietly(rows);
}

constexpr int kClientWidth = 363;
constexpr int kClientHeight = 192;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
// Continues a batch that did not finish; a timer message lets painting and input in between.
constexpr UINT_PTR kContinueTimer = 2;
constexpr int kInitialPosition = 50;
constexpr int kFullPosition = 1000;
// How long one batch may keep the UI thread from its messages.
constexpr auto kBatchBudget = std::chrono::milliseconds(25);
constexpr size_t kRowsBetweenClockReads = 256;
// Telling the list about new rows costs time in proportion to all its rows, so while rows
// stream in it is told only when they have grown by half since the last time (which keeps the
// whole cost in proportion to the rows), at most every kShowRowsInterval, and at least every
// kShowRowsLongest when rows are waiting.
// The shortest time between two takings of the queue, unless the task waits for a step.
constexpr auto kDrainInterval = std::chrono::milliseconds(30);
constexpr auto kShowRowsInterval = std::chrono::milliseconds(250);
constexpr auto kShowRowsLongest = std::chrono::milliseconds(1000);

void RegisterProgressClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.lpfnWndProc = &BoundWindowProc<TfrmRegProgressHint>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = TfrmRegProgressHint::kClassName;
    RegisterWindowClass(windowClass, "scan window");
}

}  // namespace

TfrmRegProgressHint::TfrmRegProgressHint(ScanProgressArgs args)
    : args_(std::move(args)),
      prompts_(args_.prompts),
      shell_(args_.shell),
      files_(args_.files),
      uiTasks_(&prompts_.Get()) {}

TfrmRegProgressHint::~TfrmRegProgressHint() {
    // The queue is closed first so a task waiting for a progress step goes on and can end.
    if (queue_)
        queue_->CloseAndDrain();
    task_.reset();
    if (window_ != nullptr)
        ::DestroyWindow(window_);
}

ScanOutcome TfrmRegProgressHint::ShowModal() {
    RegisterProgressClass(args_.instance);
    // Not WS_CLIPCHILDREN: the group box leaves its inside to the window to paint.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD extendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    // At the DPI of the owner's monitor, where it opens.
    scale_ = DpiScaler::Of(args_.owner);
    RECT frame{0, 0, scale_(kClientWidth), scale_(kClientHeight)};
    AdjustFrameForDpi(frame, style, false, extendedStyle, scale_.Dpi());
    if (::CreateWindowExA(extendedStyle, kClassName, "Scanning", style, 0, 0,
                          frame.right - frame.left, frame.bottom - frame.top, args_.owner, nullptr,
                          args_.instance, this) == nullptr)
        throw std::runtime_error("Cannot create the scan window.");
    CentreOnOwner(window_);

    const bool ownerWasEnabled = args_.owner != nullptr && ::IsWindowEnabled(args_.owner);
    if (ownerWasEnabled)
        ::EnableWindow(args_.owner, FALSE);
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    // The task starts once the window is visible and its loop runs.
    ::PostMessageA(window_, WM_STARTSCAN, 0, 0);

    bool quitSeen = false;
    WPARAM quitCode = 0;
    MSG message{};
    while (!done_) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: stop the scan and hand the quit on to the outer loop.
            quitSeen = true;
            quitCode = message.wParam;
            Stop();
            break;
        }
        if (got < 0)
            break;
        if (args_.loopObserver)
            args_.loopObserver(true);
        if (window_ == nullptr || !::IsDialogMessageA(window_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (args_.loopObserver)
            args_.loopObserver(false);
    }
    if (!done_)
        Stop();

    if (ownerWasEnabled)
        ::EnableWindow(args_.owner, TRUE);
    if (window_ != nullptr)
        ::DestroyWindow(window_);
    // Joined only now that the queue is closed: the task can no longer wait for this thread.
    if (task_)
        task_->Wait();
    if (quitSeen)
        ::PostQuitMessage(static_cast<int>(quitCode));
    return outcome_;
}

void TfrmRegProgressHint::CreateControls() {
    font_ = CreateDialogFont(scale_.Dpi());
    // Places are designed at 96 dpi.
    const auto child = [&](const char* windowClass, const char* text, DWORD style, int left,
                           int top, int width, int height, int id) {
        HWND made = ::CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style,
                                      scale_(left), scale_(top), scale_(width), scale_(height),
                                      window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      args_.instance, nullptr);
        if (made == nullptr)
            throw std::runtime_error("Cannot create the scan window's controls.");
        ::SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return made;
    };
    // The group box's children are placed relative to it (8, 34).
    constexpr int kGroupLeft = 8;
    constexpr int kGroupTop = 34;
    groupBox_ = child("BUTTON", "", BS_GROUPBOX, kGroupLeft, kGroupTop, 345, 113, 0);
    lScanTask_ = child("STATIC", "Scanning ", SS_LEFT | SS_NOPREFIX, kGroupLeft + 16,
                       kGroupTop + 16, 321, 16, 0);
    progressBar1_ = child(PROGRESS_CLASSA, "", 0, kGroupLeft + 16, kGroupTop + 40, 311, 18, 0);
    ::SendMessageA(progressBar1_, PBM_SETRANGE32, 0, kFullPosition);
    ::SendMessageA(progressBar1_, PBM_SETPOS, kInitialPosition, 0);
    label1_ = child("STATIC", "Registry Key", SS_LEFT | SS_NOPREFIX, kGroupLeft + 16,
                    kGroupTop + 74, 321, 31, 0);
    bStop_ = child("BUTTON", "Stop", WS_TABSTOP | BS_DEFPUSHBUTTON, 272, 156, 80, 27, IDCANCEL);
}

LRESULT TfrmRegProgressHint::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            ApplyCurrentSkin(window_);
            return 0;
        case WM_STARTSCAN:
            OnStartScan();
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1)
                OnTimer1();
            else if (wParam == kContinueTimer)
                PumpEvents();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL)
                Stop();
            return 0;
        case WM_HELP:
            OpenHelpPage(shell_.Get(), kHelpPage);
            return TRUE;
        case WM_CLOSE:
            // The title bar's close button acts as Stop.
            Stop();
            return 0;
        default:
            return ::DefWindowProcA(window_, message, wParam, lParam);
    }
}

void TfrmRegProgressHint::OnStartScan() {
    if (task_ || done_)
        return;
    const UiThreadTasks::Poster poster = uiTasks_.MakePoster();
    queue_ =
        std::make_unique<ScanEventQueue>([this, poster] { poster.Post([this] { PumpEvents(); }); });
    task_ =
        std::make_unique<TScanTaskThread>(args_.registry, files_, args_.windowsVersion, *queue_);
    task_->CheckList() = args_.checkList;
    if (task_->CheckList().empty()) {
        // Nothing to run: the window closes again at once.
        EndScan(ScanOutcome::End::Finished, {});
        return;
    }
    task_->Start();
}

void TfrmRegProgressHint::OnTimer1() {
    const auto position = static_cast<int>(::SendMessageA(progressBar1_, PBM_GETPOS, 0, 0));
    ::SendMessageA(progressBar1_, PBM_SETPOS,
                   static_cast<WPARAM>(NextCreepPosition(kScanProgressCreep, position)), 0);
}

void TfrmRegProgressHint::PumpEvents() {
    if (done_ || !queue_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (pending_.empty() && !queue_->TaskWaiting() && now - lastDrain_ < kDrainInterval) {
        // Rows are taken a few dozen times a second, not one by one as they come: each hand-
        // over costs both threads a trip through the message queue. The queue stays non-empty
        // meanwhile, so the task posts nothing more.
        ScheduleContinue(std::chrono::duration_cast<std::chrono::milliseconds>(kDrainInterval -
                                                                               (now - lastDrain_)));
        return;
    }
    TakeQueued();
    ApplyBatch();
    if (done_)
        return;
    ShowRowsNowAndThen();
    // What came in since the queue was taken has notified anew (the queue was empty then);
    // only the rest of a batch too long for one message needs the timer.
    if (pending_.empty())
        CancelContinue();
    else
        ScheduleContinue(std::chrono::milliseconds(USER_TIMER_MINIMUM));
}

void TfrmRegProgressHint::TakeQueued() {
    if (!pending_.empty())
        return;
    for (ScanEvent& event : queue_->Drain())
        pending_.push_back(std::move(event));
    lastDrain_ = std::chrono::steady_clock::now();
}

void TfrmRegProgressHint::ScheduleContinue(std::chrono::milliseconds delay) {
    const auto milliseconds =
        static_cast<UINT>(std::max<long long>(delay.count(), USER_TIMER_MINIMUM));
    ::SetTimer(window_, kContinueTimer, milliseconds, nullptr);
    continueScheduled_ = true;
}

void TfrmRegProgressHint::CancelContinue() {
    if (!continueScheduled_)
        return;
    ::KillTimer(window_, kContinueTimer);
    continueScheduled_ = false;
}

void TfrmRegProgressHint::ShowRowsNowAndThen() {
    const auto now = std::chrono::steady_clock::now();
    const int shown = args_.results.ShownCount();
    const int waiting = args_.results.Count() - shown;
    if (waiting <= 0 || now - lastShown_ < kShowRowsInterval)
        return;
    if (waiting * 2 >= shown || now - lastShown_ >= kShowRowsLongest) {
        args_.results.ShowAppended();
        lastShown_ = now;
    }
}

void TfrmRegProgressHint::ApplyBatch() {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + kBatchBudget;
    std::vector<ScanIssue*> rows;
    size_t taken = 0;
    const auto flushRows = [&] {
        args_.results.MoveInQuietly(rows);
        rows.clear();
    };
    while (taken < pending_.size() && !done_) {
        ScanEvent& event = pending_[taken];
        ++taken;
        if (event.kind == ScanEvent::Kind::Row) {
            rows.push_back(&event.issue);
            if (rows.size() % kRowsBetweenClockReads == 0 && Clock::now() >= deadline)
                break;
            continue;
        }
        flushRows();
        ApplyEvent(event);
        if (Clock::now() >= deadline)
            break;
    }
    flushRows();
    if (done_) {
        // The scan has ended: what followed its last report is not applied.
        pending_.clear();
        return;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
}

void TfrmRegProgressHint::ApplyEvent(const ScanEvent& event) {
    switch (event.kind) {
        case ScanEvent::Kind::Caption:
            ::SetWindowTextA(lScanTask_, event.text.c_str());
            break;
        case ScanEvent::Kind::ProgressKey:
            ::SetWindowTextA(label1_, event.text.c_str());
            break;
        case ScanEvent::Kind::BeginCheck:
            ::SendMessageA(progressBar1_, PBM_SETPOS, 0, 0);
            ::SetTimer(window_, kTimer1, kTimer1Interval, nullptr);
            break;
        case ScanEvent::Kind::EndCheck:
            ::KillTimer(window_, kTimer1);
            ::SendMessageA(progressBar1_, PBM_SETPOS, kFullPosition, 0);
            break;
        case ScanEvent::Kind::Row:
            // Rows go into the list in batches (ApplyBatch), never one by one.
            break;
        case ScanEvent::Kind::Finished:
            EndScan(ScanOutcome::End::Finished, {});
            break;
        case ScanEvent::Kind::EndedEarly:
            EndScan(ScanOutcome::End::EndedEarly, event.text);
            break;
    }
}

void TfrmRegProgressHint::Stop() {
    if (done_)
        return;
    if (task_)
        task_->RequestStop();
    // Everything still waiting was found before the stop, so it is kept; nothing comes after.
    MoveRowsInto(args_.results, pending_);
    pending_.clear();
    EndScan(ScanOutcome::End::Stopped, {});
}

void TfrmRegProgressHint::EndScan(ScanOutcome::End end, std::string reason) {
    if (queue_) {
        std::vector<ScanEvent> rest = queue_->CloseAndDrain();
        MoveRowsInto(args_.results, rest);
    }
    args_.results.ShowAppended();
    if (window_ != nullptr) {
        ::KillTimer(window_, kTimer1);
        ::KillTimer(window_, kContinueTimer);
    }
    outcome_.end = end;
    outcome_.reason = std::move(reason);
    done_ = true;
}

}  // namespace vantrel
