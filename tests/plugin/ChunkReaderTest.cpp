// The byte chunk: appends and reads at positions, with -1 for anything past the end.
#include <gtest/gtest.h>

#include <climits>

#include "plugin/ByteChunk.h"

namespace {

TEST(ByteChunkTest, ValuesComeBackInOrder) {
  ByteChunk chunk;
  chunk.Put(int32_t(0x70666674));
  chunk.Put(2.5);
  chunk.PutString("path");
  EXPECT_EQ(chunk.Size(), 4 + 8 + 4 + 4);
  EXPECT_EQ(chunk.Data()[0], 0x74);  // little-endian
  int32_t magic = 0;
  double value = 0.0;
  int32_t length = 0;
  int pos = chunk.Get(magic, 0);
  pos = chunk.Get(value, pos);
  pos = chunk.Get(length, pos);
  EXPECT_EQ(magic, 0x70666674);
  EXPECT_EQ(value, 2.5);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(pos, 16);
}

TEST(ByteChunkTest, ReadsPastTheEndFailAndStayFailed) {
  ByteChunk chunk;
  chunk.Put(int32_t(7));
  double value = 1.0;
  EXPECT_EQ(chunk.Get(value, 0), -1);
  EXPECT_EQ(value, 1.0);  // nothing written on failure
  int32_t n = 0;
  EXPECT_EQ(chunk.Get(n, -1), -1);
  EXPECT_EQ(chunk.Get(n, 1), -1);
  EXPECT_EQ(chunk.Get(n, INT_MAX), -1);
  EXPECT_EQ(chunk.GetBytes(&n, -4, 0), -1);
  EXPECT_FALSE(chunk.Holds(INT_MAX, INT_MAX));
  EXPECT_TRUE(chunk.Holds(4, 0));
  EXPECT_FALSE(chunk.Holds(5, 0));
}

TEST(ByteChunkTest, ResizeAndClear) {
  ByteChunk chunk;
  chunk.Resize(12);
  EXPECT_EQ(chunk.Size(), 12);
  chunk.Resize(-3);
  EXPECT_EQ(chunk.Size(), 0);
  chunk.Put(1.0);
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
}

}  // namespace
