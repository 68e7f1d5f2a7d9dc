#include "art/PanelParts.h"

#include <cmath>

#include "art/KnobArt.h"
#include "art/Materials.h"
#include "art/Palette.h"
#include "art/Shapes.h"

namespace {

Box Whole(const Canvas& c) { return {0, 0, c.Width(), c.Height()}; }

}  // namespace

void DrawPlate(Canvas& c, float l, float t, float r, float b, float radius, int seed) {
  c.FillSoft(Whole(c), shape::RoundRect(l + 1, t + 3, r + 1, b + 3, radius), Hex(0x000000, 0.7f), 3.0f);
  c.Fill(Whole(c), shape::RoundRect(l, t, r, b, radius), [=](float x, float y) {
    const Rgba lit = material::VerticalShade(palette::kAluminium, y, t, b, 1.06f, 0.9f);
    return material::BrushedMetal(lit, x, y, seed, 0.035f);
  });
  // Bevel: a light upper-left edge and a dark lower-right one.
  const auto plate = shape::RoundRect(l, t, r, b, radius);
  c.FillColour(Whole(c), shape::Subtract(plate, shape::RoundRect(l + 1.2f, t + 1.2f, r + 1.2f, b + 1.2f, radius)),
               Hex(0xffffff, 0.55f));
  c.FillColour(Whole(c), shape::Subtract(plate, shape::RoundRect(l - 1.2f, t - 1.2f, r - 1.2f, b - 1.2f, radius)),
               Hex(0x000000, 0.35f));
}

void DrawScrew(Canvas& c, float cx, float cy, float slotDegrees) {
  c.FillSoft(Whole(c), shape::Circle(cx + 0.5f, cy + 1.0f, 3.3f), Hex(0x000000, 0.45f), 1.0f);
  c.Fill(Whole(c), shape::Circle(cx, cy, 3.2f), [=](float x, float y) {
    const float facing = -((x - cx) * material::kLightX + (y - cy) * material::kLightY) / 3.2f;
    return Shade(Hex(0xb4b7bb), 0.95f + 0.3f * facing);
  });
  const float a = slotDegrees * shape::kPi / 180.0f;
  const float dx = std::cos(a) * 2.3f, dy = std::sin(a) * 2.3f;
  c.FillColour(Whole(c), shape::Segment(cx - dx, cy - dy, cx + dx, cy + dy, 0.9f), Hex(0x2a2b2d));
}

void DrawLcdWindow(Canvas& c, float l, float t, float r, float b) {
  c.FillColour(Whole(c), shape::RoundRect(l - 3, t - 3, r + 3, b + 3, 3), Hex(0x0e0f10));
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(l - 3, t - 3, r + 3, b + 3, 3),
                                         shape::RoundRect(l - 3, t - 3, r + 3, b + 2, 3)),
               Hex(0xffffff, 0.45f));
  c.FillColour(Whole(c), shape::Rect(l, t, r, b), palette::kLcd);
  // Shade cast by the bezel on the glass's top and left edges.
  c.Fill(Whole(c), shape::Rect(l, t, r, b), [=](float x, float y) {
    const float edge = std::min(x - l, y - t);
    return Hex(0x1f2a12, std::clamp(0.28f - edge * 0.12f, 0.0f, 1.0f));
  });
}

void DrawGroupFrame(Canvas& c, float l, float t, float r, float b) {
  const auto outer = shape::RoundRect(l, t, r, b, 4);
  const auto inner = shape::RoundRect(l + 1, t + 1, r - 1, b - 1, 3);
  c.FillColour(Whole(c), shape::Offset(shape::Subtract(outer, inner), 0.8f, 0.8f), Hex(0xffffff, 0.55f));
  c.FillColour(Whole(c), shape::Subtract(outer, inner), Hex(0x3a3c40, 0.75f));
}

void DrawKnobScale(Canvas& c, float cx, float cy, float radius, int dots, const Rgba& colour) {
  for (int i = 0; i < dots; ++i) {
    const float a = (kKnobMinDegrees + (kKnobMaxDegrees - kKnobMinDegrees) * i / static_cast<float>(dots - 1)) *
                    shape::kPi / 180.0f;
    const float x = cx + std::sin(a) * radius, y = cy - std::cos(a) * radius;
    const bool end = i == 0 || i == dots - 1;
    c.FillColour(shape::AroundCircle(x, y, 2), shape::Circle(x, y, end ? 1.1f : 0.8f), colour);
  }
}

void DrawJack(Canvas& c, float cx, float cy) {
  float xs[6], ys[6];
  for (int i = 0; i < 6; ++i) {
    const float a = i * shape::kPi / 3.0f;
    xs[i] = cx + 10.0f * std::cos(a);
    ys[i] = cy + 10.0f * std::sin(a);
  }
  c.FillSoft(Whole(c), shape::Offset(shape::Polygon(xs, ys), 1, 2), Hex(0x000000, 0.5f), 1.5f);
  c.Fill(Whole(c), shape::Polygon(xs, ys), [=](float x, float y) {
    const float facing = -((x - cx) * material::kLightX + (y - cy) * material::kLightY) / 10.0f;
    return Shade(Hex(0xaeb2b8), 0.95f + 0.3f * facing);
  });
  c.Fill(Whole(c), shape::Circle(cx, cy, 6.5f), [=](float, float y) {
    return material::VerticalShade(Hex(0x9ea2a8), y, cy - 6.5f, cy + 6.5f, 0.7f, 1.2f);
  });
  c.FillColour(Whole(c), shape::Circle(cx, cy, 4.2f), Hex(0x060606));
}

Type LabelType(float size) { return Type{Face::SansBold, size, 0.45f, 0.88f}; }

void DrawLabel(Canvas& c, std::string_view text, float x, float baseline, Align align, float size) {
  DrawEngraved(c, LabelType(size), text, x, baseline, align, palette::kInk, palette::kInkEdge);
}

void DrawLogo(Canvas& c, float x, float baseline, float size, Align align) {
  const Type type{Face::SansBoldItalic, size, size * 0.08f, 1.0f};
  const float top = baseline - size * 0.72f;
  DrawText(c, type, "VOLTREX", x + 1.0f, baseline + 1.5f, align, Hex(0x000000, 0.8f));
  DrawText(c, type, "VOLTREX", x, baseline + 0.8f, align, palette::kAccentDark);
  DrawText(c, type, "VOLTREX", x, baseline, align, [=](float, float y) {
    const float t = (y - top) / (size * 0.72f);
    return t < 0.5f ? Mix(Hex(0xffffff), Hex(0xc9ccd1), t * 2.0f) : Mix(Hex(0x8c9097), Hex(0xe9ebee), (t - 0.5f) * 2.0f);
  });
}
