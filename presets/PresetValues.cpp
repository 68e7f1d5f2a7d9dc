#include "presets/PresetValues.h"

#include <cmath>

#include "amp/ParamIds.h"

namespace {

constexpr float kOldModelScale = 0.8f;  // versions 1 and 2 knew 13 models on the same scale
constexpr int kVersionOneBassValue = 63;
constexpr int kImpulseLevelsVersion = 4;

double Sanitised(float value) {
  if (!(value > 0.0f)) return 0.0;  // negative, zero or not a number
  return value < 1.0f ? double(value) : 1.0;
}

class ValueSink {
 public:
  explicit ValueSink(ParamValue (&out)[kMaxPresetParamValues]) : out_(out) {}
  void Add(int index, float value) { out_[count_++] = {index, Sanitised(value)}; }
  int Count() const { return count_; }

 private:
  ParamValue (&out_)[kMaxPresetParamValues];
  int count_ = 0;
};

}  // namespace

float PresetModelValue(const PresetFile& preset) {
  const float stored = preset.values[kDstPreset];
  return preset.version <= 2 ? stored * kOldModelScale : stored;
}

int PresetModel(const PresetFile& preset) {
  const double position = Sanitised(PresetModelValue(preset)) * (kNumModels - 1) + 0.5;
  return int(std::floor(position));
}

int PresetParamValues(const PresetFile& preset, ParamValue (&out)[kMaxPresetParamValues]) {
  const float* v = preset.values;
  const int model = PresetModel(preset);
  ValueSink sink(out);

  sink.Add(kPedalLevel + model, v[kDstLevel]);
  sink.Add(kPedalDrive + model, v[kDstDrive]);
  sink.Add(kPedalLow + model, v[kDstLow]);
  sink.Add(kPedalMid + model, v[kDstMid]);
  sink.Add(kPedalHigh + model, v[kDstHigh]);

  for (int index = kGateOn; index <= kCabPreset; ++index)
    if (index != kDstPreset) sink.Add(index, v[index]);

  const int tone = preset.version == 1 ? kVersionOneBassValue : kMainBass;
  sink.Add(kMainBass, v[tone]);
  sink.Add(kMainTreble, v[tone + 1]);
  // Version 1 keeps the volume right after the treble; later versions leave a gap.
  sink.Add(kMainVolume, v[preset.version == 1 ? tone + 2 : kMainVolume]);

  if (preset.version == kImpulseLevelsVersion) {
    sink.Add(kIrDryLevel, v[kIrDryLevel]);
    sink.Add(kIrWetLevel, v[kIrWetLevel]);
  }
  sink.Add(kDstPreset, PresetModelValue(preset));
  return sink.Count();
}
