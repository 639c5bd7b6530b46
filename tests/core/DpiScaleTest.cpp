// Pixel sizes designed at 96 dpi, at the DPI of a monitor: rounded to the nearest pixel, halves
// away from zero, and a size moved between two DPIs keeps its share.
#include <gtest/gtest.h>

#include "ui/DpiScale.h"

namespace vantrel {
namespace {

TEST(DpiScale, SizesFollowTheDpiRoundedToTheNearestPixel) {
    struct Case {
        int pixels;
        int fromDpi;
        int toDpi;
        int expected;
    };
    const Case cases[] = {
        {16, 96, 96, 16},    {16, 96, 144, 24},    {16, 96, 192, 32},
        {16, 96, 120, 20},   {179, 96, 144, 269},                      // 268.5 rounds up
        {179, 96, 120, 224},                                           // 223.75
        {-8, 96, 144, -12},  {-3, 96, 144, -5},                        // -4.5 rounds away from zero
        {1, 96, 120, 1},     {0, 96, 192, 0},      {678, 96, 0, 678},  // no DPI: as designed
        {269, 144, 96, 179}, {300, 144, 192, 400}, {450, 192, 144, 338},  // 337.5
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RescaleBetweenDpis(c.pixels, c.fromDpi, c.toDpi), c.expected)
            << c.pixels << " from " << c.fromDpi << " to " << c.toDpi;
        if (c.fromDpi == kDesignDpi) {
            EXPECT_EQ(ScaleToDpi(c.pixels, c.toDpi), c.expected);
        }
    }
}

}  // namespace
}  // namespace vantrel
