// Text for the artwork: the Liberation families (metric twins of Arial, Times and Courier)
// rendered by FreeType at any pixel size, with letter spacing and paint of our own.
#pragma once

#include <string_view>
#include <vector>

#include "art/Canvas.h"

enum class Face {
  Sans, SansBold, SansItalic, SansBoldItalic,
  Serif, SerifBold, SerifItalic, SerifBoldItalic,
  Mono, MonoBold,
};

enum class Align { Left, Centre, Right };

struct Type {
  Face face = Face::SansBold;
  float size = 10.0f;     // em size in pixels
  float tracking = 0.0f;  // extra pixels after every character
  float stretch = 1.0f;   // horizontal scale: below 1 for condensed labels
};

// Coverage of one line of text; (0, 0) is the pen's start on the baseline.
struct TextMask {
  int left = 0;  // column 0 lies this many pixels from the pen's start
  int top = 0;   // row 0 lies this many pixels above the baseline
  int width = 0;
  int height = 0;
  float advance = 0.0f;
  std::vector<float> coverage;
};

// False when the font files are missing.
bool RenderText(const Type& type, std::string_view text, TextMask& mask);
float TextWidth(const Type& type, std::string_view text);
// The largest size up to type.size at which text fits in width pixels.
Type FitText(Type type, std::string_view text, float width);

// type set at the canvas's scale: the text rendered at that size, not enlarged.
Type AtScale(Type type, int scale);

// Draws text with its pen start, centre or end (by align) at x and its baseline at y;
// paint(x, y) gives the colour at each pixel (editor pixels, as everything else).
template <class Paint>
void DrawText(Canvas& canvas, const Type& type, std::string_view text, float x, float baseline,
              Align align, Paint paint) {
  const int scale = canvas.Scale();
  const float s = static_cast<float>(scale);
  TextMask mask;
  if (!RenderText(AtScale(type, scale), text, mask)) return;
  float pen = x * s;
  if (align == Align::Centre) pen = x * s - mask.advance * 0.5f;
  if (align == Align::Right) pen = x * s - mask.advance;
  const int ox = static_cast<int>(std::lround(pen)) + mask.left;
  const int oy = static_cast<int>(std::lround(baseline * s)) - mask.top;
  for (int row = 0; row < mask.height; ++row)
    for (int col = 0; col < mask.width; ++col) {
      const float c = mask.coverage[static_cast<std::size_t>(row) * mask.width + col];
      if (c > 0.0f)
        canvas.Blend(ox + col, oy + row,
                     paint((static_cast<float>(ox + col) + 0.5f) / s, (static_cast<float>(oy + row) + 0.5f) / s), c);
    }
}

inline void DrawText(Canvas& canvas, const Type& type, std::string_view text, float x,
                     float baseline, Align align, const Rgba& colour) {
  DrawText(canvas, type, text, x, baseline, align, [&colour](float, float) { return colour; });
}

// Text pressed into a panel: a light edge below, the ink on top.
void DrawEngraved(Canvas& canvas, const Type& type, std::string_view text, float x,
                  float baseline, Align align, const Rgba& ink, const Rgba& edge);
