#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "editor/IGraphicsRaster.h"
#include "editor/ImageDecoder.h"
#include "editor/PngCodec.h"
#include "editor/RasterPng.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A JPEG made by libjpeg: `components` bytes per pixel of the given colour space.
Bytes MakeJpeg(int width, int height, J_COLOR_SPACE space, int components,
               const std::vector<unsigned char>& samples) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * width * components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes jpeg(buffer, buffer + size);
  std::free(buffer);
  return jpeg;
}

// A red left half and a blue right half.
Bytes RedBlueJpeg(int width, int height) {
  std::vector<unsigned char> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      rgb.insert(rgb.end(), {static_cast<unsigned char>(left ? 255 : 0), 0,
                             static_cast<unsigned char>(left ? 0 : 255)});
    }
  return MakeJpeg(width, height, JCS_RGB, 3, rgb);
}

void ExpectNear(std::uint32_t pixel, int r, int g, int b, int tolerance) {
  EXPECT_EQ(pixel >> 24, 255u);
  EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), r, tolerance);
  EXPECT_NEAR(static_cast<int>((pixel >> 8) & 0xFF), g, tolerance);
  EXPECT_NEAR(static_cast<int>(pixel & 0xFF), b, tolerance);
}

TEST(ImageDecoder, DecodesColourAndGreyJpegByItsExtensionInAnyLetterCase) {
  const Bytes jpeg = RedBlueJpeg(32, 16);
  for (const char* name : {"photo.jpg", "img/photo.jpeg", "PHOTO.JPEG"}) {
    SCOPED_TRACE(name);
    PixelImage image;
    ASSERT_TRUE(DecodeImage(name, jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 16);
    ASSERT_EQ(image.pixels.size(), 32u * 16u);
    ExpectNear(image.pixels[8 * 32 + 4], 255, 0, 0, 12);
    ExpectNear(image.pixels[8 * 32 + 27], 0, 0, 255, 12);
  }
  const Bytes grey = MakeJpeg(8, 8, JCS_GRAYSCALE, 1, std::vector<unsigned char>(64, 128));
  PixelImage image;
  ASSERT_TRUE(DecodeImage("grey.jpg", grey.data(), grey.size(), image));
  for (std::uint32_t p : image.pixels) ExpectNear(p, 128, 128, 128, 2);
}

TEST(ImageDecoder, RefusesOtherExtensionsMismatchedAndDamagedDataAndLeavesTheImageAlone) {
  const Bytes jpeg = RedBlueJpeg(64, 64);
  const std::uint32_t pixels[2] = {0xFF102030u, 0xFFA0B0C0u};
  Bytes png;
  ASSERT_TRUE(EncodePng(pixels, 2, 1, png));
  PixelImage image;
  image.width = 7;
  EXPECT_FALSE(DecodeImage("image.gif", png.data(), png.size(), image));
  EXPECT_FALSE(DecodeImage("png", png.data(), png.size(), image));
  EXPECT_FALSE(DecodeImage("image.jpg", png.data(), png.size(), image));
  EXPECT_FALSE(DecodeImage("image.png", jpeg.data(), jpeg.size(), image));
  for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{40}, jpeg.size() / 2}) {
    SCOPED_TRACE(cut);
    EXPECT_FALSE(DecodeImage("cut.jpg", jpeg.data(), cut, image));
  }
  EXPECT_FALSE(DecodeImage("cut.png", png.data(), png.size() - 20, image));
  EXPECT_FALSE(DecodeImage("null.png", nullptr, 100, image));
  Bytes garbage(300, 0x5A);
  EXPECT_FALSE(DecodeImage("garbage.jpg", garbage.data(), garbage.size(), image));
  EXPECT_EQ(image.width, 7);
  EXPECT_TRUE(image.pixels.empty());
  EXPECT_TRUE(DecodeImage("image.png", png.data(), png.size(), image));
}

TEST(PngCodec, TranslucentPixelsArePremultipliedOnDecoding) {
  // Written by libpng directly with straight alpha: white at half opacity, then clear red.
  const unsigned char rgba[8] = {255, 255, 255, 128, 255, 0, 0, 0};
  png_image layout{};
  layout.version = PNG_IMAGE_VERSION;
  layout.width = 2;
  layout.height = 1;
  layout.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&layout, nullptr, &size, 0, rgba, 0, nullptr));
  Bytes png(size);
  ASSERT_TRUE(png_image_write_to_memory(&layout, png.data(), &size, 0, rgba, 0, nullptr));
  PixelImage image;
  ASSERT_TRUE(DecodePng(png.data(), size, image));
  EXPECT_EQ(image.pixels[0], 0x80808080u);
  EXPECT_EQ(image.pixels[1], 0x00000000u);
}

// Straight through the codec, translucent pixels included, and as the editor's back buffer
// written to a file.
TEST(PngCodec, EncodingAndDecodingKeepThePixels) {
  const std::vector<std::uint32_t> pixels = {0xFF000000u, 0xFFFFFFFFu, 0xFF123456u,
                                             0x80402010u, 0x00000000u, 0xFFFF0000u};
  Bytes png;
  ASSERT_TRUE(EncodePng(pixels.data(), 3, 2, png));
  PixelImage image;
  ASSERT_TRUE(DecodePng(png.data(), png.size(), image));
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    SCOPED_TRACE(i);
    for (int shift = 0; shift < 32; shift += 8)
      EXPECT_NEAR(static_cast<int>((image.pixels[i] >> shift) & 0xFF),
                  static_cast<int>((pixels[i] >> shift) & 0xFF), 1);
  }
  EXPECT_FALSE(EncodePng(pixels.data(), 0, 2, png));

  IGraphicsRaster raster(7, 5);
  raster.FillRect({255, 200, 100, 50}, {1, 1, 6, 4});
  raster.FillRect({128, 0, 0, 255}, {3, 0, 7, 5});
  const std::string path = testing::TempDir() + "raster-roundtrip.png";
  ASSERT_TRUE(WriteRasterPng(raster, path));
  std::ifstream file(path, std::ios::binary);
  png.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  ASSERT_TRUE(DecodePng(png.data(), png.size(), image));
  ASSERT_EQ(image.width, 7);
  ASSERT_EQ(image.height, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(image.pixels[y * 7 + x], raster.PixelAt(x, y));
  EXPECT_FALSE(WriteRasterPng(raster, testing::TempDir() + "no-such-folder/x.png"));
}

}  // namespace
