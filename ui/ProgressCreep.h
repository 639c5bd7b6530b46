#pragma once

#include <cstddef>

namespace vantrel {

// A progress bar for work that reports no progress of its own: on each tick of a timer it
// creeps on, quickly at first and ever slower, and stands still past its last limit. Portable,
// so that the rule is tested in both builds.
struct ProgressCreep {
    static constexpr size_t kStages = 5;
    static constexpr int kSteps[kStages] = {10, 5, 3, 2, 1};
    // A position up to and including limits[i] moves on by kSteps[i]; one past limits[4] stays.
    int limits[kStages];
};

// The bar's position after one tick.
constexpr int NextCreepPosition(const ProgressCreep& creep, int position) {
    for (size_t stage = 0; stage < ProgressCreep::kStages; ++stage) {
        if (position <= creep.limits[stage])
            return position + ProgressCreep::kSteps[stage];
    }
    return position;
}

// The scan window's bar (0 to 1000): it stands still at 999 until the check ends.
constexpr ProgressCreep kScanProgressCreep{{200, 400, 700, 800, 998}};

// The backup progress window's bar runs from 0 to 500 while the registry editor runs; a long
// export creeps on, and the bar comes to rest past its end.
constexpr int kBackupHintBarEnd = 500;
constexpr ProgressCreep kBackupHintCreep{{300, 400, 450, 490, kBackupHintBarEnd}};

}  // namespace vantrel
