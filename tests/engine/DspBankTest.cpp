#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>

#include "EngineTestKit.h"
#include "engine/DspBank.h"
#include "engine/Fft16384.h"

namespace {

constexpr double kRate = 48000.0;
constexpr double kNyquist = kRate / 2.0;

double Db(double magnitude) { return 20.0 * std::log10(magnitude); }

class BiquadDesign : public ::testing::Test {
 protected:
  std::unique_ptr<DspBank> bank = std::make_unique<DspBank>();
  double Magnitude(double hz) const { return BiquadMagnitude(*bank, 0, hz, kRate); }
  void Design(int type, double hz, double octaves, double db) {
    bank->DesignBiquad(0, type, hz, octaves, db, kRate);
  }
  // Q of the analogue prototype, which the bilinear design keeps at the centre frequency.
  static double CentreQ(double hz, double octaves) {
    const double w = 2.0 * std::numbers::pi * hz / kRate;
    return std::sin(w) / (2.0 * std::sin(w) * std::sinh(std::numbers::ln2 / 2.0 * octaves * w / std::sin(w)));
  }
};

}  // namespace

TEST_F(BiquadDesign, PeakingReachesItsGainAtTheCentre) {
  for (double db : {-15.0, -3.84, 6.0, 24.0, 30.0}) {
    for (double octaves : {0.1, 1.0, 3.0, 5.75}) {
      Design(kPeaking, 1000.0, octaves, db);
      EXPECT_NEAR(Db(Magnitude(1000.0)), db, 1e-9) << db << " dB, " << octaves << " oct";
      EXPECT_NEAR(Db(Magnitude(0.0)), 0.0, 1e-9);
      EXPECT_NEAR(Db(Magnitude(kNyquist)), 0.0, 1e-9);
    }
  }
}

TEST_F(BiquadDesign, ShelvesReachTheirPlateaus) {
  for (double db : {-30.0, -6.0, 5.1, 12.0}) {
    for (int type : {kLowShelf, kNarrowLowShelf}) {
      Design(type, 300.0, 1.0, db);
      EXPECT_NEAR(Db(Magnitude(0.0)), db, 1e-9) << type;
      EXPECT_NEAR(Db(Magnitude(kNyquist)), 0.0, 1e-9) << type;
      EXPECT_NEAR(Db(Magnitude(20000.0)), 0.0, 0.1) << type;
    }
    Design(kHighShelf, 3000.0, 1.0, db);
    EXPECT_NEAR(Db(Magnitude(0.0)), 0.0, 1e-9);
    EXPECT_NEAR(Db(Magnitude(kNyquist)), db, 1e-9);
    EXPECT_NEAR(Db(Magnitude(20.0)), 0.0, 0.05);
  }
}

TEST_F(BiquadDesign, PassAndStopBands) {
  Design(kLowpass, 2000.0, 1.4, 0.0);
  EXPECT_NEAR(Magnitude(0.0), 1.0, 1e-12);
  EXPECT_NEAR(Magnitude(kNyquist), 0.0, 1e-12);
  EXPECT_NEAR(Magnitude(2000.0), CentreQ(2000.0, 1.4), 1e-9);
  EXPECT_LT(Db(Magnitude(16000.0)), -30.0);

  Design(kHighpass, 2000.0, 1.4, 0.0);
  EXPECT_NEAR(Magnitude(0.0), 0.0, 1e-12);
  EXPECT_NEAR(Magnitude(kNyquist), 1.0, 1e-12);
  EXPECT_NEAR(Magnitude(2000.0), CentreQ(2000.0, 1.4), 1e-9);
  EXPECT_LT(Db(Magnitude(250.0)), -30.0);

  Design(kBandpass, 3900.0, 1.0, 0.0);
  EXPECT_NEAR(Magnitude(3900.0), 1.0, 1e-12);
  EXPECT_NEAR(Magnitude(0.0), 0.0, 1e-12);
  EXPECT_NEAR(Magnitude(kNyquist), 0.0, 1e-12);
  // One octave each side of the centre is the half-power bandwidth of a 2-octave design.
  Design(kBandpass, 2000.0, 2.0, 0.0);
  EXPECT_NEAR(Db(Magnitude(1000.0)), -3.0103, 0.4);

  Design(kNotch, 1000.0, 1.0, 0.0);
  EXPECT_NEAR(Magnitude(1000.0), 0.0, 1e-9);
  EXPECT_NEAR(Magnitude(0.0), 1.0, 1e-12);
}

