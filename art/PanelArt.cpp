#include "art/PanelArt.h"

#include <cmath>
#include <cstdio>

#include "art/ArtLayout.h"
#include "art/Materials.h"
#include "art/Palette.h"
#include "art/PanelParts.h"
#include "art/Shapes.h"
#include "art/Typeface.h"

namespace {

using namespace layout;

Box Whole(const Canvas& c) { return {0, 0, c.Width(), c.Height()}; }

// The graph's axes: 20 Hz to 20480 Hz over ten octaves, +40 dB at the top to -80 dB.
constexpr float kLowestHz = 20.0f;
constexpr float kOctaves = 10.0f;
constexpr float kTopDb = 40.0f;
constexpr float kSpanDb = 120.0f;

float FrequencyX(float hz, float width) { return std::log2(hz / kLowestHz) / kOctaves * width; }
float DecibelY(float db, float height) { return (kTopDb - db) * height / kSpanDb; }

void DrawDarkPanel(Canvas& c, float radius) {
  const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
  c.Fill(Whole(c), shape::RoundRect(0, 0, w, h, radius), [=](float x, float y) {
    return material::Tolex(material::VerticalShade(Hex(0x27282b), y, 0, h, 1.15f, 0.85f), x, y, 31);
  });
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(0, 0, w, h, radius), shape::RoundRect(1.5f, 1.5f, w - 1.5f, h - 1.5f, radius)),
               palette::kAccent);
}

void DrawGraphScreen(Canvas& c, float l, float t, float r, float b) {
  c.FillColour(Whole(c), shape::RoundRect(l - 3, t - 3, r + 3, b + 3, 3), Hex(0x0a0b0c));
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(l - 3, t - 3, r + 3, b + 3, 3),
                                         shape::RoundRect(l - 3, t - 3, r + 3, b + 2, 3)),
               Hex(0xffffff, 0.45f));
  c.Fill(Whole(c), shape::Rect(l, t, r, b), [=](float x, float y) {
    const float dx = (x - (l + r) * 0.5f) / (r - l), dy = (y - (t + b) * 0.5f) / (b - t);
    return Shade(palette::kScreen, 1.25f - 0.9f * (dx * dx + dy * dy));
  });
  const float w = r - l, h = b - t;
  const Rgba minor = Hex(0x8fa8b8, 0.10f), major = Hex(0x8fa8b8, 0.28f);
  for (int decade = 10; decade <= 10000; decade *= 10)
    for (int m = 1; m <= 9; ++m) {
      const float hz = static_cast<float>(decade * m);
      if (hz < kLowestHz || hz > 20480.0f) continue;
      const float x = std::floor(l + FrequencyX(hz, w)) + 0.5f;
      const bool labelled = m == 1 || m == 2 || m == 5;
      c.FillColour(Whole(c), shape::Rect(x - 0.5f, t, x + 0.5f, b), labelled ? major : minor);
    }
  for (int db = 40; db >= -80; db -= 10) {
    const float y = std::floor(t + DecibelY(static_cast<float>(db), h)) + 0.5f;
    c.FillColour(Whole(c), shape::Rect(l, y - 0.5f, r, y + 0.5f), db % 20 == 0 ? major : minor);
  }
  const float zero = std::floor(t + DecibelY(0, h)) + 0.5f;
  c.FillColour(Whole(c), shape::Rect(l, zero - 0.5f, r, zero + 0.5f), Hex(0xe8892b, 0.45f));
}

void DrawGraphLabels(Canvas& c, float l, float t, float r, float b) {
  const float w = r - l, h = b - t;
  const Type small = LabelType(6.5f);
  const std::pair<float, const char*> marks[] = {{20, "20"},     {50, "50"},   {100, "100"},
                                                 {200, "200"},   {500, "500"}, {1000, "1k"},
                                                 {2000, "2k"},   {5000, "5k"}, {10000, "10k"},
                                                 {20000, "20k"}};
  for (const auto& [hz, text] : marks) {
    const float x = l + FrequencyX(hz, w);
    DrawEngraved(c, small, text, std::clamp(x, l + 4, r - 5), b + 11, Align::Centre, palette::kInk, palette::kInkEdge);
  }
  DrawEngraved(c, small, "Hz", r + 6, b + 11, Align::Left, palette::kInk, palette::kInkEdge);
  for (int db = 40; db >= -80; db -= 20) {
    const float y = t + DecibelY(static_cast<float>(db), h);
    char text[8];
    std::snprintf(text, sizeof text, db > 0 ? "+%d" : "%d", db);
    DrawEngraved(c, small, text, r + 5, std::clamp(y + 2.5f, t + 6, b + 2), Align::Left, palette::kInk, palette::kInkEdge);
  }
  DrawEngraved(c, small, "dB", r + 5, t - 4, Align::Left, palette::kInk, palette::kInkEdge);
}

}  // namespace

