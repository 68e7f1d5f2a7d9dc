#include "cabinet/ResponseCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 180, kHeight = 120;

std::vector<double> Curve(const CurveSamples& samples, double* inversePeak = nullptr) {
  std::vector<double> columns(kWidth, -1.0);
  const double result = ComputeResponseCurve(samples, kWidth, kHeight, columns.data());
  if (inversePeak) *inversePeak = result;
  return columns;
}

// +40 dB at the top edge, -80 dB at the bottom: 0 dB lies a third of the way down.
TEST(ResponseCurve, FlatSpectrumLiesAtItsLevelClampedToTheDisplay) {
  for (auto [level, top] : {std::pair{1.0, 40.0}, {0.01, 80.0}, {1000.0, 0.0}, {0.0, 1.0 * kHeight}}) {
    CurveSamples impulse{};
    impulse[0] = level;
    double inversePeak = -1.0;
    for (double y : Curve(impulse, &inversePeak)) EXPECT_NEAR(y, top, 1e-9) << level;
    EXPECT_DOUBLE_EQ(inversePeak, level > 0.0 ? 1.0 / level : 0.0) << level;
  }
}

TEST(ResponseCurve, LowPassFallsTowardsHighFrequencies) {
  CurveSamples smooth{};
  for (int i = 0; i < 64; ++i) smooth[i] = 1.0 / 64;  // a moving average
  const std::vector<double> columns = Curve(smooth);
  EXPECT_NEAR(columns.front(), 40.0, 0.5);
  EXPECT_GT(*std::max_element(columns.end() - 40, columns.end()), 80.0);
}

TEST(ResponseCurve, SamplesOfAResponseAreItsFirst4096ZeroPadded) {
  const CurveSamples shortOne = CurveSamplesOf({1.0, 2.0});
  EXPECT_EQ(shortOne[1], 2.0);
  EXPECT_EQ(shortOne[2], 0.0);
  const CurveSamples longOne = CurveSamplesOf(std::vector<double>(5000, 3.0));
  EXPECT_EQ(longOne[kResponseCurveSamples - 1], 3.0);
}

}  // namespace
