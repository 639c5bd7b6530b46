#pragma once

#include <vector>

namespace vantrel {

// A window's bounds or a screen's work area, in screen pixels.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect& other) const {
        return left == other.left && top == other.top && width == other.width &&
               height == other.height;
    }
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// Whether the main window may open where it was stored: enough of its caption lies on one of
// the monitors' work areas for the user to grab it. A position from another monitor layout, or
// from a minimized window (which the system parks far off screen), is refused.
bool ShouldApplyStoredPosition(const WindowRect& stored, const std::vector<WindowRect>& workAreas);

// The bounds of a window of this size centred on the screen (halves truncated toward zero).
WindowRect CentredOnScreen(int width, int height, ScreenSize screen);

}  // namespace vantrel
