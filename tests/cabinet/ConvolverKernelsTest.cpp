#include "cabinet/ConvolverKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "cabinet/CpuFeatures.h"

namespace {

std::vector<double> Noise(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> normal;
  std::vector<double> values(count);
  for (double& value : values) value = normal(rng);
  return values;
}

// The dispatched kernels against the baseline ones: the same operations per value, so the
// same bits whichever instruction set runs. Odd sizes reach the vector loops' tails.
TEST(ConvolverKernels, DispatchedSpectraMatchBaselineExactly) {
  SCOPED_TRACE(CpuHasAvx2() ? "AVX2 path" : "baseline path");
  for (int n : {1, 2, 3, 128, 4097})
    for (int pairs : {1, 2, 5}) {
      std::vector<std::vector<double>> inputs;
      std::vector<std::vector<float>> impulses;
      std::vector<const double*> x;
      std::vector<const float*> h;
      for (int p = 0; p < pairs; ++p) {
        inputs.push_back(Noise(2 * n, 10 * p + n));
        const std::vector<double> impulse = Noise(2 * n, 10 * p + n + 5);
        impulses.emplace_back(impulse.begin(), impulse.end());
      }
      for (int p = 0; p < pairs; ++p) {
        x.push_back(inputs[p].data());
        h.push_back(impulses[p].data());
      }
      std::vector<double> dispatched(2 * n), baseline(2 * n);
      AccumulateSpectra(dispatched.data(), x.data(), h.data(), pairs, n);
      AccumulateSpectraBaseline(baseline.data(), x.data(), h.data(), pairs, n);
      EXPECT_EQ(dispatched, baseline) << "n " << n << " pairs " << pairs;
      double re = 0.0, im = 0.0;
      for (int p = 0; p < pairs; ++p) {
        re += x[p][2 * n - 2] * h[p][2 * n - 2] - x[p][2 * n - 1] * h[p][2 * n - 1];
        im += x[p][2 * n - 1] * h[p][2 * n - 2] + x[p][2 * n - 2] * h[p][2 * n - 1];
      }
      EXPECT_NEAR(baseline[2 * n - 2], re, 1e-12) << "n " << n << " pairs " << pairs;
      EXPECT_NEAR(baseline[2 * n - 1], im, 1e-12) << "n " << n << " pairs " << pairs;
    }
}

TEST(ConvolverKernels, DirectFirMatchesBaselineExactlyAndThePlainSum) {
  SCOPED_TRACE(CpuHasAvx2() ? "AVX2 path" : "baseline path");
  for (int taps : {1, 2, 7, 63, 64})
    for (int count : {1, 7, 16, 33, 256}) {
      const std::vector<double> s = Noise(count + taps, taps + count), h = Noise(taps, taps);
      std::vector<double> dispatched(count), baseline(count);
      DirectFir(s.data(), h.data(), taps, dispatched.data(), count);
      DirectFirBaseline(s.data(), h.data(), taps, baseline.data(), count);
      EXPECT_EQ(dispatched, baseline) << "taps " << taps << " count " << count;
      for (int t = 0; t < count; ++t) {
        double sum = 0.0;
        for (int j = 0; j < taps; ++j) sum += s[t + j] * h[j];
        ASSERT_NEAR(baseline[t], sum, 1e-12) << "taps " << taps << " count " << count << " t " << t;
      }
    }
}

}  // namespace
