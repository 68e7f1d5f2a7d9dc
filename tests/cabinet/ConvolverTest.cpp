#include "cabinet/PartitionedConvolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
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

// Runs the audio chain's calling order; every block must come back complete.
std::vector<double> Convolve(PartitionedConvolver& convolver, const std::vector<double>& input,
                             const std::function<int(int)>& blockSize) {
  std::vector<double> output;
  int position = 0;
  for (int block = 0; position < static_cast<int>(input.size()); ++block) {
    const int n = std::min(blockSize(block), static_cast<int>(input.size()) - position);
    convolver.PushSamples(input.data() + position, n);
    const int m = std::min(n, convolver.ProduceOutput(n));
    EXPECT_EQ(m, n) << "latency at block " << block;
    output.insert(output.end(), convolver.OutputPointer(), convolver.OutputPointer() + m);
    convolver.ConsumeOutput(m);
    position += n;
  }
  return output;
}

double Rms(const std::vector<double>& signal) {
  double sum = 0.0;
  for (double x : signal) sum += x * x;
  return std::sqrt(sum / std::max<size_t>(signal.size(), 1));
}

struct BlockPattern {
  const char* name;
  std::function<int(int)> size;
};

std::vector<BlockPattern> BlockPatterns() {
  auto varying = [](int block) {
    std::mt19937 rng(block);
    return 1 + static_cast<int>(rng() % 700);
  };
  return {{"1", [](int) { return 1; }},     {"7", [](int) { return 7; }},
          {"64", [](int) { return 64; }},   {"192", [](int) { return 192; }},
          {"4096", [](int) { return 4096; }}, {"varying", varying}};
}

TEST(PartitionedConvolver, MatchesDirectConvolutionWithNoLatency) {
  for (int length : {1, 63, 64, 65, 100, 191, 192, 193, 1000, 1024, 4096, 44100, 100000}) {
    const std::vector<double> response = DecayingNoise(length, length);
    const int total = std::max(length + 3000, 12000);
    const std::vector<double> input = GuitarLikeInput(total, 5);
    // Every sample where the whole response is cheap, otherwise a dense sample of positions.
    const int stride = length > 4096 ? 97 : 1;
    std::vector<int> positions;
    for (int t = 0; t < total; t += (t < 4096 ? 1 : stride)) positions.push_back(t);
    std::vector<double> expected;
    for (int t : positions) expected.push_back(DirectConvolutionAt(input, response, t));
    const double tolerance = 1e-6 * Rms(expected);
    for (const BlockPattern& pattern : BlockPatterns()) {
      if (length > 10000 && pattern.name == std::string("1")) continue;  // same code path as 7, slower
      PartitionedConvolver convolver;
      convolver.LoadImpulse(BufferOf(response));
      const std::vector<double> output = Convolve(convolver, input, pattern.size);
      ASSERT_EQ(output.size(), input.size());
      double worst = 0.0;
      for (size_t i = 0; i < positions.size(); ++i)
        worst = std::max(worst, std::fabs(output[positions[i]] - expected[i]));
      EXPECT_LE(worst, tolerance) << "length " << length << " blocks " << pattern.name;
    }
  }
}

TEST(PartitionedConvolver, StagesFollowTheGrowingLayout) {
  struct Layout {
    int offset, length, fftSize, blocks;
  };
  auto layoutOf = [](int length) {
    PartitionedConvolver convolver;
    convolver.LoadImpulse(BufferOf(DecayingNoise(length, 1)));
    std::vector<Layout> stages;
    for (int i = 0; i < convolver.StageCount(); ++i) {
      const ConvolverStage& s = convolver.Stage(i);
      stages.push_back({s.outputDelay, s.ImpulseLength(), s.FftSize(), s.BlockCount()});
    }
    return stages;
  };
  auto expectLayout = [&](int length, const std::vector<Layout>& expected) {
    const std::vector<Layout> actual = layoutOf(length);
    ASSERT_EQ(actual.size(), expected.size()) << "length " << length;
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(actual[i].offset, expected[i].offset) << "length " << length << " stage " << i;
      EXPECT_EQ(actual[i].length, expected[i].length) << "length " << length << " stage " << i;
      EXPECT_EQ(actual[i].fftSize, expected[i].fftSize) << "length " << length << " stage " << i;
      EXPECT_EQ(actual[i].blocks, expected[i].blocks) << "length " << length << " stage " << i;
    }
  };
  expectLayout(64, {{0, 64, 0, 0}});
  // A response of 65 to 191 samples still starts with the direct stage.
  expectLayout(100, {{0, 64, 0, 0}, {64, 36, 128, 1}});
  expectLayout(192, {{0, 64, 0, 0}, {64, 128, 128, 2}});
  expectLayout(1000, {{0, 64, 0, 0}, {64, 192, 128, 3}, {256, 744, 512, 3}});
  expectLayout(44100, {{0, 64, 0, 0},
                       {64, 192, 128, 3},
                       {256, 768, 512, 3},
                       {1024, 3072, 2048, 3},
                       {4096, 12288, 8192, 3},
                       {16384, 27716, 32768, 2}});
}

TEST(PartitionedConvolver, EmptyConvolverAndEmptyResponse) {
  PartitionedConvolver none;
  const std::vector<double> input = GuitarLikeInput(500, 2);
  std::vector<double> output = Convolve(none, input, [](int) { return 64; });
  EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](double x) { return x == 0.0; }));

  PartitionedConvolver empty;
  empty.LoadImpulse(BufferOf({}));
  output = Convolve(empty, input, [](int) { return 64; });
  EXPECT_EQ(output, input);  // an empty response passes the input through
}

TEST(PartitionedConvolver, UnitImpulseReproducesTheInputExactly) {
  PartitionedConvolver convolver;
  convolver.LoadImpulse(BufferOf({1.0}));
  const std::vector<double> input = GuitarLikeInput(3000, 3);
  EXPECT_EQ(Convolve(convolver, input, [](int) { return 7; }), input);
}

TEST(PartitionedConvolver, NewResponseCutsTheOldTail) {
  const std::vector<double> first = DecayingNoise(5000, 1), second = DecayingNoise(3000, 2);
  const std::vector<double> before = GuitarLikeInput(6000, 3), after = GuitarLikeInput(4000, 4);
  PartitionedConvolver convolver;
  convolver.LoadImpulse(BufferOf(first));
  Convolve(convolver, before, [](int) { return 256; });
  convolver.LoadImpulse(BufferOf(second));
  const std::vector<double> output = Convolve(convolver, after, [](int) { return 256; });
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
  const std::vector<double> output = Convolve(convolver, input, [](int) { return 128; });
  // Only the direct stage, which always computes, reaches past the near-silent samples.
  const int directReach = tiny + ConvolverStage::kMaxDirectTaps;
  EXPECT_TRUE(std::all_of(output.begin() + directReach, output.end(), [](double x) { return x == 0.0; }));
}

}  // namespace
