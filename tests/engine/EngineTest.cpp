#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "EngineTestKit.h"
#include "engine/DriveSample.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr double kStartSeconds[14] = {0.0051, 0.00031, 0.0051, 0.00031, 0.0051, 0.00031, 0.0051,
                                      0.00031, 0.002,  0.00027, 0.002, 0.00027, 0.0032, 0.0032};

std::vector<double> TableFrom(std::uint32_t& state) {
  std::vector<double> table(kAntiDenormalTableSize);
  FillAntiDenormalTableFrom(state, table.data());
  return table;
}

std::vector<double> TableOf(const Engine& e) {
  return {e.antiDenormal, e.antiDenormal + kAntiDenormalTableSize};
}

// Every value a new sample rate must re-derive, compared exactly.
void ExpectSameDesigns(const Engine& a, const Engine& b) {
  const DspBank& x = a.bank;
  const DspBank& y = b.bank;
  EXPECT_EQ(a.sampleRate, b.sampleRate);
  for (int s = 0; s < kNumBiquads; ++s) {
    EXPECT_EQ(x.b0[s], y.b0[s]) << "biquad " << s;
    EXPECT_EQ(x.b1[s], y.b1[s]) << "biquad " << s;
    EXPECT_EQ(x.b2[s], y.b2[s]) << "biquad " << s;
    EXPECT_EQ(x.a1[s], y.a1[s]) << "biquad " << s;
    EXPECT_EQ(x.a2[s], y.a2[s]) << "biquad " << s;
  }
  for (int s = 0; s < kNumOnePoles; ++s) {
    EXPECT_EQ(x.lowpassA.g[s], y.lowpassA.g[s]) << "one-pole A " << s;
    EXPECT_EQ(x.lowpassB.f[s], y.lowpassB.f[s]) << "one-pole B " << s;
  }
  for (int s = 0; s < 2; ++s) {
    EXPECT_EQ(x.followerAttack[s], y.followerAttack[s]);
    EXPECT_EQ(x.followerRelease[s], y.followerRelease[s]);
  }
  EXPECT_EQ(x.adsrAttackRate[kGateEnvelope], y.adsrAttackRate[kGateEnvelope]);
  EXPECT_EQ(x.adsrDecayRate[kGateEnvelope], y.adsrDecayRate[kGateEnvelope]);
  EXPECT_EQ(x.adsrReleaseRate[kGateEnvelope], y.adsrReleaseRate[kGateEnvelope]);
  EXPECT_EQ(x.adsrSustainLevel[kGateEnvelope], y.adsrSustainLevel[kGateEnvelope]);
  for (int line = 0; line < kNumDelayLines; ++line) {
    EXPECT_EQ(x.delayLast[line], y.delayLast[line]) << "line " << line;
    EXPECT_EQ(x.delayBuffer[line].size(), y.delayBuffer[line].size()) << "line " << line;
  }
  EXPECT_EQ(x.fractionalSize[0], y.fractionalSize[0]);
  EXPECT_EQ(x.fractionalSize[1], y.fractionalSize[1]);
  EXPECT_EQ(a.octave.phaseStep, b.octave.phaseStep);
  EXPECT_EQ(a.drive, b.drive);
  EXPECT_EQ(a.secondDrive, b.secondDrive);
  EXPECT_EQ(a.lowDrive, b.lowDrive);
  EXPECT_EQ(a.subOctaveOn, b.subOctaveOn);
  EXPECT_EQ(a.tuner.displayPeriod, b.tuner.displayPeriod);
  EXPECT_EQ(a.tuner.decimationFactor, b.tuner.decimationFactor);
}

// What a host does before audio: knob values, a model, a knob moved afterwards, the gate
// release and a tone-section design.
void LiveThrough(Engine& e, int model) {
  e.knobs = {0.3, 0.7, 0.2, 0.9, 0.0};
  SetupDriveModel(e, model);
  SetLowKnob(e, 0.65);
  SetGateRelease(e, 0.4);
  e.bank.DesignBiquad(68, kLowShelf, 500.0, 1.0, 6.0, e.sampleRate);
}

}  // namespace

TEST(InitEngine, SetsTheStartingState) {
  const auto e = std::make_unique<Engine>();
  InitEngine(*e, 44100.0);
  EXPECT_EQ(e->sampleRate, 44100.0);
  EXPECT_EQ(e->antiDenormalIndex, 0);
  EXPECT_DOUBLE_EQ(e->bank.followerAttack[kGateFollower], std::exp(-2.0 / 352.8));
  EXPECT_DOUBLE_EQ(e->bank.followerRelease[kGateFollower], std::exp(-2.0 / 308.7));
  // Ten-second ramps towards half level.
  EXPECT_DOUBLE_EQ(e->bank.adsrAttackRate[kGateEnvelope], 1.0 / (std::exp2(3.333334) * 44100.0));
  EXPECT_DOUBLE_EQ(e->bank.adsrReleaseRate[kGateEnvelope], 1.0 / (std::exp2(3.333334) * 44100.0));
  EXPECT_EQ(e->bank.adsrSustainLevel[kGateEnvelope], 0.5);
  for (int line = 0; line < 14; ++line) {
    EXPECT_EQ(e->bank.delayLast[line], static_cast<int>(kStartSeconds[line] * 44100.0 - 1.0));
    EXPECT_EQ(e->bank.delayBuffer[line].size(), 44100u);
  }
  EXPECT_EQ(e->tuner.displayPeriod, 1764);
  EXPECT_EQ(e->tuner.decimationFactor, 14);
  EXPECT_NEAR(e->bank.followerAttack[kTunerNeedleFollower], 0.8928, 1e-4);
  EXPECT_EQ(e->impulseLevel, 1.0);
}

