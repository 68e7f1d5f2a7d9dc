// The plug-in's parameter indices. An index is also the value's position in the state
// chunk and in preset files, and the index hosts automate: never renumber.
#pragma once

enum ParamId : int {
  kGateOn = 0,
  kGateThreshold = 1,
  kGateRelease = 2,
  kDstOn = 3,
  kDstPreset = 4,
  kDstLevel = 5,
  kDstDrive = 6,
  kAmpColor = 7,
  kAmpPresence = 8,
  kDstLow = 9,
  kDstMid = 10,
  kDstHigh = 11,
  kCabPreset = 12,
  kMainBass = 13,
  kMainTreble = 14,
  kLoudness = 15,
  kMainVolume = 16,
  kGateLed = 17,
  kIrLed = 18,
  kDisplayLed = 19,
  kIrOnButton = 20,
  kIrDryLevel = 21,
  kIrWetLevel = 22,
  // 23 to 29 exist but nothing uses them.

  // The pedal block: seven groups with one entry per drive/amp model (index + model).
  kPedalSwitch = 30,
  kPedalLed = 46,
  kPedalLevel = 62,
  kPedalDrive = 78,
  kPedalLow = 94,
  kPedalMid = 110,
  kPedalHigh = 126,

  kDstPrev = 142,
  kDstNext = 143,
  kCabPrev = 144,
  kCabNext = 145,
  kPresetSelect = 146,
  kPresetLcdClick = 147,
  kPresetList = 148,
  kPresetPrev = 149,
  kPresetNext = 150,
  kPresetListScroll = 151,
  kBankSelect = 152,
  kBankList = 153,
  kBankListScroll = 154,
  kTunerButton = 155,
  kTuningNext = 156,
  kTuning = 157,
  kIrFile = 158,
  kIrPrev = 159,
  kIrNext = 160,
  kDisplayButton = 161,

  kNumParams = 162
};

constexpr int kNumModels = 16;    // drive/amp models, the values of kDstPreset
constexpr int kNumCabinets = 39;  // cabinet voicings, the values of kCabPreset
