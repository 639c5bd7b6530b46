#pragma once

#include <windows.h>

namespace vantrel {

// While it lives, what is drawn on `dc` in design pixels (the grid of a 16-pixel image) lands
// `scale` times larger: pictures drawn in code are drawn at every size, never stretched.
class ScaledDrawing {
  public:
    ScaledDrawing(HDC dc, double scale);
    ~ScaledDrawing();
    ScaledDrawing(const ScaledDrawing&) = delete;
    ScaledDrawing& operator=(const ScaledDrawing&) = delete;

  private:
    HDC dc_;
    int oldMode_;
    XFORM oldTransform_{};
};

}  // namespace vantrel
