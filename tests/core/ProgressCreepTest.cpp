// The progress bars of work that reports no progress: they creep on a timer, by one rule with
// the scan window's numbers and with the backup progress window's.
#include <gtest/gtest.h>

#include "ui/ProgressCreep.h"

namespace vantrel {
namespace {

TEST(ScanProgressCreep, TimerStepsAndTheStandstillAt999) {
    struct Case {
        int from;
        int to;
    };
    const Case cases[] = {{0, 10},    {200, 210}, {201, 206}, {400, 405}, {401, 404}, {700, 703},
                          {701, 703}, {800, 802}, {801, 802}, {998, 999}, {999, 999}, {1000, 1000}};
    for (const Case& c : cases)
        EXPECT_EQ(NextCreepPosition(kScanProgressCreep, c.from), c.to) << "from " << c.from;
    int position = 0;
    int ticks = 0;
    while (position < 999) {
        position = NextCreepPosition(kScanProgressCreep, position);
        ++ticks;
    }
    EXPECT_EQ(ticks, 406);
}

TEST(BackupHintCreep, TheBarCreepsEverSlowerAndStopsPastItsEnd) {
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
        EXPECT_EQ(NextCreepPosition(kBackupHintCreep, position), position + step)
            << "from " << position;
    }
    struct Case {
        int from;
        int to;
    };
    const Case edges[] = {{0, 10},    {300, 310}, {301, 306}, {400, 405}, {401, 404}, {450, 453},
                          {451, 453}, {490, 492}, {491, 492}, {500, 501}, {501, 501}};
    for (const Case& c : edges)
        EXPECT_EQ(NextCreepPosition(kBackupHintCreep, c.from), c.to) << "from " << c.from;
    EXPECT_EQ(kBackupHintBarEnd, 500);

    // From 0, one tick every half second: past 300 after 31 ticks, past 490 after 85, and at
    // rest at 501 after 95.
    int position = 0;
    int ticks = 0;
    int ticksPast300 = 0;
    int ticksPast490 = 0;
    while (NextCreepPosition(kBackupHintCreep, position) != position) {
        position = NextCreepPosition(kBackupHintCreep, position);
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
