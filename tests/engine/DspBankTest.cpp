#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "EngineTestKit.h"
#include "engine/DspBank.h"
#include "engine/Fft16384.h"

namespace {

constexpr double kRate = 48000.0;
constexpr double kNyquist = kRate / 2.0;

class BiquadDesign : public ::testing::Test {
 protected:
  std::array<double, 5> Design(int type, double hz, double octaves, double db) {
    bank->DesignBiquad(0, type, hz, octaves, db, kRate);
    return Coefficients(*bank, 0);
  }
  double Magnitude(double hz) const { return BiquadMagnitude(*bank, 0, hz, kRate); }
  double Db(double hz) const { return 20.0 * std::log10(Magnitude(hz)); }
  // Q of the analogue prototype, which the bilinear design keeps at the centre frequency.
  static double CentreQ(double hz, double octaves) {
    const double w = 2.0 * std::numbers::pi * hz / kRate;
    return std::sin(w) / (2.0 * std::sin(w) * std::sinh(std::numbers::ln2 / 2.0 * octaves * w / std::sin(w)));
  }

  std::unique_ptr<DspBank> bank = std::make_unique<DspBank>();
};

}  // namespace

TEST_F(BiquadDesign, PeaksAndShelvesReachTheirGainAndPassAtZeroGain) {
  for (double db : {-15.0, -3.84, 6.0, 24.0, 30.0}) {
    for (double octaves : {0.1, 1.0, 3.0, 5.75}) {
      Design(kPeaking, 1000.0, octaves, db);
      EXPECT_NEAR(Db(1000.0), db, 1e-9) << db << " dB, " << octaves << " oct";
      EXPECT_NEAR(Db(0.0), 0.0, 1e-9);
      EXPECT_NEAR(Db(kNyquist), 0.0, 1e-9);
    }
  }
  for (double db : {-30.0, -6.0, 5.1, 12.0}) {
    for (int type : {kLowShelf, kNarrowLowShelf}) {
      Design(type, 300.0, 1.0, db);
      EXPECT_NEAR(Db(0.0), db, 1e-9) << type;
      EXPECT_NEAR(Db(kNyquist), 0.0, 1e-9) << type;
      EXPECT_NEAR(Db(20000.0), 0.0, 0.1) << type;
    }
    Design(kHighShelf, 3000.0, 1.0, db);
    EXPECT_NEAR(Db(0.0), 0.0, 1e-9);
    EXPECT_NEAR(Db(kNyquist), db, 1e-9);
    EXPECT_NEAR(Db(20.0), 0.0, 0.05);
  }
  for (int type : {kPeaking, kLowShelf, kHighShelf, kNarrowLowShelf}) {
    const auto c = Design(type, 1234.0, 2.0, 0.0);
    EXPECT_NEAR(c[0], 1.0, 1e-15) << type;
    EXPECT_NEAR(c[1], c[3], 1e-15) << type;
    EXPECT_NEAR(c[2], c[4], 1e-15) << type;
  }
}

// Magnitudes at chosen frequencies, within a tolerance; 0.0316 is -30 dB.
TEST_F(BiquadDesign, PassAndStopBands) {
  struct Point {
    double hz, magnitude, tolerance;
  };
  struct Case {
    int type;
    double hz, octaves;
    std::vector<Point> points;
  };
  const double q = CentreQ(2000.0, 1.4);
  const Case cases[] = {
      {kLowpass, 2000.0, 1.4, {{0.0, 1.0, 1e-12}, {kNyquist, 0.0, 1e-12}, {2000.0, q, 1e-9}, {16000.0, 0.0, 0.0316}}},
      {kHighpass, 2000.0, 1.4, {{0.0, 0.0, 1e-12}, {kNyquist, 1.0, 1e-12}, {2000.0, q, 1e-9}, {250.0, 0.0, 0.0316}}},
      {kBandpass, 3900.0, 1.0, {{3900.0, 1.0, 1e-12}, {0.0, 0.0, 1e-12}, {kNyquist, 0.0, 1e-12}}},
      // One octave each side of the centre is the half-power bandwidth of a 2-octave design.
      {kBandpass, 2000.0, 2.0, {{1000.0, std::sqrt(0.5), 0.033}}},
      {kNotch, 1000.0, 1.0, {{1000.0, 0.0, 1e-9}, {0.0, 1.0, 1e-12}}},
  };
  for (const Case& c : cases) {
    Design(c.type, c.hz, c.octaves, 0.0);
    for (const Point& p : c.points) EXPECT_NEAR(Magnitude(p.hz), p.magnitude, p.tolerance) << c.type << " at " << p.hz;
  }
}

