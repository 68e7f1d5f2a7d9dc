// Pixel arithmetic of the raster: 0xAARRGGBB with premultiplied alpha, 8 bits per channel.
#pragma once

#include <cstdint>

namespace pixel {

// x / 255 rounded, exact for 0 <= x <= 255 * 255.
inline std::uint32_t Div255(std::uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

inline std::uint32_t Pack(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

inline std::uint32_t Premultiply(std::uint32_t a, std::uint32_t r, std::uint32_t g,
                                 std::uint32_t b) {
  return Pack(a, Div255(r * a), Div255(g * a), Div255(b * a));
}

// Multiplies all four channels by factor / 255 (factor 0 to 255), rounded as Div255 rounds.
// Two channels at a time: red and blue, then alpha and green, each in a 16-bit lane.
inline std::uint32_t Scale(std::uint32_t p, std::uint32_t factor) {
  constexpr std::uint32_t kLanes = 0x00FF00FFu;
  constexpr std::uint32_t kHalf = 0x00800080u;
  std::uint32_t rb = (p & kLanes) * factor + kHalf;
  std::uint32_t ag = ((p >> 8) & kLanes) * factor + kHalf;
  rb = ((rb + ((rb >> 8) & kLanes)) >> 8) & kLanes;
  ag = ((ag + ((ag >> 8) & kLanes)) >> 8) & kLanes;
  return rb | (ag << 8);
}

// Source over destination, the source scaled by weight (0 to 255) first. Premultiplied
// channels never exceed alpha, so the sums stay within 8 bits.
inline std::uint32_t Over(std::uint32_t dst, std::uint32_t src, std::uint32_t weight) {
  const std::uint32_t source = Scale(src, weight);
  return source + Scale(dst, 255 - (source >> 24));
}

}  // namespace pixel
