#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "editor/IGraphicsRaster.h"

namespace {

struct InkBox {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;   // last inked column
  int bottom = -1;  // last inked row
  int pixels = 0;
  bool Empty() const { return pixels == 0; }
};

// Text is drawn dark on white, each line on a fresh page; a pixel counts as ink where it
// is clearly darkened.
class RasterText : public testing::Test {
 protected:
  RasterText() : raster_(200, 60) {}

  InkBox Draw(std::string_view text, const IRect& rect, ITextAlign align = ITextAlign::Left,
              ITextStyle weight = ITextStyle::Normal) {
    IText style;
    style.align = align;
    style.style = weight;
    raster_.FillRect({255, 255, 255, 255}, raster_.Bounds());
    EXPECT_TRUE(raster_.DrawIText(style, text, rect));
    return Ink();
  }

  InkBox Ink() const {
    InkBox box;
    for (int y = 0; y < raster_.Height(); ++y)
      for (int x = 0; x < raster_.Width(); ++x)
        if (((raster_.PixelAt(x, y) >> 8) & 0xFF) < 160) {
          box.left = std::min(box.left, x);
          box.right = std::max(box.right, x);
          box.top = std::min(box.top, y);
          box.bottom = std::max(box.bottom, y);
          ++box.pixels;
        }
    return box;
  }

  IGraphicsRaster raster_;
};

TEST_F(RasterText, ArialOf14PixelsSitsInItsLineCellAndEachLineBreakMovesDownACell) {
  const InkBox box = Draw("Hg Voltrex", {20, 10, 180, 26});
  ASSERT_FALSE(box.Empty());
  EXPECT_GE(box.left, 20);
  EXPECT_LE(box.left, 23);
  EXPECT_GE(box.top, 10);
  EXPECT_LE(box.top, 14);
  EXPECT_LT(box.bottom, 10 + 14);
  // Capital H of a 14-pixel cell is 9 or 10 pixels tall; the descender of g reaches lower.
  EXPECT_GE(box.bottom - box.top + 1, 11);
  EXPECT_GT(box.right - box.left, 50);
  EXPECT_LT(box.right - box.left, 90);

  const InkBox one = Draw("TOP", {10, 5, 100, 21});
  const InkBox two = Draw("\nTOP", {10, 5, 100, 21});
  EXPECT_EQ(two.top, one.top + 14);
  EXPECT_EQ(two.left, one.left);
  EXPECT_EQ(two.pixels, one.pixels);
  // Nor is a line cut at the rectangle's end.
  EXPECT_GT(Draw("A long file name.wav", {10, 10, 30, 26}).right, 60);
}

TEST_F(RasterText, AlignmentPlacesTheLineInTheRectangle) {
  const IRect rect{40, 20, 160, 36};
  const InkBox centred = Draw("NEXT", rect, ITextAlign::Center);
  ASSERT_FALSE(centred.Empty());
  EXPECT_NEAR((centred.left + centred.right + 1) / 2, (rect.L + rect.R) / 2, 2);
  const InkBox right = Draw("NEXT", rect, ITextAlign::Right);
  EXPECT_LE(right.right, rect.R);
  EXPECT_GE(right.right, rect.R - 3);
  EXPECT_EQ(right.right - right.left, centred.right - centred.left);
}

TEST_F(RasterText, BoldInksMoreAndTheStylesColourIsUsed) {
  const IRect rect{10, 5, 190, 21};
  EXPECT_GT(Draw("Threshold", rect, ITextAlign::Left, ITextStyle::Bold).pixels,
            Draw("Threshold", rect).pixels);

  IText red;
  red.color = {255, 255, 0, 0};
  raster_.FillRect({255, 255, 255, 255}, raster_.Bounds());
  ASSERT_TRUE(raster_.DrawIText(red, "MMMM", rect));
  int reddest = 0;
  for (int y = rect.T; y < rect.B; ++y)
    for (int x = rect.L; x < rect.R; ++x) {
      const std::uint32_t p = raster_.PixelAt(x, y);
      EXPECT_EQ((p >> 16) & 0xFF, 255u);
      reddest = std::max(reddest, 255 - static_cast<int>(p & 0xFF));
    }
  EXPECT_GT(reddest, 200);
}

TEST_F(RasterText, NonAsciiAndBrokenUtf8AreDrawnAndEmptyOrRotatedTextLeavesTheBufferAlone) {
  EXPECT_FALSE(Draw("Gr\xC3\xBC\xC3\x9F", {10, 10, 190, 26}).Empty());
  EXPECT_FALSE(Draw("bad \xC3 end \xFF", {10, 10, 190, 26}).Empty());
  EXPECT_TRUE(Draw("", {0, 0, 200, 60}, ITextAlign::Center).Empty());
  EXPECT_TRUE(Draw("\n\n", {0, 0, 200, 60}, ITextAlign::Center).Empty());
  IText rotated;
  rotated.orientation = 90;
  EXPECT_FALSE(raster_.DrawIText(rotated, "Side", {0, 0, 200, 60}));
  EXPECT_TRUE(Ink().Empty());
}

}  // namespace
