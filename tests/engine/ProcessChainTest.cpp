#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "EngineTestKit.h"
#include "cabinet/ImpulseBuffer.h"
#include "engine/CabinetVoicings.h"
#include "engine/EngineControls.h"
#include "engine/ModelCatalogue.h"
#include "engine/ProcessChain.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kFrames = 64;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A loud block whose first left sample is `first`.
StereoBlock LoudBlock(double first = 0.0) {
  StereoBlock b = {WhiteNoise(kFrames, 0.5, 3), WhiteNoise(kFrames, 0.5, 4)};
  b.left[0] = first;
  return b;
}

// Equal within 1e-12 of the expected signal's peak: flat biquads round in their last bits.
void ExpectSameSignal(const std::vector<double>& actual, const std::vector<double>& expected) {
  double peak = 0.0;
  for (double v : expected) peak = std::fmax(peak, std::fabs(v));
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    ASSERT_NEAR(actual[i], expected[i], 1e-12 * peak) << "sample " << i;
  }
}

std::vector<double> Scaled(const std::vector<double>& x, double gain) {
  std::vector<double> out;
  for (double v : x) out.push_back(gain * v);
  return out;
}

// Runs a loud block with a first left sample of `first`; returns whether it came out silent.
bool SilentAfter(Engine& e, PartitionedConvolver& convolver, double first = 0.0) {
  StereoBlock b = LoudBlock(first);
  Process(e, convolver, b);
  const auto zero = [](double v) { return v == 0.0; };
  return std::all_of(b.left.begin(), b.left.end(), zero) && std::all_of(b.right.begin(), b.right.end(), zero);
}

// The amp at work: gate, a high-gain model, a cabinet voicing and the IR stage.
std::unique_ptr<Engine> MakeBusyEngine(PartitionedConvolver& convolver) {
  auto e = MakeEngine(kRate, 9);
  SetEveryControl(*e);
  LoadUnitImpulse(convolver);
  return e;
}

// Runs a signal (left, right) through the chain in host blocks of blockSize; returns the
// left output.
std::vector<double> RunInBlocks(Engine& e, PartitionedConvolver& convolver, std::vector<double> left,
                                std::vector<double> right, int blockSize) {
  for (size_t start = 0; start < left.size(); start += size_t(blockSize)) {
    const int n = int(std::min(left.size() - start, size_t(blockSize)));
    double* channels[2] = {left.data() + start, right.data() + start};
    ProcessChain(e, convolver, channels, channels, n);
  }
  return left;
}

std::vector<double> Zeros(int frames) { return std::vector<double>(size_t(frames), 0.0); }

std::vector<double> Joined(std::vector<double> a, const std::vector<double>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

double PeakOf(const std::vector<double>& x, size_t from, size_t to) {
  double peak = 0.0;
  for (size_t i = from; i < to; ++i) peak = std::fmax(peak, std::fabs(x[i]));
  return peak;
}

// Runs a block of digital silence; returns whether the output was all zeros.
bool SilenceGivesZeros(Engine& e, PartitionedConvolver& convolver) {
  StereoBlock b = {Zeros(kFrames), Zeros(kFrames)};
  Process(e, convolver, b);
  return PeakOf(b.left, 0, kFrames) == 0.0 && PeakOf(b.right, 0, kFrames) == 0.0;
}

// Feeds silence until the engine sleeps; false if it never does within two seconds.
bool SleepsOnSilence(Engine& e, PartitionedConvolver& convolver) {
  for (int block = 0; block < int(2.0 * kRate) / kFrames && !e.sleeping; ++block) SilenceGivesZeros(e, convolver);
  return e.sleeping;
}

// A room response: decaying noise of 1.5 s, its tail at -60 dB.
void LoadRoomResponse(PartitionedConvolver& convolver) {
  const int length = int(1.5 * kRate);
  const std::vector<double> noise = WhiteNoise(length, 1.0, 21);
  ImpulseBuffer impulse;
  impulse.SetLength(length);
  for (int i = 0; i < length; ++i) impulse.Channel(0)[i] = noise[size_t(i)] * std::pow(1e-3, double(i) / length);
  convolver.LoadImpulse(impulse);
}

}  // namespace

