// A floating-point RGBA picture with premultiplied alpha that the artwork is painted on.
// Shapes are given as signed distance functions (negative inside, in pixels), so every
// edge gets one pixel of analytic antialiasing without supersampling.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// A straight (not premultiplied) colour, channels 0 to 1.
struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an optional opacity.
constexpr Rgba Hex(std::uint32_t rgb, float alpha = 1.0f) {
  return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
          static_cast<float>((rgb >> 8) & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f,
          alpha};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba Shade(const Rgba& c, float factor);  // scales the colour channels, keeps alpha
Rgba WithAlpha(const Rgba& c, float alpha);

// A pixel-aligned region: left and top inside, right and bottom outside.
struct Box {
  int l = 0, t = 0, r = 0, b = 0;
};

class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Paints colour over the pixel with the given coverage (0 to 1).
  void Blend(int x, int y, const Rgba& colour, float coverage);

  // For every pixel of box: coverage from the distance at the pixel's centre, colour from
  // paint(x, y) at the same point.
  template <class Distance, class Paint>
  void Fill(const Box& box, Distance distance, Paint paint) {
    const Box area = Clip(box);
    for (int y = area.t; y < area.b; ++y)
      for (int x = area.l; x < area.r; ++x) {
        const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
        const float coverage = std::clamp(0.5f - distance(px, py), 0.0f, 1.0f);
        if (coverage > 0.0f) Blend(x, y, paint(px, py), coverage);
      }
  }

  template <class Distance>
  void FillColour(const Box& box, Distance distance, const Rgba& colour) {
    Fill(box, distance, [&colour](float, float) { return colour; });
  }

  // A soft-edged fill for shadows and glows: full strength `softness` pixels inside the
  // edge, fading to nothing `softness` pixels outside it.
  template <class Distance>
  void FillSoft(const Box& box, Distance distance, const Rgba& colour, float softness) {
    const Box area = Clip(box);
    for (int y = area.t; y < area.b; ++y)
      for (int x = area.l; x < area.r; ++x) {
        const float d = distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
        const float t = std::clamp(0.5f - d / (2.0f * softness), 0.0f, 1.0f);
        const float smooth = t * t * (3.0f - 2.0f * t);
        if (smooth > 0.0f) Blend(x, y, colour, smooth);
      }
  }

  // Paints another canvas over this one with its top-left corner at (x, y).
  void Draw(const Canvas& source, int x, int y, float opacity = 1.0f);

  // 0xAARRGGBB, premultiplied, rounded to 8 bits: the raster's pixel format.
  std::vector<std::uint32_t> ToPixels() const;

 private:
  Box Clip(const Box& box) const;
  std::size_t Index(int x, int y) const { return (static_cast<std::size_t>(y) * width_ + x) * 4; }

  int width_;
  int height_;
  std::vector<float> pixels_;  // r, g, b, a premultiplied, per pixel
};
