// A colour with straight (not premultiplied) alpha, each channel 0 to 255.
#pragma once

#include <cstdint>

struct IColor {
  std::uint8_t A = 255;
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;

  bool operator==(const IColor&) const = default;
};