// Any sample of either input wakes the amp; a right-only signal plays throughout.
TEST(SilenceSleep, EverySampleOfBothInputsCounts) {
  PartitionedConvolver convolver;
  const auto e = MakeNeutralEngine(kRate);
  const std::vector<double> right = WhiteNoise(int(kRate), 0.3, 5);
  const std::vector<double> out = RunInBlocks(*e, convolver, Zeros(int(kRate)), right, 1024);
  ExpectSameSignal(out, right);

  for (double sound : {1e-30, -1e-300, kNaN, std::numeric_limits<double>::infinity()}) {
    for (int channel = 0; channel < 2; ++channel) {
      SCOPED_TRACE(testing::Message() << "sample " << sound << " on channel " << channel);
      ASSERT_TRUE(SleepsOnSilence(*e, convolver));
      StereoBlock b = {Zeros(kFrames), Zeros(kFrames)};
      (channel ? b.right : b.left)[kFrames - 1] = sound;
      Process(*e, convolver, b);
      EXPECT_FALSE(e->sleeping);
    }
  }
}

// Asleep, a note that starts inside a block plays from its first sample.
TEST(SilenceSleep, ANoteStartingInsideABlockKeepsItsAttack) {
  PartitionedConvolver convolver;
  const auto e = MakeNeutralEngine(kRate);
  ASSERT_TRUE(SleepsOnSilence(*e, convolver));
  constexpr int kLead = 700;
  const std::vector<double> note = Pluck(kRate, 1024 - kLead, 0.5);
  const std::vector<double> left = Joined(Zeros(kLead), note);
  const std::vector<double> out = RunInBlocks(*e, convolver, left, Zeros(1024), 1024);
  ExpectSameSignal(out, left);
}

// When the input stops, the response's tail and the filters' ring-down play out; the amp
// sleeps only once they are inaudible, and true silence still puts it to sleep.
TEST(SilenceSleep, TheTailRingsOutBeforeTheAmpSleeps) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  LoadRoomResponse(convolver);
  const int second = int(kRate);
  const std::vector<double> out =
      RunInBlocks(*e, convolver, Joined(WhiteNoise(second / 4, 0.3, 9), Zeros(3 * second)), Zeros(second / 4 + 3 * second), 64);
  const size_t stop = size_t(second / 4);
  const double playing = PeakOf(out, 0, stop);
  EXPECT_GT(PeakOf(out, stop + size_t(second), stop + size_t(second) + 4096), 1e-4 * playing);  // 1 s later
  EXPECT_TRUE(e->sleeping);  // 1.5 s of response and the filters die away within 3 s
  EXPECT_EQ(PeakOf(out, out.size() - 64, out.size()), 0.0);

  for (int model = 0; model < kDriveModelCount; ++model) {
    SCOPED_TRACE(testing::Message() << "model " << model);
    PartitionedConvolver unit;
    const auto busy = MakeBusyEngine(unit);
    SetupDriveModel(*busy, model);
    StereoBlock note = {Pluck(kRate, 4096, 0.5), Zeros(4096)};
    Process(*busy, unit, note);
    EXPECT_TRUE(SleepsOnSilence(*busy, unit));
  }
}

// The same signal with gaps of silence in blocks of any size gives the same output: the
// amp sleeps and wakes at the same frames.
TEST(SilenceSleep, TheHostsBlockSizeDoesNotChangeTheResult) {
  const std::vector<double> gap = Zeros(int(0.5 * kRate));
  const std::vector<double> left =
      Joined(Joined(Joined(Pluck(kRate, 3000, 0.5), gap), Joined(Zeros(37), Pluck(kRate, 5000, 0.4))), gap);
  std::vector<std::vector<double>> outputs;
  for (int blockSize : {1, 64, 1000}) {
    PartitionedConvolver convolver;
    const auto e = MakeBusyEngine(convolver);
    outputs.push_back(RunInBlocks(*e, convolver, left, Zeros(int(left.size())), blockSize));
    EXPECT_TRUE(e->sleeping);
  }
  // The convolver's partitions round differently for different pushes.
  for (size_t i = 0; i < left.size(); ++i) {
    ASSERT_NEAR(outputs[1][i], outputs[0][i], 1e-9) << "frame " << i;
    ASSERT_NEAR(outputs[2][i], outputs[0][i], 1e-9) << "frame " << i;
    ASSERT_EQ(outputs[1][i] == 0.0, outputs[0][i] == 0.0) << "frame " << i;
    ASSERT_EQ(outputs[2][i] == 0.0, outputs[0][i] == 0.0) << "frame " << i;
  }
}

