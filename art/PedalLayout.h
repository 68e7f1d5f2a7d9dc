// Where each pedal's controls sit (editor pixels) and what its knobs are called: the
// pedal's artwork puts its labels, lamp and switch places there.
#pragma once

#include <array>

namespace pedal {

constexpr int kNumModels = 16;
constexpr int kKnobsPerPedal = 5;  // level, drive, low, mid, high
constexpr int kPanelX = 175, kPanelY = 1;
constexpr int kPanelWidth = 448, kPanelHeight = 424;

enum class Part { None, Knob, ThreeWayToggle, TwoWayToggle };

struct Place {
  Part part = Part::None;
  int x = 0, y = 0;       // top-left corner of the control
  const char* label = "";
};

struct Layout {
  const char* name;      // the model's value text
  int knobImage;         // bitmap id of its knobs
  int knobW, knobH;      // one frame of that bitmap
  int switchImage;
  int switchW, switchH;  // one frame
  int switchX, switchY;
  int lampX, lampY;
  std::array<Place, kKnobsPerPedal> knobs;
};

constexpr Place K(int x, int y, const char* label) { return {Part::Knob, x, y, label}; }
constexpr Place None() { return {}; }

constexpr std::array<Layout, kNumModels> kLayouts{{
    {"Clean 1", 117, 50, 50, 130, 40, 40, 292, 305, 305, 277,
     {K(217, 223, "LEVEL"), K(355, 223, "DRIVE"), K(252, 223, "LOW"), K(286, 223, "MID"), K(320, 223, "HIGH")}},
    {"Clean 2", 118, 50, 50, 130, 40, 40, 291, 324, 305, 298,
     {K(213, 265, "LEVEL"), K(359, 265, "DRIVE"), K(248, 248, "LOW"), K(286, 242, "MID"), K(325, 248, "HIGH")}},
    {"Clean 3", 118, 50, 50, 130, 40, 40, 291, 324, 305, 298,
     {K(213, 265, "LEVEL"), K(359, 265, "DRIVE"), K(248, 248, "LOW"), K(286, 242, "MID"), K(325, 248, "HIGH")}},
    {"Clean 4", 117, 50, 50, 130, 40, 40, 292, 311, 305, 292,
     {K(217, 233, "LEVEL"), K(355, 233, "DRIVE"), K(252, 233, "LOW"), K(286, 233, "MID"), K(320, 233, "HIGH")}},
    {"Piezo Acoustic", 119, 20, 40, 130, 40, 40, 290, 330, 303, 318,
     {K(261, 242, "LEVEL"), None(), K(288, 242, "LOW"), K(312, 242, "MID"), K(337, 242, "HIGH")}},
    {"Tube Creamer", 117, 50, 50, 131, 97, 77, 262, 305, 304, 176,
     {K(247, 173, "LEVEL"), K(324, 173, "DRIVE"), K(247, 215, "LOW"), K(285, 215, "MID"), K(324, 215, "HIGH")}},
    {"Fuzzz", 117, 50, 50, 131, 97, 77, 262, 305, 304, 176,
     {K(247, 173, "LEVEL"), K(324, 173, "DRIVE"), K(247, 215, "LOWCUT"), K(285, 215, "MID"), K(324, 215, "HIGH")}},
    {"Metal Charter", 120, 30, 30, 132, 90, 109, 284, 279, 305, 172,
     {K(333, 182, "LEVEL"), K(259, 182, "DISTORTION"), K(259, 218, "ATTACK"), K(296, 218, "PUNCH"), K(333, 218, "EDGE")}},
    {"Metal Machine", 117, 50, 50, 131, 97, 77, 262, 305, 304, 176,
     {K(247, 173, "LEVEL"), K(324, 173, "DISTORTION"), K(247, 215, "LOW"), K(285, 215, "MID"), K(324, 215, "HIGH")}},
    {"Metal Style", 121, 36, 36, 133, 156, 148, 237, 252, 304, 176,
     {K(258, 173, "LEVEL"), K(329, 173, "DISTORTION"), K(258, 209, "LOW"), K(293, 209, "MID"), K(329, 209, "HIGH")}},
    {"JGM900", 122, 50, 50, 130, 40, 40, 293, 327, 303, 215,
     {K(214, 216, "LEVEL"), K(355, 216, "DRIVE"), K(249, 216, "LOW"), K(284, 216, "MID"), K(320, 216, "HIGH")}},
    {"Dirty Box", 123, 50, 50, 134, 137, 62, 241, 319, 304, 277,
     {K(244, 175, "LEVEL"), K(326, 175, "DISTORTION"), K(244, 220, "LOW"), K(285, 220, "MID"), K(326, 220, "HIGH")}},
    {"Darktorsion", 124, 50, 50, 135, 141, 74, 240, 306, 304, 179,
     {K(245, 169, "LEVEL"), K(327, 169, "DISTORTION"), K(245, 210, "LOW"), K(286, 210, "MID"), K(327, 210, "HIGH")}},
    {"Bat", 117, 50, 50, 130, 40, 40, 294, 312, 308, 279,
     {K(247, 228, "LEVEL"), K(333, 228, "DRIVE"), None(), K(290, 228, "FILTER"), None()}},
    {"Poltergeist", 125, 42, 42, 130, 40, 40, 294, 312, 309, 287,
     {K(249, 214, "LEVEL"), K(335, 214, "DRIVE"), Place{Part::ThreeWayToggle, 271, 264, "LOW"},
      K(292, 214, "TONE"), Place{Part::TwoWayToggle, 331, 264, "SUB"}}},
    {"Noise Soldier", 126, 50, 50, 134, 137, 62, 241, 319, 304, 277,
     {K(244, 175, "LEVEL"), K(326, 175, "DISTORTION"), K(244, 220, "LOW"), K(285, 220, "MID"), K(326, 220, "HIGH")}},
}};

// Toggle images are 30 x 30 per frame.
constexpr int kToggleSize = 30;

}  // namespace pedal
