#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "EngineTestKit.h"
#include "engine/EngineControls.h"
#include "engine/LevelCurve.h"

TEST(EngineControls, SwitchesAndLevelLaws) {
  const auto e = MakeNeutralEngine(44100.0);
  for (auto [v, on] : {std::pair{0.49, false}, {0.5, true}}) {
    SetGateOn(*e, v);
    SetDriveOn(*e, v);
    EXPECT_EQ(e->gateOn, on) << v;
    EXPECT_EQ(e->driveOn, on) << v;
  }
  SetIrStageOn(*e, 0.0);
  EXPECT_FALSE(e->cabinetOn);
  SetIrStageOn(*e, 0.01);
  EXPECT_TRUE(e->cabinetOn);
  SetGateThreshold(*e, 0.0);  // -100 dB
  EXPECT_DOUBLE_EQ(e->gateThreshold, 1e-5);
  SetGateThreshold(*e, 1.0);
  EXPECT_EQ(e->gateThreshold, 1.0);
  SetDriveLevel(*e, 0.3);
  EXPECT_EQ(e->driveLevel, LevelCurve(0.3));
  // The dry level runs from no signal at all through -24 dB and 0 dB to +24 dB.
  SetIrDryLevel(*e, 0.0);
  EXPECT_EQ(e->dryGain, 0.0);
  for (auto [v, db] : {std::pair{0.25, -24.0}, {0.5, 0.0}, {0.75, 12.0}, {1.0, 24.0}}) {
    SetIrDryLevel(*e, v);
    EXPECT_DOUBLE_EQ(e->dryGain, std::pow(10.0, db / 20.0)) << v;
  }
  SetIrWetLevel(*e, 0.0);
  EXPECT_DOUBLE_EQ(e->wetGain, std::pow(10.0, -24.0 / 20.0));
}

TEST(EngineControls, ToneSectionDesigns) {
  const auto e = MakeNeutralEngine(44100.0);
  SetMainBass(*e, 1.0);  // +12 dB
  EXPECT_NEAR(SlotDb(*e, kBassShelfSlot, 30.0), 12.0, 0.1);
  EXPECT_DOUBLE_EQ(e->bassMix, -0.08 / 2.0 * 12.0);
  EXPECT_NEAR(SlotDb(*e, kBassBandSlot, 644.0), 0.0, 1e-9);
  SetMainTreble(*e, 0.0);  // -12 dB
  EXPECT_NEAR(SlotDb(*e, kTrebleShelfSlot, 18000.0), -12.0, 0.3);
  SetLoudness(*e, 1.0);  // cuts 30 dB below 200 Hz
  EXPECT_NEAR(SlotDb(*e, kLoudnessShelfSlot, 15.0), -30.0, 0.3);
  EXPECT_DOUBLE_EQ(e->loudnessMix, -30.0 * -0.145);
  EXPECT_NEAR(SlotDb(*e, kLoudnessBandSlot, 200.0 - 3.83 * 30.0), 0.0, 1e-9);
}

TEST(EngineControls, ColourAndPresenceShareTheBandPassInEitherOrder) {
  const auto a = MakeNeutralEngine(44100.0);
  const auto b = MakeNeutralEngine(44100.0);
  SetAmpColour(*a, 0.25);
  SetAmpPresence(*a, 0.75);
  SetAmpPresence(*b, 0.75);
  SetAmpColour(*b, 0.25);
  for (int slot : {kColourBandSlot, kPresenceShelfSlot}) {
    EXPECT_EQ(Coefficients(a->bank, slot), Coefficients(b->bank, slot)) << slot;
  }
  const double centre = (0.9 * 0.25 + 0.1) * 10000.0;
  EXPECT_NEAR(SlotDb(*a, kColourBandSlot, centre), 0.0, 1e-9);
  EXPECT_NEAR(SlotDb(*a, kPresenceShelfSlot, 21000.0), centre * 0.004868 - 38.75, 1.0);
  EXPECT_DOUBLE_EQ(a->colourMix, 1.2 * 0.25 - 1.0);
  // Presence above the knee: t = 6.75, u = 1.75.
  EXPECT_DOUBLE_EQ(a->presenceMix, (0.1 * 1.75 + 0.08) * 6.75 - 0.42);
  SetAmpPresence(*a, 0.5);
  EXPECT_DOUBLE_EQ(a->presenceMix, 0.08 * 4.5 - 0.42);
}
