#include "art/IconArt.h"

#include "art/KnobArt.h"
#include "art/KnobStyles.h"
#include "art/Materials.h"
#include "art/Palette.h"
#include "art/PanelParts.h"
#include "art/PngFile.h"
#include "art/Shapes.h"

namespace {

constexpr float kCornerRadius = 40.0f;
constexpr float kPlateInset = 22.0f;
constexpr float kKnobScale = 5.6f;       // the panel's 31-pixel knob grown to fill the plate
constexpr float kPointerDegrees = 90.0f;  // turned up to three o'clock
constexpr float kScrewInset = 38.0f;

KnobStyle IconKnobStyle() {
  KnobStyle s = MainKnobStyle();
  for (float* length : {&s.skirtRadius, &s.bodyRadius, &s.capRadius, &s.pointerFrom, &s.pointerTo,
                        &s.pointerWidth})
    *length *= kKnobScale;
  return s;
}

}  // namespace

Canvas DrawAppIcon() {
  constexpr float size = static_cast<float>(kAppIconSize);
  Canvas c(kAppIconSize, kAppIconSize);
  const Box whole{0, 0, kAppIconSize, kAppIconSize};
  c.Fill(whole, shape::RoundRect(0, 0, size, size, kCornerRadius),
         [](float x, float y) { return material::Tolex(palette::kTolex, x, y, 1); });
  DrawPlate(c, kPlateInset, kPlateInset, size - kPlateInset, size - kPlateInset, kCornerRadius / 2, 4);
  for (float x : {kScrewInset, size - kScrewInset})
    for (float y : {kScrewInset, size - kScrewInset}) DrawScrew(c, x, y, 45.0f);
  DrawKnob(c, size / 2, size / 2, IconKnobStyle(), kPointerDegrees);
  return c;
}

bool EncodeAppIcon(std::vector<unsigned char>& png) {
  return EncodeArtPng(DrawAppIcon().ToPixels(), kAppIconSize, kAppIconSize, png);
}

bool WriteAppIcon(const std::string& folder) {
  std::vector<unsigned char> png;
  return EncodeAppIcon(png) && WriteFileBytes(folder + "/voltrex_icon.png", png);
}
