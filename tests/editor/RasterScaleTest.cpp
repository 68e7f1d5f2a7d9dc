// The raster at 1.5x and 2x: every operation lands where the 1x one does, scaled, with
// lines as wide as an editor pixel and text set at the larger size; and the frame-by-frame
// resizing that makes the 1.5x images.
#include <gtest/gtest.h>

#include <cstdint>

#include "editor/IGraphicsRaster.h"
#include "editor/ImageResample.h"

namespace {

constexpr IColor kWhiteInk{255, 255, 255, 255};

int Green(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }

// The ink of a rectangle of the buffer, in whole pixels.
double InkIn(const IGraphicsRaster& raster, const IRect& r) {
  double ink = 0;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x) ink += Green(raster.PixelAt(x, y)) / 255.0;
  return ink;
}

TEST(RasterScale, TheBufferRectanglesAndFillsScaleWithTheEditor) {
  for (float scale : {1.0f, 1.5f, 2.0f}) {
    SCOPED_TRACE(scale);
    IGraphicsRaster raster(40, 30, scale);
    EXPECT_EQ(raster.Width(), static_cast<int>(40 * scale));
    EXPECT_EQ(raster.Height(), static_cast<int>(30 * scale));
    raster.FillRect(kWhiteInk, {4, 6, 10, 12});
    const IRect filled = raster.ToBuffer({4, 6, 10, 12});
    EXPECT_EQ(filled, (IRect{int(4 * scale), int(6 * scale), int(10 * scale), int(12 * scale)}));
    EXPECT_DOUBLE_EQ(InkIn(raster, raster.Bounds()), filled.W() * filled.H());
    EXPECT_DOUBLE_EQ(InkIn(raster, filled), filled.W() * filled.H());
  }
}

// A line covers an editor pixel's width along its whole length: scale times the 1x ink
// per unit of length, which grows by the scale too.
TEST(RasterScale, LinesAreOneEditorPixelWideAndLieWhereTheyDoAt1x) {
  for (float scale : {1.5f, 2.0f}) {
    SCOPED_TRACE(scale);
    IGraphicsRaster raster(40, 40, scale);
    raster.DrawLine(kWhiteInk, 5, 10, 30, 10);
    raster.DrawLine(kWhiteInk, 20, 20, 32, 38);
    IGraphicsRaster single(40, 40);
    single.DrawLine(kWhiteInk, 5, 10, 30, 10);
    single.DrawLine(kWhiteInk, 20, 20, 32, 38);
    EXPECT_NEAR(InkIn(raster, raster.Bounds()), InkIn(single, single.Bounds()) * scale * scale,
                0.04 * InkIn(raster, raster.Bounds()));
    // The horizontal line's ink sits on editor row 10, nowhere else.
    const IRect row = raster.ToBuffer({0, 10, 40, 11});
    EXPECT_NEAR(InkIn(raster, row), 26 * scale * scale, 0.5);
  }
}

TEST(RasterScale, ABitmapWithoutImagesOfItsOwnIsEnlargedPixelForPixel) {
  PixelImage image{2, 4, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu,
                          0xFF000000u, 0xFF808080u, 0xFF404040u, 0xFF202020u}};
  const IBitmap bitmap{&image, 2, 4, 2};
  IGraphicsRaster raster(10, 10, 2.0f);
  raster.DrawBitmap(bitmap, {3, 4, 5, 6}, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(raster.PixelAt(6 + x, 8 + y), image.pixels[static_cast<std::size_t>(2 + y / 2) * 2 + x / 2]) << x << "," << y;
  EXPECT_EQ(raster.PixelAt(5, 8), 0xFF000000u);
  EXPECT_EQ(raster.PixelAt(10, 8), 0xFF000000u);
}

// The rows that hold ink: the height of the text.
int InkedRows(const IGraphicsRaster& raster) {
  int rows = 0;
  for (int y = 0; y < raster.Height(); ++y) rows += InkIn(raster, {0, y, raster.Width(), y + 1}) > 0.0;
  return rows;
}

// Text is set at the scaled size: scale times as tall (the font engine's hinting makes the
// ink of small sizes differ by more than the scale alone says), starting where the 1x text
// starts.
TEST(RasterScale, TextIsSetAtTheScaledSize) {
  IText style;
  style.color = kWhiteInk;
  style.align = ITextAlign::Left;
  IGraphicsRaster single(100, 30);
  ASSERT_TRUE(single.DrawIText(style, "Clean 1", {10, 5, 90, 25}));
  for (float scale : {1.5f, 2.0f}) {
    SCOPED_TRACE(scale);
    IGraphicsRaster raster(100, 30, scale);
    ASSERT_TRUE(raster.DrawIText(style, "Clean 1", {10, 5, 90, 25}));
    const double ratio = InkIn(raster, raster.Bounds()) / InkIn(single, single.Bounds());
    EXPECT_NEAR(ratio, scale * scale, 0.4 * scale * scale);
    EXPECT_NEAR(InkedRows(raster), InkedRows(single) * scale, scale + 1.0f);
    EXPECT_EQ(InkIn(raster, {0, 0, raster.ToBuffer({0, 0, 10, 1}).R - 1, raster.Height()}), 0.0);
  }
}

// Each frame is resized on its own: frames keep their colours without bleeding, and the
// sizes are rounded up.
TEST(ImageResample, FramesAreResizedApartAndUniformAreasStayUniform) {
  constexpr std::uint32_t kColours[] = {0xFFFF0000u, 0x80004000u, 0xFF0000FFu};
  PixelImage strip{10, 3 * 8, {}};
  for (std::uint32_t colour : kColours) strip.pixels.insert(strip.pixels.end(), 10 * 8, colour);
  const PixelImage resized = ResizeFrames(strip, 3, 0.75);
  ASSERT_EQ(resized.width, 8);
  ASSERT_EQ(resized.height, 3 * 6);
  for (int y = 0; y < resized.height; ++y)
    for (int x = 0; x < resized.width; ++x)
      ASSERT_EQ(resized.pixels[static_cast<std::size_t>(y) * 8 + x], kColours[y / 6]) << x << "," << y;
  EXPECT_TRUE(ResizeFrames(strip, 0, 0.75).pixels.empty());
  EXPECT_TRUE(ResizeFrames(strip, 3, 0.0).pixels.empty());
}

}  // namespace
