#include "editor/IGraphicsRaster.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/BitmapCache.h"
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

// Puts a line in the form the line drawers step along: x runs along the major axis (x and
// y swapped when the line is steep) and x1 <= x2. Returns whether the line was steep.
bool OrderAlongMajorAxis(float& x1, float& y1, float& x2, float& y2) {
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  if (steep) {
    std::swap(x1, y1);
    std::swap(x2, y2);
  }
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  return steep;
}

bool Drawable(float v) { return std::isfinite(v) && std::fabs(v) <= kMaxLineCoordinate; }

float ValidScale(float scale) { return std::isfinite(scale) && scale > 0.0f ? scale : 1.0f; }

// First row of frame k (1-based) of an image of height rows holding frames frames.
int FrameTopOf(int height, int frames, int k) {
  return static_cast<int>((2LL * height * (k - 1) + frames) / (2LL * frames));
}

// How much of the pixel centred at p (covering p - 0.5 to p + 0.5) lies from lo to hi.
float Overlap(float p, float lo, float hi) {
  return std::clamp(std::min(p + 0.5f, hi) - std::max(p - 0.5f, lo), 0.0f, 1.0f);
}

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

IGraphicsRaster::IGraphicsRaster(int width, int height, float scale)
    : scale_(ValidScale(scale)),
      width_(std::max(0, ToBuffer(width))),
      height_(std::max(0, ToBuffer(height))),
      pixels_(static_cast<std::size_t>(width_) * height_, kOpaqueBlack) {}

int IGraphicsRaster::ToBuffer(int v) const {
  return static_cast<int>(std::floor(static_cast<float>(v) * scale_ + 0.5f));
}

IRect IGraphicsRaster::ToBuffer(const IRect& rect) const {
  return {ToBuffer(rect.L), ToBuffer(rect.T), ToBuffer(rect.R), ToBuffer(rect.B)};
}

std::uint32_t IGraphicsRaster::PixelAt(int x, int y) const {
  return Bounds().Contains(x, y) ? pixels_[static_cast<std::size_t>(y) * width_ + x] : 0;
}

void IGraphicsRaster::BlendPixel(int x, int y, std::uint32_t premultipliedColor,
                                 std::uint32_t weight) {
  BlendInto(pixels_[static_cast<std::size_t>(y) * width_ + x], premultipliedColor, weight);
}

void IGraphicsRaster::FillRect(const IColor& color, const IRect& rect) {
  const IRect area = ToBuffer(rect).Intersect(Bounds());
  if (area.Empty()) return;
  const std::uint32_t c = Premultiplied(color);
  for (int y = area.T; y < area.B; ++y)
    for (int x = area.L; x < area.R; ++x) BlendPixel(x, y, c, kFullWeight);
}