TEST(AntiDenormalTable, HoldsTinyRisingPositiveOffsets) {
  std::uint32_t state = 1;
  const std::vector<double> table = TableFrom(state);
  // The first step from the load-time state 1 gives r = 2124690, bits 16 to 22 = 32.
  EXPECT_EQ(table[0], 1.25 * std::exp2(-67.0));
  EXPECT_EQ(table[0], static_cast<double>(std::bit_cast<float>(0x1E200000u)));
  for (int i = 1; i < kAntiDenormalTableSize; ++i) ASSERT_GT(table[i], table[i - 1]);
  EXPECT_LT(table.back(), 1e-15);
}

TEST(AntiDenormalTable, SecondInstanceContinuesTheSequence) {
  std::uint32_t state = AntiDenormalGeneratorState();
  const auto first = std::make_unique<Engine>();
  const auto second = std::make_unique<Engine>();
  InitEngine(*first, 44100.0);
  InitEngine(*second, 44100.0);
  EXPECT_EQ(TableOf(*first), TableFrom(state));
  EXPECT_EQ(TableOf(*second), TableFrom(state));
  EXPECT_NE(TableOf(*first), TableOf(*second));
  EXPECT_EQ(AntiDenormalGeneratorState(), state);
}

TEST(AntiDenormalTable, InstancesBuiltOnTwoThreadsTakeUnbrokenRuns) {
  std::uint32_t state = AntiDenormalGeneratorState();
  const std::vector<double> runA = TableFrom(state);
  const std::vector<double> runB = TableFrom(state);
  const auto one = std::make_unique<Engine>();
  const auto two = std::make_unique<Engine>();
  std::thread first([&] { InitEngine(*one, 44100.0); });
  std::thread second([&] { InitEngine(*two, 48000.0); });
  first.join();
  second.join();
  const bool inOrder = TableOf(*one) == runA && TableOf(*two) == runB;
  const bool swapped = TableOf(*one) == runB && TableOf(*two) == runA;
  EXPECT_TRUE(inOrder || swapped);
  EXPECT_EQ(AntiDenormalGeneratorState(), state);
}

TEST(ResetEngine, SameOrUnusableRateChangesNothing) {
  const auto e = MakeEngine(44100.0, 9);
  LiveThrough(*e, 9);
  const auto copy = std::make_unique<Engine>(*e);
  const double* cells = e->bank.delayBuffer[0].data();
  for (double rate : {44100.0, 0.0, -48000.0, std::nan(""), double(INFINITY)}) {
    EXPECT_FALSE(ResetEngine(*e, rate)) << rate;
    EXPECT_FALSE(ResetEngine(*e, rate)) << rate;
  }
  ExpectSameDesigns(*e, *copy);
  EXPECT_EQ(e->bank.delayBuffer[0].data(), cells);
}

TEST(ResetEngine, NewRateDesignsEverythingAsAFreshInstanceAtThatRate) {
  const auto check = [](int model, double rate) {
    SCOPED_TRACE(testing::Message() << "model " << model << " at " << rate);
    const auto moved = MakeEngine(44100.0, model);
    LiveThrough(*moved, model);
    EXPECT_TRUE(ResetEngine(*moved, rate));
    const auto fresh = MakeEngine(rate, model);
    LiveThrough(*fresh, model);
    ExpectSameDesigns(*moved, *fresh);
  };
  for (int model = 0; model < 16; ++model) check(model, 96000.0);
  for (int model : {4, 14, 15}) {  // own comb lengths, octave voice, history-dependent slots
    check(model, 48000.0);
    check(model, 192000.0);
  }
}

TEST(ResetEngine, KeepsAModelsOwnCombLengthsAndTheGateRelease) {
  const auto e = MakeEngine(44100.0, 4);
  SetGateRelease(*e, 0.3);
  ASSERT_TRUE(ResetEngine(*e, 192000.0));
  EXPECT_EQ(e->bank.delayLast[0], static_cast<int>(0.0074 * 192000.0 - 1.0));
  EXPECT_EQ(e->bank.delayLast[13], static_cast<int>(0.00032 * 192000.0 - 1.0));
  EXPECT_EQ(e->bank.delayBuffer[0].size(), 192000u);
  EXPECT_DOUBLE_EQ(e->bank.adsrAttackRate[kGateEnvelope], 1.0 / (std::exp2(-6.666666) * 192000.0));
  EXPECT_DOUBLE_EQ(e->bank.adsrReleaseRate[kGateEnvelope], 1.0 / (std::exp2(-3.666666) * 192000.0));
  EXPECT_EQ(e->bank.adsrSustainLevel[kGateEnvelope], 1.0);
  EXPECT_EQ(e->tuner.displayPeriod, 7680);
  EXPECT_EQ(e->tuner.decimationFactor, 64);
}

TEST(ResetEngine, KeepsFilterStates) {
  const auto e = MakeEngine(44100.0, 10);
  RunModel(*e, Pluck(44100.0, 2000, 0.25));
  const double y1 = e->bank.y1[115], s = e->bank.lowpassA.s[3];
  ASSERT_NE(y1, 0.0);
  ASSERT_TRUE(ResetEngine(*e, 88200.0));
  EXPECT_EQ(e->bank.y1[115], y1);
  EXPECT_EQ(e->bank.lowpassA.s[3], s);
}
