#include "cabinet/ResponseCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 180, kHeight = 120;

std::vector<double> Curve(const CurveSamples& samples, double* inversePeak = nullptr) {
  std::vector<double> columns(kWidth, -1.0);
  const double result = ComputeResponseCurve(samples, kWidth, kHeight, columns.data());
  if (inversePeak) *inversePeak = result;
  return columns;
}

TEST(ResponseCurve, FlatSpectrumLiesAtItsLevel) {
  CurveSamples impulse{};
  impulse[0] = 1.0;  // 0 dB everywhere: a third of the way down from +40 dB
  double inversePeak = 0.0;
  for (double y : Curve(impulse, &inversePeak)) EXPECT_NEAR(y, 40.0, 1e-9);
  EXPECT_DOUBLE_EQ(inversePeak, 1.0);
  impulse[0] = 0.01;  // -40 dB
  for (double y : Curve(impulse)) EXPECT_NEAR(y, 80.0, 1e-9);
}

TEST(ResponseCurve, ClampsToTheDisplayAndSurvivesSilence) {
  CurveSamples loud{}, silent{};
  loud[0] = 1000.0;  // +60 dB, above the top edge
  for (double y : Curve(loud)) EXPECT_EQ(y, 0.0);
  double inversePeak = -1.0;
  for (double y : Curve(silent, &inversePeak)) EXPECT_EQ(y, kHeight);
  EXPECT_EQ(inversePeak, 0.0);
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
