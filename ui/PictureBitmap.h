#pragma once

#include <windows.h>

#include "ui/GuiHandles.h"
#include "ui/look/JpegPicture.h"

namespace vantrel {

// A device-independent bitmap of the picture, for a static control (SS_BITMAP); none for an
// empty picture.
unique_hbitmap CreatePictureBitmap(const RgbPicture& picture);
// The same bitmap `width` x `height` pixels, smoothed (a picture shown at another DPI); the
// original when it has that size already.
unique_hbitmap ResizedBitmap(unique_hbitmap bitmap, SIZE from, SIZE to);

}  // namespace vantrel
