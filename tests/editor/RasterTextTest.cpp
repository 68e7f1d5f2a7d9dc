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

// Text is drawn dark on white; a pixel counts as ink where it is clearly darkened.
InkBox FindInk(const IGraphicsRaster& raster) {
  InkBox box;
  for (int y = 0; y < raster.Height(); ++y)
    for (int x = 0; x < raster.Width(); ++x)
      if (((raster.PixelAt(x, y) >> 8) & 0xFF) < 160) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
        ++box.pixels;
      }
  return box;
}

class RasterText : public testing::Test {
 protected:
  RasterText() : raster_(200, 60) { raster_.FillRect({255, 255, 255, 255}, raster_.Bounds()); }

  InkBox Draw(std::string_view text, ITextAlign align, const IRect& rect,
              ITextStyle weight = ITextStyle::Normal) {
    IText style;
    style.align = align;
    style.style = weight;
    EXPECT_TRUE(raster_.DrawIText(style, text, rect));
    return FindInk(raster_);
  }

  IGraphicsRaster raster_;
};

TEST_F(RasterText, ArialOf14PixelsSitsInsideItsLineCell) {
  const IRect rect{20, 10, 180, 26};
  const InkBox box = Draw("Hg Voltrex", ITextAlign::Left, rect);
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
}

TEST_F(RasterText, AlignmentPlacesTheLineInTheRectangle) {
  const IRect rect{40, 20, 160, 36};
  const InkBox centred = Draw("NEXT", ITextAlign::Center, rect);
  ASSERT_FALSE(centred.Empty());
  const int middle = (centred.left + centred.right + 1) / 2;
  EXPECT_NEAR(middle, (rect.L + rect.R) / 2, 2);

  raster_.FillRect({255, 255, 255, 255}, raster_.Bounds());
  const InkBox right = Draw("NEXT", ITextAlign::Right, rect);
  EXPECT_LE(right.right, rect.R);
  EXPECT_GE(right.right, rect.R - 3);
  EXPECT_EQ(right.right - right.left, centred.right - centred.left);
}

TEST_F(RasterText, EachLineBreakMovesDownOneCell) {
  const InkBox one = Draw("TOP", ITextAlign::Left, {10, 5, 100, 21});
  raster_.FillRect({255, 255, 255, 255}, raster_.Bounds());
  const InkBox two = Draw("\nTOP", ITextAlign::Left, {10, 5, 100, 21});
  EXPECT_EQ(two.top, one.top + 14);
  EXPECT_EQ(two.left, one.left);
  EXPECT_EQ(two.pixels, one.pixels);
}

TEST_F(RasterText, IsNotClippedToTheRectangle) {
  const InkBox box = Draw("A long file name.wav", ITextAlign::Left, {10, 10, 30, 26});
  EXPECT_GT(box.right, 60);
}

TEST_F(RasterText, BoldInksMoreThanNormal) {
  const InkBox normal = Draw("Threshold", ITextAlign::Left, {10, 5, 190, 21});
  raster_.FillRect({255, 255, 255, 255}, raster_.Bounds());
  const InkBox bold = Draw("Threshold", ITextAlign::Left, {10, 5, 190, 21}, ITextStyle::Bold);
  EXPECT_GT(bold.pixels, normal.pixels);
}

TEST_F(RasterText, UsesTheStylesColour) {
  IText red;
  red.color = {255, 255, 0, 0};
  ASSERT_TRUE(raster_.DrawIText(red, "MMMM", {10, 10, 190, 26}));
  int reddest = 0;
  for (int y = 10; y < 26; ++y)
    for (int x = 10; x < 190; ++x) {
      const std::uint32_t p = raster_.PixelAt(x, y);
      EXPECT_EQ((p >> 16) & 0xFF, 255u);
      reddest = std::max(reddest, 255 - static_cast<int>(p & 0xFF));
    }
  EXPECT_GT(reddest, 200);
}

TEST_F(RasterText, EmptyAndUndrawableTextLeaveTheBufferAlone) {
  EXPECT_TRUE(Draw("", ITextAlign::Center, {0, 0, 200, 60}).Empty());
  EXPECT_TRUE(Draw("\n\n", ITextAlign::Center, {0, 0, 200, 60}).Empty());
  IText rotated;
  rotated.orientation = 90;
  EXPECT_FALSE(raster_.DrawIText(rotated, "Side", {0, 0, 200, 60}));
  EXPECT_TRUE(FindInk(raster_).Empty());
}

TEST_F(RasterText, NonAsciiAndBrokenUtf8AreDrawn) {
  EXPECT_FALSE(Draw("Gr\xC3\xBC\xC3\x9F", ITextAlign::Left, {10, 10, 190, 26}).Empty());
  raster_.FillRect({255, 255, 255, 255}, raster_.Bounds());
  EXPECT_FALSE(Draw("bad \xC3 end \xFF", ITextAlign::Left, {10, 10, 190, 26}).Empty());
}

}  // namespace
