// Counts heap allocations with a replaced global operator new: after the first block, the
// audio chain's calls on the convolver must allocate nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "cabinet/PartitionedConvolver.h"

namespace {
std::atomic<long> gAllocations{0};
}

void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

void RunBlocks(PartitionedConvolver& convolver, const std::vector<double>& input, int blockSize, int blocks,
               long& allocationsAfterFirst) {
  for (int b = 0; b < blocks; ++b) {
    if (b == 1) allocationsAfterFirst = gAllocations;
    const double* in = input.data() + (static_cast<size_t>(b) * blockSize) % (input.size() - blockSize);
    convolver.PushSamples(in, blockSize);
    const int m = std::min(blockSize, convolver.ProduceOutput(blockSize));
    convolver.ConsumeOutput(m);
  }
}

TEST(ConvolverAllocation, NoneAfterTheFirstBlock) {
  std::vector<double> response(48000), input(200000);
  for (size_t i = 0; i < response.size(); ++i) response[i] = std::sin(0.37 * i) * std::exp(-5e-5 * i);
  for (size_t i = 0; i < input.size(); ++i) input[i] = std::sin(0.01 * i) * ((i / 5000) % 3 ? 1.0 : 0.0);
  ImpulseBuffer impulse;
  impulse.SetLength(static_cast<int>(response.size()));
  std::copy(response.begin(), response.end(), impulse.Channel(0));
  for (int blockSize : {1, 64, 256, 1000, 4096}) {
    PartitionedConvolver convolver;
    convolver.SetMaxBlockSize(blockSize);
    convolver.LoadImpulse(impulse);
    long before = 0;
    RunBlocks(convolver, input, blockSize, std::max(200, 200000 / blockSize), before);
    EXPECT_EQ(gAllocations - before, 0) << "block " << blockSize;
  }
}

TEST(ConvolverAllocation, NoneAtAllWhenReservedAheadOfTheFirstBlock) {
  ImpulseBuffer impulse;
  impulse.SetLength(20000);
  for (int i = 0; i < 20000; ++i) impulse.Channel(0)[i] = std::exp(-1e-3 * i);
  PartitionedConvolver convolver;
  convolver.SetMaxBlockSize(512);
  convolver.LoadImpulse(impulse);
  std::vector<double> input(100000, 0.5);
  const long before = gAllocations;
  long ignored = 0;
  RunBlocks(convolver, input, 512, 300, ignored);
  EXPECT_EQ(gAllocations - before, 0);
}

}  // namespace
