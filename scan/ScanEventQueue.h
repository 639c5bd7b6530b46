#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "scan/ScanIssue.h"
#include "scan/ScanSink.h"

namespace vantrel {

struct ScanEvent {
    enum class Kind { BeginCheck, EndCheck, Caption, ProgressKey, Row, EndedEarly, Finished };
    Kind kind;
    std::string text;  // caption, key label or the reason of an early end
    ScanIssue issue;   // for Row
};

// Hands a scan's reports from the scan task to the UI thread in the order they were made.
//
// The task's side (the ScanSink operations) queues events and calls `notify` when the queue
// turns non-empty, so the UI thread gets one posted message per batch however fast rows come.
// The progress steps wait until the UI thread has taken them. Close() ends the hand-over:
// nothing is queued afterwards and a task waiting for a progress step goes on at once, so the
// task never touches a window that has gone.
class ScanEventQueue : public ScanSink {
  public:
    explicit ScanEventQueue(std::function<void()> notify);

    void BeginCheckProgress() override;
    void EndCheckProgress() override;
    void SetCaptionLabel(const std::string& text) override;
    void ShowProgressKey(const std::string& text) override;
    void AddScanIssue(const ScanIssue& issue) override;
    void AddScanIssue(ScanIssue&& issue) override;
    void ScanEndedEarly(const std::string& reason) override;
    void ScanFinished() override;

    // UI thread: everything queued so far, in order.
    std::vector<ScanEvent> Drain();
    // UI thread: what is still queued, and no more events from now on.
    std::vector<ScanEvent> CloseAndDrain();
    bool Closed() const;
    // UI thread: whether the task waits for a progress step it queued (the UI thread then
    // takes the queue at once rather than at its own pace).
    bool TaskWaiting() const;

  private:
    // Queues the event; false when the queue is closed.
    bool Push(ScanEvent event);
    // Queues a progress step and waits until the UI thread has taken it (or the queue closed).
    void PushAndWait(ScanEvent::Kind kind);

    std::function<void()> notify_;
    mutable std::mutex mutex_;
    std::condition_variable taken_;
    std::vector<ScanEvent> events_;
    uint64_t pushed_ = 0;     // events queued so far
    uint64_t drained_ = 0;    // events taken by the UI thread so far
    uint64_t waitedFor_ = 0;  // the number of the last progress step queued (counting from 1)
    bool closed_ = false;
};

}  // namespace vantrel