TEST_F(BiquadDesign, FrequenciesBelowTenHertzAreDesignedAtTenHertz) {
  for (double low : {-100.0, 0.0, 3.0, 9.999}) {
    Design(kHighpass, 10.0, 1.4, 0.0);
    const double expected[5] = {bank->b0[0], bank->b1[0], bank->b2[0], bank->a1[0], bank->a2[0]};
    Design(kHighpass, low, 1.4, 0.0);
    const double got[5] = {bank->b0[0], bank->b1[0], bank->b2[0], bank->a1[0], bank->a2[0]};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], expected[i]) << low;
  }
}

TEST_F(BiquadDesign, UnknownTypesDesignALowpass) {
  Design(kLowpass, 700.0, 1.0, 6.0);
  const double lp[5] = {bank->b0[0], bank->b1[0], bank->b2[0], bank->a1[0], bank->a2[0]};
  for (int type : {8, 99, -1}) {
    Design(type, 700.0, 1.0, 6.0);
    const double got[5] = {bank->b0[0], bank->b1[0], bank->b2[0], bank->a1[0], bank->a2[0]};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], lp[i]) << type;
  }
}

TEST_F(BiquadDesign, ZeroGainPassesTheSignalUnchanged) {
  for (int type : {kPeaking, kLowShelf, kHighShelf, kNarrowLowShelf}) {
    Design(type, 1234.0, 2.0, 0.0);
    EXPECT_NEAR(bank->b0[0], 1.0, 1e-15) << type;
    EXPECT_NEAR(bank->b1[0], bank->a1[0], 1e-15) << type;
    EXPECT_NEAR(bank->b2[0], bank->a2[0], 1e-15) << type;
  }
}

TEST_F(BiquadDesign, NarrowShelfBendsItsCornerWithTheSinglePrecisionFactor) {
  const double hz = 900.0, db = 5.1;
  Design(kNarrowLowShelf, hz, 3.5, db);
  const double w = 2.0 * std::numbers::pi * hz / kRate;
  const double a = std::pow(10.0, db / 40.0);
  const double cs = std::cos(0.4099999964237213 * w);
  const double beta = std::sqrt(a) / 1.41 * std::sin(w);
  const double a0 = (a + 1) + (a - 1) * cs + beta;
  EXPECT_NEAR(bank->b1[0], 2 * a * ((a - 1) - (a + 1) * cs) / a0, 1e-15);
  EXPECT_NEAR(bank->a1[0], -2 * ((a - 1) + (a + 1) * cs) / a0, 1e-15);
  const double csDouble = std::cos(0.41 * w);
  EXPECT_GT(std::fabs(bank->a1[0] - (-2 * ((a - 1) + (a + 1) * csDouble) / a0)), 1e-11);
}

TEST_F(BiquadDesign, DesignKeepsTheFilterState) {
  Design(kLowpass, 500.0, 1.0, 0.0);
  for (int i = 0; i < 10; ++i) bank->StepBiquad(0, 1.0);
  const double state[4] = {bank->x1[0], bank->x2[0], bank->y1[0], bank->y2[0]};
  Design(kHighShelf, 5000.0, 1.0, 6.0);
  EXPECT_EQ(bank->x1[0], state[0]);
  EXPECT_EQ(bank->x2[0], state[1]);
  EXPECT_EQ(bank->y1[0], state[2]);
  EXPECT_EQ(bank->y2[0], state[3]);
}

TEST(OnePoles, LowpassHasUnityDcGainAndTheSubtractedHighpassBlocksDc) {
  auto bank = std::make_unique<DspBank>();
  bank->SetLowpassA(3, 500.0, kRate);
  const double p = std::exp(-2.0 * std::numbers::pi * 500.0 / kRate);
  EXPECT_DOUBLE_EQ(bank->lowpassA.g[3], 1.0 - p);
  EXPECT_DOUBLE_EQ(bank->lowpassA.f[3], -p);
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
  const double down = bank->StepFollower(0, 0.0);
  EXPECT_DOUBLE_EQ(down, up * bank->followerRelease[0]);

  bank->SetFollower(1, 0.0, -5.0, 44100.0);  // raised to 0.001 ms
  EXPECT_DOUBLE_EQ(bank->followerAttack[1], std::exp(-2.0 / (44100.0 * 0.001 * 0.001)));
  EXPECT_EQ(bank->followerAttack[1], bank->followerRelease[1]);
}

class Adsr : public ::testing::Test {
 protected:
  // At 1000 Hz a setting s lasts 2^(10 s - 6.666666) * 1000 samples.
  static double Setting(double seconds) { return (std::log2(seconds) + 6.666666) / 10.0; }
  std::unique_ptr<DspBank> bank = std::make_unique<DspBank>();
};

