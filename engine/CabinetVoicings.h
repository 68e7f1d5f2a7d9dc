// The cabinet voicings: 39 fixed equaliser cascades of up to 20 biquads (slots 0 to 19)
// with an output gain, from "Cabinet Off" (no filter, gain 1) to "90s Spirit".
#pragma once

struct Engine;

constexpr int kCabinetVoicingCount = 39;
constexpr int kCabinetCascadeSlots = 20;

struct CabinetFilter {
  int type;  // a BiquadType
  double frequencyHz;
  double bandwidthOctaves;
  double gainDb;
};

struct CabinetVoicing {
  int length;
  double gain;  // linear, after the cascade
  CabinetFilter filters[kCabinetCascadeSlots];
};

// Stores the index; for 0 to 38 sets the cascade length and gain and designs slots 0 to
// length - 1 at the engine's rate. Filter states are kept, so a change runs on smoothly.
void SetupCabinet(Engine& engine, int index);
// kCabPreset: the truncated value; values outside 0 to 38 only store the index.
void SelectCabinet(Engine& engine, double value);

const CabinetVoicing& CabinetVoicingAt(int index);  // index 0 to 38
