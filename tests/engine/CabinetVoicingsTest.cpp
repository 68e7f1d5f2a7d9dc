#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EngineTestKit.h"
#include "engine/CabinetVoicings.h"
#include "engine/ProcessChain.h"
#include "amp/ParamIds.h"

namespace {

static_assert(kCabinetVoicingCount == kNumCabinets);

// Entries 1, 16 and 29 are fixed design data; every other entry but "Cabinet Off" is voiced.
bool IsDesigned(int index) { return index != 0 && index != 1 && index != 16 && index != 29; }

std::unique_ptr<Engine> EngineWithCabinet(double rate, int index) {
  auto e = MakeNeutralEngine(rate);
  SetupCabinet(*e, index);
  return e;
}

// Mean power in dB of the cascade over [lo, hi], sampled evenly on a log scale.
double BandDb(const Engine& e, double lo, double hi) {
  constexpr int kPoints = 16;
  double power = 0.0;
  for (int i = 0; i < kPoints; ++i) {
    power += std::pow(10.0, CascadeDb(e, lo * std::pow(hi / lo, i / (kPoints - 1.0))) / 10.0);
  }
  return 10.0 * std::log10(power / kPoints);
}

double AWeight(double hz) {
  const double f2 = hz * hz;
  return 12194.0 * 12194.0 * f2 * f2 /
         ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) *
          (f2 + 12194.0 * 12194.0));
}

// Level of pink noise (equal power per octave, 20 Hz to 20 kHz) through the cascade and
// the A-weighting, in dB.
double PinkLoudnessDb(const Engine& e) {
  constexpr int kPoints = 400;
  double power = 0.0;
  for (int i = 0; i < kPoints; ++i) {
    const double hz = 20.0 * std::pow(1000.0, i / (kPoints - 1.0));
    power += std::pow(10.0, CascadeDb(e, hz) / 10.0) * AWeight(hz) * AWeight(hz);
  }
  return 10.0 * std::log10(power / kPoints);
}

// Third-octave band levels from 63 Hz to 8 kHz, their mean removed: the curve's shape.
std::vector<double> ThirdOctaveShape(const Engine& e) {
  std::vector<double> bands;
  for (int k = -12; k <= 9; ++k) {
    const double centre = 1000.0 * std::exp2(k / 3.0);
    bands.push_back(BandDb(e, centre * std::exp2(-1.0 / 6.0), centre * std::exp2(1.0 / 6.0)));
  }
  double mean = 0.0;
  for (double b : bands) mean += b / bands.size();
  for (double& b : bands) b -= mean;
  return bands;
}

double RmsDifference(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return std::sqrt(sum / a.size());
}

void ExpectFilters(int index, const std::vector<CabinetFilter>& filters) {
  const CabinetVoicing& v = CabinetVoicingAt(index);
  SCOPED_TRACE(testing::Message() << "entry " << index);
  EXPECT_EQ(v.gain, 1.0);
  ASSERT_EQ(v.length, static_cast<int>(filters.size()));
  for (size_t i = 0; i < filters.size(); ++i) {
    const CabinetFilter &f = v.filters[i], &g = filters[i];
    EXPECT_TRUE(f.type == g.type && f.frequencyHz == g.frequencyHz && f.bandwidthOctaves == g.bandwidthOctaves &&
                f.gainDb == g.gainDb) << "slot " << i;
  }
}

constexpr int L = kNarrowLowShelf, P = kPeaking, H = kHighShelf, W = kLowpass;

}  // namespace

TEST(CabinetVoicings, GivenEntriesMatchTheirListsExactly) {
  ExpectFilters(1, {{L, 100, 1, -26.4},  {P, 120, 1.3, 9.6},   {P, 430, 1, -3},      {P, 590, 0.1, -3},
                    {P, 980, 0.1, -6.6}, {P, 1390, 0.1, -8.1}, {P, 1750, 0.2, 3.9},  {P, 1880, 0.1, -7.8},
                    {P, 2300, 0.2, 6.9}, {P, 3200, 0.1, 5.7},  {P, 5800, 0.1, -9},   {P, 6600, 0.1, -13.2},
                    {P, 8150, 0.1, -12.6}, {P, 12800, 1, -12.3}, {P, 4500, 1, 3.9},  {P, 7300, 0.1, 4.2},
                    {P, 1120, 0.1, -4.2}, {P, 2700, 0.1, 4.2}, {P, 3500, 0.1, -2.7}, {H, 11000, 1, -30}});
  ExpectFilters(16, {{P, 80, 4.3, 19.2}, {P, 300, 3, 4.2}, {P, 600, 1, -7.8}, {P, 4300, 0.1, -9.6},
                     {P, 1700, 0.2, -2.4}, {P, 2900, 0.3, -13.2}, {P, 2500, 0.6, 4.5},
                     {P, 5800, 0.1, -15.6}, {W, 4100, 1, -23.1}});
  ExpectFilters(29, {{L, 200, 1, -19.5}, {P, 10, 2.1, 11.7}, {P, 175, 0.3, -8.4}, {P, 270, 0.2, 3.9},
                     {P, 1000, 1.9, 4.2}, {P, 1250, 0.1, -9.6}, {P, 1870, 0.3, -9.9},
                     {P, 3600, 0.4, -4.5}, {P, 5440, 0.68, 8.7}, {W, 2600, 0.7, -30}});
}