Canvas DrawAboutBox(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  DrawDarkPanel(c, 10);
  c.FillSoft(Whole(c), shape::Circle(w * 0.5f, 62, 70), Hex(0xe8892b, 0.08f), 30);
  DrawLogo(c, w * 0.5f, 72, 44, Align::Centre);
  DrawText(c, Type{Face::SansBold, 9.0f, 2.2f}, "GUITAR AMPLIFIER SIMULATOR", w * 0.5f, 94, Align::Centre, Hex(0xc9c3b4));
  c.FillColour(Whole(c), shape::Rect(40, 108, w - 40, 109), Hex(0xe8892b, 0.6f));
  DrawText(c, Type{Face::Sans, 15.0f}, "Voltrex", w * 0.5f, 132, Align::Centre, palette::kWhitePrint);
  DrawText(c, Type{Face::Sans, 12.0f}, "version 2.5.0", w * 0.5f, 150, Align::Centre, Hex(0xd9d6cf));
  DrawText(c, Type{Face::Sans, 12.0f}, "by wavesmither", w * 0.5f, 167, Align::Centre, Hex(0xd9d6cf));
  DrawText(c, Type{Face::Sans, 10.0f}, "VST 2 plug-in  \xc2\xb7  16 drive models  \xc2\xb7  impulse-response cabinets",
           w * 0.5f, 190, Align::Centre, Hex(0x9b978e));
  DrawText(c, Type{Face::SansItalic, 9.0f}, "click to close", w * 0.5f, h - 12, Align::Centre, Hex(0x7d7a73));
  return c;
}

Canvas DrawBrowserPanel(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float ox = static_cast<float>(kBrowserPanel.x), oy = static_cast<float>(kBrowserPanel.y);
  DrawPlate(c, 0, 0, w, h, 8, 41);
  for (float x : {7.0f, w - 7})
    for (float y : {7.0f, h - 7}) DrawScrew(c, x, y, x + y);
  const float listT = kListT - oy, listB = kListB - oy;
  DrawLabel(c, "PRESETS", kPresetListL - ox, listT - 6, Align::Left, 8.0f);
  DrawLabel(c, "BANKS", kBankListL - ox, listT - 6, Align::Left, 8.0f);
  DrawLcdWindow(c, kPresetListL - ox - 3, listT - 1, kPresetListR - ox + 2, listB + 2);
  DrawLcdWindow(c, kBankListL - ox - 3, listT - 1, kBankListR - ox + 2, listB + 2);
  for (float x : {kPresetFaderX - ox, kBankFaderX - ox}) {
    const float t = kFaderY - oy, b = t + kFaderLength;
    c.FillColour(Whole(c), shape::RoundRect(x + 2, t, x + 8, b, 3), Hex(0x18191b));
    c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(x + 2, t, x + 8, b + 1, 3), shape::RoundRect(x + 2, t, x + 8, b, 3)),
                 Hex(0xffffff, 0.5f));
  }
  DrawLabel(c, "PRESET BROWSER", w * 0.5f, h - 11, Align::Centre, 8.0f);
  DrawLabel(c, "PICK A BANK, THEN A PRESET", w - 14, h - 11, Align::Right, 6.0f);
  return c;
}

Canvas DrawResponsePanel(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float ox = static_cast<float>(kResponsePanel.x), oy = static_cast<float>(kResponsePanel.y);
  DrawPlate(c, 0, 0, w, h, 6, 51);
  for (float x : {6.0f, w - 6})
    for (float y : {6.0f, h - 6}) DrawScrew(c, x, y, x * 2 + y);
  const float l = kGraphL - ox, t = kGraphT - oy, r = kGraphR - ox, b = kGraphB - oy;
  DrawGraphScreen(c, l, t, r, b);
  DrawGraphLabels(c, l, t, r, b);
  DrawLabel(c, "CABINET RESPONSE", l, b + 34, Align::Left, 8.5f);
  DrawLabel(c, "IMPULSE FREQUENCY RESPONSE", l, b + 45, Align::Left, 6.0f);
  for (auto [knob, text] : {std::pair{kIrDry, "DRY LEVEL"}, std::pair{kIrWet, "WET LEVEL"}}) {
    const float cx = knob.x - ox + kMainKnobW * 0.5f, cy = knob.y - oy + kMainKnobH * 0.5f;
    DrawKnobScale(c, cx, cy, 18.3f, 11, palette::kInk);
    DrawLabel(c, text, cx, h - 4, Align::Centre, 6.5f);
  }
  DrawLabel(c, "-INF", kIrDry.x - ox + 2, h - 14, Align::Right, 5.5f);
  DrawLabel(c, "+24 dB", kIrWet.x - ox + kMainKnobW + 4, h - 14, Align::Left, 5.5f);
  return c;
}
