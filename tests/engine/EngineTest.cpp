#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "EngineTestKit.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"

namespace {

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
  for (int s = 0; s < kNumBiquads; ++s) EXPECT_EQ(Coefficients(x, s), Coefficients(y, s)) << "biquad " << s;
  for (int s = 0; s < kNumOnePoles; ++s) {
    EXPECT_EQ(x.lowpassA.g[s], y.lowpassA.g[s]) << "one-pole A " << s;
    EXPECT_EQ(x.lowpassB.f[s], y.lowpassB.f[s]) << "one-pole B " << s;
  }
  for (const auto& [u, v] : {std::pair{x.followerAttack, y.followerAttack}, {x.followerRelease, y.followerRelease},
                             {x.adsrAttackRate, y.adsrAttackRate}, {x.adsrDecayRate, y.adsrDecayRate},
                             {x.adsrReleaseRate, y.adsrReleaseRate}, {x.adsrSustainLevel, y.adsrSustainLevel}}) {
    EXPECT_EQ(u[kGateFollower], v[kGateFollower]);  // the gate's follower and envelope (slot 0)
    EXPECT_EQ(u[kTunerNeedleFollower], v[kTunerNeedleFollower]);  // the tuner needle's follower
  }
  for (int line = 0; line < kNumDelayLines; ++line) {
    EXPECT_EQ(x.delayLast[line], y.delayLast[line]) << "line " << line;
    EXPECT_EQ(x.delayBuffer[line].size(), y.delayBuffer[line].size()) << "line " << line;
    EXPECT_EQ(x.fractionalSize[line], y.fractionalSize[line]) << "fractional line " << line;
  }
  for (double Engine::*amount : {&Engine::drive, &Engine::secondDrive, &Engine::lowDrive}) EXPECT_EQ(a.*amount, b.*amount);
  EXPECT_EQ(a.octave.phaseStep, b.octave.phaseStep);
  EXPECT_EQ(a.subOctaveOn, b.subOctaveOn);
  EXPECT_EQ(a.tuner.displayPeriod, b.tuner.displayPeriod);
  EXPECT_EQ(a.tuner.decimationFactor, b.tuner.decimationFactor);
}

// What a host does before audio: knob values, a model, a knob moved afterwards and every
// other control.
void LiveThrough(Engine& e, int model) {
  e.knobs = {0.3, 0.7, 0.2, 0.9, 0.0};
  SetupDriveModel(e, model);
  SetLowKnob(e, 0.65);
  SetEveryControl(e);
}

}  // namespace

TEST(InitEngine, SetsTheStartingState) {
  const auto e = std::make_unique<Engine>();
  InitEngine(*e, 44100.0);
  EXPECT_DOUBLE_EQ(e->bank.followerAttack[kGateFollower], std::exp(-2.0 / 352.8));  // 8 ms
  EXPECT_DOUBLE_EQ(e->bank.followerRelease[kGateFollower], std::exp(-2.0 / 308.7));  // 7 ms
  // Ten-second ramps towards half level.
  EXPECT_DOUBLE_EQ(e->bank.adsrAttackRate[kGateEnvelope], 1.0 / (std::exp2(3.333334) * 44100.0));
  EXPECT_DOUBLE_EQ(e->bank.adsrReleaseRate[kGateEnvelope], 1.0 / (std::exp2(3.333334) * 44100.0));
  EXPECT_EQ(e->bank.adsrSustainLevel[kGateEnvelope], 0.5);
  // The models' comb lines exist from the start, each with a one-second buffer.
  for (int line = 0; line < 14; ++line) EXPECT_EQ(e->bank.delayBuffer[line].size(), 44100u) << line;
  EXPECT_EQ(e->impulseLevel, 1.0);
}

TEST(AntiDenormalTable, HoldsTinyRisingPositiveOffsets) {
  std::uint32_t state = 1;
  const std::vector<double> table = TableFrom(state);
  EXPECT_GT(table[0], 0.0);
  for (int i = 1; i < kAntiDenormalTableSize; ++i) ASSERT_GT(table[i], table[i - 1]);
  EXPECT_LT(table.back(), 1e-15);
}

// Each instance takes the next unbroken run of the one sequence, on one thread or two.
TEST(AntiDenormalTable, InstancesTakeConsecutiveUnbrokenRuns) {
  std::uint32_t state = AntiDenormalGeneratorState();
  const std::vector<double> runA = TableFrom(state);
  const std::vector<double> runB = TableFrom(state);
  const std::vector<double> runC = TableFrom(state);
  const auto one = std::make_unique<Engine>();
  const auto two = std::make_unique<Engine>();
  const auto three = std::make_unique<Engine>();
  InitEngine(*one, 44100.0);
  EXPECT_EQ(TableOf(*one), runA);
  std::thread first([&] { InitEngine(*two, 44100.0); });
  std::thread second([&] { InitEngine(*three, 48000.0); });
  first.join();
  second.join();
  const bool inOrder = TableOf(*two) == runB && TableOf(*three) == runC;
  const bool swapped = TableOf(*two) == runC && TableOf(*three) == runB;
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

// A project opened at 44.1 kHz and moved to another rate has everything designed as one
// opened at that rate.
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
  for (int model = 0; model < kDriveModelCount; ++model) check(model, 96000.0);
  for (int model : {4, 14, 15}) {  // own comb lengths, octave voice, history-dependent slots
    check(model, 48000.0);
    check(model, 192000.0);
  }
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
