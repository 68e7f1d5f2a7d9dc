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

// X[m] = sum x[j] e^(+2 pi i j m / n), with the angle reduced exactly before use.
Complex ReferenceBin(const std::vector<double>& x, int n, int m) {
  Complex sum = 0.0;
  for (int j = 0; j < n; ++j) {
    const double angle = 2.0 * std::numbers::pi * static_cast<double>((static_cast<long long>(j) * m) % n) / n;
    sum += Complex(x[2 * j], x[2 * j + 1]) * Complex(std::cos(angle), std::sin(angle));
  }
  return sum;
}

// Stricter than ==, which takes -0 and +0 as equal.
bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(double) * a.size()) == 0;
}

std::vector<int> AllSizes() {
  std::vector<int> sizes;
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2) sizes.push_back(n);
  return sizes;
}

TEST(Fft, ForwardMatchesPlainDftInScrambledOrder) {
  for (int n = 2; n <= 2048; n *= 2) {
    const std::vector<double> x = RandomSignal(n, n);
    std::vector<double> y = x;
    Fft(y.data(), n, 0);
    for (int p = 0; p < n; ++p) {
      const Complex expected = ReferenceBin(x, n, FftBinAt(n, p));
      ASSERT_NEAR(y[2 * p], expected.real(), 1e-11) << "n " << n << " position " << p;
      ASSERT_NEAR(y[2 * p + 1], expected.imag(), 1e-11) << "n " << n << " position " << p;
    }
  }
}

TEST(Fft, ScrambledOrderOfSmallSizes) {
  const std::vector<int> four = {0, 2, 1, 3}, eight = {0, 4, 2, 6, 1, 5, 7, 3};
  for (int p = 0; p < 4; ++p) EXPECT_EQ(FftBinAt(4, p), four[p]);
  for (int p = 0; p < 8; ++p) EXPECT_EQ(FftBinAt(8, p), eight[p]);
  for (int n : AllSizes()) {
    std::vector<bool> seen(n, false);
    for (int p = 0; p < n; ++p) seen[FftBinAt(n, p)] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), n) << "not a permutation at " << n;
  }
}

TEST(Fft, InverseOfForwardReturnsNTimesTheInput) {
  for (int n : AllSizes()) {
    const std::vector<double> x = RandomSignal(n, 7 + n);
    std::vector<double> y = x;
    Fft(y.data(), n, 0);
    Fft(y.data(), n, 1);
    double worst = 0.0;
    for (int i = 0; i < 2 * n; ++i) worst = std::max(worst, std::fabs(y[i] / n - x[i]));
    EXPECT_LT(worst, 1e-14 * std::log2(n) + 1e-15) << "n " << n;
  }
}

TEST(Fft, ProductOfSpectraGivesCircularConvolutionInNaturalOrder) {
  const int n = 256;
  std::vector<double> a = RandomSignal(n, 1), b = RandomSignal(n, 2);
  std::vector<double> expected(2 * n, 0.0);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const Complex product = Complex(a[2 * j], a[2 * j + 1]) * Complex(b[2 * ((i - j + n) % n)], b[2 * ((i - j + n) % n) + 1]);
      expected[2 * i] += product.real();
      expected[2 * i + 1] += product.imag();
    }
  Fft(a.data(), n, 0);
  Fft(b.data(), n, 0);
  for (int p = 0; p < n; ++p) {
    const Complex product = Complex(a[2 * p], a[2 * p + 1]) * Complex(b[2 * p], b[2 * p + 1]);
    a[2 * p] = product.real();
    a[2 * p + 1] = product.imag();
  }
  Fft(a.data(), n, 1);
  for (int i = 0; i < 2 * n; ++i) ASSERT_NEAR(a[i] / n, expected[i], 1e-11);
}

TEST(Fft, UnsupportedSizesLeaveDataUnchanged) {
  for (int n : {-8, 0, 1, 3, 100, 65536}) {
    const std::vector<double> x = RandomSignal(std::max(n, 1), 3);
    std::vector<double> y = x, z = x;
    Fft(y.data(), n, 0);
    FftPlain(z.data(), n, 1);
    EXPECT_EQ(y, x) << "n " << n;
    EXPECT_EQ(z, x) << "n " << n;
  }
}

// The plain path against whatever Fft dispatches to on this machine (AVX2 where the
// processor has it) and against the SSE2 baseline: every size, both directions, bit for bit.
TEST(Fft, VectorAndPlainPathsGiveIdenticalResults) {
  for (int n : AllSizes())
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

TEST(Fft, PaddedRealRefusesUnsupportedSizes) {
  const std::vector<double> samples(4, 1.0);
  for (int n : {0, 2, 3, 100, 65536}) {
    std::vector<double> spectrum(8, 7.0);
    FftPaddedReal(samples.data(), spectrum.data(), n);
    EXPECT_EQ(spectrum, std::vector<double>(8, 7.0)) << "n " << n;
  }
}

}  // namespace
