#include "scan/ScanEventQueue.h"

#include <utility>

namespace vantrel {

ScanEventQueue::ScanEventQueue(std::function<void()> notify) : notify_(std::move(notify)) {}

bool ScanEventQueue::Push(ScanEvent event) {
    bool wasEmpty = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_)
            return false;
        // Only the latest key matters to the label; keys can come thousands a second.
        if (event.kind == ScanEvent::Kind::ProgressKey && !events_.empty() &&
            events_.back().kind == ScanEvent::Kind::ProgressKey) {
            events_.back().text = std::move(event.text);
            return true;
        }
        wasEmpty = events_.empty();
        events_.push_back(std::move(event));
        ++pushed_;
    }
    if (wasEmpty && notify_)
        notify_();
    return true;
}

void ScanEventQueue::PushAndWait(ScanEvent::Kind kind) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_)
        return;
    events_.push_back(ScanEvent{kind, {}, {}});
    const uint64_t mine = ++pushed_;
    waitedFor_ = mine;
    lock.unlock();
    // Always: the UI thread may be holding back while events wait.
    if (notify_)
        notify_();
    lock.lock();
    taken_.wait(lock, [&] { return closed_ || drained_ >= mine; });
}

void ScanEventQueue::BeginCheckProgress() {
    PushAndWait(ScanEvent::Kind::BeginCheck);
}

void ScanEventQueue::EndCheckProgress() {
    PushAndWait(ScanEvent::Kind::EndCheck);
}

void ScanEventQueue::SetCaptionLabel(const std::string& text) {
    Push(ScanEvent{ScanEvent::Kind::Caption, text, {}});
}

void ScanEventQueue::ShowProgressKey(const std::string& text) {
    Push(ScanEvent{ScanEvent::Kind::ProgressKey, text, {}});
}

void ScanEventQueue::AddScanIssue(const ScanIssue& issue) {
    Push(ScanEvent{ScanEvent::Kind::Row, {}, issue});
}

void ScanEventQueue::AddScanIssue(ScanIssue&& issue) {
    Push(ScanEvent{ScanEvent::Kind::Row, {}, std::move(issue)});
}

void ScanEventQueue::ScanEndedEarly(const std::string& reason) {
    Push(ScanEvent{ScanEvent::Kind::EndedEarly, reason, {}});
}

void ScanEventQueue::ScanFinished() {
    Push(ScanEvent{ScanEvent::Kind::Finished, {}, {}});
}

std::vector<ScanEvent> ScanEventQueue::Drain() {
    std::vector<ScanEvent> taken;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        taken.swap(events_);
        drained_ = pushed_;
    }
    taken_.notify_all();
    return taken;
}

std::vector<ScanEvent> ScanEventQueue::CloseAndDrain() {
    std::vector<ScanEvent> taken;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        taken.swap(events_);
        drained_ = pushed_;
        closed_ = true;
    }
    taken_.notify_all();
    return taken;
}

bool ScanEventQueue::TaskWaiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waitedFor_ > drained_;
}

bool ScanEventQueue::Closed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

}  // namespace vantrel
