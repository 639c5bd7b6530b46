// The backup progress window's bar: the editor reports no progress, so the bar creeps on a
// timer.
#include <gtest/gtest.h>

#include "dialogs/BackupHintSteps.h"

namespace vantrel {
namespace {

TEST(BackupHintSteps, TheBarCreepsEverSlowerAndStopsPastItsEnd) {
    // Every position the bar can hold, and some it never reaches, by the rule's ranges.
    for (int position = 0; position <= 600; ++position) {
        int step = 0;
        if (position <= 300)
            step = 10;
        else if (position <= 400)
            step = 5;
        else if (position <= 450)
            step = 3;
        else if (position <= 490)
            step = 2;
        else if (position <= 500)
            step = 1;
        EXPECT_EQ(NextBackupHintPosition(position), position + step) << "from " << position;
    }
    struct Case {
        int from;
        int to;
    };
    const Case edges[] = {{0, 10},    {300, 310}, {301, 306}, {400, 405}, {401, 404}, {450, 453},
                          {451, 453}, {490, 492}, {491, 492}, {500, 501}, {501, 501}};
    for (const Case& c : edges)
        EXPECT_EQ(NextBackupHintPosition(c.from), c.to) << "from " << c.from;

    // From 0, one tick every half second: past 300 after 31 ticks, past 490 after 85, and at
    // rest at 501 after 95.
    int position = 0;
    int ticks = 0;
    int ticksPast300 = 0;
    int ticksPast490 = 0;
    while (NextBackupHintPosition(position) != position) {
        position = NextBackupHintPosition(position);
        ++ticks;
        if (position > 300 && ticksPast300 == 0)
            ticksPast300 = ticks;
        if (position > 490 && ticksPast490 == 0)
            ticksPast490 = ticks;
    }
    EXPECT_EQ(position, 501);
    EXPECT_EQ(ticks, 95);
    EXPECT_EQ(ticksPast300, 31);
    EXPECT_EQ(ticksPast490, 85);
}

}  // namespace
}  // namespace vantrel
