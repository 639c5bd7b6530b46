// Repairing to a fixed point: what one repair leaves orphaned, the next round finds and repairs.
#include <gtest/gtest.h>

#include "platform/memory/MemoryBackupFile.h"
#include "repair/Repair.h"
#include "repair/RepairRounds.h"
#include "scan/ScanTaskThread.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::kFilesAndFoldersCurrentUser;
using checktest::kObsoleteSoftware;

constexpr const char* kBackup = "C:\\Backup\\Backup20261209070000.reg";

class RepairRoundsTest : public ::testing::Test, protected checktest::CheckFixture {
  protected:
    std::vector<ScanIssue> Scan(const std::vector<std::string>& checks) {
        test::RecordingSink found;
        TScanTaskThread task(registry, files, WindowsVersion::Nt52OrLater, found);
        task.CheckList() = checks;
        task.Execute();
        return found.Issues();
    }

    std::vector<ScanIssue> Repair(const std::vector<ScanIssue>& issues) {
        std::vector<RepairRow> rows;
        for (const ScanIssue& issue : issues)
            rows.push_back({issue, true});
        RepairTally tally;
        RepairRows(RepairContext{registry, files, backup, kBackup}, rows, nullptr, tally);
        std::vector<ScanIssue> removed;
        for (const size_t index : tally.removed)
            removed.push_back(issues[index]);
        return removed;
    }

    MemoryBackupFile backup;
};

// A vendor key whose one value names a missing file: repairing the value empties the key, which
// only a second round can report.
TEST_F(RepairRoundsTest, RepairsWhatTheRepairOrphanedIntoTheSameBackup) {
    Load(R"([HKEY_CURRENT_USER\Software\OldVendor\App]
"Path"="C:\\Gone\\app.exe"
)");
    const std::vector<std::string> checks = {kFilesAndFoldersCurrentUser.Text(),
                                             kObsoleteSoftware.Text()};
    std::vector<std::vector<std::string>> rescans;
    const RepairRoundsResult result = RepairToFixedPoint(
        checks, Scan(checks),
        [&](const std::vector<std::string>& again) {
            rescans.push_back(again);
            return Scan(again);
        },
        [&](const std::vector<ScanIssue>& rows) { return Repair(rows); });

    EXPECT_EQ(result.rounds, 2);
    EXPECT_TRUE(result.fixedPoint);
    EXPECT_EQ(rescans, (std::vector<std::vector<std::string>>{checks, {checks[1]}}));
    EXPECT_TRUE(Scan(checks).empty());
    EXPECT_FALSE(registry.HasKey(RootKey::CurrentUser, "Software\\OldVendor"));
    // Both rounds' blocks, under one header.
    const std::string text = backup.Contents(kBackup).value_or("");
    EXPECT_NE(text.find("\"Path\""), std::string::npos);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\OldVendor]"), std::string::npos);
    EXPECT_EQ(text.find("REGEDIT4", 1), std::string::npos);
}

TEST(RepeatedRows, OnlyNewRowsThatRepeatAnEarlierOneAreDropped) {
    const ScanIssue a("P", "K\\a", "", RepairKind::DeleteKey);
    const ScanIssue b("P", "K\\b", "", RepairKind::DeleteKey);
    const ScanIssue c("P", "K\\c", "", RepairKind::DeleteKey);
    EXPECT_EQ(RepeatedRowsLastFirst({a, b, a, c, b, c}, 2), (std::vector<size_t>{5, 4, 2}));
    EXPECT_EQ(RepeatedRowsLastFirst({a, a, b}, 3), std::vector<size_t>{});
}

}  // namespace
}  // namespace vantrel
