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
