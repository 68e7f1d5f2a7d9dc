// Chooses the decoder by the image name's extension, as resources carry no type of their own.
#pragma once

#include <cstddef>
#include <string_view>

#include "editor/PixelImage.h"

// "png" decodes as PNG, "jpg" and "jpeg" as JPEG (any letter case); any other name fails.
bool DecodeImage(std::string_view name, const unsigned char* data, std::size_t size,
                 PixelImage& image);
