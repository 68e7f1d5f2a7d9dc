#include "cabinet/Fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace {

using Complex = std::complex<double>;

std::vector<double> RandomSignal(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> data(2 * n);
  for (double& value : data) value = uniform(rng);
  return data;
}

// X[m] = sum x[j] e^(+2 pi i j m / n), from a table of the n roots of unity.
Complex ReferenceBin(const std::vector<double>& x, const std::vector<Complex>& roots, int m) {
  const long long n = static_cast<long long>(roots.size());
  Complex sum = 0.0;
  for (long long j = 0; j < n; ++j) sum += Complex(x[2 * j], x[2 * j + 1]) * roots[(j * m) % n];
  return sum;
}

// Stricter than ==, which takes -0 and +0 as equal.
bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(double) * a.size()) == 0;
}

// Up to the response display's 4096 points: position p holds bin FftBinAt(n, p).
TEST(Fft, ForwardMatchesPlainDftInScrambledOrder) {
  for (int n = kFftMinSize; n <= 4096; n *= 2) {
    std::vector<Complex> roots;
    for (int k = 0; k < n; ++k) roots.push_back(std::polar(1.0, 2.0 * std::numbers::pi * k / n));
    const std::vector<double> x = RandomSignal(n, n);
    std::vector<double> y = x;
    Fft(y.data(), n, 0);
    for (int p = 0; p < n; ++p) {
      const Complex expected = ReferenceBin(x, roots, FftBinAt(n, p));
      ASSERT_NEAR(y[2 * p], expected.real(), 1e-11) << "n " << n << " position " << p;
      ASSERT_NEAR(y[2 * p + 1], expected.imag(), 1e-11) << "n " << n << " position " << p;
    }
  }
}

TEST(Fft, InverseOfForwardReturnsNTimesTheInput) {
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2) {
    const std::vector<double> x = RandomSignal(n, 7 + n);
    std::vector<double> y = x;
    Fft(y.data(), n, 0);
    Fft(y.data(), n, 1);
    double worst = 0.0;
    for (int i = 0; i < 2 * n; ++i) worst = std::max(worst, std::fabs(y[i] / n - x[i]));
    EXPECT_LT(worst, 1e-14 * std::log2(n) + 1e-15) << "n " << n;
  }
}

TEST(Fft, UnsupportedSizesLeaveDataUnchanged) {
  for (int n : {-8, 0, 1, 3, 100, 65536}) {
    const std::vector<double> x = RandomSignal(std::max(n, 2), 3);
    std::vector<double> y = x, z = x, padded = x;
    Fft(y.data(), n, 0);
    FftPlain(z.data(), n, 1);
    FftPaddedReal(x.data(), padded.data(), n);
    EXPECT_EQ(y, x) << "n " << n;
    EXPECT_EQ(z, x) << "n " << n;
    EXPECT_EQ(padded, x) << "n " << n;
  }
  const std::vector<double> sample = {1.0};
  std::vector<double> spectrum(4, 7.0);
  FftPaddedReal(sample.data(), spectrum.data(), 2);  // no padded transform of size 2
  EXPECT_EQ(spectrum, std::vector<double>(4, 7.0));
}

// The plain path against whatever Fft dispatches to on this machine (AVX2 where the
// processor has it) and against the SSE2 baseline: every size, both directions, bit for bit.
TEST(Fft, VectorAndPlainPathsGiveIdenticalResults) {
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2)
    for (int inverse : {0, 1}) {
      const std::vector<double> x = RandomSignal(n, 11 * n + inverse);
      std::vector<double> vector = x, baseline = x, plain = x;
      Fft(vector.data(), n, inverse);
      FftBaseline(baseline.data(), n, inverse);
      FftPlain(plain.data(), n, inverse);
      EXPECT_TRUE(SameBits(vector, plain)) << "n " << n << " inverse " << inverse;
      EXPECT_TRUE(SameBits(baseline, plain)) << "n " << n << " inverse " << inverse;
    }
}

TEST(Fft, PaddedRealGivesTheSpectrumOfTheZeroPaddedSignal) {
  for (int n = kFftMinPaddedSize; n <= kFftMaxSize; n *= 2) {
    const std::vector<double> random = RandomSignal(n / 2, 5 * n);
    std::vector<double> samples(random.begin(), random.begin() + n / 2);
    std::vector<double> expected(2 * n, 0.0);
    for (int i = 0; i < n / 2; ++i) expected[2 * i] = samples[i];
    Fft(expected.data(), n, 0);
    std::vector<double> dispatched(2 * n, 9.0), plain(2 * n, 9.0);
    FftPaddedReal(samples.data(), dispatched.data(), n);
    FftPaddedRealPlain(samples.data(), plain.data(), n);
    // Only the sign of zero intermediate values can differ from the full transform.
    EXPECT_EQ(dispatched, expected) << "n " << n;
    EXPECT_EQ(plain, dispatched) << "n " << n;
  }
}

// A transform run in parts (pass, then the sub-transforms, or the reverse for the inverse)
// must give exactly the bits of the whole one, so spreading it changes no output.
TEST(Fft, TransformsInPartsMatchTheWholeTransformsBitForBit) {
  for (int n = kFftMinPaddedSize; n <= kFftMaxSize; n *= 2) {
    for (int inverse : {0, 1}) {
      const std::vector<double> x = RandomSignal(n, 7 * n + inverse);
      std::vector<double> whole = x, parts = x;
      Fft(whole.data(), n, inverse);
      if (!inverse) FftSplitPass(parts.data(), n, 0);
      for (int i = 0; i < kFftSubTransforms; ++i) {
        const FftPart part = FftSubTransform(n, i);
        Fft(parts.data() + part.offset, part.size, inverse);
      }
      if (inverse) FftSplitPass(parts.data(), n, 1);
      EXPECT_TRUE(SameBits(whole, parts)) << "n " << n << " inverse " << inverse;
    }
    const std::vector<double> random = RandomSignal(n / 2, 3 * n);
    const std::vector<double> samples(random.begin(), random.begin() + n / 2);
    std::vector<double> whole(2 * n), parts(2 * n);
    FftPaddedReal(samples.data(), whole.data(), n);
    FftPaddedRealSplitPass(samples.data(), parts.data(), n);
    for (int i = 0; i < kFftSubTransforms; ++i) {
      const FftPart part = FftSubTransform(n, i);
      Fft(parts.data() + part.offset, part.size, 0);
    }
    EXPECT_TRUE(SameBits(whole, parts)) << "padded n " << n;
  }
}

}  // namespace
