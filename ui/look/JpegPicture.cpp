#include "ui/look/JpegPicture.h"

#include <csetjmp>
#include <cstdio>
#include <limits>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace vantrel {
namespace {

struct ErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf failed;
    bool warned;
};

// libjpeg's default ends the process; here the decode is abandoned instead.
[[noreturn]] void ExitToDecoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->failed, 1);
}

// Level -1 is a warning about damaged data (for example a file that ends early, which libjpeg
// would fill with grey); higher levels are trace messages. Nothing is printed.
void NoteMessage(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<ErrorManager*>(info->err)->warned = true;
}

void PrintNothing(j_common_ptr) {}

// Ends the decompressor however the decode ends.
class DecompressorGuard {
  public:
    explicit DecompressorGuard(jpeg_decompress_struct& info) : info_(info) {}
    ~DecompressorGuard() { jpeg_destroy_decompress(&info_); }
    DecompressorGuard(const DecompressorGuard&) = delete;
    DecompressorGuard& operator=(const DecompressorGuard&) = delete;

  private:
    jpeg_decompress_struct& info_;
};

// The libjpeg calls, between which libjpeg may jump back here: this function keeps no object
// of its own that a jump could leave half changed. False when the decode failed.
bool Decompress(jpeg_decompress_struct& info, ErrorManager& errors, const uint8_t* data,
                size_t size, RgbPicture& picture) {
    if (setjmp(errors.failed) != 0)
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kLargestJpegSide ||
        info.image_height > kLargestJpegSide)
        return false;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
        return false;
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    picture.pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return !errors.warned;
}

}  // namespace

RgbPicture DecodeJpeg(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0 || size > std::numeric_limits<unsigned long>::max())
        return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = &ExitToDecoder;
    errors.standard.emit_message = &NoteMessage;
    errors.standard.output_message = &PrintNothing;
    DecompressorGuard guard(info);
    RgbPicture picture;
    if (!Decompress(info, errors, data, size, picture))
        return {};
    return picture;
}

}  // namespace vantrel
