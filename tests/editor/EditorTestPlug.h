// A plug-in frame for control tests: a few parameters of each kind, and a record of
// every parameter change and edit notification the editor caused.
#pragma once

#include <string>
#include <vector>

#include "plugin/IEffectBase.h"

class EditorTestPlug : public IEffectBase {
 public:
  enum Param {
    kLevel,     // double 0..1
    kCabinet,   // 39 value texts "Cab 0" .. "Cab 38"
    kGain,      // double -10..10, one decimal, display negated
    kSwitch,    // 0..1 double
    kNumTestParams
  };
  static constexpr int kCabinets = 39;

  EditorTestPlug();

  struct Change {
    int index;
    double normalized;
  };
  void OnParamChange(int index) override;
  void BeginInformHostOfParamChange(int index) override { begins.push_back(index); }
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int index) override { ends.push_back(index); }

  // The normalised values parameter index took, in order.
  std::vector<double> ChangesOf(int index) const;
  void Clear();

  std::vector<Change> changes;
  std::vector<int> begins;
  std::vector<int> ends;
};
