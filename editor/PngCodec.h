// PNG decoding and encoding with libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/PixelImage.h"

// Decodes any PNG (palette, grey, 16-bit, interlaced) into premultiplied 32-bit pixels.
// False, with image untouched, for data that is not a decodable PNG.
bool DecodePng(const unsigned char* data, std::size_t size, PixelImage& image);

// Encodes width * height premultiplied pixels as an 8-bit RGBA PNG into png.
bool EncodePng(const std::uint32_t* pixels, int width, int height,
               std::vector<unsigned char>& png);
