#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "editor/IGraphicsRaster.h"

namespace {

constexpr IColor kWhiteInk{255, 255, 255, 255};

// White lines on the black buffer: the green channel is the coverage.
int Ink(const IGraphicsRaster& raster, int x, int y) { return (raster.PixelAt(x, y) >> 8) & 0xFF; }

TEST(RasterLine, StraightLinesCoverExactlyTheirPixelsAndAPointOne) {
  IGraphicsRaster raster(20, 20);
  raster.DrawLine(kWhiteInk, 2, 5, 12, 5);
  raster.DrawLine(kWhiteInk, 15, 3, 15, 17);
  raster.DrawLine(kWhiteInk, 5, 15, 5, 15);
  for (int x = 3; x <= 11; ++x) {
    EXPECT_EQ(Ink(raster, x, 5), 255) << x;
    EXPECT_EQ(Ink(raster, x, 4), 0) << x;
    EXPECT_EQ(Ink(raster, x, 6), 0) << x;
  }
  for (int y = 4; y <= 16; ++y) {
    EXPECT_EQ(Ink(raster, 15, y), 255) << y;
    EXPECT_EQ(Ink(raster, 14, y), 0) << y;
    EXPECT_EQ(Ink(raster, 16, y), 0) << y;
  }
  EXPECT_EQ(Ink(raster, 0, 5), 0);
  EXPECT_EQ(Ink(raster, 14, 5), 0);
  EXPECT_NEAR(Ink(raster, 5, 15), 255, 2);
  EXPECT_EQ(Ink(raster, 6, 15), 0);
  EXPECT_EQ(Ink(raster, 5, 16), 0);
}

// Antialiasing spreads each step of the line over two neighbours whose coverage sums to one
// pixel, so the line neither thins nor thickens with its slope; nor does its direction matter.
TEST(RasterLine, SlopedLinesKeepOnePixelOfInkPerStepEitherWay) {
  for (const auto [x1, y1, x2, y2] : {std::array<float, 4>{1, 2.3f, 38, 14.7f},
                                      std::array<float, 4>{3, 1, 14, 37},
                                      std::array<float, 4>{38, 3, 2, 30}}) {
    IGraphicsRaster raster(40, 40);
    IGraphicsRaster backward(40, 40);
    raster.DrawLine(kWhiteInk, x1, y1, x2, y2);
    backward.DrawLine(kWhiteInk, x2, y2, x1, y1);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(raster.PixelAt(x, y), backward.PixelAt(x, y));
    const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
    const int from = static_cast<int>(std::round(std::min(steep ? y1 : x1, steep ? y2 : x2))) + 1;
    const int to = static_cast<int>(std::round(std::max(steep ? y1 : x1, steep ? y2 : x2))) - 1;
    for (int major = from; major <= to; ++major) {
      int total = 0;
      int touched = 0;
      for (int minor = 0; minor < 40; ++minor) {
        const int ink = steep ? Ink(raster, minor, major) : Ink(raster, major, minor);
        total += ink;
        touched += ink > 0;
      }
      EXPECT_NEAR(total, 255, 2) << major;
      EXPECT_LE(touched, 2) << major;
    }
  }
}

TEST(RasterLine, TranslucentColourBlendsOverTheBuffer) {
  IGraphicsRaster raster(10, 3);
  raster.DrawLine({128, 255, 0, 0}, 0, 1, 9, 1);
  EXPECT_NEAR(static_cast<int>((raster.PixelAt(5, 1) >> 16) & 0xFF), 128, 1);
  EXPECT_EQ(raster.PixelAt(5, 1) >> 24, 255u);
}

TEST(RasterLine, LinesBeyondTheBufferAreClippedAndAbsurdOnesIgnored) {
  IGraphicsRaster raster(20, 20);
  raster.DrawLine(kWhiteInk, -500, -500, 700, 700);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Ink(raster, i, i), 255) << i;

  IGraphicsRaster untouched(20, 20);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  untouched.DrawLine(kWhiteInk, nan, 1, 5, 5);
  untouched.DrawLine(kWhiteInk, 1, 1, inf, 5);
  untouched.DrawLine(kWhiteInk, -3e9f, 4, 3e9f, 4);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(Ink(untouched, x, y), 0);
}

}  // namespace
