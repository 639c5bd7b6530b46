#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel {

// A decoded picture: rows from the top, three bytes (red, green, blue) per pixel.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    bool IsEmpty() const { return pixels.empty(); }
};

// Pictures larger than this on either side are refused (a damaged header can claim anything).
constexpr int kLargestJpegSide = 4096;

// Decodes JPEG data with libjpeg. Damaged, truncated or unsupported data gives an empty picture:
// libjpeg's own error handling, which ends the process, is replaced, and its warnings about
// damaged data count as failures.
RgbPicture DecodeJpeg(const uint8_t* data, size_t size);

}  // namespace vantrel
