// Rotary knobs and the small slide fader: one picture per frame, stacked vertically.
// A knob's body keeps its light while its pointer turns, as a real knob under a lamp does.
#pragma once

#include "art/Canvas.h"

// Pointer angle of frame k (1-based) of n: from 7 o'clock (-150 degrees, straight up is 0,
// clockwise positive) at the minimum to 5 o'clock (+150) at the maximum, in even steps.
float KnobFrameAngle(int k, int n);

constexpr float kKnobMinDegrees = -150.0f;
constexpr float kKnobMaxDegrees = 150.0f;

struct KnobStyle {
  float bodyRadius = 15.0f;
  Rgba body = Hex(0x1c1c1e);
  int knurls = 0;               // ridges around the body's edge; 0 for a smooth edge
  float skirtRadius = 0.0f;     // 0: no skirt
  Rgba skirt = Hex(0x111111);
  float capRadius = 0.0f;       // 0: no cap
  Rgba cap = Hex(0xc8c8c8);
  bool metalCap = true;         // spun metal (angular highlights) or plain plastic
  Rgba pointer = Hex(0xf4f4f0);
  float pointerWidth = 2.0f;
  float pointerFrom = 5.0f;     // radii between which the pointer line runs
  float pointerTo = 14.0f;
  bool pointerDot = false;      // a dot at pointerTo instead of a line
  float scaleRadius = 0.0f;     // dots of a scale around the knob; 0: none
  int scaleDots = 11;
  Rgba scale = Hex(0xdddddd);
};

// Draws one knob centred at (cx, cy) with its pointer at angle degrees.
void DrawKnob(Canvas& canvas, float cx, float cy, const KnobStyle& style, float degrees);

// A strip of frames (width x frameHeight each) of the knob turning from minimum to maximum.
Canvas KnobStrip(int width, int frameHeight, int frames, const KnobStyle& style);

// A strip of a small vertical slide fader: the cap travels from the bottom (minimum) to the
// top (maximum) of its slot.
Canvas SliderStrip(int width, int frameHeight, int frames);
