#pragma once

// Drives modal dialogs from a test: the steps run from a timer on the test's own thread while
// the dialogs' modal loops pump its messages. A step that opens another modal dialog (a button
// press sent to a dialog) blocks inside that dialog's loop, and the next steps run from there.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/win32/MainWindowDriver.h"

namespace vantrel::test {

// The first top-level window of this thread that `matches`, if any.
inline HWND FindOwnWindow(const std::function<bool(HWND)>& matches) {
    struct Search {
        const std::function<bool(HWND)>& matches;
        HWND found;
    } search{matches, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (!s.matches(window))
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string ClassNameOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The visible, enabled dialog of this thread with this caption (and, when `control` is not 0,
// with a control of that identifier), if any. Window tests of other processes may show dialogs
// on the same display; a dialog below a modal one is disabled.
inline HWND FindOwnDialog(const std::string& caption, int control = 0) {
    return FindOwnWindow([&](HWND window) {
        char text[256] = {};
        ::GetWindowTextA(window, text, sizeof text);
        return ClassNameOf(window) == "#32770" && caption == text && ::IsWindowVisible(window) &&
               ::IsWindowEnabled(window) &&
               (control == 0 || ::GetDlgItem(window, control) != nullptr);
    });
}

// The active dialog of this thread: the enabled one (a dialog below a modal one is disabled).
inline HWND FindActiveOwnDialog() {
    return FindOwnWindow(
        [](HWND window) { return ClassNameOf(window) == "#32770" && ::IsWindowEnabled(window); });
}

// The visible window of this thread of that window class (the scan window), if any.
inline HWND FindOwnWindowOfClass(const char* className) {
    return FindOwnWindow(
        [&](HWND window) { return ClassNameOf(window) == className && ::IsWindowVisible(window); });
}

inline std::string ControlText(HWND dialog, int id) {
    char text[1024] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// As the user clicks a button: BN_CLICKED from the button to its dialog.
inline void Click(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// As the user types into an edit control: the whole text replaced (EN_CHANGE follows).
inline void Type(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextA(dialog, id, text.c_str());
}

class ModalScript {
  public:
    // A step waits until it is ready, polled at every tick, and then acts once; the action may
    // block in a modal loop, from which the next steps run.
    struct Step {
        std::function<bool()> ready;
        std::function<void()> action;
        bool afterEarlierActions = false;  // also waits until no earlier action is still running
    };
    // Acts once every earlier action has returned (a button press whose dialog has closed and
    // whose handler has finished).
    static Step Do(std::function<void()> action) {
        return {[] { return true; }, std::move(action), true};
    }
    static Step WaitUntil(std::function<bool()> condition) {
        return {std::move(condition), [] {}};
    }
    // Waits for the dialog of this caption (with that control, when not 0) and hands it to
    // `action`, also while an earlier action is blocked in that dialog's loop.
    static Step OnDialog(const std::string& caption, std::function<void(HWND)> action,
                         int control = 0) {
        auto found = std::make_shared<HWND>(nullptr);
        return {[caption, control, found] {
                    *found = FindOwnDialog(caption, control);
                    return *found != nullptr;
                },
                [found, action = std::move(action)] { action(*found); }};
    }

    explicit ModalScript(std::vector<Step> steps,
                         std::chrono::seconds patience = std::chrono::seconds(60))
        : steps_(std::move(steps)),
          deadline_(std::chrono::steady_clock::now() + patience),
          timer_(10, [this] { Tick(); }) {}

    // Every step has acted and returned.
    bool Finished() const { return next_ == steps_.size() && running_ == 0 && !gaveUp_; }

  private:
    void Tick() {
        if (std::chrono::steady_clock::now() > deadline_) {
            // A step that never came ready: end the dialogs rather than hang the test run.
            if (!gaveUp_)
                ADD_FAILURE() << "the script waited in vain at step " << next_;
            gaveUp_ = true;
            if (const HWND dialog = FindActiveOwnDialog())
                ::EndDialog(dialog, IDCANCEL);
            return;
        }
        if (next_ >= steps_.size() || inReady_)
            return;
        Step& step = steps_[next_];
        if (step.afterEarlierActions && running_ > 0)
            return;
        inReady_ = true;
        const bool ready = step.ready();
        inReady_ = false;
        if (!ready)
            return;
        // Moved on before it acts: what the action blocks in runs the next steps.
        ++next_;
        ++running_;
        step.action();
        --running_;
    }

    std::vector<Step> steps_;
    std::chrono::steady_clock::time_point deadline_;
    size_t next_ = 0;
    int running_ = 0;
    bool inReady_ = false;
    bool gaveUp_ = false;
    RepeatingTimer timer_;
};

}  // namespace vantrel::test
