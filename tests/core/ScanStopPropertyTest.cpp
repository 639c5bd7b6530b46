// Stop anywhere: scans of a large memory registry stopped after a random number of registry
// calls, over thousands of seeds. Whatever the point, nothing reaches the sink after the stop
// request, what reached it before is exactly the start of what the whole scan reports (so every
// row is complete), and the task ends within a few registry calls of the request.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "scan/CheckTable.h"
#include "scan/ScanEventQueue.h"
#include "scan/ScanTaskThread.h"
#include "tests/core/DemoRegistry.h"

namespace vantrel {
namespace {

constexpr int kDemoCopies = 6;
constexpr int kBulkKeys = 1500;
// The checks look at the stop request between registry entries; one entry costs a few calls.
constexpr size_t kMaxCallsAfterStop = 8;

// Seeds per test, by build: the optimised build scans fastest, the debug build with its
// sanitizers several times slower, the thread sanitizer's build slower still (there the
// threads matter more than the count). VANTREL_STOP_SEEDS asks for another number.
struct Seeds {
    int optimised;
    int debug;
    int threadSanitizer;
};

int SeedCount(const Seeds& seeds) {
    if (const char* asked = std::getenv("VANTREL_STOP_SEEDS"))
        return std::max(1, std::atoi(asked));
#if defined(VANTREL_FEW_SEEDS)
    return seeds.threadSanitizer;
#elif defined(NDEBUG)
    return seeds.optimised;
#else
    return seeds.debug;
#endif
}

// Keys that every walk of the current user's hive visits, with values of every kind: most
// name no file (cheap to judge), every tenth a missing program.
void AddBulkKeys(MemoryRegistry& registry) {
    for (int key = 0; key < kBulkKeys; ++key) {
        const std::string path = "Software\\VantrelBulk\\Group" + std::to_string(key / 50) +
                                 "\\Item" + std::to_string(key);
        registry.SetString(RootKey::CurrentUser, path, "Title", "Setting " + std::to_string(key));
        registry.SetDword(RootKey::CurrentUser, path, "Size", static_cast<uint32_t>(key));
        registry.SetValue(RootKey::CurrentUser, path, "Blob", regtype::kBinary, {1, 2, 3});
        if (key % 10 == 0) {
            registry.SetString(RootKey::CurrentUser, path, "Program",
                               "C:\\Bulk\\gone" + std::to_string(key) + ".exe");
        }
    }
}

std::string RowText(const ScanIssue& row) {
    return "row " + row.problem + "|" + row.keyText + "|" + row.valueText + "|" +
           std::to_string(static_cast<int>(row.kind));
}

// Records what a scan reports as text, and counts what came after the stop request.
class StopWatchingSink : public ScanSink {
  public:
    void BeginCheckProgress() override { Record("begin"); }
    void EndCheckProgress() override { Record("end"); }
    void SetCaptionLabel(const std::string& text) override { Record("caption " + text); }
    void ShowProgressKey(const std::string& text) override { Record("key " + text); }
    void AddScanIssue(const ScanIssue& issue) override { Record(RowText(issue)); }
    void ScanEndedEarly(const std::string& reason) override { Record("ended early " + reason); }
    void ScanFinished() override { Record("finished"); }

    const TScanTaskThread* task = nullptr;
    std::vector<std::string> events;
    std::vector<std::string> afterStop;

  private:
    void Record(std::string event) {
        (task != nullptr && task->StopRequested() ? afterStop : events).push_back(std::move(event));
    }
};

bool IsPrefixOf(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

// One large registry for the whole suite: building it costs more than a scan of it.
class ScanStopProperty : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        registry_ = std::make_unique<MemoryRegistry>();
        files_ = std::make_unique<MemoryFileSystem>();
        test::LoadDemoCopies(*registry_, *files_, kDemoCopies);
        AddBulkKeys(*registry_);
        StopWatchingSink sink;
        const size_t before = registry_->CallCount();
        TScanTaskThread task(*registry_, *files_, WindowsVersion::Nt52OrLater, sink);
        task.CheckList() = CheckIdsInTreeOrder();
        task.Execute();
        wholeScan_ = new std::vector<std::string>(std::move(sink.events));
        wholeScanCalls_ = registry_->CallCount() - before;
    }
    static void TearDownTestSuite() {
        delete wholeScan_;
        wholeScan_ = nullptr;
        files_.reset();
        registry_.reset();
    }

