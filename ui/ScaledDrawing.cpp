#include "ui/ScaledDrawing.h"

namespace vantrel {

ScaledDrawing::ScaledDrawing(HDC dc, double scale)
    : dc_(dc), oldMode_(::SetGraphicsMode(dc, GM_ADVANCED)) {
    ::GetWorldTransform(dc_, &oldTransform_);
    const auto factor = static_cast<FLOAT>(scale);
    const XFORM scaled{factor, 0, 0, factor, 0, 0};
    ::SetWorldTransform(dc_, &scaled);
}

ScaledDrawing::~ScaledDrawing() {
    ::SetWorldTransform(dc_, &oldTransform_);
    ::SetGraphicsMode(dc_, oldMode_);
}

}  // namespace vantrel
