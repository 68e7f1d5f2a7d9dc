// Counts heap allocations with a replaced global operator new: once the response is loaded
// and the block size announced, the audio chain's calls on the convolver allocate nothing.
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

TEST(ConvolverAllocation, NoneFromTheFirstBlockOn) {
  std::vector<double> input(200000);
  for (size_t i = 0; i < input.size(); ++i) input[i] = std::sin(0.01 * i) * ((i / 5000) % 3 ? 1.0 : 0.0);
  ImpulseBuffer impulse;
  impulse.SetLength(48000);
  for (int i = 0; i < impulse.Length(); ++i) impulse.Channel(0)[i] = std::sin(0.37 * i) * std::exp(-5e-5 * i);
  for (int blockSize : {1, 64, 512, 1000, 4096, 32768}) {
    PartitionedConvolver convolver;
    convolver.LoadImpulse(impulse);  // sized for the default block
    convolver.SetMaxBlockSize(blockSize);
    const long before = gAllocations;
    for (int b = 0; b < std::max(24, 200000 / blockSize); ++b) {
      const double* in = input.data() + (static_cast<size_t>(b) * blockSize) % (input.size() - blockSize);
      convolver.PushSamples(in, blockSize);
      convolver.ConsumeOutput(std::min(blockSize, convolver.ProduceOutput(blockSize)));
    }
    EXPECT_EQ(gAllocations - before, 0) << "block " << blockSize;
  }
}

// Before any response is loaded (the impulse stage switched on with no file), the
// convolver passes silence on, still without allocating.
TEST(ConvolverAllocation, NoneWithoutAResponse) {
  const std::vector<double> input(4096, 0.25);
  for (int blockSize : {1, 64, 4096}) {
    PartitionedConvolver convolver;
    convolver.SetMaxBlockSize(blockSize);
    const long before = gAllocations;
    for (int b = 0; b < 16; ++b) {
      convolver.PushSamples(input.data(), blockSize);
      convolver.ConsumeOutput(std::min(blockSize, convolver.ProduceOutput(blockSize)));
    }
    EXPECT_EQ(gAllocations - before, 0) << "block " << blockSize;
  }
}

}  // namespace
