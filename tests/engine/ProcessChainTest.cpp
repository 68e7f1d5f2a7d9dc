#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ChainTestKit.h"
#include "EngineTestKit.h"
#include "cabinet/ImpulseBuffer.h"
#include "engine/CabinetVoicings.h"
#include "engine/EngineControls.h"
#include "engine/ModelCatalogue.h"
#include "engine/ProcessChain.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kFrames = 64;

// A loud block whose first left sample is exactly 0.
std::vector<double> LoudAfterZero(double amplitude = 0.5) {
  std::vector<double> v = WhiteNoise(kFrames, amplitude, 3);
  v[0] = 0.0;
  return v;
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

bool AllZero(const StereoBlock& b) {
  for (size_t i = 0; i < b.left.size(); ++i) {
    if (b.left[i] != 0.0 || b.right[i] != 0.0) return false;
  }
  return true;
}

// The amp at work: gate, a high-gain model, a cabinet voicing and the IR stage.
std::unique_ptr<Engine> MakeBusyEngine(PartitionedConvolver& convolver) {
  auto e = MakeEngine(kRate, 9);
  SetMainBass(*e, 0.7);
  SetMainTreble(*e, 0.3);
  SetLoudness(*e, 0.4);
  SetMainVolume(*e, 0.8);
  SetGateOn(*e, 1.0);
  SetGateThreshold(*e, 0.3);
  SetGateRelease(*e, 0.2);
  SetDriveOn(*e, 1.0);
  SelectCabinet(*e, 12.0);
  SetIrStageOn(*e, 1.0);
  SetIrDryLevel(*e, 0.5);
  SetIrWetLevel(*e, 0.5);
  LoadUnitImpulse(convolver);
  return e;
}

}  // namespace

TEST(SilenceSleep, FirstCheckCoversFourBlocksThenEveryThird) {
  const auto e = MakeNeutralEngine(kRate);
  PartitionedConvolver convolver;
  for (int block = 1; block <= 3; ++block) {
    StereoBlock b = Block(LoudAfterZero(), LoudAfterZero());
    EXPECT_FALSE(AllZero(Process(*e, convolver, b))) << "block " << block;
  }
  StereoBlock check = Block(LoudAfterZero(), LoudAfterZero());
  EXPECT_TRUE(AllZero(Process(*e, convolver, check)));  // loud, yet asleep
  EXPECT_TRUE(e->sleeping);

  StereoBlock wake = Block(WhiteNoise(kFrames, 0.5, 9), LoudAfterZero());
  wake.left[0] = 0.25;
  const std::vector<double> sum = [&] {
    std::vector<double> s(kFrames);
    for (int i = 0; i < kFrames; ++i) s[i] = wake.left[i] + wake.right[i];
    return s;
  }();
  ExpectSameSignal(Process(*e, convolver, wake).left, sum);
  EXPECT_FALSE(e->sleeping);
}

TEST(SilenceSleep, NonZeroFirstSamplesInTheWindowKeepItAwake) {
  const auto e = MakeNeutralEngine(kRate);
  PartitionedConvolver convolver;
  // Blocks 1 to 4 are the first window: one non-zero first sample keeps the engine up.
  for (int block = 1; block <= 4; ++block) {
    StereoBlock b = Block(LoudAfterZero(), LoudAfterZero());
    if (block == 2) b.left[0] = 1e-9;
    Process(*e, convolver, b);
  }
  EXPECT_FALSE(e->sleeping);
  // Values that cancel in the sum count as silence; a NaN counts as sound.
  for (double first : {0.5, -0.5, 0.0}) {
    StereoBlock b = Block(LoudAfterZero(), LoudAfterZero());
    b.left[0] = first;
    Process(*e, convolver, b);
  }
  EXPECT_TRUE(e->sleeping);
  StereoBlock nan = Block(LoudAfterZero(), LoudAfterZero());
  nan.left[0] = std::numeric_limits<double>::quiet_NaN();
  Process(*e, convolver, nan);
  EXPECT_FALSE(e->sleeping);
}

