#include "settings/WindowPosition.h"

#include <algorithm>
#include <cstdint>

namespace vantrel {

namespace {

// The caption strip at the window's top, and how much of it must be on a screen to be grabbed.
constexpr int64_t kCaptionHeight = 30;
constexpr int64_t kMinVisibleCaptionWidth = 40;
constexpr int64_t kMinVisibleCaptionHeight = 10;

// Length of the overlap of [start1, start1 + length1) and [start2, start2 + length2); 64-bit so
// that any stored 32-bit numbers add up without overflow.
int64_t Overlap(int64_t start1, int64_t length1, int64_t start2, int64_t length2) {
    const int64_t from = std::max(start1, start2);
    const int64_t to = std::min(start1 + length1, start2 + length2);
    return std::max<int64_t>(0, to - from);
}

bool CaptionOnArea(const WindowRect& window, const WindowRect& area) {
    const int64_t captionHeight = std::min<int64_t>(window.height, kCaptionHeight);
    const int64_t visibleWidth = Overlap(window.left, window.width, area.left, area.width);
    const int64_t visibleHeight = Overlap(window.top, captionHeight, area.top, area.height);
    return visibleWidth >= std::min<int64_t>(window.width, kMinVisibleCaptionWidth) &&
           visibleHeight >= std::min<int64_t>(captionHeight, kMinVisibleCaptionHeight);
}

}  // namespace

bool ShouldApplyStoredPosition(const WindowRect& stored, const std::vector<WindowRect>& workAreas) {
    if (stored.width <= 0 || stored.height <= 0)
        return false;
    return std::any_of(workAreas.begin(), workAreas.end(),
                       [&](const WindowRect& area) { return CaptionOnArea(stored, area); });
}

WindowRect CentredOnScreen(int width, int height, ScreenSize screen) {
    // Integer division truncates toward zero, as the halves must; 64-bit so that no stored size
    // can overflow the difference.
    const auto half = [](int screenExtent, int extent) {
        return static_cast<int>((int64_t{screenExtent} - extent) / 2);
    };
    return {half(screen.width, width), half(screen.height, height), width, height};
}

}  // namespace vantrel
