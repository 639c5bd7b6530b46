#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "scan/CategoryNodes.h"
#include "scan/CheckCatalogue.h"

namespace vantrel {
namespace {

TEST(CheckCatalogue, HoldsTwentyChecksInIdOrder) {
    const auto& catalogue = CheckCatalogue();
    ASSERT_EQ(catalogue.size(), 20u);
    for (size_t i = 0; i < catalogue.size(); ++i) {
        EXPECT_EQ(catalogue[i].id, static_cast<CheckId>(i) + kFirstCheckId);
    }
}

// The console's default scan runs what the window's fully ticked tree runs: every check once.
TEST(CheckCatalogue, TheTreeOrderNamesEveryCheckOnce) {
    std::vector<std::string> ids = CheckIdsInTreeOrder();
    EXPECT_EQ(ids.front(), "3");
    std::vector<std::string> catalogue;
    for (const CheckInfo& check : CheckCatalogue())
        catalogue.push_back(std::to_string(check.id));
    std::sort(ids.begin(), ids.end());
    std::sort(catalogue.begin(), catalogue.end());
    EXPECT_EQ(ids, catalogue);
}

}  // namespace
}  // namespace vantrel
