#include "cabinet/PartitionedConvolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<double> DecayingNoise(int length, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> normal;
  std::vector<double> response(length);
  for (int i = 0; i < length; ++i) response[i] = normal(rng) * std::exp(-3.0 * i / std::max(length, 1));
  return response;
}

// Noise with stretches of exact silence, so silent-block skipping is exercised too.
std::vector<double> GuitarLikeInput(int length, unsigned seed) {
  std::vector<double> input = DecayingNoise(length, seed);
  for (int i = 0; i < length; ++i) {
    input[i] = std::sin(0.01 * i) + 0.3 * input[i] * std::exp(3.0 * i / length);
    if ((i / 3000) % 4 == 3) input[i] = 0.0;
  }
  return input;
}

ImpulseBuffer BufferOf(const std::vector<double>& response) {
  ImpulseBuffer buffer;
  buffer.SetChannelCount(1);
  buffer.SetLength(static_cast<int>(response.size()));
  std::copy(response.begin(), response.end(), buffer.Channel(0));
  return buffer;
}

double DirectConvolutionAt(const std::vector<double>& input, const std::vector<double>& response, int t) {
  long double sum = 0.0L;
  const int first = std::max(0, t - static_cast<int>(response.size()) + 1);
  for (int j = first; j <= t; ++j) sum += static_cast<long double>(input[j]) * response[t - j];
  return static_cast<double>(sum);
}

// Runs the audio chain's calling order in blocks of blockSize samples, or of 1 to 700 drawn
// at random for each block when blockSize is 0; every block must come back complete.
std::vector<double> Convolve(PartitionedConvolver& convolver, const std::vector<double>& input, int blockSize) {
  std::vector<double> output;
  int position = 0;
  for (int block = 0; position < static_cast<int>(input.size()); ++block) {
    const int size = blockSize > 0 ? blockSize : 1 + static_cast<int>(std::mt19937(block)() % 700);
    const int n = std::min(size, static_cast<int>(input.size()) - position);
    convolver.PushSamples(input.data() + position, n);
    const int m = std::min(n, convolver.ProduceOutput(n));
    EXPECT_EQ(m, n) << "latency at block " << block;
    output.insert(output.end(), convolver.OutputPointer(), convolver.OutputPointer() + m);
    convolver.ConsumeOutput(m);
    position += n;
  }
  return output;
}

TEST(PartitionedConvolver, MatchesDirectConvolutionWithNoLatency) {
  for (int length : {1, 63, 64, 65, 100, 191, 192, 193, 1000, 1024, 4096, 10239, 10240, 28672, 28673, 44100, 100000, 120000}) {
    const std::vector<double> response = DecayingNoise(length, length);
    const int total = std::max(length + 3000, 12000);
    const std::vector<double> input = GuitarLikeInput(total, 5);
    // Every sample where the whole response is cheap, otherwise a dense sample of positions.
    const int stride = length > 4096 ? 97 : 1;
    std::vector<int> positions;
    for (int t = 0; t < total; t += (t < 4096 ? 1 : stride)) positions.push_back(t);
    std::vector<double> expected;
    for (int t : positions) expected.push_back(DirectConvolutionAt(input, response, t));
    double energy = 0.0;
    for (double x : expected) energy += x * x;
    const double tolerance = 1e-6 * std::sqrt(energy / expected.size());  // a millionth of the RMS
    for (int blockSize : {1, 7, 64, 192, 4096, 0}) {
      if (length > 10000 && blockSize == 1) continue;  // same code path as 7, slower
      PartitionedConvolver convolver;
      convolver.LoadImpulse(BufferOf(response));
      const std::vector<double> output = Convolve(convolver, input, blockSize);
      ASSERT_EQ(output.size(), input.size());
      double worst = 0.0;
      for (size_t i = 0; i < positions.size(); ++i)
        worst = std::max(worst, std::fabs(output[positions[i]] - expected[i]));
      EXPECT_LE(worst, tolerance) << "length " << length << " blocks " << blockSize;
    }
  }
}

// No response loaded gives silence; an empty one passes the input, a unit one reproduces it.
TEST(PartitionedConvolver, EdgeResponses) {
  const std::vector<double> input = GuitarLikeInput(3000, 2);
  PartitionedConvolver none, empty, unit;
  const std::vector<double> silence = Convolve(none, input, 64);
  EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](double x) { return x == 0.0; }));
  empty.LoadImpulse(BufferOf({}));
  EXPECT_EQ(Convolve(empty, input, 64), input);
  unit.LoadImpulse(BufferOf({1.0}));
  EXPECT_EQ(Convolve(unit, input, 7), input);
}

TEST(PartitionedConvolver, NewResponseCutsTheOldTail) {
  const std::vector<double> first = DecayingNoise(5000, 1), second = DecayingNoise(3000, 2);
  const std::vector<double> before = GuitarLikeInput(6000, 3), after = GuitarLikeInput(4000, 4);
  PartitionedConvolver convolver;
  convolver.LoadImpulse(BufferOf(first));
  Convolve(convolver, before, 256);
  convolver.LoadImpulse(BufferOf(second));
  const std::vector<double> output = Convolve(convolver, after, 256);
  double worst = 0.0;
  for (int t = 0; t < static_cast<int>(after.size()); ++t)
    worst = std::max(worst, std::fabs(output[t] - DirectConvolutionAt(after, second, t)));
  EXPECT_LT(worst, 1e-5);
}

TEST(PartitionedConvolver, NearSilentInputBlocksContributeNothingLater) {
  const int tiny = 8192;
  std::vector<double> input(3 * tiny, 0.0);
  for (int i = 0; i < tiny; ++i) input[i] = (i % 2 ? 1.0 : -1.0) * 9e-7;
  PartitionedConvolver convolver;
  convolver.LoadImpulse(BufferOf(DecayingNoise(20000, 9)));
  const std::vector<double> output = Convolve(convolver, input, 128);
  // Only the direct stage, which always computes, reaches past the near-silent samples.
  const int directReach = tiny + ConvolverStage::kMaxDirectTaps;
  EXPECT_TRUE(std::all_of(output.begin() + directReach, output.end(), [](double x) { return x == 0.0; }));
}

TEST(SampleQueue, KeepsOrderAcrossCompaction) {
  SampleQueue queue;
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
