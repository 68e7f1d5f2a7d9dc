#include "art/KnobArt.h"

#include <cmath>

#include "art/Materials.h"
#include "art/Shapes.h"

namespace {

using shape::kPi;

float Radians(float degrees) { return degrees * kPi / 180.0f; }

// How much a point on a disc faces the light: -1 (away) to 1 (towards), by its position.
float Facing(float dx, float dy, float radius) {
  return -(dx * material::kLightX + dy * material::kLightY) / radius;
}

void DrawShadow(Canvas& canvas, float cx, float cy, float radius) {
  canvas.FillSoft(shape::AroundCircle(cx + 1, cy + 2, radius, 4), shape::Circle(cx + 1.0f, cy + 2.0f, radius),
                  Hex(0x000000, 0.55f), 2.0f);
}

// A disc lit from the upper left with a bevelled rim.
void DrawDisc(Canvas& canvas, float cx, float cy, float radius, const Rgba& colour, int knurls,
              float sheen) {
  canvas.Fill(shape::AroundCircle(cx, cy, radius), shape::Circle(cx, cy, radius),
              [=](float x, float y) {
                const float dx = x - cx, dy = y - cy;
                const float r = std::hypot(dx, dy);
                float light = 1.0f + sheen * Facing(dx, dy, radius);
                const float rim = std::clamp((r - (radius - 2.2f)) / 2.2f, 0.0f, 1.0f);
                light += rim * 0.35f * Facing(dx, dy, r + 0.001f);
                if (knurls > 0 && rim > 0.0f)
                  light *= 1.0f - rim * 0.35f * (0.5f + 0.5f * std::cos(knurls * std::atan2(dy, dx)));
                return Shade(colour, light);
              });
}

// Spun metal: highlights at two opposite angles and fine concentric turning marks.
void DrawMetalCap(Canvas& canvas, float cx, float cy, float radius, const Rgba& colour) {
  canvas.Fill(shape::AroundCircle(cx, cy, radius), shape::Circle(cx, cy, radius),
              [=](float x, float y) {
                const float dx = x - cx, dy = y - cy;
                const float angle = std::atan2(dy, dx);
                const float highlight = std::cos(2.0f * (angle + kPi * 0.3f));
                const float rings = material::Noise(std::hypot(dx, dy) * 2.5f, 0.5f, 11) - 0.5f;
                float light = 0.86f + 0.2f * highlight + 0.08f * rings;
                const float edge = std::clamp((std::hypot(dx, dy) - (radius - 1.2f)) / 1.2f, 0.0f, 1.0f);
                light -= edge * 0.25f;
                return Shade(colour, light);
              });
}

void DrawPointer(Canvas& canvas, float cx, float cy, const KnobStyle& style, float degrees) {
  const float a = Radians(degrees);
  const float ux = std::sin(a), uy = -std::cos(a);
  const float margin = style.pointerTo + style.pointerWidth + 2.0f;
  const Box box = shape::AroundCircle(cx, cy, margin);
  if (style.pointerDot) {
    const float px = cx + ux * style.pointerTo, py = cy + uy * style.pointerTo;
    canvas.FillColour(box, shape::Circle(px, py + 0.6f, style.pointerWidth * 0.5f), Hex(0x000000, 0.35f));
    canvas.FillColour(box, shape::Circle(px, py, style.pointerWidth * 0.5f), style.pointer);
    return;
  }
  const auto line = shape::Segment(cx + ux * style.pointerFrom, cy + uy * style.pointerFrom,
                                   cx + ux * style.pointerTo, cy + uy * style.pointerTo,
                                   style.pointerWidth);
  canvas.FillColour(box, shape::Offset(line, 0.0f, 0.7f), Hex(0x000000, 0.3f));
  canvas.FillColour(box, line, style.pointer);
}

void DrawScale(Canvas& canvas, float cx, float cy, const KnobStyle& style) {
  for (int i = 0; i < style.scaleDots; ++i) {
    const float a = Radians(kKnobMinDegrees + (kKnobMaxDegrees - kKnobMinDegrees) * i /
                                                  static_cast<float>(style.scaleDots - 1));
    const float x = cx + std::sin(a) * style.scaleRadius, y = cy - std::cos(a) * style.scaleRadius;
    const bool end = i == 0 || i == style.scaleDots - 1;
    canvas.FillColour(shape::AroundCircle(x, y, 2), shape::Circle(x, y, end ? 1.1f : 0.75f), style.scale);
  }
}

}  // namespace

