#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "art/EditorArt.h"
#include "art/IconArt.h"
#include "editor/EditorBitmaps.h"
#include "editor/PngCodec.h"

namespace {

constexpr double kPi = 3.14159265358979;


std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string CommittedPath(const EditorBitmapInfo& info, int scale) {
  return std::string(VOLTREX_SOURCE_DIR) + "/img/" + EditorImageFileName(info, scale);
}

PixelImage Committed(const EditorBitmapInfo& info, int scale = 1) {
  const std::vector<unsigned char> bytes = ReadBytes(CommittedPath(info, scale));
  PixelImage image;
  EXPECT_TRUE(DecodePng(bytes.data(), bytes.size(), image)) << info.name;
  return image;
}

// Frame k (0-based) of an image at any scale, cut where the editor cuts it.
std::vector<std::uint32_t> FrameOf(const PixelImage& image, const EditorBitmapInfo& info, int k) {
  const int frameHeight = image.height / info.frames;
  const int top = static_cast<int>((2LL * image.height * k + info.frames) / (2LL * info.frames));
  const auto first = image.pixels.begin() + static_cast<std::ptrdiff_t>(top) * image.width;
  return {first, first + static_cast<std::ptrdiff_t>(frameHeight) * image.width};
}

std::vector<std::vector<std::uint32_t>> FramesOf(const PixelImage& image, const EditorBitmapInfo& info) {
  std::vector<std::vector<std::uint32_t>> frames;
  for (int k = 0; k < info.frames; ++k) frames.push_back(FrameOf(image, info, k));
  return frames;
}

int Channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

// Where the moving part of each frame lies: the centroid of its difference from the
// picture that most frames share (the per-pixel median), seen from the frame's centre.
// Degrees, 0 straight up, clockwise positive.
std::vector<double> MovingPartAngles(const PixelImage& image, const EditorBitmapInfo& info,
                                     double pivotY) {
  const auto frames = FramesOf(image, info);
  const std::size_t pixels = frames[0].size();
  std::vector<std::uint32_t> still(pixels);
  std::vector<std::uint32_t> column(frames.size());
  for (std::size_t i = 0; i < pixels; ++i) {
    std::uint32_t p = 0;
    for (int shift : {0, 8, 16, 24}) {
      for (std::size_t k = 0; k < frames.size(); ++k) column[k] = (frames[k][i] >> shift) & 0xFF;
      std::nth_element(column.begin(), column.begin() + column.size() / 2, column.end());
      p |= column[column.size() / 2] << shift;
    }
    still[i] = p;
  }
  std::vector<double> angles;
  const double cx = image.width / 2.0;
  for (const auto& frame : frames) {
    double sx = 0, sy = 0, total = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
      double w = 0;
      for (int shift : {0, 8, 16, 24}) w += std::abs(Channel(frame[i], shift) - Channel(still[i], shift));
      const double x = static_cast<double>(i % image.width) + 0.5 - cx;
      const double y = static_cast<double>(i / image.width) + 0.5 - pivotY;
      sx += w * x;
      sy += w * y;
      total += w;
    }
    angles.push_back(total > 0 ? std::atan2(sx, -sy) * 180.0 / kPi : 0.0);
  }
  return angles;
}

bool Blank(const std::vector<std::uint32_t>& frame) {
  return std::all_of(frame.begin(), frame.end(), [](std::uint32_t p) { return (p >> 24) == 0; });
}

int DarkPixels(const std::vector<std::uint32_t>& frame) {
  return static_cast<int>(std::count_if(frame.begin(), frame.end(), [](std::uint32_t p) {
    return (p >> 24) > 200 && Channel(p, 8) < 80;
  }));
}

TEST(ArtImages, EveryCommittedImageHasTheSizeOfItsTableAndDistinctFrames) {
  for (int scale : kArtScales)
    for (const EditorBitmapInfo& info : kEditorBitmaps) {
      SCOPED_TRACE(EditorImageFileName(info, scale));
      const PixelImage image = Committed(info, scale);
      ASSERT_EQ(image.width, info.width * scale);
      ASSERT_EQ(image.height, info.height * scale);
      if (info.frames == 1) continue;
      const auto frames = FramesOf(image, info);
      const std::set<std::vector<std::uint32_t>> distinct(frames.begin(), frames.end());
      // The name strip repeats its blank frame (0 and 27 to 30); every other strip shows a
      // different picture in each frame.
      const std::size_t expected = info.id == 139 ? 27u : static_cast<std::size_t>(info.frames);
      EXPECT_EQ(distinct.size(), expected);
    }
}

