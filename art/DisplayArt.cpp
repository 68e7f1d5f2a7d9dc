#include "art/DisplayArt.h"

#include <array>
#include <cmath>
#include <string>

#include "art/Palette.h"
#include "art/Shapes.h"
#include "art/Typeface.h"

namespace {

constexpr std::array<const char*, 27> kNameStripTexts = {
    "",
    "NOISE GATE-On/Off", "NOISE GATE-Threshold", "NOISE GATE-Release",
    "PREAMP/DST-On/Off", "PREAMP/DST-Level", "PREAMP/DST-Drive",
    "AMPLIFIER COLOR", "AMPLIFIER PRESENCE",
    "PREAMP/DST-Low", "PREAMP/DST-Mid", "PREAMP/DST-High",
    "MAIN BASS", "MAIN TREBLE", "MAIN VOLUME", "LOUDNESS",
    "PREAMP/DST-LowCut", "PREAMP/DST-Distortion", "PREAMP/DST-Attack",
    "PREAMP/DST-Punch", "PREAMP/DST-Edge", "PREAMP/DST-Filter",
    "PREAMP/DST-Tone", "PREAMP/DST-Sub",
    "IR-On/Off", "IR-Dry Level", "IR-Wet Level",
};

constexpr std::array<const char*, 12> kPitchClasses = {"A", "A#", "B", "C", "C#", "D",
                                                       "D#", "E", "F", "F#", "G", "G#"};

// The meter's needle swings this far either side of straight up.
// The scale spans +-45 degrees; the needle swings a little less, so even at its stops
// (no pitch rests it on the left one) it lies on the scale, with the end ticks showing.
constexpr float kMeterScaleDegrees = 45.0f;
constexpr float kNeedleSwingDegrees = 40.0f;

Box Whole(const Canvas& c) { return {0, 0, c.Width(), c.Height()}; }

float Radians(float degrees) { return degrees * shape::kPi / 180.0f; }

}  // namespace

const char* NameStripText(int frame) {
  return frame >= 0 && frame < static_cast<int>(kNameStripTexts.size()) ? kNameStripTexts[frame] : "";
}

void NoteName(int index, char* pitch, int& octave) {
  const char* name = kPitchClasses[index % 12];
  pitch[0] = name[0];
  pitch[1] = name[1];
  pitch[2] = '\0';
  octave = (index + 9) / 12;
}

Canvas DrawNameStrip(int width, int frameHeight, int frames) {
  Canvas strip(width, frameHeight * frames);
  const Type base{Face::SansBold, 11.0f, 0.1f};
  for (int k = 0; k < frames; ++k) {
    const char* text = NameStripText(k);
    const Type type = FitText(base, text, static_cast<float>(width) - 6.0f);
    DrawText(strip, type, text, 3.0f, static_cast<float>(k * frameHeight) + 12.0f, Align::Left, palette::kLcdInk);
  }
  return strip;
}

Canvas DrawValueBar(int width, int frameHeight, int frames) {
  Canvas strip(width, frameHeight * frames);
  const int segments = frames - 1;
  constexpr float kSegmentPitch = 3.0f, kSegmentWidth = 2.0f, kLeft = 2.0f;
  for (int k = 0; k < frames; ++k) {
    const float top = static_cast<float>(k * frameHeight) + 7.0f;
    for (int s = 0; s < segments; ++s) {
      const float x = kLeft + s * kSegmentPitch;
      // Segments grow a little taller towards the top of the scale.
      const float rise = 3.0f * s / static_cast<float>(segments - 1);
      const Rgba colour = s < k ? palette::kLcdInk : palette::kLcdGhost;
      strip.FillColour(Whole(strip), shape::Rect(x, top + 3.0f - rise, x + kSegmentWidth, top + 9.0f), colour);
    }
  }
  return strip;
}

Canvas DrawTunerBackground(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  c.FillColour(Whole(c), shape::Rect(0, 0, w, h), palette::kLcd);
  c.FillColour(Whole(c), shape::Rect(2, 16, w - 2, 17), Hex(0x1f2a12, 0.45f));
  c.FillColour(Whole(c), shape::Rect(78, 20, 79, h - 3), Hex(0x1f2a12, 0.3f));
  DrawText(c, Type{Face::SansBold, 7.0f, 0.8f}, "TUNER", 3.0f, h - 3.0f, Align::Left, Hex(0x1f2a12, 0.55f));
  return c;
}

