#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "editor/BitmapCache.h"
#include "editor/BitmapLoader.h"
#include "editor/EditorBitmaps.h"
#include "platform/Resources.h"

namespace {

TEST(EditorBitmaps, EveryImageIsCompiledInWithTheSizeAndFramesOfItsTable) {
  std::set<int> ids;
  for (const EditorBitmapInfo& info : kEditorBitmaps) {
    SCOPED_TRACE(info.name);
    ids.insert(info.id);
    const IBitmap bitmap = LoadIBitmap(info.id, info.name, info.frames);
    ASSERT_TRUE(bitmap.Loaded());
    EXPECT_EQ(bitmap.W, info.width);
    EXPECT_EQ(bitmap.H, info.height);
    EXPECT_EQ(bitmap.N, info.frames);
    EXPECT_EQ(FindEditorBitmap(info.id), &info);
  }
  EXPECT_EQ(ids.size(), 50u);
  EXPECT_EQ(*ids.begin(), 100);
  EXPECT_EQ(*ids.rbegin(), 149);
}

TEST(BitmapCache, DecodesEachImageOnceAndSharesItAcrossLoadsAndThreads) {
  const IBitmap first = LoadIBitmap(127, "img/voltrex_knob_001.png", 53);
  const IBitmap again = LoadIBitmap(127, "img/voltrex_knob_001.png", 53);
  EXPECT_EQ(first.image, again.image);
  // A second editor may ask for other frames of the same image; the pixels stay shared.
  EXPECT_EQ(LoadIBitmap(127, "img/voltrex_knob_001.png", 1).image, first.image);

  constexpr int kThreads = 4;
  std::vector<const PixelImage*> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&seen, t] { seen[t] = CachedImage(141, "img/voltrex_about.png"); });
  for (std::thread& thread : threads) thread.join();
  for (const PixelImage* image : seen) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image, seen[0]);
  }
}

// Every image has a twin of twice the size compiled in; editors at 2x draw it and at 1.5x
// a resizing of it that covers 1.5 times the 1x frames. Each is made once.
TEST(BitmapCache, EveryImageHasItsTwiceSizeTwinAndOneAndAHalfTimesFromIt) {
  for (const EditorBitmapInfo& info : kEditorBitmaps) {
    SCOPED_TRACE(info.name);
    const IBitmap bitmap = LoadIBitmap(info.id, info.name, info.frames);
    EXPECT_EQ(CachedImageAt(bitmap.image, info.frames, 1.0f), bitmap.image);
    const PixelImage* twice = CachedImageAt(bitmap.image, info.frames, 2.0f);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice->width, 2 * info.width);
    EXPECT_EQ(twice->height, 2 * info.height);
    EXPECT_EQ(CachedImageAt(bitmap.image, info.frames, 2.0f), twice);
  }
  for (int id : {100, 127, 131, 147}) {
    const EditorBitmapInfo& info = *FindEditorBitmap(id);
    SCOPED_TRACE(info.name);
    const IBitmap bitmap = LoadIBitmap(info.id, info.name, info.frames);
    const PixelImage* threeHalves = CachedImageAt(bitmap.image, info.frames, 1.5f);
    ASSERT_NE(threeHalves, nullptr);
    EXPECT_EQ(threeHalves->width, (3 * info.width + 1) / 2);
    EXPECT_GE(threeHalves->height / info.frames, (3 * bitmap.FrameHeight() + 1) / 2);
    EXPECT_EQ(threeHalves->height % info.frames, 0);
    EXPECT_EQ(CachedImageAt(bitmap.image, info.frames, 1.5f), threeHalves);
  }
  const PixelImage elsewhere{1, 1, {0xFF000000u}};
  EXPECT_EQ(CachedImageAt(&elsewhere, 1, 2.0f), nullptr);
  EXPECT_EQ(CachedImageAt(LoadIBitmap(100, "img/background.png", 1).image, 1, 3.0f), nullptr);
}

TEST(BitmapCache, MissingResourceIsAnAssertionAndYieldsAnEmptyBitmap) {
  for (int id : {99, 150}) EXPECT_EQ(platform::FindImageResource(id).data, nullptr) << id;
  IBitmap bitmap;
  EXPECT_DEBUG_DEATH(bitmap = LoadIBitmap(99, "img/missing.png", 1), "imgResourceFound");
#ifdef NDEBUG
  EXPECT_FALSE(bitmap.Loaded());
  EXPECT_EQ(bitmap.W, 0);
  EXPECT_EQ(bitmap.H, 0);
  // A failure is not remembered: nothing is cached for the number.
  EXPECT_EQ(CachedImage(99, "img/missing.png"), nullptr);
#endif
}

}  // namespace
