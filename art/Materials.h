// Surfaces of the artwork: deterministic noise, brushed metal, tolex, light and shadow.
#pragma once

#include "art/Canvas.h"

namespace material {

// Light falls from the upper left onto every image.
constexpr float kLightX = -0.6f;
constexpr float kLightY = -0.8f;

// 0 to 1, the same for the same arguments on every run.
float Hash(int x, int y, int seed);
// Smooth noise, 0 to 1, with features about one unit apart.
float Noise(float x, float y, int seed);

// Horizontal brushing: base colour lit by streaks along x.
Rgba BrushedMetal(const Rgba& base, float x, float y, int seed, float strength = 0.05f);
// Fine pebble grain of vinyl amp covering.
Rgba Tolex(const Rgba& base, float x, float y, int seed);
// Powder coat with a faint speckle.
Rgba Speckle(const Rgba& base, float x, float y, int seed, float strength = 0.04f);

// Vertical light ramp: lighter at top, darker at bottom, over [top, bottom].
Rgba VerticalShade(const Rgba& base, float y, float top, float bottom, float light = 1.12f,
                   float dark = 0.82f);

}  // namespace material
