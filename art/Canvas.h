// A floating-point RGBA picture with premultiplied alpha that the artwork is painted on.
// Shapes are given as signed distance functions (negative inside, in pixels), so every
// edge gets one pixel of analytic antialiasing without supersampling.
//
// All drawing is in editor pixels. A canvas made while a ScopedCanvasScale is alive holds
// that many device pixels per editor pixel in each direction: the same drawing calls then
// paint the picture sharp at that size (shapes are sampled at every device pixel, text is
// set at the larger size). At scale 1 the two kinds of pixel are the same.
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

// Device pixels per editor pixel for the canvases made while it lives (1 otherwise).
class ScopedCanvasScale {
 public:
  explicit ScopedCanvasScale(int scale);
  ~ScopedCanvasScale();
  ScopedCanvasScale(const ScopedCanvasScale&) = delete;
  ScopedCanvasScale& operator=(const ScopedCanvasScale&) = delete;

 private:
  int previous_;
};

class Canvas {
 public:
  // width and height in editor pixels.
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Scale() const { return scale_; }
  int DeviceWidth() const { return width_ * scale_; }
  int DeviceHeight() const { return height_ * scale_; }

  // Paints colour over the device pixel with the given coverage (0 to 1).
  void Blend(int x, int y, const Rgba& colour, float coverage);

  // For every device pixel of box: coverage from the distance at the pixel's centre,
  // colour from paint(x, y) at the same point (both in editor pixels).
  template <class Distance, class Paint>
  void Fill(const Box& box, Distance distance, Paint paint) {
    const Box area = DeviceClip(box);
    const float s = static_cast<float>(scale_);
    for (int y = area.t; y < area.b; ++y)
      for (int x = area.l; x < area.r; ++x) {
        const float px = (static_cast<float>(x) + 0.5f) / s, py = (static_cast<float>(y) + 0.5f) / s;
        const float coverage = std::clamp(0.5f - distance(px, py) * s, 0.0f, 1.0f);
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
    const Box area = DeviceClip(box);
    const float s = static_cast<float>(scale_);
    for (int y = area.t; y < area.b; ++y)
      for (int x = area.l; x < area.r; ++x) {
        const float d = distance((static_cast<float>(x) + 0.5f) / s, (static_cast<float>(y) + 0.5f) / s);
        const float t = std::clamp(0.5f - d / (2.0f * softness), 0.0f, 1.0f);
        const float smooth = t * t * (3.0f - 2.0f * t);
        if (smooth > 0.0f) Blend(x, y, colour, smooth);
      }
  }

  // Paints another canvas of the same scale over this one with its top-left corner at
  // (x, y), in editor pixels or, for DrawAtDevice, in device pixels.
  void Draw(const Canvas& source, int x, int y, float opacity = 1.0f);
  void DrawAtDevice(const Canvas& source, int x, int y, float opacity = 1.0f);

  // 0xAARRGGBB, premultiplied, rounded to 8 bits: the raster's pixel format; device pixels.
  std::vector<std::uint32_t> ToPixels() const;

 private:
  // box in editor pixels, as device pixels inside the canvas.
  Box DeviceClip(const Box& box) const;
  std::size_t Index(int x, int y) const {
    return (static_cast<std::size_t>(y) * DeviceWidth() + x) * 4;
  }

  int width_;
  int height_;
  int scale_;
  std::vector<float> pixels_;  // r, g, b, a premultiplied, per pixel
};
