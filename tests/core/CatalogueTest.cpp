#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantrel
