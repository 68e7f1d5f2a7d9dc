#include "engine/Engine.h"

#include <cmath>

namespace {

constexpr int kNumStartDelayLines = 14;
constexpr double kStartDelaySeconds[kNumStartDelayLines] = {
    0.0051, 0.00031, 0.0051, 0.00031, 0.0051, 0.00031, 0.0051,
    0.00031, 0.002,  0.00027, 0.002, 0.00027, 0.0032, 0.0032};

constexpr double kGateAttackMs = 8.0;
constexpr double kGateReleaseMs = 7.0;

void DesignGateDetector(Engine& e) {
  e.bank.SetFollower(kGateFollower, kGateAttackMs, kGateReleaseMs, e.sampleRate);
}

void DesignGateEnvelope(Engine& e) {
  e.bank.SetAdsr(kGateEnvelope, 0.0, 1.0, 1.0, e.knobs.gateRelease, 1.0, e.sampleRate);
}

}  // namespace

void InitEngine(Engine& e, double sampleRate) {
  FillAntiDenormalTable(e.antiDenormal);
  e.antiDenormalIndex = 0;
  e.sampleRate = sampleRate;
  e.bank.Clear();
  DesignGateDetector(e);
  // Ten-second ramps towards half level until the gate release is first set.
  e.bank.SetAdsr(kGateEnvelope, 1.0, 1.0, 0.5, 1.0, 1.0, sampleRate);
  for (int line = 0; line < kNumStartDelayLines; ++line) {
    e.bank.InitDelay(line, kStartDelaySeconds[line], sampleRate);
  }
  InitTuner(e);
  CreateOctaveVoice(e);
  e.impulseLevel = 1.0;
}

bool ResetEngine(Engine& e, double sampleRate) {
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0 || sampleRate == e.sampleRate) {
    return false;
  }
  e.sampleRate = sampleRate;
  e.bank.Redesign(sampleRate);
  DesignGateDetector(e);
  DesignGateEnvelope(e);
  CreateOctaveVoice(e);
  DesignTunerTiming(e);
  return true;
}

void SetGateRelease(Engine& e, double v) {
  e.knobs.gateRelease = v;
  DesignGateEnvelope(e);
}
