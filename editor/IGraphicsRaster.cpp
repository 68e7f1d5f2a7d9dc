#include "editor/IGraphicsRaster.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/PixelBlend.h"

namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint32_t kFullWeight = 255;
// Lines reaching further out than this are not drawn: they cannot be meant for the editor,
// and their pixel arithmetic would overflow.
constexpr float kMaxLineCoordinate = 1 << 20;

std::uint32_t Premultiplied(const IColor& c) { return pixel::Premultiply(c.A, c.R, c.G, c.B); }

// 0 to 255; NaN counts as 0.
std::uint32_t WeightOf(float fraction) {
  if (!(fraction > 0.0f)) return 0;
  return static_cast<std::uint32_t>(std::min(fraction, 1.0f) * 255.0f + 0.5f);
}

float Fraction(float x) { return x - std::floor(x); }

bool Drawable(float v) { return std::isfinite(v) && std::fabs(v) <= kMaxLineCoordinate; }

// Opaque pixels at full weight are copied and clear ones skipped: most pixels of the
// editor's images are one or the other.
inline void BlendInto(std::uint32_t& target, std::uint32_t premultipliedColor,
                      std::uint32_t weight) {
  const std::uint32_t alpha = premultipliedColor >> 24;
  if (alpha == 0 || weight == 0) return;
  if (weight == kFullWeight && alpha == 255)
    target = premultipliedColor;
  else
    target = pixel::Over(target, premultipliedColor, weight);
}

}  // namespace

IGraphicsRaster::IGraphicsRaster(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * height_, kOpaqueBlack) {}

std::uint32_t IGraphicsRaster::PixelAt(int x, int y) const {
  return Bounds().Contains(x, y) ? pixels_[static_cast<std::size_t>(y) * width_ + x] : 0;
}

void IGraphicsRaster::BlendPixel(int x, int y, std::uint32_t premultipliedColor,
                                 std::uint32_t weight) {
  BlendInto(pixels_[static_cast<std::size_t>(y) * width_ + x], premultipliedColor, weight);
}

void IGraphicsRaster::FillRect(const IColor& color, const IRect& rect) {
  const IRect area = rect.Intersect(Bounds());
  if (area.Empty()) return;
  const std::uint32_t c = Premultiplied(color);
  for (int y = area.T; y < area.B; ++y)
    for (int x = area.L; x < area.R; ++x) BlendPixel(x, y, c, kFullWeight);
}

void IGraphicsRaster::DrawBitmap(const IBitmap& bitmap, const IRect& rect, int frame,
                                 float blend) {
  if (!bitmap.Loaded() || bitmap.N <= 0) return;
  const PixelImage& image = *bitmap.image;
  frame = std::clamp(frame, 1, bitmap.N);
  const int sourceTop = bitmap.FrameTop(frame);
  const int rows = std::min(bitmap.FrameHeight(), image.height - sourceTop);
  const int columns = std::min(bitmap.W, image.width);
  const IRect area =
      IRect{rect.L, rect.T, rect.L + columns, rect.T + rows}.Intersect(rect).Intersect(Bounds());
  const std::uint32_t weight = WeightOf(blend);
  if (area.Empty() || weight == 0) return;
  for (int y = area.T; y < area.B; ++y) {
    const std::uint32_t* source = image.pixels.data() +
                                  static_cast<std::size_t>(sourceTop + y - rect.T) * image.width +
                                  (area.L - rect.L);
    std::uint32_t* target = pixels_.data() + static_cast<std::size_t>(y) * width_ + area.L;
    for (int i = 0; i < area.W(); ++i) BlendInto(target[i], source[i], weight);
  }
}

void IGraphicsRaster::PlotCoverage(int x, int y, std::uint32_t premultipliedColor,
                                   float coverage) {
  if (Bounds().Contains(x, y)) BlendPixel(x, y, premultipliedColor, WeightOf(coverage));
}

// Xiaolin Wu's line: along the major axis each step covers the two pixels that straddle
// the ideal line in proportion to their distance from it. The ends reach half a pixel past
// the end points (square caps), so the short pieces of a polyline such as the response
// graph meet without a faint pixel at every joint.
void IGraphicsRaster::DrawLine(const IColor& color, float x1, float y1, float x2, float y2) {
  if (!Drawable(x1) || !Drawable(y1) || !Drawable(x2) || !Drawable(y2)) return;
  const std::uint32_t c = Premultiplied(color);
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  if (steep) {
    std::swap(x1, y1);
    std::swap(x2, y2);
  }
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  auto plot = [&](int major, int minor, float coverage) {
    if (steep)
      PlotCoverage(minor, major, c, coverage);
    else
      PlotCoverage(major, minor, c, coverage);
  };
  const float dx = x2 - x1;
  const float gradient = dx > 0.0f ? (y2 - y1) / dx : 0.0f;

  const float startX = std::floor(x1 + 0.5f);
  const float startY = y1 + gradient * (startX - x1);
  const float startGap = std::min(1.0f, 1.5f - Fraction(x1 + 0.5f));
  const int firstMajor = static_cast<int>(startX);
  plot(firstMajor, static_cast<int>(std::floor(startY)), (1.0f - Fraction(startY)) * startGap);
  plot(firstMajor, static_cast<int>(std::floor(startY)) + 1, Fraction(startY) * startGap);

  const float endX = std::floor(x2 + 0.5f);
  const float endY = y2 + gradient * (endX - x2);
  const float endGap = std::min(1.0f, Fraction(x2 + 0.5f) + 0.5f);
  const int lastMajor = static_cast<int>(endX);
  plot(lastMajor, static_cast<int>(std::floor(endY)), (1.0f - Fraction(endY)) * endGap);
  plot(lastMajor, static_cast<int>(std::floor(endY)) + 1, Fraction(endY) * endGap);

  const int majorLimit = steep ? height_ : width_;
  const int from = std::max(firstMajor + 1, 0);
  const int to = std::min(lastMajor - 1, majorLimit - 1);
  float minor = startY + gradient * static_cast<float>(from - firstMajor);
  for (int major = from; major <= to; ++major, minor += gradient) {
    const int row = static_cast<int>(std::floor(minor));
    plot(major, row, 1.0f - Fraction(minor));
    plot(major, row + 1, Fraction(minor));
  }
}

void IGraphicsRaster::BlendTextMask(int x, int y, std::uint32_t premultipliedColor) {
  const platform::TextMask& mask = textMask_;
  const IRect area = IRect{x, y, x + mask.width, y + mask.height}.Intersect(Bounds());
  for (int py = area.T; py < area.B; ++py) {
    const std::uint8_t* coverage = mask.coverage.data() + static_cast<std::size_t>(py - y) * mask.width;
    for (int px = area.L; px < area.R; ++px)
      BlendPixel(px, py, premultipliedColor, coverage[px - x]);
  }
}

bool IGraphicsRaster::DrawIText(const IText& style, std::string_view text, const IRect& rect) {
  if (style.orientation % 360 != 0) return false;
  const platform::FontSpec font{style.font, style.size, style.style == ITextStyle::Bold,
                                style.style == ITextStyle::Italic};
  const std::uint32_t color = Premultiplied(style.color);
  int top = rect.T;
  for (std::size_t start = 0;; top += style.size) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty()) {
      if (!platform::RenderTextLine(font, line, textMask_)) return false;
      int pen = rect.L;
      if (style.align == ITextAlign::Center) pen = rect.L + (rect.W() - textMask_.advance) / 2;
      if (style.align == ITextAlign::Right) pen = rect.R - textMask_.advance;
      BlendTextMask(pen + textMask_.left, top, color);
    }
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}
