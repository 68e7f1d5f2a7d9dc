// A decoded image: rows of 32-bit pixels 0xAARRGGBB with premultiplied alpha (on a
// little-endian machine the bytes read B, G, R, A, the layout of a 32-bit Windows DIB).
#pragma once

#include <cstdint>
#include <vector>

struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, row after row
};

// The decoders refuse larger images: a corrupt or hostile header must not make them
// allocate gigabytes. The largest editor image has 630 x 440 pixels.
constexpr long long kMaxImagePixels = 1LL << 26;
constexpr int kMaxImageSide = 1 << 16;
