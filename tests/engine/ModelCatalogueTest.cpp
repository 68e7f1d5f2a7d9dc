#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "EngineTestKit.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr double kRate = 44100.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void ExpectSlotDesignedAs(const DspBank& bank, int slot, int type, double hz, double octaves,
                          double db, double rate) {
  const auto reference = std::make_unique<DspBank>();
  reference->DesignBiquad(slot, type, hz, octaves, db, rate);
  EXPECT_EQ(bank.b0[slot], reference->b0[slot]) << "slot " << slot;
  EXPECT_EQ(bank.b1[slot], reference->b1[slot]) << "slot " << slot;
  EXPECT_EQ(bank.b2[slot], reference->b2[slot]) << "slot " << slot;
  EXPECT_EQ(bank.a1[slot], reference->a1[slot]) << "slot " << slot;
  EXPECT_EQ(bank.a2[slot], reference->a2[slot]) << "slot " << slot;
}

double SlotDbAt(const Engine& e, int slot, double hz) {
  return 20.0 * std::log10(BiquadMagnitude(e.bank, slot, hz, e.sampleRate));
}

// The amplifier's colour and presence filters after every kernel: the parameter handler's.
constexpr int kAmpSlots[] = {71, 72};

// Every model coefficient and drive amount NaN, so that a kernel reading anything its
// model's selection did not design produces NaN.
void Poison(Engine& e) {
  DspBank& b = e.bank;
  for (double* a : {b.b0, b.b1, b.b2, b.a1, b.a2}) {
    const double kept[2] = {a[kAmpSlots[0]], a[kAmpSlots[1]]};
    std::fill_n(a, kNumBiquads, kNaN);
    a[kAmpSlots[0]] = kept[0];
    a[kAmpSlots[1]] = kept[1];
  }
  for (OnePoleSet* set : {&b.lowpassA, &b.lowpassB}) {
    std::fill_n(set->g, kNumOnePoles, kNaN);
    std::fill_n(set->f, kNumOnePoles, kNaN);
  }
  e.drive = e.secondDrive = e.lowDrive = kNaN;
}

// The delay lines each model's kernel runs.
std::vector<int> LinesOf(int model) {
  switch (model) {
    case 0: case 1: case 2: case 3: return {8, 9, 10, 11};
    case 4: return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    case 9: return {0, 1, 2, 3};
    case 10: return {4, 5, 6, 7};
    case 12: return {0, 1, 2, 3, 4, 5, 6, 7};
    default: return {};
  }
}

const KnobSetting kOddKnobs = {1.0, 0.3, 0.7, 0.2, 0.9};

}  // namespace

TEST(KnobLaws, DriveAmountsAndLevelCurve) {
  EXPECT_NEAR(DriveAmount(0.0), 2000.0 * std::pow(10.0, -3.5), 1e-12);
  EXPECT_NEAR(DriveAmount(0.0), 0.632, 5e-4);
  EXPECT_DOUBLE_EQ(DriveAmount(1.0), 2000.0);
  EXPECT_NEAR(LevelCurve(1.0), 1.0, 1e-15);
  EXPECT_NEAR(LevelCurve(0.0), 0.0, 1e-6);
  EXPECT_NEAR((1.0 - LevelCurve(0.0)) / (1.0 - std::exp(-3.0)), 1.05240, 1e-5);  // the scale G
  EXPECT_GT(LevelCurve(0.5), 0.0);
  EXPECT_LT(LevelCurve(0.5), LevelCurve(0.6));

  auto e = MakeEngine(kRate, 5, {1.0, 1.0});
  EXPECT_DOUBLE_EQ(e->drive, 2000.0);
  EXPECT_DOUBLE_EQ(e->secondDrive, 2000.5);
  SetDriveKnob(*e, 0.0);
  EXPECT_NEAR(e->secondDrive, 1.132, 5e-4);

  e = MakeEngine(kRate, 9, {1.0, 1.0, 0.25});
  EXPECT_DOUBLE_EQ(e->secondDrive, 0.15 * 2000.0 + 3.0);
  EXPECT_DOUBLE_EQ(e->lowDrive, 38.0 * 0.25 + 2.0);

  for (auto [model, base, span] : {std::tuple{13, 1.0, 199.0}, {14, 1.0, 499.0}, {15, 10.0, 490.0}}) {
    e = MakeEngine(kRate, model, {1.0, 0.4});
    EXPECT_DOUBLE_EQ(e->drive, base + span * LevelCurve(0.4)) << model;
  }
}

TEST(KnobLaws, DrivenHighpassesOfTheCleanAmps) {
  auto e = MakeEngine(kRate, 0, {1.0, 0.5});
  ExpectSlotDesignedAs(e->bank, 115, kHighpass, 450.0, 1.4, 0.0, kRate);
  SetDriveKnob(*e, 0.0);
  ExpectSlotDesignedAs(e->bank, 115, kHighpass, 10.0, 1.4, 0.0, kRate);
  e = MakeEngine(kRate, 3, {1.0, 1.0});
  ExpectSlotDesignedAs(e->bank, 115, kHighpass, 425.0, 1.4, 0.0, kRate);
}

