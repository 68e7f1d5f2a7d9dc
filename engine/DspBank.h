// The engine's numbered filter, envelope and delay-line slots, stored as parallel arrays
// with the functions that design and run them. Slot numbers are fixed design data: each
// stage of the engine owns its slots. Step functions are inline, branch-light arithmetic;
// nothing allocates after the delay lines are created.
#pragma once

#include <vector>

enum BiquadType : int {
  kLowpass = 0,
  kHighpass = 1,
  kBandpass = 2,
  kNotch = 3,
  kPeaking = 4,
  kLowShelf = 5,
  kHighShelf = 6,
  kNarrowLowShelf = 7
};

enum AdsrStage : int { kAdsrAttack = 0, kAdsrDecay = 1, kAdsrSustain = 2, kAdsrRelease = 3 };

constexpr int kNumBiquads = 128;
constexpr int kNumOnePoles = 32;
constexpr int kNumFollowers = 8;
constexpr int kNumAdsrs = 8;
constexpr int kNumDelayLines = 32;
constexpr int kNumFractionalDelays = 32;

// One set of one-pole low-pass slots: y = g x - f s; s = y.
struct OnePoleSet {
  double g[kNumOnePoles] = {};
  double f[kNumOnePoles] = {};
  double s[kNumOnePoles] = {};
  // Design inputs, kept so that a new sample rate can re-run the designs.
  double cutoffHz[kNumOnePoles] = {};
  bool designed[kNumOnePoles] = {};

  void SetLowpass(int slot, double frequencyHz, double sampleRate);
  double Step(int slot, double x) {
    const double y = g[slot] * x - f[slot] * s[slot];
    s[slot] = y;
    return y;
  }
};

struct DspBank {
  // Zeroes every coefficient, state and envelope value; delay lines are kept.
  void Clear();

  void DesignBiquad(int slot, int type, double frequencyHz, double bandwidthOctaves,
                    double gainDb, double sampleRate);
  void SetLowpassA(int slot, double frequencyHz, double sampleRate) {
    lowpassA.SetLowpass(slot, frequencyHz, sampleRate);
  }
  void SetLowpassB(int slot, double frequencyHz, double sampleRate) {
    lowpassB.SetLowpass(slot, frequencyHz, sampleRate);
  }
  void SetFollower(int slot, double attackMs, double releaseMs, double rate);
  // Settings run 0 to 1; a setting s is a time of 2^(10 s - 6.666666) seconds.
  void SetAdsr(int slot, double attack, double decay, double sustain, double release,
               double peak, double sampleRate);
  // Allocates a one-second buffer (the only allocation a delay line ever needs).
  void InitDelay(int line, double seconds, double sampleRate);
  // Changes the length of an existing line and silences it, without allocating.
  void SetDelay(int line, double seconds, double sampleRate);
  // A line of size whole cells (at least one), silent, read from position 0.
  void InitFractionalDelay(int line, double size);
  // Re-runs every biquad, one-pole and ADSR design and re-creates every delay line at a
  // new sample rate, from the inputs each was last designed with. Filter states are kept.
  void Redesign(double sampleRate);

  double StepBiquad(int slot, double x) {
    const double y = b0[slot] * x + b1[slot] * x1[slot] + b2[slot] * x2[slot] -
                     a1[slot] * y1[slot] - a2[slot] * y2[slot];
    x2[slot] = x1[slot];
    x1[slot] = x;
    y2[slot] = y1[slot];
    y1[slot] = y;
    return y;
  }
  double StepLowpassA(int slot, double x) { return lowpassA.Step(slot, x); }
  double StepLowpassB(int slot, double x) { return lowpassB.Step(slot, x); }
  // One-pole high-pass made by subtracting the set-B low-pass from its input.
  double StepHighpassB(int slot, double x) { return x - lowpassB.Step(slot, x); }
  // Input must be >= 0 (a rectified signal).
  double StepFollower(int slot, double v) {
    const double c = v > followerEnvelope[slot] ? followerAttack[slot] : followerRelease[slot];
    followerEnvelope[slot] = (followerEnvelope[slot] - v) * c + v;
    return followerEnvelope[slot];
  }
  double StepAdsr(int slot, double gate);
  // Feedback comb with a period of last + 1 samples; returns the cell written next.
  double StepComb(int line, double feedback, double v) {
    double* cells = delayBuffer[line].data();
    int pos = delayPos[line];
    cells[pos] = cells[pos] * feedback + v;
    pos = pos >= delayLast[line] ? 0 : pos + 1;
    delayPos[line] = pos;
    return cells[pos];
  }

  // Biquads, Direct Form I, normalised so that a0 = 1.
  double b0[kNumBiquads] = {}, b1[kNumBiquads] = {}, b2[kNumBiquads] = {};
  double a1[kNumBiquads] = {}, a2[kNumBiquads] = {};
  double x1[kNumBiquads] = {}, x2[kNumBiquads] = {};
  double y1[kNumBiquads] = {}, y2[kNumBiquads] = {};

  OnePoleSet lowpassA;
  OnePoleSet lowpassB;

  double followerAttack[kNumFollowers] = {};
  double followerRelease[kNumFollowers] = {};
  double followerEnvelope[kNumFollowers] = {};

  double adsrAttackRate[kNumAdsrs] = {};
  double adsrDecayRate[kNumAdsrs] = {};
  double adsrSustainLevel[kNumAdsrs] = {};
  double adsrReleaseRate[kNumAdsrs] = {};
  double adsrPeakLevel[kNumAdsrs] = {};
  double adsrLevel[kNumAdsrs] = {};
  double adsrGate[kNumAdsrs] = {};
  double adsrLastGate[kNumAdsrs] = {};
  int adsrStage[kNumAdsrs] = {};
  unsigned char adsrActive[kNumAdsrs] = {};

  std::vector<double> delayBuffer[kNumDelayLines];
  int delayLast[kNumDelayLines] = {};
  int delayPos[kNumDelayLines] = {};

  std::vector<double> fractionalBuffer[kNumFractionalDelays];
  int fractionalSize[kNumFractionalDelays] = {};
  int fractionalPos[kNumFractionalDelays] = {};

 private:
  void StoreDelayLength(int line, double seconds, double sampleRate);

  // Design inputs of each slot, kept so that Redesign can run them at another rate.
  int biquadType[kNumBiquads] = {};
  double biquadFrequencyHz[kNumBiquads] = {};
  double biquadBandwidth[kNumBiquads] = {};
  double biquadGainDb[kNumBiquads] = {};
  bool biquadDesigned[kNumBiquads] = {};
  double adsrSettings[kNumAdsrs][5] = {};
  bool adsrDesigned[kNumAdsrs] = {};
  double delaySeconds[kNumDelayLines] = {};
};
