#include "cabinet/SampleQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SampleQueue, KeepsOrderAcrossCompaction) {
  SampleQueue queue;
  std::vector<double> expected;
  double next = 0.0;
  double check = 0.0;
  for (int round = 0; round < 200; ++round) {
    const int push = 1 + round % 37, pop = round % 29;
    std::vector<double> block(push);
    for (double& x : block) x = next++;
    queue.Append(block.data(), push);
    const int take = std::min(pop, queue.Available());
    for (int i = 0; i < take; ++i) ASSERT_EQ(queue.Data()[i], check + i);
    queue.Consume(take);
    check += take;
  }
  EXPECT_EQ(queue.Available(), static_cast<int>(next - check));
}

TEST(SampleQueue, NullSourceAppendsZerosAndConsumeIsClamped) {
  SampleQueue queue;
  const double one = 1.0;
  queue.Append(&one, 1);
  queue.Append(nullptr, 3);
  ASSERT_EQ(queue.Available(), 4);
  EXPECT_EQ(queue.Data()[0], 1.0);
  EXPECT_EQ(queue.Data()[3], 0.0);
  queue.Consume(10);
  EXPECT_EQ(queue.Available(), 0);
}

}  // namespace