// From 8 kHz to 384 kHz every model, at its knobs' ends, and every cabinet voicing stay
// stable and audible through the whole chain. One engine a rate: models and voicings
// follow each other as a player switches them.
TEST(SampleRates, EveryModelAndVoicingIsStableAndAudible) {
  for (double rate : {8000.0, 16000.0, 22050.0, 32000.0, 384000.0}) {
    const int frames = int(0.1 * rate);
    PartitionedConvolver convolver;
    const auto e = MakeEngine(rate, 0);
    SetEveryControl(*e);
    LoadUnitImpulse(convolver);
    for (int model = 0; model < kDriveModelCount; ++model) {
      for (double knob : {0.0, 1.0}) {
        SCOPED_TRACE(testing::Message() << rate << " Hz, model " << model << ", knobs " << knob);
        SetupDriveModel(*e, model);
        ApplyKnobs(*e, {1.0, knob, knob, knob, knob});
        StereoBlock b = {Pluck(rate, frames, 0.5), Zeros(frames)};
        Process(*e, convolver, b);
        const double peak = PeakOf(b.left, 0, b.left.size());
        ASSERT_TRUE(peak < 1000.0) << peak;
        ASSERT_GT(peak, 0.01);
      }
    }
    const auto neutral = MakeNeutralEngine(rate);
    for (int voicing = 0; voicing < kCabinetVoicingCount; ++voicing) {
      SCOPED_TRACE(testing::Message() << rate << " Hz, voicing " << voicing);
      SelectCabinet(*neutral, voicing);
      for (int slot = 0; slot < neutral->cascadeLength; ++slot) EXPECT_TRUE(BiquadStable(neutral->bank, slot)) << slot;
      StereoBlock b = {Pluck(rate, frames, 0.5), Zeros(frames)};
      Process(*neutral, convolver, b);
      EXPECT_GT(PeakOf(b.left, 0, b.left.size()), 0.01);
    }
  }
}

TEST(SilenceSleep, AsleepNothingMoves) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  ASSERT_TRUE(SleepsOnSilence(*e, convolver));
  const std::vector<double> states = FilterStates(*e);
  for (int block = 0; block < 5; ++block) EXPECT_TRUE(SilenceGivesZeros(*e, convolver));
  EXPECT_EQ(FilterStates(*e), states);
  double* none[2] = {nullptr, nullptr};
  ProcessChain(*e, convolver, none, none, 0);  // a call without frames reads nothing
  EXPECT_TRUE(e->sleeping);
}

// A non-finite input sample counts as 0 for the amp: the output is what a 0 there gives,
// and the amp plays on. The tuner's pass-through copies such samples as they are.
TEST(BadSamples, TheAmpTakesNonFiniteSamplesAsZeroAndPlaysOn) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> left = WhiteNoise(4096, 0.3, 12), right = Pluck(kRate, 4096, 0.3);
  std::vector<double> cleanLeft = left, cleanRight = right;
  const std::pair<int, double> bad[] = {{10, kNaN}, {11, inf}, {500, -inf}, {2000, kNaN}};
  for (const auto& [frame, value] : bad) {
    left[size_t(frame)] = value;
    right[size_t(frame) + 7] = value;
    cleanLeft[size_t(frame)] = 0.0;
    cleanRight[size_t(frame) + 7] = 0.0;
  }
  PartitionedConvolver convolver, cleanConvolver;
  const auto e = MakeBusyEngine(convolver);
  const auto clean = MakeBusyEngine(cleanConvolver);
  const std::vector<double> out = RunInBlocks(*e, convolver, left, right, 256);
  ExpectSameSignal(out, RunInBlocks(*clean, cleanConvolver, cleanLeft, cleanRight, 256));
  EXPECT_GT(PeakOf(out, 3000, 4096), 0.01);

  SetTunerOn(*e, 1.0);
  StereoBlock through = {left, right};
  Process(*e, convolver, through);
  EXPECT_TRUE(std::isnan(through.left[10]));
  EXPECT_EQ(through.right[18], inf);
}

