#include "editor/PngCodec.h"

#include <png.h>

#include <algorithm>

#include "editor/PixelBlend.h"

namespace {

// libpng's 32-bit BGRA byte order is 0xAARRGGBB on the little-endian machines we build for.
constexpr png_uint_32 kPixelFormat = PNG_FORMAT_BGRA;

void PremultiplyAll(std::vector<std::uint32_t>& pixels) {
  for (std::uint32_t& p : pixels) {
    const std::uint32_t a = p >> 24;
    if (a != 255) p = pixel::Premultiply(a, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
}

std::uint32_t Unpremultiply(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto channel = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
  return pixel::Pack(a, channel((p >> 16) & 0xFF), channel((p >> 8) & 0xFF), channel(p & 0xFF));
}

}  // namespace

bool DecodePng(const unsigned char* data, std::size_t size, PixelImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!data || !png_image_begin_read_from_memory(&png, data, size)) return false;
  const long long pixels = static_cast<long long>(png.width) * png.height;
  if (png.width > kMaxImageSide || png.height > kMaxImageSide || pixels > kMaxImagePixels) {
    png_image_free(&png);
    return false;
  }
  png.format = kPixelFormat;
  std::vector<std::uint32_t> decoded(static_cast<std::size_t>(pixels));
  if (!png_image_finish_read(&png, nullptr, decoded.data(), 0, nullptr)) {
    png_image_free(&png);
    return false;
  }
  PremultiplyAll(decoded);
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels = std::move(decoded);
  return true;
}

bool EncodePng(const std::uint32_t* pixels, int width, int height,
               std::vector<unsigned char>& png) {
  if (!pixels || width <= 0 || height <= 0) return false;
  std::vector<std::uint32_t> straight(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < straight.size(); ++i) straight[i] = Unpremultiply(pixels[i]);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = kPixelFormat;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, straight.data(), 0, nullptr))
    return false;
  png.resize(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, straight.data(), 0, nullptr))
    return false;
  png.resize(size);
  return true;
}
