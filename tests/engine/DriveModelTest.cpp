#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "EngineTestKit.h"
#include "engine/Clippers.h"
#include "engine/DriveSample.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"
#include "engine/OctaveVoice.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kFirstDistortionModel = 5;

enum Knob { kLevelKnob, kDriveKnob, kLowKnob, kMidKnob, kHighKnob };

// The knobs each model's pedal shows.
std::vector<Knob> ShownKnobs(int model) {
  if (model == 4) return {kLevelKnob, kLowKnob, kMidKnob, kHighKnob};
  if (model == 13) return {kLevelKnob, kDriveKnob, kMidKnob};
  return {kLevelKnob, kDriveKnob, kLowKnob, kMidKnob, kHighKnob};
}

std::vector<double> Tail(std::vector<double> v, size_t skip) {
  v.erase(v.begin(), v.begin() + static_cast<long>(std::min(skip, v.size())));
  return v;
}

// Energy of the odd harmonics relative to the fundamental, in dB, for a sine whose period
// is exactly 128 samples (fundamental in bin 128, no leakage). Odd harmonics are what
// clipping adds; the fuzz's asymmetric slopes make even harmonics at any drive.
double OddHarmonicContentDb(const std::vector<double>& steadyState) {
  const auto spectrum = Spectrum(steadyState, false);
  double harmonics = 1e-30;
  for (size_t bin = 3 * 128; bin < spectrum.size(); bin += 2 * 128) harmonics += std::norm(spectrum[bin]);
  return 10.0 * std::log10(harmonics / std::norm(spectrum[128]));
}

// Sets one knob as the parameter handler does when the user moves it.
void MoveKnob(Engine& e, Knob knob, double v) {
  switch (knob) {
    case kLevelKnob: e.driveLevel = LevelCurve(v); break;
    case kDriveKnob: SetDriveKnob(e, v); break;
    case kLowKnob: SetLowKnob(e, v); break;
    case kMidKnob: SetMidKnob(e, v); break;
    case kHighKnob: SetHighKnob(e, v); break;
  }
}

}  // namespace

TEST(Clippers, SoftKneeToTheCeilingAndAsymmetricHalfWaves) {
  for (double k : {0.3, 0.5}) {
    for (int step = -80; step <= 80; ++step) {
      const double v = step / 80.0;
      SCOPED_TRACE(testing::Message() << "v " << v << " k " << k);
      EXPECT_EQ(SoftClip(-v, k), -SoftClip(v, k));
      EXPECT_LE(std::fabs(SoftClip(v, k)), k * (1.0 + 1e-15));
      EXPECT_TRUE(std::fabs(v) < 0.2 || std::fabs(SoftClip(v, k)) == k);
      // Negative half-waves hard-clip at -0.5; positive ones take the soft curve up to 0.5.
      const double w = 2.0 * v;
      EXPECT_DOUBLE_EQ(AsymmetricClip(v, k, 2.0), w < 0.0 ? std::max(w, -0.5) : std::min(SoftClip(w, k), 0.5));
    }
  }
  EXPECT_EQ(SoftClip(0.1, 0.5), 0.37500000000000006);  // multiplied left to right
  EXPECT_NEAR(SoftClip(1e-9, 0.5) / 1e-9, 5.0, 1e-6);  // slope 10 k at zero
  EXPECT_NEAR(SoftClip(0.2 - 1e-12, 0.5), 0.5, 1e-9);  // continuous at the knee
  EXPECT_EQ(AsymmetricClip(10.0, 0.9, 1.0), 0.5);
}

TEST(DriveModels, OutputStaysFiniteAndBoundedAtEveryKnobExtreme) {
  const std::vector<std::vector<double>> signals = {
      Sine(kRate, 100.0, 8192, 1.0), Sine(kRate, 3000.0, 8192, 1.0), WhiteNoise(8192, 1.0, 11)};
  for (int model = 0; model < kDriveModelCount; ++model) {
    const auto e = MakeEngine(kRate, model);
    for (const KnobSetting& corner : KnobCorners()) {
      ApplyKnobs(*e, corner);
      for (const auto& signal : signals) {
        for (double v : RunModel(*e, signal)) ASSERT_TRUE(std::fabs(v) < 1000.0) << "model " << model << ": " << v;
      }
    }
  }
  // Indices outside the catalogue leave the signal alone.
  const auto e = MakeEngine(kRate, 0);
  EXPECT_EQ(DriveSample(*e, 0.3, kDriveModelCount), 0.3);
  EXPECT_EQ(DriveSample(*e, -0.7, -1), -0.7);
}