TEST(SilenceSleep, RightOnlySignalAndEmptyBlocksLetItSleep) {
  const auto e = MakeNeutralEngine(kRate);
  PartitionedConvolver convolver;
  for (int block = 0; block < 4; ++block) {
    StereoBlock b = Block(std::vector<double>(kFrames, 0.0), WhiteNoise(kFrames, 0.5, 4));
    Process(*e, convolver, b);
  }
  EXPECT_TRUE(e->sleeping);

  // Blocks without frames read no sample and count as silent.
  const auto idle = MakeNeutralEngine(kRate);
  double* none[2] = {nullptr, nullptr};
  for (int block = 0; block < 4; ++block) ProcessChain(*idle, convolver, none, none, 0);
  EXPECT_TRUE(idle->sleeping);
  EXPECT_EQ(idle->silenceBlocks, 1);
}

TEST(SilenceSleep, AsleepNothingMoves) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  for (int block = 0; block < 4; ++block) {
    StereoBlock b = Block(LoudAfterZero(), LoudAfterZero());
    Process(*e, convolver, b);
  }
  ASSERT_TRUE(e->sleeping);
  const std::vector<double> states = FilterStates(*e);
  for (int block = 0; block < 5; ++block) {
    StereoBlock b = Block(LoudAfterZero(), LoudAfterZero());
    EXPECT_TRUE(AllZero(Process(*e, convolver, b)));
  }
  EXPECT_EQ(FilterStates(*e), states);
}

TEST(TunerPath, PassesEachChannelThroughAndFreezesTheAmp) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  StereoBlock warm = Block(Pluck(kRate, 512, 0.4), Pluck(kRate, 512, 0.2));
  Process(*e, convolver, warm);
  const std::vector<double> states = FilterStates(*e);
  ASSERT_TRUE(ToggleTuner(*e));

  const std::vector<double> left = Sine(kRate, 110.0, 4096, 0.3);
  const std::vector<double> right = WhiteNoise(4096, 0.2, 8);
  StereoBlock b = Block(left, right);
  Process(*e, convolver, b);
  EXPECT_EQ(b.left, left);
  EXPECT_EQ(b.right, right);
  EXPECT_EQ(FilterStates(*e), states);
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

TEST(Chain, NeutralSettingsGiveLeftPlusRightOnBothOutputs) {
  const auto e = MakeNeutralEngine(44100.0);
  PartitionedConvolver convolver;
  const std::vector<double> left = WhiteNoise(2048, 0.5, 1);
  const std::vector<double> right = Pluck(44100.0, 2048, 0.7);
  StereoBlock b = Block(left, right);
  Process(*e, convolver, b);
  std::vector<double> sum(2048);
  for (int i = 0; i < 2048; ++i) sum[i] = left[i] + right[i];
  ExpectSameSignal(b.left, sum);
  EXPECT_EQ(b.right, b.left);
}

TEST(Chain, EqualChannelsGiveTwiceTheLevelAndVolumeScales) {
  const auto e = MakeNeutralEngine(kRate);
  SetMainVolume(*e, 0.3);
  PartitionedConvolver convolver;
  const std::vector<double> x = WhiteNoise(kFrames, 0.4, 2);
  StereoBlock b = Block(x, x);
  Process(*e, convolver, b);
  std::vector<double> expected(kFrames);
  for (int i = 0; i < kFrames; ++i) expected[i] = 0.3 * 2.0 * x[i];
  ExpectSameSignal(b.left, expected);
}