TEST(KnobLaws, PedalModels) {
  auto e = MakeEngine(kRate, 13, {1.0, 0.5, 0.5, 0.0});
  ExpectSlotDesignedAs(e->bank, 64, kLowpass, 10000.0, 2.75, 0.0, kRate);
  SetMidKnob(*e, 1.0);
  ExpectSlotDesignedAs(e->bank, 64, kLowpass, 1000.0 + 9000.0 * LevelCurve(0.0), 2.75, 0.0, kRate);

  e = MakeEngine(kRate, 14, {1.0, 0.5, 0.5, 0.5, 0.0});
  EXPECT_FALSE(e->subOctaveOn);
  SetHighKnob(*e, 0.001);
  EXPECT_TRUE(e->subOctaveOn);

  e = MakeEngine(kRate, 15, {1.0, 0.5, 0.5, 0.25, 0.5});
  EXPECT_NEAR(SlotDbAt(*e, 83, 800.0), -7.5, 1e-9);
  SetMidKnob(*e, 1.0);
  EXPECT_NEAR(SlotDbAt(*e, 83, 800.0), 3.0, 1e-9);
  SetHighKnob(*e, 1.0);  // moves only the high shelf: the mid peak keeps its centre
  EXPECT_NEAR(SlotDbAt(*e, 83, 800.0), 3.0, 1e-9);
  EXPECT_NEAR(SlotDbAt(*e, 84, 20000.0), 8.0, 0.2);
  ExpectSlotDesignedAs(e->bank, 81, kLowShelf, 200.0, 3.0, 0.0, kRate);  // still flat
  SetMidKnob(*e, 1.0);
  EXPECT_NEAR(SlotDbAt(*e, 83, 800.0 * std::pow(1.09051, 8.0)), 3.0, 1e-9);
}

TEST(KnobLaws, SinglePrecisionCutoffs) {
  const auto e = MakeEngine(kRate, 5);
  EXPECT_DOUBLE_EQ(e->bank.lowpassB.f[1], -std::exp(-2.0 * std::numbers::pi * 720.4840087890625 / kRate));
  EXPECT_DOUBLE_EQ(e->bank.lowpassB.f[2], -std::exp(-2.0 * std::numbers::pi * 723.4310302734375 / kRate));
}

TEST(Catalogue, EveryDesignIsStableAtEveryHostRate) {
  for (double rate : {44100.0, 48000.0, 96000.0, 192000.0}) {
    const auto e = MakeEngine(rate, 0);
    for (int model = 0; model < 16; ++model) {
      for (int corner = 0; corner < 16; ++corner) {
        const KnobSetting knobs = {1.0, double(corner & 1), double((corner >> 1) & 1),
                                   double((corner >> 2) & 1), double((corner >> 3) & 1)};
        ApplyKnobs(*e, knobs);
        SetupDriveModel(*e, model);
        for (int s = 0; s < kNumBiquads; ++s) {
          ASSERT_TRUE(BiquadStable(e->bank, s)) << "slot " << s << " model " << model << " at " << rate;
        }
        for (int s = 0; s < kNumOnePoles; ++s) {
          ASSERT_LT(std::fabs(e->bank.lowpassA.f[s]), 1.0);
          ASSERT_LT(std::fabs(e->bank.lowpassB.f[s]), 1.0);
        }
      }
    }
  }
}

TEST(Catalogue, SelectionDesignsEverythingTheKernelReads) {
  for (int model = 0; model < 16; ++model) {
    const auto e = MakeEngine(kRate, 0, kOddKnobs);
    Poison(*e);
    SetupDriveModel(*e, model);
    const std::vector<double> out = RunModel(*e, WhiteNoise(2000, 0.5, 3));
    for (double v : out) ASSERT_TRUE(std::isfinite(v)) << "model " << model;
  }
}

TEST(Catalogue, SelectionAfterAnyModelSetsTheModelUpIdentically) {
  for (int model = 0; model < 16; ++model) {
    // Reference: everything the selection designs, on a bank that held nothing usable.
    const auto reference = MakeEngine(kRate, 0, kOddKnobs);
    Poison(*reference);
    SetupDriveModel(*reference, model);
    // One engine runs through every other model, keeping what each left behind.
    const auto e = MakeEngine(kRate, 0, kOddKnobs);
    for (int previous = 0; previous < 16; ++previous) {
      SCOPED_TRACE(testing::Message() << "model " << model << " after " << previous);
      SetupDriveModel(*e, previous);
      SetupDriveModel(*e, model);
      const DspBank& x = e->bank;
      const DspBank& r = reference->bank;
      for (int s = 0; s < kNumBiquads; ++s) {
        if (std::isnan(r.b0[s])) continue;
        ASSERT_EQ(x.b0[s], r.b0[s]) << "slot " << s;
        ASSERT_EQ(x.b1[s], r.b1[s]) << "slot " << s;
        ASSERT_EQ(x.b2[s], r.b2[s]) << "slot " << s;
        ASSERT_EQ(x.a1[s], r.a1[s]) << "slot " << s;
        ASSERT_EQ(x.a2[s], r.a2[s]) << "slot " << s;
      }
      for (int s = 0; s < kNumOnePoles; ++s) {
        if (!std::isnan(r.lowpassA.g[s])) {
          ASSERT_EQ(x.lowpassA.g[s], r.lowpassA.g[s]) << s;
        }
        if (!std::isnan(r.lowpassB.g[s])) {
          ASSERT_EQ(x.lowpassB.g[s], r.lowpassB.g[s]) << s;
        }
      }
      for (int line : LinesOf(model)) {
        EXPECT_EQ(x.delayLast[line], r.delayLast[line]) << "line " << line;
      }
      for (auto [got, designed] : {std::pair{e->drive, reference->drive},
                                   {e->secondDrive, reference->secondDrive},
                                   {e->lowDrive, reference->lowDrive}}) {
        if (!std::isnan(designed)) {
          EXPECT_EQ(got, designed);
        }
      }
      if (model == 14) {
        EXPECT_EQ(e->subOctaveOn, reference->subOctaveOn);
      }
    }
  }
}
