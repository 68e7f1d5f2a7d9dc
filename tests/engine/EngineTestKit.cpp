#include "EngineTestKit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "engine/DriveSample.h"
#include "engine/Fft16384.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"

namespace {

// The colour and presence stage as the handler designs it with both knobs at 0.5.
void DesignMidColourAndPresence(Engine& e) {
  const double centreHz = (0.9 * 0.5 + 0.1) * 10000.0;
  e.bank.DesignBiquad(71, kBandpass, centreHz, (1.0 - 0.9 * 0.5) * 2.8, 0.0, e.sampleRate);
  e.bank.DesignBiquad(72, kHighShelf, centreHz * 1.3684 + 3300.0, 0.0,
                      centreHz * 0.004868 - 38.75, e.sampleRate);
  e.colourMix = 1.2 * 0.5 - 1.0;
  e.presenceMix = 0.08 * 4.5 - 0.42;
}

}  // namespace

std::unique_ptr<Engine> MakeEngine(double sampleRate, int model, const KnobSetting& knobs) {
  auto e = std::make_unique<Engine>();
  InitEngine(*e, sampleRate);
  DesignMidColourAndPresence(*e);
  e->knobs.drive = knobs.drive;
  e->knobs.low = knobs.low;
  e->knobs.mid = knobs.mid;
  e->knobs.high = knobs.high;
  e->driveLevel = LevelCurve(knobs.level);
  SetupDriveModel(*e, model);
  return e;
}

void ApplyKnobs(Engine& e, const KnobSetting& knobs) {
  e.driveLevel = LevelCurve(knobs.level);
  SetDriveKnob(e, knobs.drive);
  SetLowKnob(e, knobs.low);
  SetMidKnob(e, knobs.mid);
  SetHighKnob(e, knobs.high);
}

void SilenceStates(Engine& e) {
  DspBank& b = e.bank;
  for (double* a : {b.x1, b.x2, b.y1, b.y2}) std::fill_n(a, kNumBiquads, 0.0);
  std::fill_n(b.lowpassA.s, kNumOnePoles, 0.0);
  std::fill_n(b.lowpassB.s, kNumOnePoles, 0.0);
  std::fill_n(b.followerEnvelope, kNumFollowers, 0.0);
  for (int line = 0; line < kNumDelayLines; ++line) {
    std::fill(b.delayBuffer[line].begin(), b.delayBuffer[line].end(), 0.0);
    b.delayPos[line] = 0;
    std::fill(b.fractionalBuffer[line].begin(), b.fractionalBuffer[line].end(), 0.0);
    b.fractionalPos[line] = 0;
  }
  e.octave.phaseA = 0.0;
  e.octave.phaseB = 0.5;
  e.octave.crossfade = 0.0;
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

std::vector<double> OctaveBandsDb(const std::vector<double>& signal, double sampleRate) {
  const auto spectrum = Spectrum(signal, true);
  const double binHz = sampleRate / kFft16384Size;
  std::vector<double> bands;
  for (int k = 0; k < 10; ++k) {
    const double centre = 31.25 * std::exp2(k);
    double energy = 1e-30;
    for (size_t bin = 1; bin < spectrum.size(); ++bin) {
      const double hz = bin * binHz;
      if (hz >= centre / std::numbers::sqrt2 && hz < centre * std::numbers::sqrt2) {
        energy += std::norm(spectrum[bin]);
      }
    }
    bands.push_back(10.0 * std::log10(energy));
  }
  return bands;
}

double BiquadMagnitude(const DspBank& b, int slot, double hz, double sampleRate) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * hz / sampleRate);
  const std::complex<double> z2 = z1 * z1;
  return std::abs((b.b0[slot] + b.b1[slot] * z1 + b.b2[slot] * z2) /
                  (1.0 + b.a1[slot] * z1 + b.a2[slot] * z2));
}

bool BiquadStable(const DspBank& b, int slot) {
  return std::fabs(b.a2[slot]) < 1.0 && std::fabs(b.a1[slot]) < 1.0 + b.a2[slot];
}
