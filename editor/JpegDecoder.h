// JPEG decoding with libjpeg.
#pragma once

#include <cstddef>

#include "editor/PixelImage.h"

// Decodes a baseline or progressive JPEG (colour or grey) into opaque 32-bit pixels.
// False, with image untouched, for data that is not a decodable JPEG.
bool DecodeJpeg(const unsigned char* data, std::size_t size, PixelImage& image);
