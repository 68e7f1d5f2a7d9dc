#include "art/BackgroundArt.h"

#include "art/ArtLayout.h"
#include "art/Materials.h"
#include "art/Palette.h"
#include "art/PanelParts.h"
#include "art/Shapes.h"

namespace {

using namespace layout;

constexpr int kWidth = 630, kHeight = 440;
// The plates and the stage.
constexpr float kLeftPlateL = 22, kLeftPlateT = 40, kLeftPlateR = 197, kLeftPlateB = 412;
constexpr float kTopPlateL = 204, kTopPlateT = 38, kTopPlateR = 614, kTopPlateB = 156;
constexpr float kStageL = 204, kStageT = 162, kStageR = 614, kStageB = 430;
// Label rows.
constexpr float kTopRowLabelY = 98, kSecondRowLabelY = 151;
constexpr float kLabelSize = 7.5f;
// PRESENCE and LOUDNESS stand closer than any other pair: smaller and pushed apart, they
// keep a clear gap between the two words.
constexpr float kCloseLabelSize = 6.5f, kCloseLabelShift = 1.5f;

Box Whole(const Canvas& c) { return {0, 0, c.Width(), c.Height()}; }

float CentreX(Point p, int width) { return static_cast<float>(p.x) + width * 0.5f; }
float CentreY(Point p, int height) { return static_cast<float>(p.y) + height * 0.5f; }

void DrawCabinet(Canvas& c) {
  c.Fill(Whole(c), shape::Rect(0, 0, kWidth, kHeight), [](float x, float y) {
    return material::Tolex(palette::kTolex, x, y, 1);
  });
  // Piping around the face.
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(6, 34, kWidth - 6, kHeight - 4, 8),
                                         shape::RoundRect(7.5f, 35.5f, kWidth - 7.5f, kHeight - 5.5f, 7)),
               Hex(0x8a7a5c, 0.8f));
}

void DrawHeader(Canvas& c) {
  DrawLogo(c, 16, 26, 26, Align::Left);
  DrawText(c, Type{Face::SansBold, 7.5f, 1.6f, 0.95f}, "GUITAR AMPLIFIER SIMULATOR", 166, 25, Align::Left,
           Hex(0xb9b2a2));
  DrawText(c, Type{Face::SansBold, 7.5f, 1.6f, 0.95f}, "MODEL VX-25  \xc2\xb7  2 CHANNEL  \xc2\xb7  IR LOADER", 612, 25,
           Align::Right, Hex(0x8f8a80));
}

void DrawButtonLabelBelow(Canvas& c, Point button, const char* text, float baseline) {
  DrawLabel(c, text, CentreX(button, kButtonW), baseline);
}

void DrawMainKnobPlace(Canvas& c, Point knob, const char* text, float labelShift = 0,
                       float labelSize = kLabelSize) {
  const float cx = CentreX(knob, kMainKnobW), cy = CentreY(knob, kMainKnobH);
  DrawKnobScale(c, cx, cy, 18.3f, 11, palette::kInk);
  DrawLabel(c, text, cx + labelShift, kSecondRowLabelY, Align::Centre, labelSize);
}

void DrawTopPlate(Canvas& c) {
  DrawPlate(c, kTopPlateL, kTopPlateT, kTopPlateR, kTopPlateB, 6, 2);
  for (float x : {kTopPlateL + 7, kTopPlateR - 7})
    for (float y : {kTopPlateT + 7, kTopPlateB - 7}) DrawScrew(c, x, y, x * 3 + y);

  // Loaded preset.
  DrawLabel(c, "PRESET", kPresetFieldL - 2, 52, Align::Left);
  DrawLcdWindow(c, kPresetFieldL - 4, kPresetFieldT - 3, kPresetFieldR + 4, kPresetFieldB + 3);
  DrawButtonLabelBelow(c, kPresetPrev, "PREV", kTopRowLabelY);
  DrawButtonLabelBelow(c, kPresetNext, "NEXT", kTopRowLabelY);
  DrawButtonLabelBelow(c, kTunerButton, "TUNER", kTopRowLabelY);

  // Noise gate.
  const float gateL = static_cast<float>(kGateButton.x) - 3, gateR = static_cast<float>(kGateRelease.x + kMainKnobW) + 3;
  DrawGroupFrame(c, gateL, 43, gateR, 102);
  DrawLabel(c, "NOISE GATE", (gateL + gateR) * 0.5f + 16, 51.5f, Align::Centre, 7.0f);
  DrawLabel(c, "ON/OFF", CentreX(kGateButton, kButtonW), kTopRowLabelY, Align::Centre, 6.5f);
  for (Point knob : {kGateThreshold, kGateRelease})
    DrawKnobScale(c, CentreX(knob, kMainKnobW), CentreY(knob, kMainKnobH), 18.3f, 11, palette::kInk);
  DrawLabel(c, "THRESHOLD", CentreX(kGateThreshold, kMainKnobW) - 1, kTopRowLabelY, Align::Centre, 6.5f);
  DrawLabel(c, "RELEASE", CentreX(kGateRelease, kMainKnobW) + 1, kTopRowLabelY, Align::Centre, 6.5f);

  // Second row: the stomp loop's jacks, then the tone stack.
  constexpr float kJackY = 119;
  DrawJack(c, 236, kJackY);
  DrawLabel(c, "RETURN", 236, kSecondRowLabelY);
  DrawJack(c, 290, kJackY);
  DrawLabel(c, "SEND TO STOMP", 290, kSecondRowLabelY);
  DrawMainKnobPlace(c, kColor, "COLOR");
  DrawMainKnobPlace(c, kPresence, "PRESENCE", -kCloseLabelShift, kCloseLabelSize);
  DrawMainKnobPlace(c, kBass, "BASS");
  DrawMainKnobPlace(c, kTreble, "TREBLE");
  DrawMainKnobPlace(c, kVolume, "VOLUME");
  const float lx = CentreX(kLoudness, kLoudnessKnobSize), ly = CentreY(kLoudness, kLoudnessKnobSize);
  DrawKnobScale(c, lx, ly, 14.8f, 9, palette::kInk);
  DrawLabel(c, "FLAT", lx - 14, ly + 22, Align::Centre, 6.5f);
  DrawLabel(c, "LOUDNESS", lx + kCloseLabelShift, kSecondRowLabelY, Align::Centre, kCloseLabelSize);
  // Hairlines between the sections of the tone stack.
  for (float x : {317.0f, 453.0f})
    c.FillColour(Whole(c), shape::Rect(x, 106, x + 1, 146), Hex(0x3a3c40, 0.45f));
}