TEST_F(Adsr, RunsAttackDecaySustainRelease) {
  bank->SetAdsr(0, Setting(0.010), Setting(0.020), 0.5, Setting(0.040), 1.0, 1000.0);
  EXPECT_EQ(bank->StepAdsr(0, 0.0), 0.0);  // idle until the gate opens
  int samples = 0;
  while (bank->adsrStage[0] == kAdsrAttack && samples < 100) {
    bank->StepAdsr(0, 0.7);  // anything from 0.5 up opens the gate
    ++samples;
  }
  EXPECT_NEAR(samples, 10, 1);
  EXPECT_EQ(bank->adsrLevel[0], 1.0);
  samples = 0;
  while (bank->adsrStage[0] == kAdsrDecay && samples < 100) {
    bank->StepAdsr(0, 1.0);
    ++samples;
  }
  EXPECT_NEAR(samples, 10, 1);  // half of the way down takes half of the decay time
  EXPECT_EQ(bank->adsrStage[0], kAdsrSustain);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(bank->StepAdsr(0, 1.0), 0.5);

  EXPECT_EQ(bank->StepAdsr(0, 0.2), 0.5);  // the closing sample still sustains
  EXPECT_EQ(bank->adsrStage[0], kAdsrRelease);
  samples = 0;
  while (bank->adsrActive[0] && samples < 100) {
    bank->StepAdsr(0, 0.0);
    ++samples;
  }
  EXPECT_NEAR(samples, 20, 1);
  EXPECT_EQ(bank->adsrLevel[0], 0.0);
  EXPECT_EQ(bank->adsrLastGate[0], 0.0);
}

TEST_F(Adsr, GateReopeningDuringReleaseResumesTheAttackFromTheCurrentLevel) {
  bank->SetAdsr(0, Setting(0.010), Setting(0.020), 0.5, Setting(0.040), 1.0, 1000.0);
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
  for (double v : bank->delayBuffer[2]) ASSERT_EQ(v, 0.0);
  bank->SetDelay(2, 5.0, 48000.0);  // longer than the buffer: clamped inside it
  EXPECT_EQ(bank->delayLast[2], 47999);
}

TEST(DelayLines, FractionalDelaySplitsTheDelayIntoWholeAndFraction) {
  auto bank = std::make_unique<DspBank>();
  bank->InitFractionalDelay(0, 0.25, 100.9);
  EXPECT_EQ(bank->fractionalSize[0], 100);
  EXPECT_EQ(bank->fractionalWhole[0], 75);
  EXPECT_EQ(bank->fractionalPart[0], 0.0);
  bank->InitFractionalDelay(1, 0.333, 10.0);
  EXPECT_EQ(bank->fractionalWhole[1], 6);
  EXPECT_NEAR(bank->fractionalPart[1], 0.67, 1e-12);
  EXPECT_EQ(bank->fractionalBuffer[1].size(), 10u);
}

TEST(Clear, ZeroesEverythingButTheDelayLines) {
  auto bank = std::make_unique<DspBank>();
  bank->DesignBiquad(5, kPeaking, 1000, 1, 6, kRate);
  bank->StepBiquad(5, 1.0);
  bank->SetLowpassB(7, 100, kRate);
  bank->SetFollower(2, 1, 1, kRate);
  bank->SetAdsr(3, 0.1, 0.1, 0.5, 0.1, 1, kRate);
  bank->StepAdsr(3, 1.0);
  bank->InitDelay(4, 0.001, kRate);
  bank->Clear();
  EXPECT_EQ(bank->b0[5], 0.0);
  EXPECT_EQ(bank->y1[5], 0.0);
  EXPECT_EQ(bank->lowpassB.f[7], 0.0);
  EXPECT_EQ(bank->followerAttack[2], 0.0);
  EXPECT_EQ(bank->adsrLevel[3], 0.0);
  EXPECT_EQ(bank->adsrActive[3], 0);
  EXPECT_EQ(bank->delayBuffer[4].size(), 48000u);
  EXPECT_EQ(bank->delayLast[4], 47);
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
  for (int k : {0, 1, 37, 4096, 8191, 8192, 12345, 16383}) {
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

TEST(Fft16384, PutsACosineIntoItsBins) {
  std::vector<double> re(kFft16384Size), im(kFft16384Size, 0.0);
  for (int n = 0; n < kFft16384Size; ++n) re[n] = std::cos(2.0 * std::numbers::pi * 300.0 * n / kFft16384Size);
  Fft16384(re.data(), im.data());
  for (int k = 0; k < kFft16384Size; ++k) {
    const double magnitude = std::hypot(re[k], im[k]);
    if (k == 300 || k == kFft16384Size - 300) {
      EXPECT_NEAR(magnitude, kFft16384Size / 2.0, 1e-6);
    } else {
      ASSERT_LT(magnitude, 1e-6) << k;
    }
  }
}
