// Where the editor puts its controls (editor pixels), as far as the artwork needs them:
// labels, sockets and windows on the background must sit at these places.
#pragma once

namespace layout {

struct Point {
  int x, y;
};

// Top row.
constexpr int kPresetFieldL = 214, kPresetFieldT = 60, kPresetFieldR = 342, kPresetFieldB = 76;
constexpr Point kPresetPrev{384, 56}, kPresetNext{417, 56}, kTunerButton{450, 56};
constexpr Point kGateButton{488, 56}, kGateLamp{495, 47};
constexpr Point kGateThreshold{523, 52}, kGateRelease{564, 52};
// Second row.
constexpr Point kColor{325, 100}, kPresence{373, 100}, kLoudness{419, 103};
constexpr Point kBass{459, 100}, kTreble{504, 100}, kVolume{550, 100};
// Left column.
constexpr int kLineL = 60, kLineBT = 63, kLinePT = 77, kLineR = 177;
constexpr Point kNameStrip{35, 95};
constexpr int kDstFieldL = 35, kDstFieldT = 194, kDstFieldR = 116, kDstFieldB = 210;
constexpr int kCabFieldL = 35, kCabFieldT = 250, kCabFieldR = 116, kCabFieldB = 266;
constexpr Point kDstPrev{126, 184}, kDstNext{161, 184};
constexpr Point kCabPrev{126, 240}, kCabNext{161, 240};
constexpr int kIrFieldL = 35, kIrFieldT = 322, kIrFieldR = 182, kIrFieldB = 338;
constexpr Point kIrOn{33, 354}, kDisplay{68, 354}, kIrPrev{126, 354}, kIrNext{161, 354};
constexpr Point kIrLamp{40, 343}, kDisplayLamp{75, 343};
// The panels that appear in the grey area.
constexpr Point kPedalPanel{175, 1};
constexpr Point kResponsePanel{236, 169};
constexpr int kGraphL = 250, kGraphT = 182, kGraphR = 550, kGraphB = 322;
constexpr Point kIrDry{356, 340}, kIrWet{405, 340};
constexpr Point kBrowserPanel{110, 70};
constexpr int kPresetListL = 140, kPresetListR = 322, kBankListL = 350, kBankListR = 492;
constexpr int kListT = 90, kListB = 370;
constexpr int kPresetFaderX = 330, kBankFaderX = 505, kFaderY = 91, kFaderLength = 277;

// Image sizes of the controls (one frame).
constexpr int kButtonW = 31, kButtonH = 34;
constexpr int kMainKnobW = 39, kMainKnobH = 40;
constexpr int kLoudnessKnobSize = 30;
constexpr int kLampSize = 14;

}  // namespace layout