Canvas DrawTunerMeter(int width, int frameHeight, int frames) {
  Canvas strip(width, frameHeight * frames);
  const float cx = width * 0.5f;
  for (int k = 0; k < frames; ++k) {
    Canvas c(width, frameHeight);
    const float pivotY = frameHeight - 3.0f;
    constexpr float kScaleRadius = 30.0f;
    for (int i = -4; i <= 4; ++i) {
      const float a = Radians(kMeterScaleDegrees * i / 4.0f);
      const float inner = i == 0 ? 23.5f : (i % 2 == 0 ? 25.5f : 27.0f);
      c.FillColour(Whole(c),
                   shape::Segment(cx + std::sin(a) * inner, pivotY - std::cos(a) * inner,
                                  cx + std::sin(a) * kScaleRadius, pivotY - std::cos(a) * kScaleRadius,
                                  i == 0 ? 1.6f : 1.0f),
                   palette::kLcdInk);
    }
    // "-" and "+" just beyond the ends of the scale, clear of the panel's TUNER label.
    const float markA = Radians(kMeterScaleDegrees + 8.0f), markR = kScaleRadius + 2.0f;
    const float markY = pivotY - std::cos(markA) * markR + 3.0f;
    DrawText(c, Type{Face::SansBold, 9.0f}, "-", cx - std::sin(markA) * markR, markY, Align::Centre, palette::kLcdInk);
    DrawText(c, Type{Face::SansBold, 9.0f}, "+", cx + std::sin(markA) * markR, markY, Align::Centre, palette::kLcdInk);
    // The two frames either side of the middle value mean "in tune": their marker is lit.
    const float value = static_cast<float>(k) / static_cast<float>(frames - 1);
    const bool inTune = std::fabs(value - 0.5f) < 0.5f / static_cast<float>(frames - 1) + 1e-4f;
    const float xs[3] = {cx - 4.0f, cx + 4.0f, cx};
    const float ys[3] = {0.5f, 0.5f, 5.5f};
    c.FillColour(Whole(c), shape::Polygon(xs, ys), inTune ? palette::kLcdInk : palette::kLcdGhost);
    const float a = Radians((value - 0.5f) * 2.0f * kNeedleSwingDegrees);
    c.FillColour(Whole(c),
                 shape::Segment(cx, pivotY, cx + std::sin(a) * kScaleRadius,
                                pivotY - std::cos(a) * kScaleRadius, 1.4f),
                 palette::kLcdInk);
    c.FillColour(Whole(c), shape::Circle(cx, pivotY, 2.6f), palette::kLcdInk);
    strip.Draw(c, 0, k * frameHeight);
  }
  return strip;
}

Canvas DrawTunerNotes(int width, int frameHeight, int frames) {
  Canvas strip(width, frameHeight * frames);
  strip.FillColour(Whole(strip), shape::Rect(0, 0, static_cast<float>(width), static_cast<float>(strip.Height())),
                   palette::kLcd);
  const Type letter{Face::SansBold, 38.0f};
  const Type sharp{Face::SansBold, 18.0f};
  const Type octave{Face::SansBold, 15.0f};
  for (int k = 0; k < frames; ++k) {
    char pitch[3];
    int number = 0;
    NoteName(k, pitch, number);
    const float top = static_cast<float>(k * frameHeight);
    const std::string name(1, pitch[0]);
    const float letterWidth = TextWidth(letter, name);
    const float x = 6.0f + (36.0f - letterWidth) * 0.5f;
    DrawText(strip, letter, name, x, top + 44.0f, Align::Left, palette::kLcdInk);
    if (pitch[1] == '#') DrawText(strip, sharp, "#", x + letterWidth + 1.0f, top + 22.0f, Align::Left, palette::kLcdInk);
    DrawText(strip, octave, std::to_string(number), x + letterWidth + 2.0f, top + 44.0f, Align::Left, palette::kLcdInk);
  }
  return strip;
}
