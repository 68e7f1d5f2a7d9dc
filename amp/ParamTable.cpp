#include "amp/ParamTable.h"

#include "plugin/IEffectBase.h"
#include "amp/ParamIds.h"

const char* const kModelNames[kNumModels] = {
    "Clean 1",      "Clean 2",       "Clean 3",   "Clean 4",     "Piezo Acoustic", "Tube Creamer",
    "Fuzzz",        "Metal Charter", "Metal Machine", "Metal Style", "JGM900",     "Dirty Box",
    "Darktorsion",  "Bat",           "Poltergeist",   "Noise Soldier",
};

const char* const kCabinetNames[kNumCabinets] = {
    "Cabinet Off",   "Voltrex CAB1",  "Voltrex CAB2",  "Selection G12H", "Mandarin 4x12",
    "Voltrex CAB3",  "Hit Watt",      "Mpeg+Marsall",  "Cox",            "Phender DR",
    "Harley Beton",  "Voltrex CAB4",  "SLO 100",       "4x12 CAB+eq1",   "Metal Style",
    "4x12 CAB+eq2",  "JGM 900",       "Randoll",       "PowerDude 1",    "PowerDude 2",
    "Voltrex CAB5",  "HighWidth4x12", "Meza style",    "Mpeg 8x10",      "Fender P.man",
    "CAB 4x12",      "Meza 2x12 A",   "Diesel 4x12",   "Sidewinter",     "Pro Jr.",
    "Voltrex CAB6",  "Marsall 1960",  "Meza Cookie",   "Death Metal",    "Metal Maestro",
    "Modern 1",      "Modern 2",      "Modern 3",      "90s Spirit",
};

namespace {

constexpr double kKnobStep = 0.001;  // continuous knobs and faders: three decimals

void Knob(IEffectBase& plug, int index, double defaultValue) {
  plug.GetParam(index)->InitDouble("", defaultValue, 0.0, 1.0, kKnobStep);
}

// Two-state switches are doubles with step 1: stored as 0.0 or 1.0.
void Switch(IEffectBase& plug, int index) { plug.GetParam(index)->InitDouble("", 0.0, 0.0, 1.0, 1.0); }

void NamedList(IEffectBase& plug, int index, const char* name, const char* const* texts, int count) {
  IParam* param = plug.GetParam(index);
  param->InitEnum(name, 0, count);
  for (int value = 0; value < count; ++value) param->SetDisplayText(value, texts[value]);
}

}  // namespace

void DeclareParameters(IEffectBase& plug) {
  for (int index : {kMainVolume, kMainBass, kMainTreble, kAmpColor, kAmpPresence, kLoudness,
                    kGateRelease, kGateThreshold, kDstLevel, kDstDrive, kDstLow, kDstMid,
                    kDstHigh}) {
    Knob(plug, index, 0.5);
  }
  Knob(plug, kIrDryLevel, 0.0);
  Knob(plug, kIrWetLevel, 0.5);
  for (int index : {kGateLed, kGateOn, kDstOn}) Switch(plug, index);

  plug.GetParam(kDstPreset)->InitInt("", 0, 0, kNumModels - 1);
  plug.GetParam(kCabPreset)->InitInt("", 0, 0, kNumCabinets - 1);

  Knob(plug, kPresetList, 0.0);
  Knob(plug, kPresetListScroll, 0.5);
  Knob(plug, kBankList, 0.0);
  Knob(plug, kBankListScroll, 0.5);
  Knob(plug, kBankSelect, 0.0);
  Knob(plug, kPresetSelect, 0.0);
  Knob(plug, kPresetLcdClick, 0.0);
  Switch(plug, kTunerButton);
  Switch(plug, kTuningNext);
  plug.GetParam(kTuning)->InitInt("", 0, 0, 11);

  for (int index = kPedalSwitch; index < kPedalHigh + kNumModels; ++index) Knob(plug, index, 0.5);

  NamedList(plug, kDstPreset, "Dst/Amp Preset", kModelNames, kNumModels);
  NamedList(plug, kCabPreset, "Cab Preset", kCabinetNames, kNumCabinets);
}
