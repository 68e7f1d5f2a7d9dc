#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "EngineTestKit.h"
#include "cabinet/ImpulseBuffer.h"
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

}  // namespace

// Only each block's first left sample counts. The first check covers four blocks, then
// every third block is checked; first samples that cancel in the sum count as silence,
// a NaN as sound, a block without frames as silence.
TEST(SilenceSleep, SleepsWhenTheFirstSamplesOfAWindowSumToZero) {
  PartitionedConvolver convolver;
  const auto e = MakeNeutralEngine(kRate);
  for (int block = 1; block <= 3; ++block) EXPECT_FALSE(SilentAfter(*e, convolver)) << "block " << block;
  EXPECT_TRUE(SilentAfter(*e, convolver));  // loud, yet asleep
  StereoBlock wake = LoudBlock(0.25);
  std::vector<double> sum(kFrames);
  for (int i = 0; i < kFrames; ++i) sum[i] = wake.left[i] + wake.right[i];
  ExpectSameSignal(Process(*e, convolver, wake).left, sum);
  EXPECT_FALSE(e->sleeping);

  const auto other = MakeNeutralEngine(kRate);
  for (double first : {0.0, 1e-9, 0.0, 0.0}) SilentAfter(*other, convolver, first);
  EXPECT_FALSE(other->sleeping);
  for (double first : {0.5, -0.5, 0.0}) SilentAfter(*other, convolver, first);
  EXPECT_TRUE(other->sleeping);
  SilentAfter(*other, convolver, kNaN);
  EXPECT_FALSE(other->sleeping);

  const auto idle = MakeNeutralEngine(kRate);
  double* none[2] = {nullptr, nullptr};
  for (int block = 0; block < 4; ++block) ProcessChain(*idle, convolver, none, none, 0);
  EXPECT_TRUE(idle->sleeping);
  EXPECT_EQ(idle->silenceBlocks, 1);
}

TEST(SilenceSleep, AsleepNothingMoves) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  for (int block = 0; block < 4; ++block) SilentAfter(*e, convolver);
  ASSERT_TRUE(e->sleeping);
  const std::vector<double> states = FilterStates(*e);
  for (int block = 0; block < 5; ++block) EXPECT_TRUE(SilentAfter(*e, convolver));
  EXPECT_EQ(FilterStates(*e), states);
}

TEST(TunerPath, PassesEachChannelThroughAndFreezesTheAmp) {
  PartitionedConvolver convolver;
  const auto e = MakeBusyEngine(convolver);
  StereoBlock warm = {Pluck(kRate, 512, 0.4), Pluck(kRate, 512, 0.2)};
  Process(*e, convolver, warm);
  const std::vector<double> states = FilterStates(*e);
  ASSERT_TRUE(ToggleTuner(*e));

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