void DrawDisplay(Canvas& c) {
  DrawLcdWindow(c, 33, 57, 183, 137);
  const Type line{Face::SansBold, 9.0f};
  DrawText(c, line, "B", 50, kLineBT + 11, Align::Centre, palette::kLcdInk);
  DrawText(c, line, "P", 50, kLinePT + 11, Align::Centre, palette::kLcdInk);
  c.FillColour(Whole(c), shape::Rect(42, 94, 176, 95), Hex(0x1f2a12, 0.35f));
}

void DrawSelectorBox(Canvas& c, const char* title, float top, Point prev, Point next, int fieldL,
                     int fieldT, int fieldR, int fieldB) {
  DrawGroupFrame(c, 28, top, 192, top + 55);
  DrawLabel(c, title, 34, top + 13, Align::Left, 8.0f);
  DrawLcdWindow(c, fieldL - 2, fieldT - 2, fieldR + 2, fieldB + 2);
  DrawLabel(c, "PREV", CentreX(prev, kButtonW), top + 13);
  DrawLabel(c, "NEXT", CentreX(next, kButtonW), top + 13);
}

void DrawLeftPlate(Canvas& c) {
  DrawPlate(c, kLeftPlateL, kLeftPlateT, kLeftPlateR, kLeftPlateB, 6, 3);
  for (float y : {kLeftPlateT + 7, kLeftPlateB - 7}) {
    DrawScrew(c, kLeftPlateL + 7, y, 40 + y);
    DrawScrew(c, kLeftPlateR - 7, y, 100 + y);
  }
  DrawDisplay(c);
  DrawSelectorBox(c, "PREAMP/DST", 167, kDstPrev, kDstNext, kDstFieldL, kDstFieldT, kDstFieldR, kDstFieldB);
  DrawSelectorBox(c, "AMP/CABINET", 224, kCabPrev, kCabNext, kCabFieldL, kCabFieldT, kCabFieldR, kCabFieldB);

  // Impulse-response loader.
  DrawGroupFrame(c, 28, 298, 192, 403);
  DrawLabel(c, "IR LOADER", 34, 311, Align::Left, 8.0f);
  DrawLabel(c, "CLICK TO LOAD A .WAV", 186, 311, Align::Right, 6.0f);
  DrawLcdWindow(c, kIrFieldL - 2, kIrFieldT - 2, kIrFieldR + 2, kIrFieldB + 2);
  constexpr float kIrLabelY = 396;
  DrawButtonLabelBelow(c, kIrOn, "ON/OFF", kIrLabelY);
  DrawButtonLabelBelow(c, kDisplay, "DISPLAY", kIrLabelY);
  DrawButtonLabelBelow(c, kIrPrev, "PREV", kIrLabelY);
  DrawButtonLabelBelow(c, kIrNext, "NEXT", kIrLabelY);
}

void DrawStage(Canvas& c) {
  c.FillColour(Whole(c), shape::RoundRect(kStageL - 1, kStageT - 1, kStageR + 1, kStageB + 1, 7), Hex(0x000000, 0.8f));
  c.Fill(Whole(c), shape::RoundRect(kStageL, kStageT, kStageR, kStageB, 6), [](float x, float y) {
    const float cx = (kStageL + kStageR) * 0.5f, cy = (kStageT + kStageB) * 0.5f;
    const float dx = (x - cx) / (kStageR - kStageL), dy = (y - cy) / (kStageB - kStageT);
    const float vignette = 1.08f - 0.5f * (dx * dx + dy * dy);
    return Shade(material::Speckle(palette::kStage, x, y, 4, 0.035f), vignette);
  });
  // Inner shadow along the top and left edges.
  c.Fill(Whole(c), shape::RoundRect(kStageL, kStageT, kStageR, kStageB, 6), [](float x, float y) {
    const float edge = std::min(y - kStageT, (x - kStageL) * 1.5f);
    return Hex(0x000000, std::clamp(0.5f - edge * 0.08f, 0.0f, 0.5f));
  });
}

}  // namespace

Canvas DrawBackground() {
  Canvas c(kWidth, kHeight);
  DrawCabinet(c);
  DrawHeader(c);
  DrawStage(c);
  DrawTopPlate(c);
  DrawLeftPlate(c);
  return c;
}
