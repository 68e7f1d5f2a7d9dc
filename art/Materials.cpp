#include "art/Materials.h"

#include <cmath>
#include <cstdint>

namespace material {

float Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                    static_cast<std::uint32_t>(y) * 0xD8163841u ^
                    static_cast<std::uint32_t>(seed) * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0x1000000);
}

float Noise(float x, float y, int seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
  const float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

Rgba BrushedMetal(const Rgba& base, float x, float y, int seed, float strength) {
  const float streak = Noise(x / 40.0f, y * 0.9f, seed) * 0.6f + Noise(x / 9.0f, y * 1.3f, seed + 7) * 0.4f;
  return Shade(base, 1.0f + (streak - 0.5f) * 2.0f * strength);
}

Rgba Tolex(const Rgba& base, float x, float y, int seed) {
  const float grain = Noise(x / 1.7f, y / 1.7f, seed) * 0.7f + Noise(x / 5.0f, y / 5.0f, seed + 3) * 0.3f;
  return Shade(base, 0.9f + grain * 0.2f);
}

Rgba Speckle(const Rgba& base, float x, float y, int seed, float strength) {
  const float s = Noise(x / 1.3f, y / 1.3f, seed);
  return Shade(base, 1.0f + (s - 0.5f) * 2.0f * strength);
}

Rgba VerticalShade(const Rgba& base, float y, float top, float bottom, float light, float dark) {
  const float t = std::clamp((y - top) / std::max(1.0f, bottom - top), 0.0f, 1.0f);
  return Shade(base, light + (dark - light) * t);
}

}  // namespace material
