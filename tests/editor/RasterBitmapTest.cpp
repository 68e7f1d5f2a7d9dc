#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "editor/IGraphicsRaster.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

// Frame k (1-based) is filled with the opaque grey level 10 * k.
PixelImage NumberedFrames(int width, int frameHeight, int frames) {
  PixelImage image{width, frameHeight * frames, {}};
  for (int k = 1; k <= frames; ++k)
    for (int i = 0; i < width * frameHeight; ++i) {
      const std::uint32_t level = 10u * k;
      image.pixels.push_back(0xFF000000u | level << 16 | level << 8 | level);
    }
  return image;
}

// Every pixel names its own position: red = x, green = y.
PixelImage PositionCoded(int width, int height) {
  PixelImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.pixels.push_back(0xFF000000u | std::uint32_t(x) << 16 | std::uint32_t(y) << 8);
  return image;
}

IBitmap BitmapOf(const PixelImage& image, int frames) {
  return {&image, image.width, image.height, frames};
}

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }

TEST(RasterBitmap, DrawsTheRequestedFrameLimitedToTheBitmapsFrames) {
  const PixelImage image = NumberedFrames(4, 5, 3);
  const IBitmap bitmap = BitmapOf(image, 3);
  IGraphicsRaster raster(10, 10);
  const struct {
    int frame;
    int shown;
  } cases[] = {{1, 1}, {2, 2}, {3, 3}, {0, 1}, {-4, 1}, {4, 3}, {1000, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    raster.DrawBitmap(bitmap, {2, 2, 6, 7}, c.frame);
    EXPECT_EQ(Red(raster.PixelAt(2, 2)), 10 * c.shown);
    EXPECT_EQ(Red(raster.PixelAt(5, 6)), 10 * c.shown);
    EXPECT_EQ(raster.PixelAt(2, 7), kBlack) << "the next frame leaked below the rectangle";
  }
}

TEST(RasterBitmap, FramesStartAtTheRoundedRowOfTheirShare) {
  const IBitmap uneven{nullptr, 4, 10, 3};
  EXPECT_EQ(uneven.FrameHeight(), 3);
  EXPECT_EQ(uneven.FrameTop(1), 0);
  EXPECT_EQ(uneven.FrameTop(2), 3);  // 3.33 rounds down
  EXPECT_EQ(uneven.FrameTop(3), 7);  // 6.67 rounds up

  // The last frame of an uneven strip is read from row 7 on.
  const PixelImage image = PositionCoded(4, 10);
  IGraphicsRaster raster(8, 8);
  raster.DrawBitmap(BitmapOf(image, 3), {0, 0, 8, 8}, 3);
  EXPECT_EQ(Green(raster.PixelAt(0, 0)), 7);
  EXPECT_EQ(Green(raster.PixelAt(0, 2)), 9);
  EXPECT_EQ(raster.PixelAt(0, 3), kBlack);
}

// A bitmap is drawn from the rectangle's corner, no wider or taller than either of them,
// and only inside the buffer.
TEST(RasterBitmap, ClipsToTheRectangleTheBitmapAndTheBuffer) {
  const PixelImage image = PositionCoded(6, 6);
  for (const IRect& rect : {IRect{3, 4, 5, 7}, IRect{-2, -3, 10, 10}, IRect{8, 8, 20, 20},
                            IRect{-50, 0, -40, 10}, IRect{20, 20, 30, 30}}) {
    IGraphicsRaster raster(10, 10);
    raster.FillRect({255, 255, 255, 255}, raster.Bounds());
    raster.DrawBitmap(BitmapOf(image, 1), rect, 1);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const int u = x - rect.L;
        const int v = y - rect.T;
        const bool drawn = rect.Contains(x, y) && u < image.width && v < image.height;
        ASSERT_EQ(raster.PixelAt(x, y), drawn ? image.pixels[size_t(v * image.width + u)] : kWhite)
            << x << "," << y << " of " << rect.L << "," << rect.T;
      }
  }
}

TEST(RasterBitmap, AWeightBlendsThatShareOverTheBackgroundAndNoneDrawsNothing) {
  const PixelImage red{1, 1, {0xFFFF0000u}};
  const PixelImage halfWhite{1, 1, {0x80808080u}};  // premultiplied
  const PixelImage clear{1, 1, {0x00000000u}};
  IGraphicsRaster raster(4, 1);
  raster.FillRect({255, 0, 0, 255}, {0, 0, 4, 1});  // blue
  raster.DrawBitmap(BitmapOf(red, 1), {0, 0, 1, 1}, 1, 0.25f);
  raster.DrawBitmap(BitmapOf(red, 1), {1, 0, 2, 1}, 1, 1.0f);
  raster.DrawBitmap(BitmapOf(halfWhite, 1), {2, 0, 3, 1}, 1, 0.25f);
  raster.DrawBitmap(BitmapOf(clear, 1), {3, 0, 4, 1}, 1, 1.0f);

  EXPECT_NEAR(Red(raster.PixelAt(0, 0)), 64, 1);
  EXPECT_NEAR(Blue(raster.PixelAt(0, 0)), 191, 1);
  EXPECT_EQ(raster.PixelAt(1, 0), 0xFFFF0000u);
  EXPECT_NEAR(Red(raster.PixelAt(2, 0)), 32, 1);    // 0.5 alpha x 0.25 weight
  EXPECT_NEAR(Blue(raster.PixelAt(2, 0)), 255, 1);
  EXPECT_EQ(raster.PixelAt(3, 0), 0xFF0000FFu);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(raster.PixelAt(x, 0) >> 24, 255u);

  const std::uint32_t before = raster.PixelAt(1, 0);
  raster.DrawBitmap(IBitmap{}, raster.Bounds(), 1);
  for (float blend : {0.0f, -1.0f, std::nanf("")})
    raster.DrawBitmap(BitmapOf(halfWhite, 1), {1, 0, 2, 1}, 1, blend);
  EXPECT_EQ(raster.PixelAt(1, 0), before);
  EXPECT_EQ(raster.PixelAt(3, 0), 0xFF0000FFu);
}

TEST(RasterFill, BlendsTheColourAndStaysInsideTheBuffer) {
  IGraphicsRaster raster(4, 4);
  EXPECT_EQ(raster.PixelAt(0, 0), kBlack);
  EXPECT_EQ(raster.PixelAt(-1, 0), 0u);
  EXPECT_EQ(raster.PixelAt(4, 0), 0u);
  raster.FillRect({255, 255, 255, 255}, {-10, -10, 2, 2});
  raster.FillRect({128, 255, 255, 255}, {2, 2, 40, 40});
  EXPECT_EQ(raster.PixelAt(1, 1), kWhite);
  EXPECT_EQ(raster.PixelAt(2, 1), kBlack);
  EXPECT_NEAR(Red(raster.PixelAt(3, 3)), 128, 1);
  EXPECT_EQ(raster.PixelAt(3, 3) >> 24, 255u);
}

}  // namespace