// 10 Hz to 15 kHz, 0.04 to 6.2 octaves, -30 dB up to a top that depends on the type.
TEST(CabinetVoicings, EveryFilterStaysWithinTheVoicingRanges) {
  for (int index = 0; index < kCabinetVoicingCount; ++index) {
    const CabinetVoicing& v = CabinetVoicingAt(index);
    for (int slot = 0; slot < v.length; ++slot) {
      const CabinetFilter& f = v.filters[slot];
      SCOPED_TRACE(testing::Message() << "entry " << index << " slot " << slot);
      EXPECT_TRUE(f.type == L || f.type == P || f.type == H || f.type == W);
      EXPECT_TRUE(f.frequencyHz >= 10.0 && f.frequencyHz <= 15000.0);
      EXPECT_TRUE(f.bandwidthOctaves >= 0.04 && f.bandwidthOctaves <= 6.2);
      EXPECT_GE(f.gainDb, -30.0);
      EXPECT_LE(f.gainDb, f.type == L ? 10.5 : f.type == H ? -14.1 : 21.0);
    }
  }
}

TEST(CabinetVoicings, DesignedEntriesSoundLikeSpeakers) {
  for (double rate : {44100.0, 48000.0}) {
    const double reference = PinkLoudnessDb(*EngineWithCabinet(rate, 1));
    for (int index = 0; index < kCabinetVoicingCount; ++index) {
      if (!IsDesigned(index)) continue;
      const auto e = EngineWithCabinet(rate, index);
      SCOPED_TRACE(testing::Message() << "entry " << index << " at " << rate);
      for (int slot = 0; slot < e->cascadeLength; ++slot) {
        ASSERT_TRUE(BiquadStable(e->bank, slot)) << slot;
        ASSERT_TRUE(std::isfinite(e->bank.b0[slot] + e->bank.b1[slot] + e->bank.b2[slot]));
      }
      EXPECT_LE(CascadeDb(*e, 12000.0), BandDb(*e, 1000.0, 3000.0) - 20.0);
      EXPECT_LE(CascadeDb(*e, 40.0), CascadeDb(*e, 150.0) - 6.0);
      EXPECT_NEAR(PinkLoudnessDb(*e), reference, 6.0);
    }
  }
}

// Stricter than a plain level difference: the curves' shapes (means removed) differ.
TEST(CabinetVoicings, DesignedEntriesDifferFromEveryOtherEntry) {
  std::vector<std::vector<double>> shapes;
  for (int index = 0; index < kCabinetVoicingCount; ++index) {
    shapes.push_back(ThirdOctaveShape(*EngineWithCabinet(44100.0, index)));
  }
  for (int a = 0; a < kCabinetVoicingCount; ++a) {
    if (!IsDesigned(a)) continue;
    for (int b = 0; b < kCabinetVoicingCount; ++b) {
      if (b == a) continue;
      EXPECT_GE(RmsDifference(shapes[a], shapes[b]), 3.0) << a << " vs " << b;
    }
  }
}

TEST(CabinetSetup, DesignsTheEntrysSlotsAndGainAndIgnoresIndicesOutsideTheList) {
  const auto e = EngineWithCabinet(44100.0, 0);
  EXPECT_EQ(RunCascade(*e, 0.37), 0.37);
  for (int index = 1; index < kCabinetVoicingCount; ++index) {
    SetupCabinet(*e, index);
    EXPECT_EQ(e->cascadeGain, CabinetVoicingAt(index).gain) << index;
    EXPECT_EQ(e->cascadeLength, CabinetVoicingAt(index).length) << index;
  }
  SelectCabinet(*e, 12.7);
  EXPECT_EQ(e->cabinet, 12);
  const auto designs = Coefficients(e->bank, 0);
  for (double outside : {-2.0, std::nan(""), 39.0}) {
    SelectCabinet(*e, outside);
    EXPECT_EQ(e->cascadeLength, CabinetVoicingAt(12).length) << outside;
    EXPECT_EQ(Coefficients(e->bank, 0), designs) << outside;
  }
  EXPECT_EQ(e->cabinet, 39);  // stored all the same
}

TEST(CabinetSetup, ShorterEntryRunsOnlyItsSlotsAndStatesCarryOn) {
  const auto e = EngineWithCabinet(44100.0, 1);
  for (double v : WhiteNoise(256, 0.3, 2)) RunCascade(*e, v);
  const double slot15 = e->bank.b0[15], state15 = e->bank.y1[15], state3 = e->bank.y1[3];
  SetupCabinet(*e, 2);
  EXPECT_EQ(e->cascadeLength, 10);
  EXPECT_EQ(e->bank.y1[3], state3);  // a new entry keeps the states
  RunCascade(*e, 0.1);
  EXPECT_EQ(e->bank.b0[15], slot15);
  EXPECT_EQ(e->bank.y1[15], state15);  // slot 15 is not run
}