TEST_F(BiquadDesign, FrequenciesBelowTenHertzAreDesignedAtTenHertz) {
  const auto atTenHz = Design(kHighpass, 10.0, 1.4, 0.0);
  for (double low : {-100.0, 0.0, 3.0, 9.999}) EXPECT_EQ(Design(kHighpass, low, 1.4, 0.0), atTenHz) << low;
}

// At low rates some model bands lie above the Nyquist frequency: every type must still be
// finite and stable (poles inside the unit circle), designed as at 0.45 of the rate.
TEST(BiquadDesignAtLowRates, BandsAtOrAboveNyquistStayStable) {
  auto bank = std::make_unique<DspBank>();
  for (double rate : {8000.0, 22050.0})
    for (int type = kLowpass; type <= kNarrowLowShelf; ++type) {
      bank->DesignBiquad(0, type, 0.45 * rate, 3.0, 12.0, rate);
      const auto limit = Coefficients(*bank, 0);
      for (double fraction : {0.5, 0.77, 2.0}) {
        bank->DesignBiquad(0, type, fraction * rate, 3.0, 12.0, rate);
        const auto c = Coefficients(*bank, 0);
        for (double x : c) EXPECT_TRUE(std::isfinite(x)) << type << " at " << fraction << " of " << rate;
        EXPECT_TRUE(BiquadStable(*bank, 0)) << type << " at " << fraction << " of " << rate;
        EXPECT_EQ(c, limit) << type << " at " << fraction << " of " << rate;
      }
    }
}

TEST_F(BiquadDesign, UnknownTypesDesignALowpass) {
  const auto lowpass = Design(kLowpass, 700.0, 1.0, 6.0);
  for (int type : {8, 99, -1}) EXPECT_EQ(Design(type, 700.0, 1.0, 6.0), lowpass) << type;
}

TEST_F(BiquadDesign, NarrowShelfBendsItsCornerWithTheSinglePrecisionFactor) {
  const double hz = 900.0, db = 5.1;
  Design(kNarrowLowShelf, hz, 3.5, db);
  const double w = 2.0 * std::numbers::pi * hz / kRate;
  const double a = std::pow(10.0, db / 40.0);
  const double beta = std::sqrt(a) / 1.41 * std::sin(w);
  const auto a1 = [&](double factor) {
    const double cs = std::cos(factor * w);
    return -2 * ((a - 1) + (a + 1) * cs) / ((a + 1) + (a - 1) * cs + beta);
  };
  EXPECT_NEAR(bank->a1[0], a1(0.4099999964237213), 1e-15);  // 0.41f
  EXPECT_GT(std::fabs(bank->a1[0] - a1(0.41)), 1e-11);
}

TEST_F(BiquadDesign, DesignKeepsTheFilterState) {
  Design(kLowpass, 500.0, 1.0, 0.0);
  for (int i = 0; i < 10; ++i) bank->StepBiquad(0, 1.0);
  const std::array<double, 4> state = {bank->x1[0], bank->x2[0], bank->y1[0], bank->y2[0]};
  Design(kHighShelf, 5000.0, 1.0, 6.0);
  EXPECT_EQ((std::array<double, 4>{bank->x1[0], bank->x2[0], bank->y1[0], bank->y2[0]}), state);
}

TEST(OnePoles, LowpassHasUnityDcGainAndTheSubtractedHighpassBlocksDc) {
  auto bank = std::make_unique<DspBank>();
  bank->SetLowpassA(3, 500.0, kRate);
  bank->SetLowpassB(3, 500.0, kRate);
  double low = 0.0, high = 0.0;
  for (int i = 0; i < 4800; ++i) {
    low = bank->StepLowpassA(3, 1.0);
    high = bank->StepHighpassB(3, 1.0);
  }
  EXPECT_NEAR(low, 1.0, 1e-12);
  EXPECT_NEAR(high, 0.0, 1e-12);
  EXPECT_EQ(bank->lowpassB.s[3], 1.0 - high);  // set A and set B keep separate states
}