TEST(DriveModels, DriveRaisesHarmonicContentOfTheDistortionModels) {
  // -30 dBFS, a guitar's typical level, so that the lowest drive setting is not yet clipping.
  const std::vector<double> sine = Sine(kRate, kRate / 128.0, 32768 + 16384, 0.03);
  for (int model = kFirstDistortionModel; model < kDriveModelCount; ++model) {
    std::vector<double> content;
    for (double drive : {0.0, 0.25, 0.5, 0.75, 1.0}) {
      // Model 14's high knob is the sub-octave switch.
      const auto e = MakeEngine(kRate, model, {1.0, drive, 0.5, 0.5, model == 14 ? 0.0 : 0.5});
      content.push_back(OddHarmonicContentDb(Tail(RunModel(*e, sine), 32768)));
    }
    for (size_t i = 1; i < content.size(); ++i) {
      EXPECT_GE(content[i], content[i - 1] - 0.5) << "model " << model << " step " << i;
    }
    EXPECT_GT(content.back() - content.front(), 6.0) << "model " << model;
  }
}

TEST(DriveModels, EveryShownKnobAudiblyChangesAPluck) {
  const std::vector<double> pluck = Pluck(kRate, 16384, 0.25);  // -12 dBFS
  for (int model = 0; model < kDriveModelCount; ++model) {
    for (Knob knob : ShownKnobs(model)) {
      std::vector<double> bands[2];
      for (int end = 0; end < 2; ++end) {
        const auto e = MakeEngine(kRate, model);
        MoveKnob(*e, knob, end);
        bands[end] = OctaveBandsDb(RunModel(*e, pluck), kRate);
      }
      const double loudest = std::max(*std::max_element(bands[0].begin(), bands[0].end()),
                                      *std::max_element(bands[1].begin(), bands[1].end()));
      double largest = 0.0;
      for (size_t band = 0; band < bands[0].size(); ++band) {
        if (std::max(bands[0][band], bands[1][band]) > loudest - 60.0) {
          largest = std::max(largest, std::fabs(bands[0][band] - bands[1][band]));
        }
      }
      EXPECT_GE(largest, 3.0) << "model " << model << " knob " << knob;
    }
  }
}

TEST(DriveModels, SubOctaveAddsEnergyAnOctaveBelowOnlyWhenOn) {
  const std::vector<double> sine = Sine(kRate, 220.0, 8192 + 16384, 0.25);
  double subRatio[2];
  for (int on = 0; on < 2; ++on) {
    KnobSetting knobs;
    knobs.high = on;
    const auto e = MakeEngine(kRate, 14, knobs);
    const auto spectrum = Spectrum(Tail(RunModel(*e, sine), 8192), true);
    subRatio[on] = BandEnergy(spectrum, kRate, 100.0, 120.0) / BandEnergy(spectrum, kRate, 210.0, 230.0);
    if (!on) {
      EXPECT_EQ(e->bank.fractionalPos[kOctaveLineA], 0);  // the voice never ran
    }
  }
  EXPECT_LT(10.0 * std::log10(subRatio[0]), -40.0);
  EXPECT_GT(10.0 * std::log10(subRatio[1]), 10.0 * std::log10(subRatio[0]) + 30.0);
}

TEST(OctaveVoiceTaps, ReadTheInputFromAGrowingDelayAndPlayItAnOctaveLower) {
  constexpr double rate = 8000.0;
  const auto e = MakeEngine(rate, 14);
  ResetOctaveVoice(*e);
  const double longest = e->octave.depthSeconds * rate;
  for (int n = 0; n < 8000; ++n) {
    const double delay = n - OctaveVoice(*e, n);
    ASSERT_GE(delay, 0.0) << n;
    ASSERT_LE(delay, longest + 1.0) << n;
    if (e->octave.crossfade >= 1.0) {  // tap A alone, half way through its sweep
      EXPECT_NEAR(delay, e->octave.phaseA * longest, 1.0) << n;
    }
  }
  // The pitch itself, before clipping can add intermodulation products an octave down.
  ResetOctaveVoice(*e);
  std::vector<double> out;
  for (double v : Sine(rate, 100.0, 16384, 1.0)) out.push_back(OctaveVoice(*e, v));
  const auto spectrum = Spectrum(out, true);
  EXPECT_GT(BandEnergy(spectrum, rate, 45.0, 55.0), 10.0 * BandEnergy(spectrum, rate, 95.0, 105.0));
}