// The twice-size set is the same picture: reduced by averaging each 2 x 2 block it stays
// close to the 1x image (text and edges are drawn afresh, so not equal).
TEST(ArtImages, TheTwiceSizeSetReducesToTheEditorSizeSet) {
  for (const EditorBitmapInfo& info : kEditorBitmaps) {
    SCOPED_TRACE(info.name);
    const PixelImage small = Committed(info), large = Committed(info, 2);
    double sum = 0;
    for (int y = 0; y < small.height; ++y)
      for (int x = 0; x < small.width; ++x)
        for (int shift : {0, 8, 16, 24}) {
          int block = 0;
          for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
              block += Channel(large.pixels[static_cast<std::size_t>(2 * y + dy) * large.width + 2 * x + dx], shift);
          sum += std::abs(block / 4.0 - Channel(small.pixels[static_cast<std::size_t>(y) * small.width + x], shift));
        }
    EXPECT_LT(sum / (4.0 * small.width * small.height), 6.0);
  }
}

TEST(ArtImages, TheProgramRedrawsTheCommittedFilesByteForByte) {
  char folder[] = "/tmp/voltrex-art-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string failed;
  ASSERT_TRUE(WriteEditorImages(folder, failed)) << failed;
  for (int scale : kArtScales)
    for (const EditorBitmapInfo& info : kEditorBitmaps) {
      const std::string drawn = std::string(folder) + "/" + EditorImageFileName(info, scale);
      EXPECT_TRUE(ReadBytes(drawn) == ReadBytes(CommittedPath(info, scale)))
          << drawn << " differs from the committed image: run voltrex_art img";
      std::filesystem::remove(drawn);
    }
  ASSERT_TRUE(WriteAppIcon(folder));
  const std::string icon = std::string(folder) + "/voltrex_icon.png";
  EXPECT_TRUE(ReadBytes(icon) == ReadBytes(std::string(VOLTREX_SOURCE_DIR) + "/img/voltrex_icon.png"))
      << "img/voltrex_icon.png differs from the program's drawing: run voltrex_art img";
  std::filesystem::remove(icon);
  std::filesystem::remove(folder);
}

TEST(ArtImages, KnobsPointFromSevenToFiveOClockThroughTwelve) {
  for (int id : {117, 118, 120, 121, 122, 123, 124, 125, 126, 127, 128}) {
    const EditorBitmapInfo& info = *FindEditorBitmap(id);
    SCOPED_TRACE(info.name);
    const PixelImage image = Committed(info);
    const double frameHeight = info.height / info.frames;
    const std::vector<double> angles = MovingPartAngles(image, info, frameHeight / 2.0);
    EXPECT_NEAR(angles.front(), -150.0, 5.0);
    EXPECT_NEAR(angles.back(), 150.0, 5.0);
    if (info.frames % 2 == 1) {
      EXPECT_NEAR(angles[info.frames / 2], 0.0, 5.0);
    }
    for (std::size_t k = 1; k < angles.size(); ++k) EXPECT_GT(angles[k], angles[k - 1]);
  }
}

TEST(ArtImages, TheTunerNeedleSwingsFromLeftThroughTheMiddleToRight) {
  const EditorBitmapInfo& info = *FindEditorBitmap(145);
  const PixelImage image = Committed(info);
  const double frameHeight = info.height / info.frames;
  const std::vector<double> angles = MovingPartAngles(image, info, frameHeight - 3.0);
  EXPECT_LT(angles.front(), -30.0);
  EXPECT_GT(angles.back(), 30.0);
  EXPECT_NEAR(angles[19], 0.0, 5.0);
  EXPECT_NEAR(angles[20], 0.0, 5.0);
}

TEST(ArtImages, TheValueBarFillsFromEmptyToFull) {
  const EditorBitmapInfo& info = *FindEditorBitmap(140);
  const auto frames = FramesOf(Committed(info), info);
  EXPECT_EQ(DarkPixels(frames.front()), 0);
  for (std::size_t k = 1; k < frames.size(); ++k) EXPECT_GT(DarkPixels(frames[k]), DarkPixels(frames[k - 1]));
}

TEST(ArtImages, TheNameStripIsBlankExactlyWhereNoParameterIsNamed) {
  const EditorBitmapInfo& info = *FindEditorBitmap(139);
  const auto frames = FramesOf(Committed(info), info);
  for (int k = 0; k < info.frames; ++k) EXPECT_EQ(Blank(frames[k]), k == 0 || k >= 27) << "frame " << k;
}

}  // namespace
