#include "EngineTestKit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "cabinet/ImpulseBuffer.h"
#include "engine/CabinetVoicings.h"
#include "engine/DriveSample.h"
#include "engine/EngineControls.h"
#include "engine/Fft16384.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"
#include "engine/ProcessChain.h"

std::unique_ptr<Engine> MakeEngine(double sampleRate, int model, const KnobSetting& knobs) {
  auto e = std::make_unique<Engine>();
  InitEngine(*e, sampleRate);
  SetAmpColour(*e, 0.5);
  SetAmpPresence(*e, 0.5);
  e->knobs = {knobs.drive, knobs.low, knobs.mid, knobs.high, 0.0};
  e->driveLevel = LevelCurve(knobs.level);
  SetupDriveModel(*e, model);
  return e;
}

std::unique_ptr<Engine> MakeNeutralEngine(double sampleRate) {
  auto e = std::make_unique<Engine>();
  InitEngine(*e, sampleRate);
  SetMainBass(*e, 0.5);
  SetMainTreble(*e, 0.5);
  SetLoudness(*e, 0.0);
  SetMainVolume(*e, 1.0);
  SelectCabinet(*e, 0.0);
  return e;
}

void ApplyKnobs(Engine& e, const KnobSetting& knobs) {
  e.driveLevel = LevelCurve(knobs.level);
  SetDriveKnob(e, knobs.drive);
  SetLowKnob(e, knobs.low);
  SetMidKnob(e, knobs.mid);
  SetHighKnob(e, knobs.high);
}

std::vector<KnobSetting> KnobCorners() {
  std::vector<KnobSetting> corners;
  for (int c = 0; c < 16; ++c) {
    corners.push_back({1.0, double(c & 1), double((c >> 1) & 1), double((c >> 2) & 1), double((c >> 3) & 1)});
  }
  return corners;
}

void SetEveryControl(Engine& e) {
  SetGateOn(e, 1.0);
  SetGateThreshold(e, 0.3);
  SetGateRelease(e, 0.2);
  SetDriveOn(e, 1.0);
  SetAmpColour(e, 0.3);
  SetAmpPresence(e, 0.8);
  SetMainBass(e, 0.7);
  SetMainTreble(e, 0.3);
  SetLoudness(e, 0.4);
  SetMainVolume(e, 0.8);
  SelectCabinet(e, 27.0);
  SetIrStageOn(e, 1.0);
  SetIrDryLevel(e, 0.5);
  SetIrWetLevel(e, 0.5);
}

std::vector<double> FilterStates(const Engine& e) {
  const DspBank& b = e.bank;
  std::vector<double> states;
  for (const double* a : {b.x1, b.x2, b.y1, b.y2}) states.insert(states.end(), a, a + kNumBiquads);
  for (const OnePoleSet* set : {&b.lowpassA, &b.lowpassB}) {
    states.insert(states.end(), set->s, set->s + kNumOnePoles);
  }
  for (int slot = 0; slot < kNumFollowers; ++slot) {
    if (slot != kTunerNeedleFollower) states.push_back(b.followerEnvelope[slot]);
  }
  states.insert(states.end(), b.adsrLevel, b.adsrLevel + kNumAdsrs);
  for (const auto& line : b.delayBuffer) states.insert(states.end(), line.begin(), line.end());
  states.push_back(e.antiDenormalIndex);
  return states;
}

std::vector<double> RunModel(Engine& e, const std::vector<double>& input) {
  std::vector<double> out(input.size());
  for (size_t i = 0; i < input.size(); ++i) out[i] = DriveSample(e, input[i], e.model);
  return out;
}

std::vector<double> Pluck(double sampleRate, int samples, double peak) {
  std::vector<double> out(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i) {
    const double t = i / sampleRate;
    double v = 0.0;
    for (int k = 1; k <= 24; ++k) {
      v += std::sin(2.0 * std::numbers::pi * 110.0 * k * t) / k * std::exp(-t * (1.5 + 0.7 * k));
    }
    out[static_cast<size_t>(i)] = v;
  }
  double top = 0.0;
  for (double v : out) top = std::max(top, std::fabs(v));
  for (double& v : out) v *= peak / top;
  return out;
}