TEST(TunerPath, PassesEachChannelThroughAndFreezesTheAmp) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  StereoBlock warm = {Pluck(kRate, 512, 0.4), Pluck(kRate, 512, 0.2)};
  Process(*e, convolver, warm);
  const std::vector<double> states = FilterStates(*e);
  SetTunerOn(*e, 1.0);

  const std::vector<double> left = Sine(kRate, 110.0, 4096, 0.3);
  const std::vector<double> right = WhiteNoise(4096, 0.2, 8);
  StereoBlock b = {left, right};
  Process(*e, convolver, b);
  EXPECT_EQ(b.left, left);
  EXPECT_EQ(b.right, right);
  EXPECT_GT(e->tuner.readout.refreshes, 0u);
  // Separate output arrays as well as in place.
  std::vector<double> outLeft(4096), outRight(4096);
  const double* in[2] = {left.data(), right.data()};
  double* out[2] = {outLeft.data(), outRight.data()};
  ProcessChain(*e, convolver, in, out, 4096);
  EXPECT_EQ(outLeft, left);
  EXPECT_EQ(outRight, right);
  EXPECT_EQ(FilterStates(*e), states);
}

TEST(Chain, NeutralSettingsGiveTheChannelSumOnBothOutputsScaledByTheVolume) {
  const auto e = MakeNeutralEngine(44100.0);
  PartitionedConvolver convolver;
  const std::vector<double> left = WhiteNoise(2048, 0.5, 1), right = Pluck(44100.0, 2048, 0.7);
  StereoBlock b = {left, right};
  Process(*e, convolver, b);
  std::vector<double> sum(2048);
  for (int i = 0; i < 2048; ++i) sum[i] = left[i] + right[i];
  ExpectSameSignal(b.left, sum);
  EXPECT_EQ(b.right, b.left);

  SetMainVolume(*e, 0.3);
  StereoBlock equal = {left, left};
  ExpectSameSignal(Process(*e, convolver, equal).left, Scaled(left, 0.3 * 2.0));
}

TEST(Chain, ModelIndexOutsideTheCatalogueSkipsTheDrive) {
  const std::vector<double> x = WhiteNoise(kFrames, 0.4, 6);
  for (double value : {9.0, 16.0, 16.9, 100.0, -3.0, kNaN}) {
    const auto e = MakeNeutralEngine(kRate);
    SelectDriveModel(*e, 9.0);  // designs a model, then leaves the catalogue
    SelectDriveModel(*e, value);
    SetDriveOn(*e, 1.0);
    PartitionedConvolver convolver;
    StereoBlock b = {x, std::vector<double>(kFrames, 0.0)};
    Process(*e, convolver, b);
    if (value == 9.0) {
      EXPECT_NE(b.left, x);  // the model itself changes the signal
      continue;
    }
    SCOPED_TRACE(testing::Message() << "model value " << value);
    ExpectSameSignal(b.left, x);
  }
}

TEST(Chain, ClosedGateLeavesOnlyTheAntiDenormalOffset) {
  const auto e = MakeNeutralEngine(kRate);
  SetGateOn(*e, 1.0);
  SetGateThreshold(*e, 1.0);  // 0 dB: the quiet input never opens it
  PartitionedConvolver convolver;
  StereoBlock b = {std::vector<double>(kFrames, 0.01), std::vector<double>(kFrames, 0.0)};
  Process(*e, convolver, b);
  // The index advances before it is read: the first sample takes entry 1.
  ExpectSameSignal(b.left, {e->antiDenormal + 1, e->antiDenormal + kFrames + 1});
  EXPECT_EQ(e->antiDenormalIndex, kFrames);
}

TEST(ImpulseMix, MixesWetTimesLevelWithDry) {
  const auto e = MakeNeutralEngine(kRate);
  PartitionedConvolver convolver;
  LoadUnitImpulse(convolver);
  SetIrStageOn(*e, 1.0);
  SetImpulseLevel(*e, 0.5);
  SetIrWetLevel(*e, 1.0);   // +24 dB
  SetIrDryLevel(*e, 0.75);  // +12 dB
  const std::vector<double> x = WhiteNoise(kFrames, 0.4, 7);
  StereoBlock b = {x, std::vector<double>(kFrames, 0.0)};
  Process(*e, convolver, b);
  ExpectSameSignal(b.left, Scaled(x, 0.5 * std::pow(10.0, 24.0 / 20.0) + std::pow(10.0, 12.0 / 20.0)));
  EXPECT_EQ(b.right, b.left);

  // The dry level's bottom and a silent response give exactly nothing.
  ImpulseBuffer silent;
  silent.SetLength(1);
  convolver.LoadImpulse(silent);
  SetIrDryLevel(*e, 0.0);
  EXPECT_TRUE(SilentAfter(*e, convolver, 0.5));
}
