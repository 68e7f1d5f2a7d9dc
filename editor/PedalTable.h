// Where each drive/amp model's pedal puts its controls. Positions are offsets from the
// panel's origin, so a pedal moves as a whole with its panel.
#pragma once

#include <array>

#include "amp/ParamIds.h"

struct PedalSpot {
  int dx = 0;
  int dy = 0;
  bool present = false;
};

constexpr int kPedalKnobs = 5;  // level, drive, low, mid, high
constexpr int kLowKnob = 2;
constexpr int kHighKnob = 4;

struct PedalLayout {
  int knobBitmap;
  int switchBitmap;
  PedalSpot footSwitch;
  PedalSpot lamp;
  std::array<PedalSpot, kPedalKnobs> knobs;
};

constexpr int kPedalOriginX = 175;
constexpr int kPedalOriginY = 1;
constexpr int kFirstPedalPanelBitmap = 101;
// Model 14 has two toggles in place of its low and high knobs.
constexpr int kToggleModel = 14;
constexpr int kToggleLowBitmap = 137;   // three positions
constexpr int kToggleHighBitmap = 136;  // two positions

// The parameter families of the knobs, in knob order; the model's index is added.
constexpr std::array<int, kPedalKnobs> kPedalKnobParams{kPedalLevel, kPedalDrive, kPedalLow,
                                                        kPedalMid, kPedalHigh};

extern const std::array<PedalLayout, kNumModels> kPedalLayouts;
