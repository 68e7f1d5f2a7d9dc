#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "EngineTestKit.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr double kRate = 44100.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The amplifier's colour and presence filters after every kernel: the parameter handler's.
constexpr int kAmpSlots[] = {71, 72};

// Every model coefficient and drive amount NaN, so that a kernel reading anything its
// model's selection did not design produces NaN.
void Poison(Engine& e) {
  DspBank& b = e.bank;
  for (double* a : {b.b0, b.b1, b.b2, b.a1, b.a2}) {
    for (int s = 0; s < kNumBiquads; ++s) a[s] = s == kAmpSlots[0] || s == kAmpSlots[1] ? a[s] : kNaN;
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
  EXPECT_NEAR(DriveAmount(0.0), 0.632, 5e-4);
  EXPECT_DOUBLE_EQ(DriveAmount(1.0), 2000.0);
  EXPECT_NEAR(LevelCurve(0.0), 0.0, 1e-6);
  EXPECT_NEAR(LevelCurve(1.0), 1.0, 1e-15);
  for (int step = 1; step <= 10; ++step) EXPECT_GT(LevelCurve(step / 10.0), LevelCurve((step - 1) / 10.0));

  struct Law {
    int model;
    KnobSetting knobs;
    double Engine::*amount;
    double expected;
  };
  const Law laws[] = {
      {5, {1.0, 1.0}, &Engine::drive, 2000.0},
      {5, {1.0, 1.0}, &Engine::secondDrive, 2000.5},
      {5, {1.0, 0.0}, &Engine::secondDrive, DriveAmount(0.0) + 0.5},
      {9, {1.0, 1.0}, &Engine::secondDrive, 0.15 * 2000.0 + 3.0},
      {9, {1.0, 1.0, 0.25}, &Engine::lowDrive, 38.0 * 0.25 + 2.0},
      {13, {1.0, 0.4}, &Engine::drive, 1.0 + 199.0 * LevelCurve(0.4)},
      {14, {1.0, 0.4}, &Engine::drive, 1.0 + 499.0 * LevelCurve(0.4)},
      {15, {1.0, 0.4}, &Engine::drive, 10.0 + 490.0 * LevelCurve(0.4)},
  };
  for (const Law& law : laws) EXPECT_DOUBLE_EQ((*MakeEngine(kRate, law.model, law.knobs)).*law.amount, law.expected) << law.model;
}

TEST(KnobLaws, KnobDesignsOfTheCleanAmpsAndPedals) {
  struct Design {
    int model;
    KnobSetting knobs;
    int slot, type;
    double hz, octaves, db;
  };
  const Design designs[] = {
      {0, {1.0, 0.5}, 115, kHighpass, 450.0, 1.4, 0.0},
      {0, {1.0, 0.0}, 115, kHighpass, 10.0, 1.4, 0.0},
      {3, {1.0, 1.0}, 115, kHighpass, 425.0, 1.4, 0.0},
      {13, {1.0, 0.5, 0.5, 0.0}, 64, kLowpass, 10000.0, 2.75, 0.0},
      {13, {1.0, 0.5, 0.5, 1.0}, 64, kLowpass, 1000.0 + 9000.0 * LevelCurve(0.0), 2.75, 0.0},
      {15, {1.0, 0.5, 0.5, 0.25, 0.5}, 83, kPeaking, 800.0, 1.6, -7.5},
      {15, {1.0, 0.5, 0.5, 0.25, 0.5}, 81, kLowShelf, 200.0, 3.0, 0.0},  // flat until the low knob moves
  };
  for (const Design& d : designs) {
    const auto reference = std::make_unique<DspBank>();
    reference->DesignBiquad(d.slot, d.type, d.hz, d.octaves, d.db, kRate);
    EXPECT_EQ(Coefficients(MakeEngine(kRate, d.model, d.knobs)->bank, d.slot), Coefficients(*reference, d.slot))
        << "model " << d.model << " slot " << d.slot;
  }
  // Model 14's high knob switches the sub-octave on above 0.
  const auto e = MakeEngine(kRate, 14, {1.0, 0.5, 0.5, 0.5, 0.0});
  EXPECT_FALSE(e->subOctaveOn);
  SetHighKnob(*e, 0.001);
  EXPECT_TRUE(e->subOctaveOn);
}

TEST(KnobLaws, Model15sMidPeakMovesWithTheHighKnobOnlyWhenTheMidKnobMoves) {
  const auto e = MakeEngine(kRate, 15, {1.0, 0.5, 0.5, 1.0, 0.5});
  EXPECT_NEAR(SlotDb(*e, 83, 800.0), 3.0, 1e-9);
  SetHighKnob(*e, 1.0);  // moves only the high shelf
  EXPECT_NEAR(SlotDb(*e, 83, 800.0), 3.0, 1e-9);
  EXPECT_NEAR(SlotDb(*e, 84, 20000.0), 8.0, 0.2);
  SetMidKnob(*e, 1.0);
  EXPECT_NEAR(SlotDb(*e, 83, 800.0 * std::pow(1.09051, 8.0)), 3.0, 1e-9);
}

TEST(KnobLaws, SinglePrecisionCutoffs) {
  const auto e = MakeEngine(kRate, 5);
  EXPECT_DOUBLE_EQ(e->bank.lowpassB.f[1], -std::exp(-2.0 * std::numbers::pi * 720.4840087890625 / kRate));
  EXPECT_DOUBLE_EQ(e->bank.lowpassB.f[2], -std::exp(-2.0 * std::numbers::pi * 723.4310302734375 / kRate));
}

TEST(Catalogue, EveryDesignIsStableAtEveryHostRate) {
  for (double rate : {44100.0, 48000.0, 96000.0, 192000.0}) {
    const auto e = MakeEngine(rate, 0);
    for (int model = 0; model < kDriveModelCount; ++model) {
      for (const KnobSetting& corner : KnobCorners()) {
        ApplyKnobs(*e, corner);
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
  for (int model = 0; model < kDriveModelCount; ++model) {
    const auto e = MakeEngine(kRate, 0, kOddKnobs);
    Poison(*e);
    SetupDriveModel(*e, model);
    for (double v : RunModel(*e, WhiteNoise(2000, 0.5, 3))) ASSERT_TRUE(std::isfinite(v)) << "model " << model;
  }
}

TEST(Catalogue, SelectionAfterAnyModelSetsTheModelUpIdentically) {
  for (int model = 0; model < kDriveModelCount; ++model) {
    // Reference: everything the selection designs, on a bank that held nothing usable.
    const auto reference = MakeEngine(kRate, 0, kOddKnobs);
    Poison(*reference);
    SetupDriveModel(*reference, model);
    const DspBank& r = reference->bank;
    // One engine runs through every other model, keeping what each left behind.
    const auto e = MakeEngine(kRate, 0, kOddKnobs);
    for (int previous = 0; previous < kDriveModelCount; ++previous) {
      SCOPED_TRACE(testing::Message() << "model " << model << " after " << previous);
      SetupDriveModel(*e, previous);
      SetupDriveModel(*e, model);
      const DspBank& x = e->bank;
      for (int s = 0; s < kNumBiquads; ++s) {
        if (std::isnan(r.b0[s])) continue;
        ASSERT_EQ(Coefficients(x, s), Coefficients(r, s)) << "slot " << s;
      }
      for (int s = 0; s < kNumOnePoles; ++s) {
        ASSERT_TRUE(std::isnan(r.lowpassA.g[s]) || x.lowpassA.g[s] == r.lowpassA.g[s]) << s;
        ASSERT_TRUE(std::isnan(r.lowpassB.g[s]) || x.lowpassB.g[s] == r.lowpassB.g[s]) << s;
      }
      for (int line : LinesOf(model)) EXPECT_EQ(x.delayLast[line], r.delayLast[line]) << "line " << line;
      for (auto [got, designed] : {std::pair{e->drive, reference->drive},
                                   {e->secondDrive, reference->secondDrive},
                                   {e->lowDrive, reference->lowDrive}}) {
        EXPECT_TRUE(std::isnan(designed) || got == designed);
      }
      EXPECT_TRUE(model != 14 || e->subOctaveOn == reference->subOctaveOn);
    }
  }
}
