#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scan/CheckTable.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using ::testing::ElementsAre;

TEST(CheckTable, HoldsTwentyChecksNumberedThreeToTwentyTwoOnce) {
    std::set<int> ids;
    for (const CategoryNode* check : ChecksInIdOrder()) {
        SCOPED_TRACE(check->treeCaption);
        EXPECT_TRUE(ids.insert(check->Id().Number()).second);
        EXPECT_NE(check->problemCaption, nullptr);
    }
    ASSERT_EQ(ids.size(), 20u);
    EXPECT_EQ(*ids.begin(), 3);
    EXPECT_EQ(*ids.rbegin(), 22);
}

// The tree: the root, then "Files and Folders" holding the three hive walks, then the rest.
TEST(CheckTable, TheTreeOrderNestsTheHiveWalksUnderFilesAndFolders) {
    const auto& table = CategoryTable();
    ASSERT_GE(table.size(), 5u);
    EXPECT_EQ(table[0].level, 0);
    EXPECT_FALSE(table[0].IsCheck());
    EXPECT_STREQ(table[1].treeCaption, "Files and Folders");
    EXPECT_FALSE(table[1].IsCheck());
    for (size_t i = 2; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].treeCaption);
        EXPECT_EQ(table[i].level, i < 5 ? 2 : 1);
        EXPECT_TRUE(table[i].IsCheck());
    }
    EXPECT_STREQ(GroupCaptionOf(CheckId(4)), "Files and Folders");
    EXPECT_EQ(GroupCaptionOf(CheckId(16)), nullptr);
    EXPECT_EQ(CheckIdsInTreeOrder().front(), "3");
    EXPECT_EQ(CheckIdsInTreeOrder().size(), 20u);
}

TEST(CheckTable, ParsesOnlyTheDecimalTextOfACheck) {
    struct Case {
        const char* text;
        int parsed;  // 0: not a check
    };
    const Case cases[] = {{"3", 3},  {"22", 22}, {"14", 14}, {"2", 0},   {"23", 0},
                          {"1", 0},  {"", 0},    {" 3", 0},  {"3 ", 0},  {"+3", 0},
                          {"03", 3}, {"3a", 0},  {"-3", 0},  {"0x3", 0}, {"99999999999", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto id = ParseCheckId(c.text);
        if (c.parsed == 0) {
            EXPECT_FALSE(id.has_value());
        } else {
            ASSERT_TRUE(id.has_value());
            EXPECT_EQ(id->Number(), c.parsed);
        }
    }
}

// Each check begins with its own caption on the label; the Applications check keeps the label
// of the check before it, and an id without a check reports nothing.
TEST(CheckTable, RunCheckShowsTheProgressCaptionBeforeTheCheckRuns) {
    checktest::CheckFixture fixture;
    fixture.Run(CheckId(14));
    fixture.Run(CheckId(22));
    fixture.Run(CheckId(2));
    EXPECT_THAT(
        fixture.sink.Events(),
        ElementsAre("caption " + checktest::ProgressCaptionOf(checktest::kSoftwareLocations)));
}

}  // namespace
}  // namespace vantrel
