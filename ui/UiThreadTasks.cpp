#include "ui/UiThreadTasks.h"

#include <deque>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "ui/ExceptionBarrier.h"
#include "ui/WindowClass.h"

namespace vantrel {
namespace {

constexpr const char* kClassName = "VantrelUiThreadTasks";
constexpr UINT kRunTasksMessage = WM_APP + 0x301;

void RegisterTaskWindowClass(WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterWindowClass(windowClass, "task window");
}

}  // namespace

struct UiThreadTasks::Poster::State {
    std::mutex mutex;
    std::deque<std::function<void()>> waiting;
    HWND window = nullptr;
    bool closed = false;
};

bool UiThreadTasks::Poster::Post(std::function<void()> task) const {
    HWND notify = nullptr;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->closed)
            return false;  // the task is destroyed here, on the posting thread
        if (state_->waiting.empty())
            notify = state_->window;
        state_->waiting.push_back(std::move(task));
    }
    if (notify != nullptr)
        ::PostMessageA(notify, kRunTasksMessage, 0, 0);
    return true;
}

UiThreadTasks::UiThreadTasks(Prompts* prompts)
    : state_(std::make_shared<Poster::State>()), prompts_(prompts) {
    RegisterTaskWindowClass(&UiThreadTasks::WindowProc);
    window_ = ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr)
        throw std::runtime_error("Cannot create the task window.");
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->window = window_;
}

UiThreadTasks::~UiThreadTasks() {
    Close();
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
}

void UiThreadTasks::RunWaiting() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        batch.swap(state_->waiting);
    }
    for (std::function<void()>& task : batch) {
        {
            // A task of this batch may have closed the tasks: the rest are dropped.
            std::lock_guard<std::mutex> lock(state_->mutex);
            if (state_->closed)
                return;
        }
        RunGuarded(prompts_, task);
    }
}

void UiThreadTasks::Close() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->closed = true;
    state_->window = nullptr;
    dropped.swap(state_->waiting);
}

LRESULT CALLBACK UiThreadTasks::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == kRunTasksMessage) {
        auto* self = reinterpret_cast<UiThreadTasks*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr)
            self->RunWaiting();
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vantrel
