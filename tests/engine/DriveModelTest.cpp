#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
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

double Peak(const std::vector<double>& v) {
  double peak = 0.0;
  for (double x : v) peak = std::max(peak, std::isfinite(x) ? std::fabs(x) : INFINITY);
  return peak;
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

double BandEnergy(const std::vector<std::complex<double>>& spectrum, double rate, double lowHz,
                  double highHz) {
  const double binHz = rate / 16384.0;
  double energy = 1e-30;
  for (size_t bin = static_cast<size_t>(lowHz / binHz); bin <= static_cast<size_t>(highHz / binHz); ++bin) {
    energy += std::norm(spectrum[bin]);
  }
  return energy;
}

}  // namespace

TEST(Clippers, SoftClipperValues) {
  EXPECT_EQ(SoftClip(0.2, 0.5), 0.5);
  EXPECT_EQ(SoftClip(1.0, 0.5), 0.5);
  EXPECT_EQ(SoftClip(-0.2, 0.5), -0.5);
  EXPECT_EQ(SoftClip(-7.0, 0.3), -0.3);
  EXPECT_EQ(SoftClip(0.1, 0.5), 0.37500000000000006);
  EXPECT_EQ(SoftClip(-0.1, 0.5), -0.37500000000000006);
  EXPECT_NEAR(SoftClip(1e-9, 0.5) / 1e-9, 5.0, 1e-6);  // slope 10 k at zero
  EXPECT_NEAR(SoftClip(0.2 - 1e-12, 0.5), 0.5, 1e-9);  // continuous at the knee
}

TEST(Clippers, AsymmetricClipperValues) {
  EXPECT_EQ(AsymmetricClip(-100.0, 0.3, 1.0), -0.5);
  EXPECT_EQ(AsymmetricClip(100.0, 0.3, 1.0), 0.3);
  EXPECT_EQ(AsymmetricClip(-0.1, 0.3, 2.0), -0.2);  // negative half-waves: hard clip only
  EXPECT_DOUBLE_EQ(AsymmetricClip(0.005, 0.3, 2.0), SoftClip(0.01, 0.3));
  EXPECT_EQ(AsymmetricClip(0.0, 0.3, 2.0), 0.0);
  EXPECT_EQ(AsymmetricClip(10.0, 0.9, 1.0), 0.5);  // positive side never above 0.5
}

TEST(DriveModels, ModelOutsideTheCatalogueLeavesTheSignalAlone) {
  const auto e = MakeEngine(kRate, 0);
  EXPECT_EQ(DriveSample(*e, 0.3, 16), 0.3);
  EXPECT_EQ(DriveSample(*e, -0.7, -1), -0.7);
}

TEST(DriveModels, OutputStaysFiniteAndBoundedAtEveryKnobExtreme) {
  const std::vector<std::vector<double>> signals = {
      Sine(kRate, 100.0, 8192, 1.0), Sine(kRate, 3000.0, 8192, 1.0), WhiteNoise(8192, 1.0, 11)};
  for (int model = 0; model < 16; ++model) {
    const auto e = MakeEngine(kRate, model);
    for (int corner = 0; corner < 16; ++corner) {
      ApplyKnobs(*e, {1.0, double(corner & 1), double((corner >> 1) & 1), double((corner >> 2) & 1),
                      double((corner >> 3) & 1)});
      for (const auto& signal : signals) {
        ASSERT_LT(Peak(RunModel(*e, signal)), 1000.0) << "model " << model << " corner " << corner;
      }
    }
  }
}

TEST(DriveModels, DriveRaisesHarmonicContentOfTheDistortionModels) {
  // -30 dBFS, a guitar's typical level, so that the lowest drive setting is not yet clipping.
  const std::vector<double> sine = Sine(kRate, kRate / 128.0, 32768 + 16384, 0.03);
  for (int model = kFirstDistortionModel; model < 16; ++model) {
    KnobSetting knobs;
    knobs.high = model == 14 ? 0.0 : 0.5;  // model 14's high knob is the sub-octave switch
    const auto e = MakeEngine(kRate, model, knobs);
    std::vector<double> content;
    for (double drive : {0.0, 0.25, 0.5, 0.75, 1.0}) {
      SilenceStates(*e);
      SetDriveKnob(*e, drive);
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
  for (int model = 0; model < 16; ++model) {
    const auto e = MakeEngine(kRate, model);
    for (Knob knob : ShownKnobs(model)) {
      std::vector<double> bands[2];
      for (int end = 0; end < 2; ++end) {
        SilenceStates(*e);
        MoveKnob(*e, knob, end);
        bands[end] = OctaveBandsDb(RunModel(*e, pluck), kRate);
      }
      MoveKnob(*e, knob, 0.5);
      const std::vector<double>& a = bands[0];
      const std::vector<double>& b = bands[1];
      const double loudest = std::max(*std::max_element(a.begin(), a.end()), *std::max_element(b.begin(), b.end()));
      double largest = 0.0;
      for (size_t band = 0; band < a.size(); ++band) {
        if (std::max(a[band], b[band]) > loudest - 60.0) largest = std::max(largest, std::fabs(a[band] - b[band]));
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

  ResetOctaveVoice(*e);
  std::vector<double> out;
  for (double v : Sine(rate, 100.0, 16384, 1.0)) out.push_back(OctaveVoice(*e, v));
  const auto spectrum = Spectrum(out, true);
  EXPECT_GT(BandEnergy(spectrum, rate, 45.0, 55.0), 10.0 * BandEnergy(spectrum, rate, 95.0, 105.0));
}