float KnobFrameAngle(int k, int n) {
  if (n < 2) return kKnobMinDegrees;
  return kKnobMinDegrees + (kKnobMaxDegrees - kKnobMinDegrees) * static_cast<float>(k - 1) /
                               static_cast<float>(n - 1);
}

void DrawKnob(Canvas& canvas, float cx, float cy, const KnobStyle& style, float degrees) {
  if (style.scaleRadius > 0.0f) DrawScale(canvas, cx, cy, style);
  const float outer = std::max(style.skirtRadius, style.bodyRadius);
  DrawShadow(canvas, cx, cy, outer);
  if (style.skirtRadius > 0.0f) {
    DrawDisc(canvas, cx, cy, style.skirtRadius, style.skirt, 0, 0.25f);
    const float a = Radians(degrees);
    const float ux = std::sin(a), uy = -std::cos(a);
    canvas.FillColour(shape::AroundCircle(cx, cy, style.skirtRadius),
                      shape::Segment(cx + ux * style.bodyRadius, cy + uy * style.bodyRadius,
                                     cx + ux * (style.skirtRadius - 1.2f), cy + uy * (style.skirtRadius - 1.2f),
                                     1.6f),
                      style.pointer);
    DrawShadow(canvas, cx, cy, style.bodyRadius);
  }
  DrawDisc(canvas, cx, cy, style.bodyRadius, style.body, style.knurls, 0.18f);
  if (style.capRadius > 0.0f) {
    if (style.metalCap)
      DrawMetalCap(canvas, cx, cy, style.capRadius, style.cap);
    else
      DrawDisc(canvas, cx, cy, style.capRadius, style.cap, 0, 0.2f);
  }
  DrawPointer(canvas, cx, cy, style, degrees);
}

Canvas KnobStrip(int width, int frameHeight, int frames, const KnobStyle& style) {
  Canvas strip(width, frameHeight * frames);
  const float cx = width * 0.5f, cy = frameHeight * 0.5f;
  for (int k = 1; k <= frames; ++k) {
    Canvas frame(width, frameHeight);
    DrawKnob(frame, cx, cy, style, KnobFrameAngle(k, frames));
    strip.Draw(frame, 0, (k - 1) * frameHeight);
  }
  return strip;
}

Canvas SliderStrip(int width, int frameHeight, int frames) {
  Canvas strip(width, frameHeight * frames);
  const float cx = width * 0.5f;
  constexpr float kCapHeight = 9.0f;
  constexpr float kCapHalfWidth = 7.0f;
  const float top = 3.0f, bottom = frameHeight - 3.0f;
  for (int k = 1; k <= frames; ++k) {
    Canvas frame(width, frameHeight);
    frame.FillColour({0, 0, width, frameHeight}, shape::RoundRect(cx - 2.0f, top, cx + 2.0f, bottom, 2.0f),
                     Hex(0x0d0b09));
    frame.FillColour({0, 0, width, frameHeight}, shape::RoundRect(cx - 2.0f, top + 1.0f, cx + 2.0f, bottom + 0.5f, 2.0f),
                     Hex(0x6b5a48, 0.35f));
    const float travel = bottom - top - kCapHeight;
    const float capTop = top + travel * (1.0f - static_cast<float>(k - 1) / static_cast<float>(frames - 1));
    const float capBottom = capTop + kCapHeight;
    frame.FillSoft({0, 0, width, frameHeight},
                   shape::RoundRect(cx - kCapHalfWidth + 0.5f, capTop + 1.5f, cx + kCapHalfWidth + 0.5f, capBottom + 1.5f, 2.0f),
                   Hex(0x000000, 0.5f), 1.2f);
    frame.Fill({0, 0, width, frameHeight},
               shape::RoundRect(cx - kCapHalfWidth, capTop, cx + kCapHalfWidth, capBottom, 2.0f),
               [=](float, float y) { return material::VerticalShade(Hex(0x2a2623), y, capTop, capBottom, 1.9f, 0.8f); });
    frame.FillColour({0, 0, width, frameHeight},
                     shape::Rect(cx - kCapHalfWidth + 1.5f, capTop + kCapHeight * 0.5f - 0.7f,
                                 cx + kCapHalfWidth - 1.5f, capTop + kCapHeight * 0.5f + 0.7f),
                     Hex(0xf1ead8));
    strip.Draw(frame, 0, (k - 1) * frameHeight);
  }
  return strip;
}