TEST(Followers, AttackAndReleaseCoefficientsFollowTheDirection) {
  auto bank = std::make_unique<DspBank>();
  bank->SetFollower(0, 8.0, 7.0, 44100.0);
  EXPECT_DOUBLE_EQ(bank->followerAttack[0], std::exp(-2.0 / 352.8));
  EXPECT_DOUBLE_EQ(bank->followerRelease[0], std::exp(-2.0 / 308.7));
  const double up = bank->StepFollower(0, 1.0);
  EXPECT_DOUBLE_EQ(up, 1.0 - bank->followerAttack[0]);
  EXPECT_DOUBLE_EQ(bank->StepFollower(0, 0.0), up * bank->followerRelease[0]);

  bank->SetFollower(1, 0.0, -5.0, 44100.0);  // raised to 0.001 ms
  EXPECT_DOUBLE_EQ(bank->followerAttack[1], std::exp(-2.0 / (44100.0 * 0.001 * 0.001)));
  EXPECT_EQ(bank->followerAttack[1], bank->followerRelease[1]);
}

class Adsr : public ::testing::Test {
 protected:
  // At 1000 Hz a setting s lasts 2^(10 s - 6.666666) * 1000 samples.
  static double Setting(double seconds) { return (std::log2(seconds) + 6.666666) / 10.0; }
  void SetUp() override { bank->SetAdsr(0, Setting(0.010), Setting(0.020), 0.5, Setting(0.040), 1.0, 1000.0); }
  // Steps with `gate` until `done` holds, at most 100 times; returns the steps taken.
  template <class Done>
  int StepsUntil(double gate, Done done) {
    int steps = 0;
    for (; !done() && steps < 100; ++steps) bank->StepAdsr(0, gate);
    return steps;
  }
  std::unique_ptr<DspBank> bank = std::make_unique<DspBank>();
};

TEST_F(Adsr, RunsAttackDecaySustainRelease) {
  EXPECT_EQ(bank->StepAdsr(0, 0.0), 0.0);  // idle until the gate opens
  // Anything from 0.5 up opens the gate.
  EXPECT_NEAR(StepsUntil(0.7, [&] { return bank->adsrStage[0] != kAdsrAttack; }), 10, 1);
  EXPECT_EQ(bank->adsrLevel[0], 1.0);
  // Half of the way down takes half of the decay time.
  EXPECT_NEAR(StepsUntil(1.0, [&] { return bank->adsrStage[0] != kAdsrDecay; }), 10, 1);
  EXPECT_EQ(bank->adsrStage[0], kAdsrSustain);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(bank->StepAdsr(0, 1.0), 0.5);

  EXPECT_EQ(bank->StepAdsr(0, 0.2), 0.5);  // the closing sample still sustains
  EXPECT_EQ(bank->adsrStage[0], kAdsrRelease);
  EXPECT_NEAR(StepsUntil(0.0, [&] { return !bank->adsrActive[0]; }), 20, 1);
  EXPECT_EQ(bank->adsrLevel[0], 0.0);
  EXPECT_EQ(bank->adsrLastGate[0], 0.0);
}

TEST_F(Adsr, GateReopeningDuringReleaseResumesTheAttackFromTheCurrentLevel) {
  for (int i = 0; i < 40; ++i) bank->StepAdsr(0, 1.0);
  for (int i = 0; i < 5; ++i) bank->StepAdsr(0, 0.0);
  const double released = bank->adsrLevel[0];
  ASSERT_LT(released, 0.5);
  ASSERT_GT(released, 0.0);
  const double falling = bank->StepAdsr(0, 1.0);
  EXPECT_NEAR(falling, released - bank->adsrReleaseRate[0], 1e-15);  // falls once more
  EXPECT_EQ(bank->adsrStage[0], kAdsrAttack);
  EXPECT_NEAR(bank->StepAdsr(0, 1.0), falling + bank->adsrAttackRate[0], 1e-15);
}