void IGraphicsRaster::DrawBitmap(const IBitmap& bitmap, const IRect& rect, int frame,
                                 float blend) {
  if (!bitmap.Loaded() || bitmap.N <= 0) return;
  frame = std::clamp(frame, 1, bitmap.N);
  if (scale_ != 1.0f) {
    DrawScaledBitmap(bitmap, rect, frame, WeightOf(blend));
    return;
  }
  const PixelImage& image = *bitmap.image;
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

// The image of the raster's scale, drawn as it is; a bitmap without one (made in code, or
// a scale without images) is enlarged from its own pixels, each covering the buffer pixels
// whose centres fall on it.
void IGraphicsRaster::DrawScaledBitmap(const IBitmap& bitmap, const IRect& rect, int frame,
                                       std::uint32_t weight) {
  const IRect target = ToBuffer(rect).Intersect(Bounds());
  if (target.Empty() || weight == 0) return;
  const int left = ToBuffer(rect.L), top = ToBuffer(rect.T);
  const PixelImage* scaled = CachedImageAt(bitmap.image, bitmap.N, scale_);
  if (scaled) {
    const int sourceTop = FrameTopOf(scaled->height, bitmap.N, frame);
    const IRect area =
        IRect{left, top, left + scaled->width, top + scaled->height / bitmap.N}.Intersect(target);
    for (int y = area.T; y < area.B; ++y) {
      const std::uint32_t* source = scaled->pixels.data() +
                                    static_cast<std::size_t>(sourceTop + y - top) * scaled->width +
                                    (area.L - left);
      std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_ + area.L;
      for (int i = 0; i < area.W(); ++i) BlendInto(row[i], source[i], weight);
    }
    return;
  }
  const PixelImage& image = *bitmap.image;
  const int sourceTop = bitmap.FrameTop(frame);
  const int rows = std::min(bitmap.FrameHeight(), image.height - sourceTop);
  const int columns = std::min(bitmap.W, image.width);
  const IRect area = IRect{left, top, left + ToBuffer(columns), top + ToBuffer(rows)}.Intersect(target);
  for (int y = area.T; y < area.B; ++y) {
    const int sy = std::min(rows - 1, static_cast<int>((static_cast<float>(y - top) + 0.5f) / scale_));
    const std::uint32_t* source = image.pixels.data() + static_cast<std::size_t>(sourceTop + sy) * image.width;
    std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (int x = area.L; x < area.R; ++x) {
      const int sx = std::min(columns - 1, static_cast<int>((static_cast<float>(x - left) + 0.5f) / scale_));
      BlendInto(row[x], source[sx], weight);
    }
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
  if (scale_ == 1.0f) {
    DrawWuLine(c, x1, y1, x2, y2);
    return;
  }
  // Pixel centres of editor pixels to those of the buffer; the line as wide as one editor
  // pixel.
  auto place = [this](float v) { return (v + 0.5f) * scale_ - 0.5f; };
  DrawWideLine(c, place(x1), place(y1), place(x2), place(y2), scale_);
}

void IGraphicsRaster::DrawWuLine(std::uint32_t c, float x1, float y1, float x2, float y2) {
  const bool steep = OrderAlongMajorAxis(x1, y1, x2, y2);
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

// Wu's line generalised to a width: along the major axis each step covers the pixels that
// the span of width pixels around the ideal line overlaps, in proportion; the ends reach
// half the width past the end points, as the one-pixel line's do.
void IGraphicsRaster::DrawWideLine(std::uint32_t c, float x1, float y1, float x2, float y2,
                                   float width) {
  const bool steep = OrderAlongMajorAxis(x1, y1, x2, y2);
  const float dx = x2 - x1;
  const float gradient = dx > 0.0f ? (y2 - y1) / dx : 0.0f;
  const float half = width * 0.5f;
  const int majorLimit = steep ? height_ : width_;
  const int from = std::max(static_cast<int>(std::floor(x1 - half + 0.5f)), 0);
  const int to = std::min(static_cast<int>(std::floor(x2 + half + 0.5f)), majorLimit - 1);
  for (int major = from; major <= to; ++major) {
    const float m = static_cast<float>(major);
    const float along = Overlap(m, x1 - half, x2 + half);
    const float centre = y1 + gradient * (std::clamp(m, x1, x2) - x1);
    const int first = static_cast<int>(std::floor(centre - half + 0.5f));
    const int last = static_cast<int>(std::floor(centre + half + 0.5f));
    for (int minor = first; minor <= last; ++minor) {
      const float coverage = along * Overlap(static_cast<float>(minor), centre - half, centre + half);
      if (steep)
        PlotCoverage(minor, major, c, coverage);
      else
        PlotCoverage(major, minor, c, coverage);
    }
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
  // The font is set at the scaled size: text stays sharp instead of enlarged.
  const platform::FontSpec font{style.font, ToBuffer(style.size), style.style == ITextStyle::Bold,
                                style.style == ITextStyle::Italic};
  const std::uint32_t color = Premultiplied(style.color);
  const IRect box = ToBuffer(rect);
  for (std::size_t start = 0, line = 0;; ++line) {
    const std::size_t end = text.find('\n', start);
    const std::string_view piece = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!piece.empty()) {
      if (!platform::RenderTextLine(font, piece, textMask_)) return false;
      const int top = ToBuffer(rect.T + static_cast<int>(line) * style.size);
      int pen = box.L;
      if (style.align == ITextAlign::Center) pen = box.L + (box.W() - textMask_.advance) / 2;
      if (style.align == ITextAlign::Right) pen = box.R - textMask_.advance;
      BlendTextMask(pen + textMask_.left, top, color);
    }
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}