TEST(Chain, ModelIndexOutsideTheCatalogueSkipsTheDrive) {
  for (double value : {16.0, 16.9, 100.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
    const auto e = MakeNeutralEngine(kRate);
    SelectDriveModel(*e, 9.0);  // designs a model, then leaves the catalogue
    SelectDriveModel(*e, value);
    SetDriveOn(*e, 1.0);
    EXPECT_TRUE(e->model < 0 || e->model >= kDriveModelCount) << value;
    PartitionedConvolver convolver;
    const std::vector<double> x = WhiteNoise(kFrames, 0.4, 6);
    StereoBlock b = Block(x, std::vector<double>(kFrames, 0.0));
    SCOPED_TRACE(testing::Message() << "model value " << value);
    ExpectSameSignal(Process(*e, convolver, b).left, x);
  }
  const auto driven = MakeNeutralEngine(kRate);
  SelectDriveModel(*driven, 9.0);
  SetDriveOn(*driven, 1.0);
  PartitionedConvolver convolver;
  const std::vector<double> x = WhiteNoise(kFrames, 0.4, 6);
  StereoBlock b = Block(x, std::vector<double>(kFrames, 0.0));
  EXPECT_NE(Process(*driven, convolver, b).left, x);
}

TEST(Chain, ClosedGateLeavesOnlyTheAntiDenormalOffset) {
  const auto e = MakeNeutralEngine(kRate);
  SetGateOn(*e, 1.0);
  SetGateThreshold(*e, 1.0);  // 0 dB: the quiet input never opens it
  PartitionedConvolver convolver;
  StereoBlock b = Block(std::vector<double>(kFrames, 0.01), std::vector<double>(kFrames, 0.0));
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
  const double gain = 0.5 * std::pow(10.0, 24.0 / 20.0) + std::pow(10.0, 12.0 / 20.0);
  const std::vector<double> x = WhiteNoise(kFrames, 0.4, 7);
  StereoBlock b = Block(x, std::vector<double>(kFrames, 0.0));
  Process(*e, convolver, b);
  std::vector<double> expected(kFrames);
  for (int i = 0; i < kFrames; ++i) expected[i] = gain * x[i];
  ExpectSameSignal(b.left, expected);
  EXPECT_EQ(b.right, b.left);
}

TEST(ImpulseMix, DryAtMinusInfinityIsExactlyZero) {
  const auto e = MakeNeutralEngine(kRate);
  SetIrDryLevel(*e, 0.0);
  EXPECT_EQ(e->dryGain, 0.0);
  EXPECT_EQ(IrDryLevelDb(0.0), kIrDryOffDb);
  PartitionedConvolver convolver;
  ImpulseBuffer silent;
  silent.SetLength(1);  // a response of 0.0: no wet signal either
  convolver.LoadImpulse(silent);
  SetIrStageOn(*e, 1.0);
  SetIrWetLevel(*e, 1.0);
  StereoBlock b = Block(WhiteNoise(kFrames, 0.9, 2), WhiteNoise(kFrames, 0.9, 5));
  b.left[0] = 0.5;
  EXPECT_TRUE(AllZero(Process(*e, convolver, b)));
}

TEST(ImpulseMix, LevelLaws) {
  const auto engine = MakeNeutralEngine(kRate);
  Engine& e = *engine;
  SetIrDryLevel(e, 0.5);
  EXPECT_EQ(e.dryGain, 1.0);
  SetIrDryLevel(e, 0.25);
  EXPECT_DOUBLE_EQ(e.dryGain, std::pow(10.0, -24.0 / 20.0));
  SetIrDryLevel(e, 1.0);
  EXPECT_DOUBLE_EQ(e.dryGain, std::pow(10.0, 24.0 / 20.0));
  SetIrWetLevel(e, 0.0);
  EXPECT_DOUBLE_EQ(e.wetGain, std::pow(10.0, -24.0 / 20.0));
  SetIrStageOn(e, 0.0);
  EXPECT_FALSE(e.cabinetOn);
  SetIrStageOn(e, 0.01);
  EXPECT_TRUE(e.cabinetOn);
  EXPECT_FALSE(ToggleIrStage(e));
}