TEST_F(Adsr, SustainAtPeakHoldsThePeak) {
  bank->SetAdsr(0, 0.0, 0.5, 1.0, 0.5, 0.8, 1000.0);
  for (int i = 0; i < 200; ++i) bank->StepAdsr(0, 1.0);
  EXPECT_EQ(bank->adsrLevel[0], 0.8);
}

TEST(DelayLines, CombRepeatsEveryLastPlusOneSamples) {
  auto bank = std::make_unique<DspBank>();
  bank->InitDelay(0, 0.002, 44100.0);
  EXPECT_EQ(bank->delayLast[0], 87);
  std::vector<int> echoes;
  for (int n = 0; n < 400; ++n) {
    if (bank->StepComb(0, 0.5, n == 0 ? 1.0 : 0.0) != 0.0) echoes.push_back(n);
  }
  EXPECT_EQ(echoes, (std::vector<int>{87, 175, 263, 351}));

  bank->InitDelay(1, 0.00002, 44100.0);  // shorter than one sample
  EXPECT_EQ(bank->delayLast[1], 0);
  EXPECT_EQ(bank->StepComb(1, 0.99, 1.0), 1.0);  // outputs what it has just written
  EXPECT_EQ(bank->StepComb(1, 0.99, 0.0), 0.99);
}

TEST(DelayLines, SetDelayChangesTheLengthInPlaceAndSilencesTheLine) {
  auto bank = std::make_unique<DspBank>();
  bank->InitDelay(2, 0.0051, 48000.0);
  for (int n = 0; n < 100; ++n) bank->StepComb(2, 0.9, 1.0);
  const double* cells = bank->delayBuffer[2].data();
  bank->SetDelay(2, 0.0069, 48000.0);
  EXPECT_EQ(bank->delayBuffer[2].data(), cells);
  EXPECT_EQ(bank->delayLast[2], static_cast<int>(0.0069 * 48000.0 - 1.0));
  EXPECT_EQ(bank->delayPos[2], 0);
  for (int n = 0; n < 1000; ++n) ASSERT_EQ(bank->StepComb(2, 0.9, 0.0), 0.0) << n;
  bank->SetDelay(2, 5.0, 48000.0);  // longer than the buffer: clamped inside it
  EXPECT_EQ(bank->delayLast[2], 47999);
}

TEST(DelayLines, FractionalDelayHoldsTheWholeCellsOfItsSizeAndAtLeastOne) {
  auto bank = std::make_unique<DspBank>();
  bank->InitFractionalDelay(0, 100.9);
  bank->InitFractionalDelay(1, 0.3);
  EXPECT_EQ(bank->fractionalSize[0], 100);
  EXPECT_EQ(bank->fractionalBuffer[0].size(), 100u);
  EXPECT_EQ(bank->fractionalSize[1], 1);
  EXPECT_EQ(bank->fractionalBuffer[1].size(), 1u);
}

TEST(Fft16384, MatchesADirectTransform) {
  std::mt19937 rng(7);
  std::normal_distribution<double> noise;
  std::vector<double> re(kFft16384Size), im(kFft16384Size);
  for (int i = 0; i < kFft16384Size; ++i) {
    re[i] = noise(rng);
    im[i] = noise(rng);
  }
  const std::vector<double> inRe = re, inIm = im;
  Fft16384(re.data(), im.data());
  std::vector<int> bins = {0, 1, 8191, 8192, 16383};  // and bins spread over both halves
  for (int k = 37; k < kFft16384Size; k += 509) bins.push_back(k);
  for (int k : bins) {
    std::complex<double> direct;
    for (int n = 0; n < kFft16384Size; ++n) {
      const double angle = -2.0 * std::numbers::pi * static_cast<double>((static_cast<long>(k) * n) % kFft16384Size) /
                           kFft16384Size;
      direct += std::complex<double>(inRe[n], inIm[n]) * std::polar(1.0, angle);
    }
    EXPECT_NEAR(std::abs(std::complex<double>(re[k], im[k]) - direct), 0.0, 1e-8 * kFft16384Size)
        << "bin " << k;
  }
}
