#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/Prompts.h"

namespace vantrel {

// Hands work from any thread to the user-interface thread that made this object. Posted tasks
// run there, in the order they were posted, from that thread's message loop: a hidden
// message-only window gets one message per batch, however fast tasks come. After Close (or the
// end of this object) nothing more runs: the tasks still waiting and those posted later are
// dropped where they are, so what they carry is freed even when the window that posted them is
// gone. An error a task raises is shown through the prompts and the next task still runs.
class UiThreadTasks {
  public:
    // Any thread may post through a poster, also after this object has ended.
    class Poster {
      public:
        // False when the tasks are closed: `task` was dropped.
        bool Post(std::function<void()> task) const;

      private:
        friend class UiThreadTasks;
        struct State;
        explicit Poster(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };

    explicit UiThreadTasks(Prompts* prompts);
    ~UiThreadTasks();
    UiThreadTasks(const UiThreadTasks&) = delete;
    UiThreadTasks& operator=(const UiThreadTasks&) = delete;

    Poster MakePoster() const { return Poster(state_); }
    bool Post(std::function<void()> task) const { return MakePoster().Post(std::move(task)); }

    // UI thread: runs every task waiting now, in order.
    void RunWaiting();
    // UI thread: drops what is waiting and everything posted from now on.
    void Close();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::shared_ptr<Poster::State> state_;
    Prompts* prompts_;
    HWND window_ = nullptr;
};

}  // namespace vantrel
