#include "art/Canvas.h"

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba Shade(const Rgba& c, float factor) {
  return {std::min(1.0f, c.r * factor), std::min(1.0f, c.g * factor),
          std::min(1.0f, c.b * factor), c.a};
}

Rgba WithAlpha(const Rgba& c, float alpha) { return {c.r, c.g, c.b, alpha}; }

namespace {

int gCanvasScale = 1;  // the art program draws on one thread

}  // namespace

ScopedCanvasScale::ScopedCanvasScale(int scale) : previous_(gCanvasScale) {
  gCanvasScale = std::max(1, scale);
}

ScopedCanvasScale::~ScopedCanvasScale() { gCanvasScale = previous_; }

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      scale_(gCanvasScale),
      pixels_(static_cast<std::size_t>(width) * height * scale_ * scale_ * 4, 0.0f) {}

Box Canvas::DeviceClip(const Box& box) const {
  return {std::max(box.l * scale_, 0), std::max(box.t * scale_, 0),
          std::min(box.r * scale_, DeviceWidth()), std::min(box.b * scale_, DeviceHeight())};
}

void Canvas::Blend(int x, int y, const Rgba& colour, float coverage) {
  if (x < 0 || y < 0 || x >= DeviceWidth() || y >= DeviceHeight()) return;
  const float a = std::clamp(colour.a * coverage, 0.0f, 1.0f);
  float* p = &pixels_[Index(x, y)];
  const float keep = 1.0f - a;
  p[0] = colour.r * a + p[0] * keep;
  p[1] = colour.g * a + p[1] * keep;
  p[2] = colour.b * a + p[2] * keep;
  p[3] = a + p[3] * keep;
}

void Canvas::Draw(const Canvas& source, int x, int y, float opacity) {
  DrawAtDevice(source, x * scale_, y * scale_, opacity);
}

void Canvas::DrawAtDevice(const Canvas& source, int x, int y, float opacity) {
  for (int sy = 0; sy < source.DeviceHeight(); ++sy)
    for (int sx = 0; sx < source.DeviceWidth(); ++sx) {
      const int tx = x + sx, ty = y + sy;
      if (tx < 0 || ty < 0 || tx >= DeviceWidth() || ty >= DeviceHeight()) continue;
      const float* s = &source.pixels_[source.Index(sx, sy)];
      float* p = &pixels_[Index(tx, ty)];
      const float keep = 1.0f - s[3] * opacity;
      for (int c = 0; c < 4; ++c) p[c] = s[c] * opacity + p[c] * keep;
    }
}

std::vector<std::uint32_t> Canvas::ToPixels() const {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(DeviceWidth()) * DeviceHeight());
  auto byte = [](float v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
  };
  for (std::size_t i = 0; i < out.size(); ++i) {
    const float* p = &pixels_[i * 4];
    const std::uint32_t a = byte(p[3]);
    // Premultiplied channels never exceed alpha.
    auto channel = [&](float v) { return std::min(byte(v), a); };
    out[i] = (a << 24) | (channel(p[0]) << 16) | (channel(p[1]) << 8) | channel(p[2]);
  }
  return out;
}