std::vector<double> Sine(double sampleRate, double hz, int samples, double amplitude) {
  std::vector<double> out(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i) {
    out[static_cast<size_t>(i)] = amplitude * std::sin(2.0 * std::numbers::pi * hz * i / sampleRate);
  }
  return out;
}

std::vector<double> WhiteNoise(int samples, double amplitude, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(-amplitude, amplitude);
  std::vector<double> out(static_cast<size_t>(samples));
  for (double& v : out) v = uniform(rng);
  return out;
}

std::vector<std::complex<double>> Spectrum(const std::vector<double>& signal, bool hann) {
  std::vector<double> re(kFft16384Size, 0.0), im(kFft16384Size, 0.0);
  const size_t n = std::min(signal.size(), static_cast<size_t>(kFft16384Size));
  for (size_t i = 0; i < n; ++i) {
    const double w = hann ? 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / n) : 1.0;
    re[i] = signal[i] * w;
  }
  Fft16384(re.data(), im.data());
  std::vector<std::complex<double>> out(kFft16384Size / 2);
  for (size_t k = 0; k < out.size(); ++k) out[k] = {re[k], im[k]};
  return out;
}

double BandEnergy(const std::vector<std::complex<double>>& spectrum, double sampleRate,
                  double lowHz, double highHz) {
  const double binHz = sampleRate / kFft16384Size;
  double energy = 1e-30;
  for (size_t bin = 1; bin < spectrum.size(); ++bin) {
    if (bin * binHz >= lowHz && bin * binHz < highHz) energy += std::norm(spectrum[bin]);
  }
  return energy;
}

std::vector<double> OctaveBandsDb(const std::vector<double>& signal, double sampleRate) {
  const auto spectrum = Spectrum(signal, true);
  std::vector<double> bands;
  for (int k = 0; k < 10; ++k) {
    const double centre = 31.25 * std::exp2(k);
    bands.push_back(10.0 * std::log10(BandEnergy(spectrum, sampleRate, centre / std::numbers::sqrt2,
                                                 centre * std::numbers::sqrt2)));
  }
  return bands;
}

std::array<double, 5> Coefficients(const DspBank& b, int slot) {
  return {b.b0[slot], b.b1[slot], b.b2[slot], b.a1[slot], b.a2[slot]};
}

double BiquadMagnitude(const DspBank& b, int slot, double hz, double sampleRate) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * hz / sampleRate);
  const std::complex<double> z2 = z1 * z1;
  return std::abs((b.b0[slot] + b.b1[slot] * z1 + b.b2[slot] * z2) /
                  (1.0 + b.a1[slot] * z1 + b.a2[slot] * z2));
}

double SlotDb(const Engine& e, int slot, double hz) {
  return 20.0 * std::log10(BiquadMagnitude(e.bank, slot, hz, e.sampleRate));
}

bool BiquadStable(const DspBank& b, int slot) {
  return std::fabs(b.a2[slot]) < 1.0 && std::fabs(b.a1[slot]) < 1.0 + b.a2[slot];
}

double CascadeDb(const Engine& e, double hz) {
  double magnitude = std::fabs(e.cascadeGain);
  for (int slot = 0; slot < e.cascadeLength; ++slot) magnitude *= BiquadMagnitude(e.bank, slot, hz, e.sampleRate);
  return 20.0 * std::log10(magnitude);
}

StereoBlock& Process(Engine& e, PartitionedConvolver& convolver, StereoBlock& block) {
  double* channels[2] = {block.left.data(), block.right.data()};
  ProcessChain(e, convolver, channels, channels, static_cast<int>(block.left.size()));
  return block;
}

void LoadUnitImpulse(PartitionedConvolver& convolver) {
  ImpulseBuffer impulse;
  impulse.SetLength(1);
  impulse.Channel(0)[0] = 1.0;
  convolver.LoadImpulse(impulse);
}