    static std::unique_ptr<MemoryRegistry> registry_;
    static std::unique_ptr<MemoryFileSystem> files_;
    static std::vector<std::string>* wholeScan_;
    static size_t wholeScanCalls_;
};

std::unique_ptr<MemoryRegistry> ScanStopProperty::registry_;
std::unique_ptr<MemoryFileSystem> ScanStopProperty::files_;
std::vector<std::string>* ScanStopProperty::wholeScan_ = nullptr;
size_t ScanStopProperty::wholeScanCalls_ = 0;

TEST_F(ScanStopProperty, TheWholeScanIsLargeAndReportsRowsOfManyChecks) {
    const auto rows = std::count_if(wholeScan_->begin(), wholeScan_->end(),
                                    [](const std::string& e) { return e.rfind("row ", 0) == 0; });
    EXPECT_GT(rows, 25 * kDemoCopies + kBulkKeys / 10);
    EXPECT_GT(wholeScanCalls_, 10000u);
    RecordProperty("WholeScanCalls", static_cast<int>(wholeScanCalls_));
    RecordProperty("WholeScanRows", static_cast<int>(rows));
    EXPECT_EQ(wholeScan_->back(), "finished");
}

TEST_F(ScanStopProperty, StoppedAfterAnyNumberOfCallsReportsOnlyAStartOfTheWholeScan) {
    const int seeds = SeedCount({3000, 300, 50});
    size_t mostCallsAfterStop = 0;
    for (int seed = 0; seed < seeds; ++seed) {
        std::mt19937 random(static_cast<unsigned>(seed));
        // A few stops fall past the end: those scans must report the whole scan.
        const size_t stopAt = std::uniform_int_distribution<size_t>(
            1, wholeScanCalls_ + wholeScanCalls_ / 50)(random);
        StopWatchingSink sink;
        TScanTaskThread task(*registry_, *files_, WindowsVersion::Nt52OrLater, sink);
        task.CheckList() = CheckIdsInTreeOrder();
        sink.task = &task;
        size_t calls = 0;
        size_t callsAtStop = 0;
        registry_->SetCallObserver([&](RegistryCall) {
            if (++calls == stopAt) {
                task.RequestStop();
                callsAtStop = calls;
            }
        });
        task.Execute();
        registry_->SetCallObserver(nullptr);

        SCOPED_TRACE("seed " + std::to_string(seed) + ", stop at call " + std::to_string(stopAt));
        EXPECT_TRUE(sink.afterStop.empty()) << "first report after the stop: " << sink.afterStop[0];
        ASSERT_TRUE(IsPrefixOf(sink.events, *wholeScan_))
            << "the reports before the stop differ from the whole scan's";
        if (callsAtStop == 0) {
            EXPECT_EQ(sink.events, *wholeScan_) << "a scan that was not stopped";
            continue;
        }
        EXPECT_NE(sink.events.size(), wholeScan_->size()) << "a stopped scan never finishes";
        const size_t callsAfterStop = calls - callsAtStop;
        mostCallsAfterStop = std::max(mostCallsAfterStop, callsAfterStop);
        EXPECT_LE(callsAfterStop, kMaxCallsAfterStop);
    }
    RecordProperty("MostCallsAfterStop", static_cast<int>(mostCallsAfterStop));
}

// The window's way: the task reports into the event queue on its own thread, and the UI
// thread takes batches when notified and stops after a random number of rows. What the UI
// thread took, up to and with the rest it takes when it closes the queue, is the start of the
// whole scan; after the close nothing comes.
TEST_F(ScanStopProperty, AStopFromTheUiThreadKeepsWhatWasTakenAndTakesNothingAfter) {
    const int seeds = SeedCount({300, 60, 40});
    // The queue keeps only the last of consecutive key labels, so the labels are left out.
    std::vector<std::string> whole;
    std::copy_if(wholeScan_->begin(), wholeScan_->end(), std::back_inserter(whole),
                 [](const std::string& e) { return e.rfind("key ", 0) != 0; });
    const auto wholeRows = static_cast<long>(std::count_if(
        whole.begin(), whole.end(), [](const std::string& e) { return e.rfind("row ", 0) == 0; }));

    for (int seed = 0; seed < seeds; ++seed) {
        std::mt19937 random(static_cast<unsigned>(seed));
        const long stopAfterRows = std::uniform_int_distribution<long>(0, wholeRows + 5)(random);
        std::mutex mutex;
        std::condition_variable notified;
        size_t notifications = 0;
        ScanEventQueue queue([&] {
            std::lock_guard<std::mutex> lock(mutex);
            ++notifications;
            notified.notify_one();
        });
        std::atomic<bool> stopRequested{false};
        std::atomic<size_t> callsAfterStop{0};
        registry_->SetCallObserver([&](RegistryCall) {
            if (stopRequested.load())
                ++callsAfterStop;
        });
        TScanTaskThread task(*registry_, *files_, WindowsVersion::Nt52OrLater, queue);
        task.CheckList() = CheckIdsInTreeOrder();
        task.Start();

        std::vector<std::string> taken;
        long rows = 0;
        bool finished = false;
        const auto take = [&](std::vector<ScanEvent> events) {
            for (const ScanEvent& event : events) {
                switch (event.kind) {
                    case ScanEvent::Kind::BeginCheck:
                        taken.push_back("begin");
                        break;
                    case ScanEvent::Kind::EndCheck:
                        taken.push_back("end");
                        break;
                    case ScanEvent::Kind::Caption:
                        taken.push_back("caption " + event.text);
                        break;
                    case ScanEvent::Kind::ProgressKey:
                        break;
                    case ScanEvent::Kind::Row:
                        taken.push_back(RowText(event.issue));
                        ++rows;
                        break;
                    case ScanEvent::Kind::EndedEarly:
                        taken.push_back("ended early " + event.text);
                        finished = true;
                        break;
                    case ScanEvent::Kind::Finished:
                        taken.push_back("finished");
                        finished = true;
                        break;
                }
            }
        };
        while (!finished) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                notified.wait(lock, [&] { return notifications > 0; });
                notifications = 0;
            }
            take(queue.Drain());
            if (!finished && rows >= stopAfterRows) {
                stopRequested = true;
                task.RequestStop();
                take(queue.CloseAndDrain());
                break;
            }
        }
        task.Wait();
        registry_->SetCallObserver(nullptr);

        SCOPED_TRACE("seed " + std::to_string(seed) + ", stop after " +
                     std::to_string(stopAfterRows) + " rows");
        EXPECT_TRUE(IsPrefixOf(taken, whole)) << "what the UI thread took differs from the scan";
        EXPECT_TRUE(queue.Drain().empty()) << "nothing is taken after the close";
        EXPECT_LE(callsAfterStop.load(), kMaxCallsAfterStop + 1);
    }
}

}  // namespace
}  // namespace vantrel
