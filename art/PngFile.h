// PNG encoding with fixed settings, so the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes premultiplied 0xAARRGGBB pixels: RGB when every pixel is opaque, else RGBA.
bool EncodeArtPng(const std::vector<std::uint32_t>& pixels, int width, int height,
                  std::vector<unsigned char>& png);
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
