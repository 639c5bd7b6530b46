#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "scan/ScanEventQueue.h"

namespace vantrel {
namespace {

using Kind = ScanEvent::Kind;

std::vector<Kind> KindsOf(const std::vector<ScanEvent>& events) {
    std::vector<Kind> kinds;
    for (const auto& event : events)
        kinds.push_back(event.kind);
    return kinds;
}

TEST(ScanEventQueue, KeepsTheOrderAndKeepsOnlyTheLatestOfConsecutiveKeys) {
    ScanEventQueue queue(nullptr);
    queue.SetCaptionLabel("Scanning Shared DLLs...");
    queue.ShowProgressKey("a");
    queue.ShowProgressKey("b");
    queue.AddScanIssue(ScanIssue{"p", "k1", "v", RepairKind::DeleteNamedValue});
    queue.ShowProgressKey("c");
    queue.AddScanIssue(ScanIssue{"p", "k2", "v", RepairKind::DeleteNamedValue});
    queue.ScanFinished();
    const auto events = queue.Drain();
    EXPECT_EQ(KindsOf(events), (std::vector<Kind>{Kind::Caption, Kind::ProgressKey, Kind::Row,
                                                  Kind::ProgressKey, Kind::Row, Kind::Finished}));
    EXPECT_EQ(events[1].text, "b");
    EXPECT_EQ(events[4].issue.keyText, "k2");
}

TEST(ScanEventQueue, NotifiesOncePerBatch) {
    int notifications = 0;
    ScanEventQueue queue([&] { ++notifications; });
    for (int i = 0; i < 100; ++i)
        queue.AddScanIssue(ScanIssue{});
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(queue.Drain().size(), 100u);
    queue.AddScanIssue(ScanIssue{});
    EXPECT_EQ(notifications, 2);
}

TEST(ScanEventQueue, AProgressStepWaitsUntilTheUiThreadTookIt) {
    // The step notifies even behind rows, and says the task waits, so a UI thread that takes
    // rows at its own pace takes the queue at once.
    std::atomic<int> notifications{0};
    ScanEventQueue queue([&] { ++notifications; });
    queue.AddScanIssue(ScanIssue{});
    EXPECT_FALSE(queue.TaskWaiting());
    std::atomic<bool> returned{false};
    std::thread task([&] {
        queue.BeginCheckProgress();
        returned = true;
    });
    while (!queue.TaskWaiting())
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(notifications.load(), 2);
    const std::vector<ScanEvent> events = queue.Drain();
    task.join();
    EXPECT_TRUE(returned.load());
    EXPECT_FALSE(queue.TaskWaiting());
    EXPECT_EQ(KindsOf(events), (std::vector<Kind>{Kind::Row, Kind::BeginCheck}));
}

TEST(ScanEventQueue, ClosingReleasesAWaitingTaskAndDropsEverythingAfter) {
    ScanEventQueue queue(nullptr);
    queue.AddScanIssue(ScanIssue{"p", "before", "v", RepairKind::DeleteKey});
    std::thread task([&] {
        queue.EndCheckProgress();  // waits: nobody drains
        queue.AddScanIssue(ScanIssue{"p", "after", "v", RepairKind::DeleteKey});
    });
    // Closed while the task waits for its step (or is about to), never before it queued it.
    while (!queue.TaskWaiting())
        std::this_thread::yield();
    const auto remaining = queue.CloseAndDrain();
    task.join();
    ASSERT_FALSE(remaining.empty());
    EXPECT_EQ(remaining.front().issue.keyText, "before");
    for (const auto& event : remaining)
        EXPECT_NE(event.issue.keyText, "after");
    EXPECT_TRUE(queue.Closed());
    EXPECT_TRUE(queue.Drain().empty());
}

}  // namespace
}  // namespace vantrel
