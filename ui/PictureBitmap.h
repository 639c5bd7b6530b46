#pragma once

#include <windows.h>

#include "ui/GuiHandles.h"
#include "ui/look/JpegPicture.h"

namespace vantrel {

// A device-independent bitmap of the picture, for a static control (SS_BITMAP); none for an
// empty picture.
unique_hbitmap CreatePictureBitmap(const RgbPicture& picture);

}  // namespace vantrel
