#include "editor/JpegDecoder.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// DecodeJpeg. Warnings are dropped (nothing is logged).
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf recovery;
};

[[noreturn]] void JumpToRecovery(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->recovery, 1);
}

void IgnoreMessage(j_common_ptr) {}

bool ReadPixels(jpeg_decompress_struct& info, std::vector<std::uint32_t>& pixels) {
  info.out_color_space = JCS_EXT_BGRA;  // opaque 0xAARRGGBB
  jpeg_start_decompress(&info);
  const long long count = static_cast<long long>(info.output_width) * info.output_height;
  if (info.output_width > kMaxImageSide || info.output_height > kMaxImageSide ||
      count > kMaxImagePixels)
    return false;
  pixels.resize(static_cast<std::size_t>(count));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + std::size_t{info.output_scanline} *
                                                                  info.output_width);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

// Holds the jump target: everything this frame changes between setjmp and a longjmp lives
// in the caller (pixels, width, height) or in libjpeg's own structures, and no object with a
// destructor is created after setjmp.
bool DecodeInto(const unsigned char* data, std::size_t size, std::vector<std::uint32_t>& pixels,
                int& width, int& height) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpToRecovery;
  errors.manager.output_message = IgnoreMessage;
  if (setjmp(errors.recovery)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  const bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && ReadPixels(info, pixels);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  jpeg_destroy_decompress(&info);
  return ok;
}

}  // namespace

bool DecodeJpeg(const unsigned char* data, std::size_t size, PixelImage& image) {
  if (!data || size == 0 || size > ULONG_MAX) return false;
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  if (!DecodeInto(data, size, pixels, width, height)) return false;
  image.width = width;
  image.height = height;
  image.pixels = std::move(pixels);
  return true;
}
