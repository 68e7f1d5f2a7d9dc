#include "art/PedalArt.h"

#include <cmath>

#include "art/Materials.h"
#include "art/PedalLayout.h"
#include "art/Shapes.h"
#include "art/Typeface.h"

namespace {

using pedal::kLayouts;
using pedal::Layout;
using pedal::Part;
using pedal::Place;

// Pedals are painted in editor coordinates on a canvas reaching to the panel's far corner,
// then cut out at the panel's position.
constexpr int kEditorRight = pedal::kPanelX + pedal::kPanelWidth;
constexpr int kEditorBottom = pedal::kPanelY + pedal::kPanelHeight;
// Knob rows further apart than this are two rows: labels above the upper, below the lower.
constexpr int kRowGap = 30;

enum class Finish { Enamel, Metallic, Wood, Brushed, Tolex, Matte };

struct Look {
  float l, t, r, b, radius;
  Rgba body;
  Finish finish;
  Rgba print;             // knob labels
  Type nameType;
  Rgba nameColour;
  Rgba nameOutline;       // alpha 0: none
  float nameX, nameY;     // centre and baseline
  bool labelsBelow;       // single row pedals: labels under the knobs
};

Box Whole(const Canvas& c) { return {0, 0, c.Width(), c.Height()}; }

// Visible radius of the knob on each knob image (the frame is larger than the knob).
float KnobRadius(int image) {
  switch (image) {
    case 118: case 125: return 15.0f;
    case 120: return 11.0f;
    case 121: return 13.5f;
    case 122: return 12.5f;
    default: return 14.0f;
  }
}

Rgba Surface(const Look& look, float x, float y, int seed) {
  const Rgba lit = material::VerticalShade(look.body, y, look.t, look.b, 1.12f, 0.86f);
  switch (look.finish) {
    case Finish::Metallic: {
      const float flake = material::Hash(static_cast<int>(x), static_cast<int>(y), seed);
      return Shade(material::Speckle(lit, x, y, seed, 0.05f), flake > 0.93f ? 1.18f : 1.0f);
    }
    case Finish::Wood: {
      const float warp = material::Noise(x / 25.0f, y / 90.0f, seed) * 14.0f;
      const float grain = 0.5f + 0.5f * std::sin((x + warp) * 0.9f);
      const float rings = material::Noise(x / 3.0f, y / 40.0f, seed + 1);
      return Shade(lit, 0.82f + 0.16f * grain * rings + 0.1f * rings);
    }
    case Finish::Brushed: return material::BrushedMetal(lit, x, y, seed, 0.07f);
    case Finish::Tolex: return material::Tolex(lit, x, y, seed);
    case Finish::Matte: return material::Speckle(lit, x, y, seed, 0.06f);
    default: return material::Speckle(lit, x, y, seed, 0.025f);
  }
}

template <class Outline>
void DrawBody(Canvas& c, const Look& look, Outline outline, int seed) {
  c.FillSoft(Whole(c), shape::Offset(outline, 3, 6), Hex(0x000000, 0.6f), 5.0f);
  // Input and output jacks on the sides.
  const float jackY = look.t + (look.b - look.t) * 0.28f;
  for (float x : {look.l - 5, look.r - 1}) {
    c.Fill(Whole(c), shape::RoundRect(x, jackY, x + 6, jackY + 14, 1.5f),
           [=](float, float y) { return material::VerticalShade(Hex(0x9fa3a9), y, jackY, jackY + 14, 1.3f, 0.6f); });
  }
  c.Fill(Whole(c), outline, [&](float x, float y) { return Surface(look, x, y, seed); });
  c.FillColour(Whole(c), shape::Subtract(outline, shape::Offset(outline, 1.2f, 1.5f)), Hex(0xffffff, 0.35f));
  c.FillColour(Whole(c), shape::Subtract(outline, shape::Offset(outline, -1.2f, -1.5f)), Hex(0x000000, 0.4f));
}

void DrawName(Canvas& c, const Layout& layout, const Look& look) {
  if (look.nameOutline.a > 0.0f)
    for (int i = 0; i < 8; ++i) {
      const float a = i * shape::kPi / 4.0f;
      DrawText(c, look.nameType, layout.name, look.nameX + std::cos(a) * 1.3f, look.nameY + std::sin(a) * 1.3f,
               Align::Centre, look.nameOutline);
    }
  DrawText(c, look.nameType, layout.name, look.nameX + 0.8f, look.nameY + 1.0f, Align::Centre, Hex(0x000000, 0.35f));
  DrawText(c, look.nameType, layout.name, look.nameX, look.nameY, Align::Centre, look.nameColour);
}

bool HasKnobBelow(const Layout& layout, const Place& place) {
  for (const Place& other : layout.knobs)
    if (other.part == Part::Knob && other.y > place.y + kRowGap) return true;
  return false;
}

bool HasKnobAbove(const Layout& layout, const Place& place) {
  for (const Place& other : layout.knobs)
    if (other.part == Part::Knob && other.y < place.y - kRowGap) return true;
  return false;
}

void DrawLabels(Canvas& c, const Layout& layout, const Look& look) {
  const Type type{Face::SansBold, 7.5f, 0.4f, 0.88f};
  const float radius = KnobRadius(layout.knobImage);
  for (const Place& place : layout.knobs) {
    if (place.part == Part::None) continue;
    if (place.part != Part::Knob) {
      const float cx = place.x + pedal::kToggleSize * 0.5f;
      DrawText(c, type, place.label, cx, place.y + pedal::kToggleSize + 9.0f, Align::Centre, look.print);
      continue;
    }
    const float cx = place.x + layout.knobW * 0.5f, cy = place.y + layout.knobH * 0.5f;
    if (layout.knobImage == 119) {  // slide faders: label over the slot
      DrawText(c, type, place.label, cx, static_cast<float>(place.y) - 3.0f, Align::Centre, look.print);
      continue;
    }
    const bool below = HasKnobAbove(layout, place) || (look.labelsBelow && !HasKnobBelow(layout, place));
    const float baseline = below ? cy + radius + 9.0f : cy - radius - 4.0f;
    DrawText(c, type, place.label, cx, baseline, Align::Centre, look.print);
  }
}

// A recess in the body where a large foot plate moves.
void DrawPlateWell(Canvas& c, const Layout& layout) {
  if (layout.switchImage == 130) return;
  const float l = layout.switchX + 1.0f, t = layout.switchY + 1.0f;
  const float r = layout.switchX + layout.switchW - 2.0f, b = layout.switchY + layout.switchH - 2.0f;
  c.FillColour(Whole(c), shape::RoundRect(l, t, r, b, 8), Hex(0x050505, 0.85f));
}

// Scallops along the top edge, like a bat's wings.
auto BatOutline(const Look& look) {
  const auto box = shape::RoundRect(look.l, look.t, look.r, look.b, look.radius);
  const float cx = (look.l + look.r) * 0.5f;
  auto bites = [=](float x, float y) {
    float d = 1e9f;
    for (int i = -2; i <= 2; ++i) {
      if (i == 0) continue;
      const float bx = cx + i * 30.0f;
      d = std::min(d, std::hypot(x - bx, y - (look.t - 7.0f)) - (std::abs(i) == 1 ? 16.0f : 13.0f));
    }
    return d;
  };
  return shape::Subtract(box, bites);
}

void DrawBatEmblem(Canvas& c, float cx, float cy, const Rgba& colour) {
  const auto body = shape::Union(shape::Circle(cx, cy, 5.0f), shape::Circle(cx, cy - 6.0f, 3.2f));
  const float lx[4] = {cx - 3, cx - 3, cx - 24, cx - 34};
  const float ly[4] = {cy - 4, cy + 4, cy + 7, cy - 11};
  const float rx[4] = {cx + 3, cx + 34, cx + 24, cx + 3};
  const float ry[4] = {cy - 4, cy - 11, cy + 7, cy + 4};
  auto scallops = [=](float x, float y) {
    float d = 1e9f;
    for (int i : {-26, -17, -8, 8, 17, 26}) d = std::min(d, std::hypot(x - (cx + i), y - (cy + 9.5f)) - 4.6f);
    return d;
  };
  const auto wings = shape::Subtract(shape::Union(shape::Polygon(lx, ly), shape::Polygon(rx, ry)), scallops);
  c.FillColour(Whole(c), shape::Union(body, wings), colour);
}

void DrawGhost(Canvas& c, float cx, float cy, const Rgba& colour) {
  auto ghost = [=](float x, float y) {
    const float head = std::hypot(x - cx, y - cy) - 34.0f;
    const float wave = 4.0f * std::sin((x - cx) * 0.28f);
    const float sheet = std::max({std::fabs(x - cx) - 34.0f, cy - y, y - (cy + 52.0f + wave)});
    return std::min(head, sheet);
  };
  c.FillColour(Whole(c), ghost, colour);
  for (float ex : {cx - 12.0f, cx + 12.0f}) c.FillColour(Whole(c), shape::Circle(ex, cy - 4, 6.5f), Hex(0x6a4d8e, 0.18f));
}

void DrawCamouflage(Canvas& c, const Look& look) {
  const auto outline = shape::RoundRect(look.l, look.t, look.r, look.b, look.radius);
  const Rgba patches[3] = {Hex(0x2f3420), Hex(0x6f6a46), Hex(0x1f2118)};
  for (int i = 0; i < 3; ++i) {
    auto blob = [=](float x, float y) {
      const float n = material::Noise(x / 22.0f, y / 16.0f, 60 + i * 9);
      return (0.62f - n) * 20.0f;
    };
    c.FillColour(Whole(c), shape::Intersect(outline, blob), WithAlpha(patches[i], 0.85f));
  }
}

void DrawHazardBand(Canvas& c, float l, float t, float r, float b) {
  c.Fill(Whole(c), shape::Rect(l, t, r, b), [](float x, float y) {
    const float stripe = std::fmod(x + y + 1000.0f, 12.0f);
    return stripe < 6.0f ? Hex(0xf2c21b) : Hex(0x151515);
  });
}

void DrawTapeLabel(Canvas& c, float cx, float cy, float w, float h) {
  const float xs[4] = {cx - w * 0.5f, cx + w * 0.5f, cx + w * 0.5f - 2, cx - w * 0.5f + 2};
  const float ys[4] = {cy - h * 0.5f - 1, cy - h * 0.5f + 1, cy + h * 0.5f + 1, cy + h * 0.5f - 1};
  c.Fill(Whole(c), shape::Polygon(xs, ys), [](float x, float y) {
    return material::Speckle(Hex(0xe3d6a6), x, y, 77, 0.06f);
  });
}

void DrawFlames(Canvas& c, const Look& look) {
  const auto outline = shape::RoundRect(look.l, look.t, look.r, look.b, look.radius);
  auto flame = [=](float x, float y) {
    const float u = (y - look.b) / (look.b - look.t);  // -1 at the top, 0 at the bottom
    const float lick = 0.5f + 0.5f * std::sin(x * 0.16f + material::Noise(x / 9.0f, 0.5f, 3) * 3.0f);
    return (-u - (0.18f + 0.22f * lick)) * 60.0f;
  };
  c.Fill(Whole(c), shape::Intersect(outline, flame), [=](float, float y) {
    return Mix(Hex(0xffb12b), Hex(0xc8150e), std::clamp((look.b - y) / 70.0f, 0.0f, 1.0f));
  });
}

void DrawPinstripe(Canvas& c, const Look& look, float inset, const Rgba& colour) {
  const auto outer = shape::RoundRect(look.l + inset, look.t + inset, look.r - inset, look.b - inset, std::max(2.0f, look.radius - inset));
  c.FillColour(Whole(c), shape::Subtract(outer, shape::RoundRect(look.l + inset + 1.2f, look.t + inset + 1.2f, look.r - inset - 1.2f,
                                                                 look.b - inset - 1.2f, std::max(1.0f, look.radius - inset - 1.2f))),
               colour);
}

void DrawScrews(Canvas& c, const Look& look, float inset) {
  for (float x : {look.l + inset, look.r - inset})
    for (float y : {look.t + inset, look.b - inset}) {
      c.Fill(Whole(c), shape::Circle(x, y, 2.8f), [=](float, float py) {
        return material::VerticalShade(Hex(0xb9bcc1), py, y - 2.8f, y + 2.8f, 1.3f, 0.6f);
      });
      c.FillColour(Whole(c), shape::Segment(x - 1.7f, y - 1.0f, x + 1.7f, y + 1.0f, 0.8f), Hex(0x2a2a2a));
    }
}

Look BaseLook(float l, float t, float r, float b, Rgba body, Finish finish, Rgba print, Type name,
              Rgba nameColour, float nameY) {
  return Look{l, t, r, b, 8.0f, body, finish, print, name, nameColour, Hex(0, 0.0f), (l + r) * 0.5f, nameY, false};
}

void DrawModel(Canvas& c, int model) {
  const Layout& layout = kLayouts[model];
  const int seed = 100 + model;
  switch (model) {
    case 0: case 3: {
      const bool white = model == 3;
      Look look = BaseLook(214, 188, 408, 358, white ? Hex(0xefede6) : Hex(0x3f73ad), white ? Finish::Enamel : Finish::Metallic,
                           white ? Hex(0x1c1c1c) : Hex(0xf4f4f0), Type{Face::SansBoldItalic, 19.0f, 0.5f},
                           white ? Hex(0x1c1c1c) : Hex(0xffffff), white ? 222 : 214);
      if (white) look.t = 198;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      if (white) {
        c.FillColour(Whole(c), shape::Rect(look.l + 1, 282, look.r - 1, 287), Hex(0xd3231c));
        c.FillColour(Whole(c), shape::Rect(look.l + 1, 289, look.r - 1, 290.5f), Hex(0xd3231c));
      } else {
        DrawPinstripe(c, look, 6, Hex(0xffffff, 0.7f));
      }
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 1: {
      Look look = BaseLook(210, 204, 412, 376, Hex(0xe6d9b5), Finish::Tolex, Hex(0x4a2e1c),
                           Type{Face::SerifBoldItalic, 20.0f, 0.3f}, Hex(0x5a3520), 232);
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, 12), seed);
      c.Fill(Whole(c), shape::RoundRect(look.l + 8, 316, look.r - 8, look.b - 8, 5), [](float x, float y) {
        const float weave = 0.5f + 0.25f * std::sin((x + y) * 1.6f) + 0.25f * std::sin((x - y) * 1.6f);
        return Shade(Hex(0x6b4a2e), 0.8f + 0.3f * weave);
      });
      DrawPinstripe(c, look, 5, Hex(0xb8923e));
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 2: {
      Look look = BaseLook(210, 204, 412, 376, Hex(0x7cc4ab), Finish::Metallic, Hex(0x163a30),
                           Type{Face::SerifBold, 21.0f, 1.0f}, Hex(0xfbf8ef), 226);
      look.nameOutline = Hex(0x1d4c3f);
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, 12), seed);
      c.Fill(Whole(c), shape::RoundRect(look.l + 1, look.t + 1, look.r - 1, look.t + 34, 11), [=](float, float y) {
        return material::VerticalShade(Hex(0xc9ced4), y, look.t, look.t + 34, 1.25f, 0.7f);
      });
      c.FillColour(Whole(c), shape::Rect(look.l + 1, look.t + 34, look.r - 1, look.t + 35), Hex(0x000000, 0.35f));
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      DrawScrews(c, look, 9);
      break;
    }
    case 4: {
      Look look = BaseLook(238, 190, 384, 382, Hex(0x8a4f2a), Finish::Wood, Hex(0xf3e7cf),
                           Type{Face::SerifItalic, 17.0f, 0.2f}, Hex(0xf7ecd6), 216);
      look.radius = 14;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      DrawPinstripe(c, look, 3, Hex(0xf0e2c0));
      const float rx = layout.switchX + 20.0f, ry = layout.switchY + 20.0f;
      for (float radius : {27.0f, 30.5f, 33.0f})
        c.FillColour(Whole(c), shape::Ring(rx, ry, radius, radius + (radius == 30.5f ? 1.8f : 0.8f)), Hex(0xf0e2c0, 0.85f));
      c.FillColour(Whole(c), shape::RoundRect(254, 236, 368, 290, 4), Hex(0x1a0d06, 0.55f));
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 5: case 6: case 8: {
      const Rgba colours[3] = {Hex(0x3c9a52), Hex(0xe2601f), Hex(0xa9adb3)};
      const int which = model == 5 ? 0 : (model == 6 ? 1 : 2);
      const Finish finishes[3] = {Finish::Enamel, Finish::Metallic, Finish::Brushed};
      const Type names[3] = {Type{Face::SansBoldItalic, 16.5f, 0.2f}, Type{Face::SerifBoldItalic, 30.0f, 1.0f},
                             Type{Face::MonoBold, 14.5f, 0.0f}};
      const Rgba nameColours[3] = {Hex(0xf4eed2), Hex(0xffd83a), Hex(0x151515)};
      Look look = BaseLook(245, 160, 378, 394, colours[which], finishes[which], which == 2 ? Hex(0x151515) : Hex(0xfbf6e4),
                           names[which], nameColours[which], which == 1 ? 298 : 292);
      look.radius = 6;
      if (which == 1) look.nameOutline = Hex(0x2a0d05);
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      if (which == 0) {
        c.FillColour(Whole(c), shape::RoundRect(255, 274, 368, 300, 4), Hex(0x2c7a40));
        DrawPinstripe(c, Look{255, 274, 368, 300, 4, {}, {}, {}, {}, {}, {}, 0, 0, false}, 0, Hex(0xf4eed2));
      } else if (which == 1) {
        for (float radius : {26.0f, 36.0f, 46.0f})
          c.FillColour(Whole(c), shape::Intersect(shape::Ring(311, 290, radius, radius + 2.5f), shape::Rect(look.l + 2, 266, look.r - 2, 304)),
                       Hex(0xffd83a, 0.35f));
      } else {
        DrawHazardBand(c, look.l + 1, 270, look.r - 1, 279);
        DrawScrews(c, look, 7);
      }
      DrawPlateWell(c, layout);
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 7: {
      Look look = BaseLook(248, 160, 384, 398, Hex(0x17171a), Finish::Matte, Hex(0xe8e8e8),
                           Type{Face::SansBoldItalic, 15.5f, 0.3f}, Hex(0xff2a1c), 271);
      look.radius = 5;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      DrawFlames(c, look);
      DrawPlateWell(c, layout);
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 9: {
      Look look = BaseLook(234, 158, 396, 404, Hex(0x2a2a2d), Finish::Enamel, Hex(0xededed),
                           Type{Face::SansBoldItalic, 12.0f}, Hex(0xff8a1e), 0);
      look.radius = 10;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      DrawPinstripe(c, look, 4, Hex(0xff8a1e));
      DrawPlateWell(c, layout);
      DrawLabels(c, layout, look);
      break;
    }
    case 10: {
      Look look = BaseLook(212, 180, 410, 380, Hex(0x1e1e1e), Finish::Tolex, Hex(0x1a1a1a),
                           Type{Face::SerifBoldItalic, 20.0f, 0.5f}, Hex(0xf6f2e8), 207);
      look.radius = 6;
      look.labelsBelow = true;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      c.Fill(Whole(c), shape::Rect(look.l + 6, 216, look.r - 6, 276), [](float x, float y) {
        return material::BrushedMetal(material::VerticalShade(Hex(0xd4b15c), y, 216, 276, 1.15f, 0.85f), x, y, 8, 0.08f);
      });
      c.FillColour(Whole(c), shape::Rect(look.l + 6, 276, look.r - 6, 277), Hex(0x000000, 0.5f));
      DrawPinstripe(c, look, 3, Hex(0xf0ece0, 0.8f));
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 11: {
      Look look = BaseLook(234, 162, 384, 392, Hex(0x6e4a2c), Finish::Matte, Hex(0xf0e0c4),
                           Type{Face::MonoBold, 16.0f, 0.5f}, Hex(0x2b1a0e), 309);
      look.radius = 4;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      auto grime = [](float x, float y) { return (0.66f - material::Noise(x / 14.0f, y / 14.0f, 5)) * 15.0f; };
      c.FillColour(Whole(c), shape::Intersect(shape::RoundRect(look.l, look.t, look.r, look.b, 4), grime), Hex(0x2a1a0c, 0.45f));
      DrawTapeLabel(c, 309, 304, 118, 18);
      DrawPlateWell(c, layout);
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      DrawScrews(c, look, 6);
      break;
    }
    case 12: {
      Look look = BaseLook(234, 156, 386, 392, Hex(0x231b2e), Finish::Metallic, Hex(0x8dff86),
                           Type{Face::SansBold, 17.0f, 1.2f}, Hex(0x8dff86), 290);
      look.radius = 9;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      for (float y : {270.0f, 298.0f}) {
        c.FillSoft(Whole(c), shape::Rect(look.l + 10, y - 0.6f, look.r - 10, y + 0.6f), Hex(0x4dff5a, 0.5f), 2.0f);
        c.FillColour(Whole(c), shape::Rect(look.l + 10, y - 0.5f, look.r - 10, y + 0.5f), Hex(0xb8ffb2));
      }
      c.FillSoft(Whole(c), shape::RoundRect(270, 278, 350, 292, 6), Hex(0x4dff5a, 0.18f), 6.0f);
      DrawPlateWell(c, layout);
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 13: {
      Look look = BaseLook(242, 176, 388, 366, Hex(0x1f1f24), Finish::Matte, Hex(0xf5d23a),
                           Type{Face::SansBold, 22.0f, 4.0f}, Hex(0xf5d23a), 0);
      look.radius = 10;
      DrawBody(c, look, BatOutline(look), seed);
      DrawBatEmblem(c, 315, 197, Hex(0xf5d23a));
      look.nameY = 223;
      look.nameType = Type{Face::SansBold, 14.0f, 4.0f};
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    case 14: {
      Look look = BaseLook(242, 176, 386, 364, Hex(0xd9d2ea), Finish::Enamel, Hex(0x4a2a6e),
                           Type{Face::SerifItalic, 20.0f, 0.5f}, Hex(0x4a2a6e), 198);
      look.radius = 22;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      DrawGhost(c, 314, 262, Hex(0xffffff, 0.45f));
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      break;
    }
    default: {
      Look look = BaseLook(234, 162, 384, 392, Hex(0x4f5533), Finish::Matte, Hex(0xf0ecd8),
                           Type{Face::MonoBold, 14.0f, 0.5f}, Hex(0xf0ecd8), 311);
      look.radius = 5;
      DrawBody(c, look, shape::RoundRect(look.l, look.t, look.r, look.b, look.radius), seed);
      DrawCamouflage(c, look);
      c.FillColour(Whole(c), shape::RoundRect(252, 296, 370, 316, 2), Hex(0x1c1e14, 0.9f));
      DrawPlateWell(c, layout);
      DrawName(c, layout, look);
      DrawLabels(c, layout, look);
      DrawScrews(c, look, 6);
      break;
    }
  }
}

}  // namespace

Canvas DrawPedal(int model) {
  Canvas editor(kEditorRight, kEditorBottom);
  if (model >= 0 && model < pedal::kNumModels) DrawModel(editor, model);
  Canvas panel(pedal::kPanelWidth, pedal::kPanelHeight);
  panel.Draw(editor, -pedal::kPanelX, -pedal::kPanelY);
  return panel;
}
