#pragma once

namespace vantrel {

// The backup progress window's bar: it runs from 0 to 500, and the registry editor reports no
// progress.
constexpr int kBackupHintBarEnd = 500;

// The bar's position after one tick of the window's timer: quick at first and ever slower, so
// that a long export creeps on, and at a standstill past the end of the bar.
constexpr int NextBackupHintPosition(int position) {
    if (position <= 300)
        return position + 10;
    if (position <= 400)
        return position + 5;
    if (position <= 450)
        return position + 3;
    if (position <= 490)
        return position + 2;
    if (position <= kBackupHintBarEnd)
        return position + 1;
    return position;
}

}  // namespace vantrel
