#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "scan/ScanContext.h"
#include "scan/ScanTaskThread.h"
#include "tests/core/CheckTestFixture.h"
#include "tests/core/RecordingSink.h"

namespace vantrel {
namespace {

using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

class ScanTaskTest : public ::testing::Test {
  protected:
    ScanTaskTest() {
        files.AddDrive('c', drivetype::kFixed);
        files.AddDrive('d', drivetype::kCdRom);
        files.AddDrive('e', drivetype::kFixed);
    }

    void AddMissingSharedDll(const std::string& name) {
        registry.SetDword(RootKey::LocalMachine, kSharedDlls, name, 1);
    }

    std::vector<std::string> Run(std::vector<std::string> checks) {
        TScanTaskThread task(registry, files, WindowsVersion::Nt52OrLater, sink);
        task.CheckList() = std::move(checks);
        task.Execute();
        return sink.Events();
    }

    MemoryRegistry registry;
    MemoryFileSystem files;
    RecordingSink sink;
};

TEST_F(ScanTaskTest, FixedDriveLettersAreTheFixedDisksFromCToZ) {
    files.AddDrive('a', drivetype::kFixed);  // never asked
    files.AddDrive('z', drivetype::kFixed);
    TScanTaskThread task(registry, files, WindowsVersion::Nt52OrLater, sink);
    EXPECT_EQ(task.FixedDriveLetters(), "cez");
}

TEST_F(ScanTaskTest, EmptyListOnlyFinishes) {
    EXPECT_THAT(Run({}), ElementsAre("finished"));
}

TEST_F(ScanTaskTest, EntriesThatAreNoCheckStillGetBothProgressSteps) {
    EXPECT_THAT(Run({"2", "x", "23", ""}), ElementsAre("begin", "end", "begin", "end", "begin",
                                                       "end", "begin", "end", "finished"));
}

TEST_F(ScanTaskTest, RunsEachCheckBetweenItsProgressSteps) {
    AddMissingSharedDll("C:\\gone.dll");
    EXPECT_THAT(
        Run({"9"}),
        ElementsAre("begin", "caption " + checktest::ProgressCaptionOf(checktest::kSharedDlls),
                    std::string("key ") + kSharedDlls,
                    "row HKEY_LOCAL_MACHINE\\" + std::string(kSharedDlls), "end", "finished"));
}

TEST_F(ScanTaskTest, AnUncaughtErrorEndsTheScanAndSaysWhy) {
    // A help key value that cannot be read as text; the walk of Shared DLLs before it keeps
    // its row, the check after it does not run.
    AddMissingSharedDll("C:\\gone.dll");
    const char* helpKey = "Software\\Microsoft\\Windows\\Help";
    registry.SetString(RootKey::LocalMachine, helpKey, "broken.hlp", "C:\\Help");
    registry.FailRead(RootKey::LocalMachine, helpKey, "broken.hlp");
    const auto events = Run({"9", "8", "6"});
    ASSERT_EQ(sink.Issues().size(), 1u);
    EXPECT_THAT(events.back(), HasSubstr("ended early: Failed to get data for 'broken.hlp'"));
    EXPECT_EQ(std::count(events.begin(), events.end(), "finished"), 0);
    EXPECT_EQ(std::count(events.begin(), events.end(),
                         "caption " + checktest::ProgressCaptionOf(checktest::kSoftwareLocations)),
              0);
}

TEST_F(ScanTaskTest, StopRequestedBeforeTheStartReportsNothing) {
    AddMissingSharedDll("C:\\gone.dll");
    TScanTaskThread task(registry, files, WindowsVersion::Nt52OrLater, sink);
    task.CheckList() = {"9", "9"};
    task.RequestStop();
    task.Execute();
    EXPECT_TRUE(sink.Events().empty());
}

// Reports through another sink and asks the task to stop after the first row.
class StopAfterFirstRow : public RecordingSink {
  public:
    void AddScanIssue(const ScanIssue& issue) override {
        RecordingSink::AddScanIssue(issue);
        if (task != nullptr)
            task->RequestStop();
    }
    TScanTaskThread* task = nullptr;
};

TEST_F(ScanTaskTest, StopDuringACheckDeliversNothingAfterIt) {
    for (int i = 0; i < 50; ++i)
        AddMissingSharedDll("C:\\gone" + std::to_string(i) + ".dll");
    StopAfterFirstRow stopping;
    TScanTaskThread task(registry, files, WindowsVersion::Nt52OrLater, stopping);
    stopping.task = &task;
    task.CheckList() = {"9", "9", "9"};
    task.Start();
    task.Wait();
    const auto events = stopping.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "row HKEY_LOCAL_MACHINE\\" + std::string(kSharedDlls));
    EXPECT_EQ(stopping.Issues().size(), 1u);
}

struct ProgressKeyCase {
    const char* name;
    size_t length;
    std::string expected;
};

TEST(BreakProgressKey, BreaksBeforeThe53rdCharacterOfALongerText) {
    const std::string text(60, 'k');
    const ProgressKeyCase cases[] = {
        {"empty", 0, ""},
        {"53 characters on one line", 53, std::string(53, 'k')},
        {"54 characters: 52, a break, 2", 54, std::string(52, 'k') + "\r\n" + "kk"},
        {"60 characters: one break only", 60, std::string(52, 'k') + "\r\n" + std::string(8, 'k')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakProgressKey(text.substr(0, c.length)), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace vantrel
