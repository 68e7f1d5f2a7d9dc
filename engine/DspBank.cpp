#include "engine/DspBank.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kMinFrequencyHz = 10.0;
// The highest design frequency as a fraction of the rate. At low rates some bands of the
// models lie above the Nyquist frequency, where the design loses its meaning and, near it,
// its stability (the bandwidth term overflows); such bands sit just below it instead.
constexpr double kMaxFrequencyFraction = 0.45;
constexpr double kMinFollowerMs = 0.001;
constexpr double kAdsrTimeOffset = 6.666666;  // a setting of 0 lasts 2^-6.666666 s
// The narrow low shelf bends its corner with this factor, taken in single precision.
constexpr double kNarrowShelfCornerFactor = 0.41f;
constexpr double kNarrowShelfSlopeDivisor = 1.41;

struct RawBiquad {
  double b0, b1, b2, a0, a1, a2;
};

RawBiquad ShelfCoefficients(bool low, double a, double cs, double beta) {
  const double ap = a + 1.0;
  const double am = a - 1.0;
  if (low) {
    return {a * (ap - am * cs + beta), 2.0 * a * (am - ap * cs), a * (ap - am * cs - beta),
            ap + am * cs + beta,       -2.0 * (am + ap * cs),    ap + am * cs - beta};
  }
  return {a * (ap + am * cs + beta), -2.0 * a * (am + ap * cs), a * (ap + am * cs - beta),
          ap - am * cs + beta,       2.0 * (am - ap * cs),      ap - am * cs - beta};
}

