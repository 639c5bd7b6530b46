#pragma once

namespace vantrel {

// The progress bar's position after one tick of the scan window's timer: it creeps quickly at
// first and ever slower, and stands still at 999 until the check ends.
constexpr int NextProgressPosition(int position) {
    if (position <= 200)
        return position + 10;
    if (position <= 400)
        return position + 5;
    if (position <= 700)
        return position + 3;
    if (position <= 800)
        return position + 2;
    if (position <= 998)
        return position + 1;
    return position;
}

}  // namespace vantrel
