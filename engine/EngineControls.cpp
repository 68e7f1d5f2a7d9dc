#include "engine/EngineControls.h"

#include <cmath>

#include "engine/Engine.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr double kSwitchThreshold = 0.5;

// Colour band-pass centre from 1 kHz to 10 kHz; the presence shelf follows it.
constexpr double kColourLowestShare = 0.1;
constexpr double kColourSpan = 0.9;
constexpr double kColourTopHz = 10000.0;
constexpr double kPresenceShelfSlope = 1.3684;
constexpr double kPresenceShelfOffsetHz = 3300.0;
constexpr double kPresenceGainPerHz = 0.004868;
constexpr double kPresenceGainOffsetDb = -38.75;
constexpr double kColourWidestOctaves = 2.8;

constexpr double kBassShelfHz = 500.0;
constexpr double kBassBandHzPerDb = 12.0;
constexpr double kTrebleShelfHz = 3000.0;
constexpr double kLoudnessShelfHz = 200.0;
constexpr double kLoudnessBandHzPerDb = 3.83;
constexpr double kShelfSlope = 1.0;
constexpr double kToneBandOctaves = 1.9;

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

void DesignColourBand(Engine& e) {
  e.bank.DesignBiquad(kColourBandSlot, kBandpass, e.colourCentreHz, e.colourBandwidth, 0.0,
                      e.sampleRate);
}

}  // namespace

double GateThresholdDb(double v) { return 100.0 * v - 100.0; }
double ToneGainDb(double v) { return 24.0 * v - 12.0; }
double LoudnessGainDb(double v) { return -30.0 * v; }
double IrDryLevelDb(double v) { return v >= 0.5 ? 48.0 * v - 24.0 : 96.0 * v - 48.0; }
double IrWetLevelDb(double v) { return 48.0 * v - 24.0; }

void SetGateOn(Engine& e, double v) { e.gateOn = v >= kSwitchThreshold; }

void SetGateThreshold(Engine& e, double v) {
  e.gateThreshold = std::pow(10.0, GateThresholdDb(v) * 0.05);
}

void SetDriveOn(Engine& e, double v) { e.driveOn = v >= kSwitchThreshold; }

void SetDriveLevel(Engine& e, double v) { e.driveLevel = LevelCurve(v); }

void SelectDriveModel(Engine& e, double value) {
  // Out-of-range values (NaN included) land on an index that skips the drive stage.
  const double index = value >= -1.0 && value <= kDriveModelCount ? value : kDriveModelCount;
  SetupDriveModel(e, static_cast<int>(index));
}

void SetAmpColour(Engine& e, double v) {
  e.colourMix = 1.2 * v - 1.0;
  e.colourCentreHz = (kColourSpan * v + kColourLowestShare) * kColourTopHz;
  DesignColourBand(e);
  e.bank.DesignBiquad(kPresenceShelfSlot, kHighShelf,
                      e.colourCentreHz * kPresenceShelfSlope + kPresenceShelfOffsetHz, 0.0,
                      e.colourCentreHz * kPresenceGainPerHz + kPresenceGainOffsetDb,
                      e.sampleRate);
}

void SetAmpPresence(Engine& e, double v) {
  e.colourBandwidth = (1.0 - kColourSpan * v) * kColourWidestOctaves;
  DesignColourBand(e);
  const double t = 9.0 * v;
  const double u = t - 5.0;
  e.presenceMix = u > 0.0 ? (0.1 * u + 0.08) * t - 0.42 : 0.08 * t - 0.42;
}

void SetMainBass(Engine& e, double v) {
  const double g = ToneGainDb(v);
  e.bank.DesignBiquad(kBassShelfSlot, kLowShelf, kBassShelfHz, kShelfSlope, g, e.sampleRate);
  e.bank.DesignBiquad(kBassBandSlot, kBandpass, kBassShelfHz + kBassBandHzPerDb * g,
                      kToneBandOctaves, 0.0, e.sampleRate);
  e.bassMix = (-0.08 / (v + 1.0)) * g;
}

void SetMainTreble(Engine& e, double v) {
  e.bank.DesignBiquad(kTrebleShelfSlot, kHighShelf, kTrebleShelfHz, kShelfSlope, ToneGainDb(v),
                      e.sampleRate);
}

void SetLoudness(Engine& e, double v) {
  const double g = LoudnessGainDb(v);
  e.bank.DesignBiquad(kLoudnessShelfSlot, kLowShelf, kLoudnessShelfHz, kShelfSlope, g,
                      e.sampleRate);
  e.bank.DesignBiquad(kLoudnessBandSlot, kBandpass, kLoudnessShelfHz + kLoudnessBandHzPerDb * g,
                      kToneBandOctaves, 0.0, e.sampleRate);
  e.loudnessMix = g * -0.145 * v;
}

void SetMainVolume(Engine& e, double v) { e.masterVolume = v; }

void SetIrStageOn(Engine& e, double v) { e.cabinetOn = v != 0.0; }


void SetIrDryLevel(Engine& e, double v) {
  const double db = IrDryLevelDb(v);
  e.dryGain = db == kIrDryOffDb ? 0.0 : DbToGain(db);
}

void SetIrWetLevel(Engine& e, double v) { e.wetGain = DbToGain(IrWetLevelDb(v)); }

void SetImpulseLevel(Engine& e, double gain) { e.impulseLevel = gain; }