RawBiquad CookbookCoefficients(int type, double w, double bandwidthOctaves, double gainDb) {
  const double sn = std::sin(w);
  const double cs = std::cos(w);
  const double a = std::pow(10.0, gainDb / 40.0);
  const double alpha = sn * std::sinh(std::numbers::ln2 / 2.0 * bandwidthOctaves * w / sn);
  switch (type) {
    case kHighpass:
      return {(1.0 + cs) / 2.0, -(1.0 + cs), (1.0 + cs) / 2.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
    case kBandpass:
      return {alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
    case kNotch:
      return {1.0, -2.0 * cs, 1.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
    case kPeaking:
      return {1.0 + alpha * a, -2.0 * cs, 1.0 - alpha * a, 1.0 + alpha / a, -2.0 * cs,
              1.0 - alpha / a};
    case kLowShelf:
      return ShelfCoefficients(true, a, cs, std::sqrt(2.0 * a) * sn);
    case kHighShelf:
      return ShelfCoefficients(false, a, cs, std::sqrt(2.0 * a) * sn);
    case kNarrowLowShelf:
      return ShelfCoefficients(true, a, std::cos(kNarrowShelfCornerFactor * w),
                               std::sqrt(a) / kNarrowShelfSlopeDivisor * sn);
    default:  // low-pass, also for any unknown type
      return {(1.0 - cs) / 2.0, 1.0 - cs, (1.0 - cs) / 2.0, 1.0 + alpha, -2.0 * cs, 1.0 - alpha};
  }
}

double AdsrSeconds(double setting) { return std::exp2(10.0 * setting - kAdsrTimeOffset); }

int OneSecondOfSamples(double sampleRate) {
  // At least one cell, so that a comb always has somewhere to write.
  return std::max(1, static_cast<int>(std::floor(sampleRate)));
}

}  // namespace

void OnePoleSet::SetLowpass(int slot, double frequencyHz, double sampleRate) {
  const double p = std::exp(-2.0 * std::numbers::pi * frequencyHz / sampleRate);
  g[slot] = 1.0 - p;
  f[slot] = -p;
  cutoffHz[slot] = frequencyHz;
  designed[slot] = true;
}

void DspBank::Clear() {
  for (double* a : {b0, b1, b2, a1, a2, x1, x2, y1, y2}) std::fill_n(a, kNumBiquads, 0.0);
  std::fill_n(biquadDesigned, kNumBiquads, false);
  for (OnePoleSet* set : {&lowpassA, &lowpassB}) *set = OnePoleSet{};
  for (double* a : {followerAttack, followerRelease, followerEnvelope}) {
    std::fill_n(a, kNumFollowers, 0.0);
  }
  for (double* a : {adsrAttackRate, adsrDecayRate, adsrSustainLevel, adsrReleaseRate,
                    adsrPeakLevel, adsrLevel, adsrGate, adsrLastGate}) {
    std::fill_n(a, kNumAdsrs, 0.0);
  }
  std::fill_n(adsrStage, kNumAdsrs, 0);
  std::fill_n(adsrActive, kNumAdsrs, 0);
  std::fill_n(adsrDesigned, kNumAdsrs, false);
}

void DspBank::DesignBiquad(int slot, int type, double frequencyHz, double bandwidthOctaves,
                           double gainDb, double sampleRate) {
  biquadType[slot] = type;
  biquadFrequencyHz[slot] = frequencyHz;
  biquadBandwidth[slot] = bandwidthOctaves;
  biquadGainDb[slot] = gainDb;
  biquadDesigned[slot] = true;

  const double hz = std::min(std::max(frequencyHz, kMinFrequencyHz), kMaxFrequencyFraction * sampleRate);
  const double w = 2.0 * std::numbers::pi * hz / sampleRate;
  const RawBiquad c = CookbookCoefficients(type, w, bandwidthOctaves, gainDb);
  b0[slot] = c.b0 / c.a0;
  b1[slot] = c.b1 / c.a0;
  b2[slot] = c.b2 / c.a0;
  a1[slot] = c.a1 / c.a0;
  a2[slot] = c.a2 / c.a0;
}

void DspBank::SetFollower(int slot, double attackMs, double releaseMs, double rate) {
  const auto coefficient = [rate](double ms) {
    return std::exp(-2.0 / (rate * 0.001 * std::max(ms, kMinFollowerMs)));
  };
  followerAttack[slot] = coefficient(attackMs);
  followerRelease[slot] = coefficient(releaseMs);
}

void DspBank::SetAdsr(int slot, double attack, double decay, double sustain, double release,
                      double peak, double sampleRate) {
  adsrAttackRate[slot] = peak / (AdsrSeconds(attack) * sampleRate);
  adsrDecayRate[slot] = peak / (AdsrSeconds(decay) * sampleRate);
  adsrReleaseRate[slot] = peak / (AdsrSeconds(release) * sampleRate);
  adsrSustainLevel[slot] = sustain * peak;
  adsrPeakLevel[slot] = peak;
  const double settings[5] = {attack, decay, sustain, release, peak};
  std::copy_n(settings, 5, adsrSettings[slot]);
  adsrDesigned[slot] = true;
}

double DspBank::StepAdsr(int slot, double gate) {
  const double in = gate >= 0.5 ? 1.0 : gate;
  adsrGate[slot] = in;
  if (in == 1.0 && in != adsrLastGate[slot]) {
    adsrLastGate[slot] = 1.0;
    adsrStage[slot] = kAdsrAttack;
    adsrActive[slot] = 1;
  }
  if (!adsrActive[slot]) return adsrLevel[slot];

  double& level = adsrLevel[slot];
  int& stage = adsrStage[slot];
  if (stage == kAdsrRelease) {
    if (in == 1.0) stage = kAdsrAttack;  // reopened: attack resumes next sample
    level -= adsrReleaseRate[slot];
    if (level <= 0.0) {
      level = 0.0;
      adsrActive[slot] = 0;
      adsrLastGate[slot] = 0.0;
    }
    return level;
  }
  if (stage == kAdsrAttack) {
    level += adsrAttackRate[slot];
    if (level >= adsrPeakLevel[slot]) {
      level = adsrPeakLevel[slot];
      stage = kAdsrDecay;
    }
  } else if (stage == kAdsrDecay) {
    level -= adsrDecayRate[slot];
    if (adsrSustainLevel[slot] >= level) {
      level = adsrSustainLevel[slot];
      stage = kAdsrSustain;
    }
  } else {
    level = adsrSustainLevel[slot];
  }
  if (in < 0.5) stage = kAdsrRelease;
  return level;
}

void DspBank::StoreDelayLength(int line, double seconds, double sampleRate) {
  delaySeconds[line] = seconds;
  // Kept inside the buffer whatever the length asked for.
  const double lastCell = static_cast<double>(delayBuffer[line].size()) - 1.0;
  delayLast[line] = static_cast<int>(std::clamp(seconds * sampleRate - 1.0, -1.0, lastCell));
  delayPos[line] = 0;
}

void DspBank::InitDelay(int line, double seconds, double sampleRate) {
  delayBuffer[line].assign(static_cast<size_t>(OneSecondOfSamples(sampleRate)), 0.0);
  StoreDelayLength(line, seconds, sampleRate);
}

void DspBank::SetDelay(int line, double seconds, double sampleRate) {
  std::vector<double>& cells = delayBuffer[line];
  if (cells.empty()) return;
  StoreDelayLength(line, seconds, sampleRate);
  // The comb cycles through cells 0 .. last (cell 0 alone for a zero length): only those
  // need silence, and a model change on the audio thread clears milliseconds, not a second.
  std::fill_n(cells.begin(), std::max(delayLast[line], 0) + 1, 0.0);
}

void DspBank::InitFractionalDelay(int line, double size) {
  // At least one cell, so that a tap always reads inside the buffer.
  const int cells = std::max(1, static_cast<int>(size));
  fractionalBuffer[line].assign(static_cast<size_t>(cells), 0.0);
  fractionalSize[line] = cells;
  fractionalPos[line] = 0;
}

void DspBank::Redesign(double sampleRate) {
  for (int slot = 0; slot < kNumBiquads; ++slot) {
    if (biquadDesigned[slot]) {
      DesignBiquad(slot, biquadType[slot], biquadFrequencyHz[slot], biquadBandwidth[slot],
                   biquadGainDb[slot], sampleRate);
    }
  }
  for (OnePoleSet* set : {&lowpassA, &lowpassB}) {
    for (int slot = 0; slot < kNumOnePoles; ++slot) {
      if (set->designed[slot]) set->SetLowpass(slot, set->cutoffHz[slot], sampleRate);
    }
  }
  for (int slot = 0; slot < kNumAdsrs; ++slot) {
    const double* s = adsrSettings[slot];
    if (adsrDesigned[slot]) SetAdsr(slot, s[0], s[1], s[2], s[3], s[4], sampleRate);
  }
  for (int line = 0; line < kNumDelayLines; ++line) {
    if (!delayBuffer[line].empty()) InitDelay(line, delaySeconds[line], sampleRate);
  }
}
