#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ChainTestKit.h"
#include "EngineTestKit.h"
#include "engine/CabinetVoicings.h"
#include "engine/EngineControls.h"
#include "engine/LevelCurve.h"
#include "engine/ModelCatalogue.h"

namespace {

double SlotDb(const Engine& e, int slot, double hz) {
  return 20.0 * std::log10(BiquadMagnitude(e.bank, slot, hz, e.sampleRate));
}

// Every engine control at a non-default value, as a restored project would set them.
void SetEverything(Engine& e) {
  SetGateOn(e, 1.0);
  SetGateThreshold(e, 0.4);
  SetGateRelease(e, 0.35);
  SetDriveOn(e, 1.0);
  SetDriveLevel(e, 0.6);
  SetAmpColour(e, 0.3);
  SetAmpPresence(e, 0.8);
  SetDriveKnob(e, 0.7);
  SetLowKnob(e, 0.2);
  SetMidKnob(e, 0.8);
  SetHighKnob(e, 0.55);
  SelectDriveModel(e, 7.0);
  SelectCabinet(e, 27.0);
  SetMainBass(e, 0.8);
  SetMainTreble(e, 0.25);
  SetLoudness(e, 0.6);
  SetMainVolume(e, 0.7);
  SetIrDryLevel(e, 0.3);
  SetIrWetLevel(e, 0.9);
}

}  // namespace

TEST(EngineControls, GateAndDriveLaws) {
  const auto e = MakeNeutralEngine(44100.0);
  SetGateThreshold(*e, 0.0);
  EXPECT_DOUBLE_EQ(e->gateThreshold, 1e-5);
  SetGateThreshold(*e, 1.0);
  EXPECT_EQ(e->gateThreshold, 1.0);
  EXPECT_EQ(GateThresholdDb(0.0), -100.0);
  SetGateOn(*e, 0.5);
  EXPECT_TRUE(e->gateOn);
  SetGateOn(*e, 0.49);
  EXPECT_FALSE(e->gateOn);
  SetDriveOn(*e, 0.5);
  EXPECT_TRUE(e->driveOn);
  SetDriveLevel(*e, 0.3);
  EXPECT_EQ(e->driveLevel, LevelCurve(0.3));
}

TEST(EngineControls, ToneSectionDesigns) {
  const auto e = MakeNeutralEngine(44100.0);
  SetMainBass(*e, 1.0);  // +12 dB
  EXPECT_NEAR(SlotDb(*e, kBassShelfSlot, 30.0), 12.0, 0.1);
  EXPECT_DOUBLE_EQ(e->bassMix, -0.08 / 2.0 * 12.0);
  EXPECT_NEAR(BiquadMagnitude(e->bank, kBassBandSlot, 644.0, 44100.0), 1.0, 1e-9);
  SetMainTreble(*e, 0.0);  // -12 dB
  EXPECT_NEAR(SlotDb(*e, kTrebleShelfSlot, 18000.0), -12.0, 0.3);
  SetLoudness(*e, 1.0);  // cuts 30 dB below 200 Hz
  EXPECT_NEAR(SlotDb(*e, kLoudnessShelfSlot, 15.0), -30.0, 0.3);
  EXPECT_DOUBLE_EQ(e->loudnessMix, -30.0 * -0.145);
  EXPECT_NEAR(BiquadMagnitude(e->bank, kLoudnessBandSlot, 200.0 - 3.83 * 30.0, 44100.0), 1.0,
              1e-9);
  SetMainVolume(*e, 0.42);
  EXPECT_EQ(e->masterVolume, 0.42);
}

TEST(EngineControls, ColourAndPresenceShareTheBandPassInEitherOrder) {
  const auto a = MakeNeutralEngine(44100.0);
  const auto b = MakeNeutralEngine(44100.0);
  SetAmpColour(*a, 0.25);
  SetAmpPresence(*a, 0.75);
  SetAmpPresence(*b, 0.75);
  SetAmpColour(*b, 0.25);
  for (int slot : {kColourBandSlot, kPresenceShelfSlot}) {
    EXPECT_EQ(a->bank.b0[slot], b->bank.b0[slot]);
    EXPECT_EQ(a->bank.a1[slot], b->bank.a1[slot]);
  }
  const double centre = (0.9 * 0.25 + 0.1) * 10000.0;
  EXPECT_NEAR(BiquadMagnitude(a->bank, kColourBandSlot, centre, 44100.0), 1.0, 1e-9);
  EXPECT_NEAR(SlotDb(*a, kPresenceShelfSlot, 21000.0), centre * 0.004868 - 38.75, 1.0);
  EXPECT_DOUBLE_EQ(a->colourMix, 1.2 * 0.25 - 1.0);
  // Presence above the knee: t = 6.75, u = 1.75.
  EXPECT_DOUBLE_EQ(a->presenceMix, (0.1 * 1.75 + 0.08) * 6.75 - 0.42);
  SetAmpPresence(*a, 0.5);
  EXPECT_DOUBLE_EQ(a->presenceMix, 0.08 * 4.5 - 0.42);
}

// A project opened at 44.1 kHz and moved to 48 kHz has every filter as one opened at 48.
TEST(EngineControls, NewRateRedesignsToneColourAndCabinetLikeAFreshEngine) {
  const auto moved = MakeNeutralEngine(44100.0);
  SetEverything(*moved);
  ASSERT_TRUE(ResetEngine(*moved, 48000.0));
  const auto fresh = MakeNeutralEngine(48000.0);
  SetEverything(*fresh);
  for (int slot = 0; slot < kNumBiquads; ++slot) {
    EXPECT_EQ(moved->bank.b0[slot], fresh->bank.b0[slot]) << slot;
    EXPECT_EQ(moved->bank.b1[slot], fresh->bank.b1[slot]) << slot;
    EXPECT_EQ(moved->bank.b2[slot], fresh->bank.b2[slot]) << slot;
    EXPECT_EQ(moved->bank.a1[slot], fresh->bank.a1[slot]) << slot;
    EXPECT_EQ(moved->bank.a2[slot], fresh->bank.a2[slot]) << slot;
  }
  EXPECT_EQ(moved->cascadeLength, fresh->cascadeLength);
  EXPECT_EQ(moved->bassMix, fresh->bassMix);
  EXPECT_EQ(moved->presenceMix, fresh->presenceMix);
  EXPECT_EQ(moved->tuner.decimationFactor, fresh->tuner.decimationFactor);
}
