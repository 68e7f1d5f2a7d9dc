#include "art/PngFile.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Straight-alpha bytes of one pixel: R, G, B and, when wanted, A.
void AppendStraight(std::uint32_t p, bool withAlpha, std::vector<png_byte>& row) {
  const std::uint32_t a = p >> 24;
  auto channel = [a](std::uint32_t c) {
    return static_cast<png_byte>(a == 0 ? 0 : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
  };
  row.push_back(channel((p >> 16) & 0xFF));
  row.push_back(channel((p >> 8) & 0xFF));
  row.push_back(channel(p & 0xFF));
  if (withAlpha) row.push_back(static_cast<png_byte>(a));
}

// libpng reports errors by longjmp: everything it needs is prepared before, so nothing
// here changes after setjmp.
bool EncodeRows(std::vector<png_bytep>& rows, int width, int height, int colourType,
                std::vector<unsigned char>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_compression_level(png, Z_BEST_COMPRESSION);
  png_set_compression_mem_level(png, 9);
  png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
  png_set_compression_window_bits(png, 15);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool EncodeArtPng(const std::vector<std::uint32_t>& pixels, int width, int height,
                  std::vector<unsigned char>& out) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height)
    return false;
  const bool opaque =
      std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) == 255; });
  std::vector<png_byte> bytes;
  for (std::uint32_t p : pixels) AppendStraight(p, !opaque, bytes);
  const std::size_t stride = bytes.size() / static_cast<std::size_t>(height);
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows[y] = bytes.data() + y * stride;
  out.clear();
  return EncodeRows(rows, width, height, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, out);
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
