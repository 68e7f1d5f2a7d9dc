#include "tests/editor/EditorTestPlug.h"

#include <cstdio>

EditorTestPlug::EditorTestPlug() : IEffectBase(kNumTestParams, "1-1", 1) {
  GetParam(kLevel)->InitDouble("Level", 0.5, 0.0, 1.0, 0.01);
  GetParam(kCabinet)->InitEnum("Cabinet", 0, kCabinets);
  for (int i = 0; i < kCabinets; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "Cab %d", i);
    GetParam(kCabinet)->SetDisplayText(i, text);
  }
  GetParam(kGain)->InitDouble("Gain", 0.0, -10.0, 10.0, 0.1, "dB");
  GetParam(kGain)->SetNegateDisplay(true);
  GetParam(kSwitch)->InitDouble("Switch", 0.0, 0.0, 1.0, 1.0);
}

void EditorTestPlug::OnParamChange(int index) {
  changes.push_back({index, GetParam(index)->GetNormalized()});
}

std::vector<double> EditorTestPlug::ChangesOf(int index) const {
  std::vector<double> values;
  for (const Change& change : changes)
    if (change.index == index) values.push_back(change.normalized);
  return values;
}

void EditorTestPlug::Clear() {
  changes.clear();
  begins.clear();
  ends.clear();
}
