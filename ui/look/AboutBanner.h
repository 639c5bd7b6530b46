#pragma once

#include <cstddef>
#include <cstdint>

namespace vantrel {

// The about box's banner: a JPEG picture drawn at build time from the program's own name and
// colours (ui/look/CMakeLists.txt), decoded when the box opens.
extern const uint8_t kAboutBannerJpeg[];
extern const size_t kAboutBannerJpegSize;

constexpr int kAboutBannerWidth = 360;
constexpr int kAboutBannerHeight = 80;

}  // namespace vantrel
