// The editor's software raster: a back buffer of 32-bit pixels (0xAARRGGBB, premultiplied
// alpha) with the drawing operations the controls use. Drawing is clipped to the buffer.
//
// Controls draw in editor pixels; a raster made with a scale factor (1, 1.5 or 2) holds
// that many pixels per editor pixel in each direction and scales every operation: bitmaps
// come from the image set of that scale, text is set at the scaled size, lines get wider.
// Width, Height, Bounds, Pixels and PixelAt are in the buffer's own pixels.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/IBitmap.h"
#include "editor/IColor.h"
#include "editor/IRect.h"
#include "editor/IText.h"
#include "platform/Fonts.h"

class IGraphicsRaster {
 public:
  // Starts opaque black; width and height in editor pixels.
  IGraphicsRaster(int width, int height, float scale = 1.0f);

  int Width() const { return width_; }
  int Height() const { return height_; }
  IRect Bounds() const { return {0, 0, width_, height_}; }
  float Scale() const { return scale_; }
  // A rectangle of editor pixels in the buffer's pixels (each edge rounded).
  IRect ToBuffer(const IRect& rect) const;
  // Row after row, width pixels each.
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  // The pixel at (x, y); 0 outside the buffer.
  std::uint32_t PixelAt(int x, int y) const;

  // Blends the colour over the rectangle.
  void FillRect(const IColor& color, const IRect& rect);

  // Draws frame (1-based, limited to the bitmap's frames) at the rectangle's top-left
  // corner, clipped to the rectangle, with weight blend (1.0 normal, 0.25 for grayed
  // controls) applied on top of the bitmap's own alpha.
  void DrawBitmap(const IBitmap& bitmap, const IRect& rect, int frame, float blend = 1.0f);

  // An antialiased line one pixel wide between two points; integer coordinates are pixel
  // centres.
  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2);

  // Draws text, line by line at each '\n', from the rectangle's top, aligned as the style
  // says; not clipped to the rectangle. False when no font is available or the text is
  // rotated (orientation other than 0), which this raster does not draw.
  bool DrawIText(const IText& style, std::string_view text, const IRect& rect);

 private:
  void BlendPixel(int x, int y, std::uint32_t premultipliedColor, std::uint32_t weight);
  int ToBuffer(int v) const;
  void DrawScaledBitmap(const IBitmap& bitmap, const IRect& rect, int frame, std::uint32_t weight);
  void DrawWuLine(std::uint32_t color, float x1, float y1, float x2, float y2);
  void DrawWideLine(std::uint32_t color, float x1, float y1, float x2, float y2, float width);
  void PlotCoverage(int x, int y, std::uint32_t premultipliedColor, float coverage);
  void BlendTextMask(int x, int y, std::uint32_t premultipliedColor);

  float scale_;
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  platform::TextMask textMask_;  // reused by every text line
};
