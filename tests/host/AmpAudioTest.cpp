// The amp's audio through the binary: silence sleep, bad samples, the tuner's pass-through, the mono
// sum and a neutral chain, the impulse-response mix, a sample-rate change, and a render.
#include <cmath>
#include <filesystem>
#include <limits>

#include "tests/host/AmpFixture.h"
#include "tools/vsthost/Render.h"
#include "tools/vsthost/Riff.h"

namespace {

constexpr double kRelative = 1e-12;

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    ASSERT_NEAR(actual[i], expected[i], tolerance) << "frame " << i;
  }
}

std::vector<double> Sum(const Stereo& s, double gain) {
  std::vector<double> sum(s.left.size());
  for (size_t i = 0; i < sum.size(); ++i) sum[i] = (s.left[i] + s.right[i]) * gain;
  return sum;
}

std::vector<double> Silence(size_t frames) { return std::vector<double>(frames, 0.0); }

// A guitar on the right input alone plays on; silence then puts the amp to sleep (exact
// zeros), and a sound starting inside a block plays from its first sample.
TEST_F(AmpTest, EitherInputPlaysAndSilenceSleepsUntilTheNextSample) {
  NeutralChain();
  const Stereo guitar = TestSignal(64 * kBlock);
  const Stereo rightOnly{Silence(guitar.right.size()), guitar.right};
  ExpectNear(ProcessDouble(*host, rightOnly, kBlock).left, guitar.right, kRelative * Peak(guitar.right));

  const Stereo silence{Silence(kBlock), Silence(kBlock)};
  for (int block = 0; block < 4; ++block) ProcessDouble(*host, silence, kBlock);
  const Stereo asleep = ProcessDouble(*host, silence, kBlock);
  EXPECT_EQ(Peak(asleep.left), 0.0);
  EXPECT_EQ(Peak(asleep.right), 0.0);

  constexpr size_t kStart = 200;
  Stereo late{Silence(kBlock), Silence(kBlock)};
  for (size_t i = kStart; i < late.right.size(); ++i) late.right[i] = guitar.left[i - kStart];
  ExpectNear(ProcessDouble(*host, late, kBlock).left, late.right, kRelative * Peak(late.right));
}

// Whether the amp sleeps through a gap does not depend on how the host cuts its audio:
// the riff with gaps renders alike in blocks of 1, 64 and 1000 frames.
TEST_F(PluginTest, BlockSizeDoesNotChangeTheRender) {
  vsthost::WavAudio riff = vsthost::SynthesiseRiff(44100.0);
  std::vector<float>& samples = riff.channels[0];
  for (size_t i = samples.size() / 4; i < samples.size() / 2; ++i) samples[i] = 0.0f;
  samples.insert(samples.end(), 44100, 0.0f);
  const std::vector<vsthost::ParamSetting> settings = {{3, 1.0f}, {4, 9 / 15.0f}, {12, 25 / 38.0f}};
  std::vector<vsthost::WavAudio> renders;
  for (int blockSize : {1, 64, 1000}) {
    std::string error;
    auto instance = vsthost::PluginHost::Load(PluginPath(), &error);
    ASSERT_TRUE(instance) << error;
    renders.push_back(vsthost::Render(*instance, riff, settings, blockSize));
  }
  for (size_t r = 1; r < renders.size(); ++r) EXPECT_EQ(renders[r].channels, renders[0].channels) << r;
  EXPECT_EQ(renders[0].channels[0].back(), 0.0f);
}

// A NaN or infinite input sample counts as silence for the amp: no NaN reaches the host,
// and the amp plays on as if a 0 had come.
TEST_F(AmpTest, NonFiniteInputSamplesLeaveTheAmpPlaying) {
  auto clean = Started(kRate);
  const std::pair<int, float> highGain[] = {{3, 1.0f}, {4, 9 / 15.0f}, {12, 25 / 38.0f}};
  for (const auto& [index, value] : highGain) {
    host->SetParameter(index, value);
    clean->SetParameter(index, value);
  }
  Stereo in = TestSignal(8 * kBlock), zeroed = in;
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<size_t, double> bad[] = {{5, std::nan("")}, {300, inf}, {301, -inf}, {900, std::nan("")}};
  for (const auto& [frame, value] : bad) {
    in.left[frame] = in.right[frame + 1] = value;
    zeroed.left[frame] = zeroed.right[frame + 1] = 0.0;
  }
  const Stereo out = ProcessDouble(*host, in, kBlock);
  const Stereo expected = ProcessDouble(*clean, zeroed, kBlock);
  ExpectNear(out.left, expected.left, kRelative * Peak(expected.left));
  EXPECT_GT(Peak(out.left), 0.01);
}

TEST_F(AmpTest, TunerPassesEveryPathThroughAndFreezesTheChain) {
  auto reference = Started(kRate);
  const Stereo before = TestSignal(kBlock), after = TestSignal(kBlock, 1.1);
  ProcessDouble(*host, before, kBlock);
  ProcessDouble(*reference, before, kBlock);

  Press(155);
  const Stereo tuned = TestSignal(kBlock, 0.7);
  EXPECT_EQ(ProcessDouble(*host, tuned, kBlock).left, tuned.left);
  EXPECT_EQ(ProcessDouble(*host, tuned, kBlock).right, tuned.right);
  std::vector<float> in[2], out[2];
  for (int c = 0; c < 2; ++c) {
    const std::vector<double>& source = c ? tuned.right : tuned.left;
    in[c].assign(source.begin(), source.end());
    out[c].assign(source.size(), 0.5f);
  }
  float* inputs[2] = {in[0].data(), in[1].data()};
  float* outputs[2] = {out[0].data(), out[1].data()};
  host->ProcessAccumulating(inputs, outputs, kBlock);
  for (int c = 0; c < 2; ++c) {
    for (size_t i = 0; i < in[c].size(); ++i) EXPECT_FLOAT_EQ(out[c][i], 0.5f + in[c][i]);
  }
  host->ProcessReplacing(inputs, outputs, kBlock);
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], in[1]);

  // Back from the tuner, the chain continues as if those blocks had never been.
  Press(155);
  const Stereo resumed = ProcessDouble(*host, after, kBlock);
  const Stereo expected = ProcessDouble(*reference, after, kBlock);
  EXPECT_EQ(resumed.left, expected.left);
  EXPECT_EQ(resumed.right, expected.right);
}

TEST_F(AmpTest, NeutralChainGivesLeftPlusRightOnBothOutputs) {
  NeutralChain();
  const Stereo in = TestSignal(4 * kBlock);
  const Stereo out = ProcessDouble(*host, in, kBlock);
  const std::vector<double> sum = Sum(in, 1.0);
  ExpectNear(out.left, sum, kRelative * Peak(sum));
  EXPECT_EQ(out.left, out.right);

  // Equal channels: twice one channel.
  const Stereo twin{in.left, in.left};
  const Stereo doubled = ProcessDouble(*host, twin, kBlock);
  ExpectNear(doubled.left, Sum(twin, 1.0), kRelative * Peak(doubled.left));

  host->SetParameter(16, 0.25f);
  const Stereo quiet = ProcessDouble(*host, in, kBlock);
  ExpectNear(quiet.left, Sum(in, 0.25), kRelative * Peak(sum));
}

// An impulse response of one sample of 1.0, written where both Linux and Wine can read it.
class ImpulseMixTest : public AmpTest {
 protected:
  void SetUp() override {
    AmpTest::SetUp();
    folder = std::filesystem::temp_directory_path() / ("voltrex-ir-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
    path = (folder / "unit.wav").string();
    vsthost::WavAudio impulse;
    impulse.sampleRate = kRate;
    impulse.channels = {std::vector<float>(32, 0.0f)};
    impulse.channels[0][0] = 1.0f;
    ASSERT_TRUE(vsthost::WriteWavFloat(path, impulse));
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  // Neutral chain with the stage on (its lamp restored as lit) and the given dry level.
  void RestoreWithImpulse(double dry) {
    NeutralChain();
    std::vector<double> values = StoredValues(*host);
    values[18] = 1.0;  // kIrLed
    values[21] = dry;
    values[22] = 0.5;  // wet 0 dB
    ASSERT_EQ(host->SetChunk(MakeProgramChunk(path, values), false), 1);
  }

  std::filesystem::path folder;
  std::string path;
};

TEST_F(ImpulseMixTest, DryAtItsBottomLeavesOnlyTheNormalisedWetSignal) {
  RestoreWithImpulse(0.0);
  const Stereo in = TestSignal(2 * kBlock);
  const Stereo out = ProcessDouble(*host, in, kBlock);
  // The normalisation gain of a single 1.0 is 1 / sqrt(2).
  const std::vector<double> wet = Sum(in, 1.0 / std::sqrt(2.0));
  ExpectNear(out.left, wet, kRelative * Peak(wet));
  EXPECT_EQ(out.left, out.right);
}

TEST_F(ImpulseMixTest, DryAtZeroDecibelsAddsTheChainsSignal) {
  RestoreWithImpulse(0.5);
  const Stereo in = TestSignal(2 * kBlock);
  const Stereo out = ProcessDouble(*host, in, kBlock);
  const std::vector<double> mix = Sum(in, 1.0 + 1.0 / std::sqrt(2.0));
  ExpectNear(out.left, mix, kRelative * Peak(mix));
  // The path travels with the state.
  const std::vector<uint8_t> chunk = host->GetChunk(false);
  EXPECT_EQ(std::string(chunk.begin() + 12, chunk.begin() + 12 + long(path.size())), path);
}

// Every design follows the rate: an instance moved from 44.1 to 48 kHz sounds like one
// opened at 48 kHz.
TEST_F(AmpTest, RateChangeRedesignsLikeAFreshStart) {
  auto fresh = Started(48000.0);
  const std::vector<std::pair<int, float>> settings = {
      {3, 1.0f}, {4, 9 / 15.0f}, {6, 0.8f}, {9, 0.3f}, {12, 25 / 38.0f}, {13, 0.7f},
      {14, 0.35f}, {7, 0.6f}, {8, 0.4f}, {15, 0.2f}, {0, 1.0f}, {2, 0.3f}, {1, 0.2f}};
  for (const auto& [index, value] : settings) {
    host->SetParameter(index, value);
    fresh->SetParameter(index, value);
  }
  host->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  const Stereo in = TestSignal(8 * kBlock);
  const Stereo moved = ProcessDouble(*host, in, kBlock);
  const Stereo opened = ProcessDouble(*fresh, in, kBlock);
  ASSERT_GT(Peak(opened.left), 0.01);
  ExpectNear(moved.left, opened.left, 1e-9 * Peak(opened.left));
}

TEST_F(PluginTest, RenderedPluckThroughAHighGainModelIsLoudFiniteAndShaped) {
  const vsthost::WavAudio pluck = vsthost::SynthesiseRiff(48000.0);
  const std::vector<vsthost::ParamSetting> settings = {
      {3, 1.0f}, {4, 9 / 15.0f}, {6, 0.9f}, {12, 25 / 38.0f}, {16, 0.6f}};
  const vsthost::WavAudio out = vsthost::Render(*host, pluck, settings, 512);
  ASSERT_EQ(out.channels.size(), 2u);
  ASSERT_EQ(out.Frames(), pluck.Frames());
  double peak = 0.0, difference = 0.0;
  for (int i = 0; i < out.Frames(); ++i) {
    const float y = out.channels[0][size_t(i)];
    ASSERT_TRUE(std::isfinite(y)) << i;
    EXPECT_EQ(y, out.channels[1][size_t(i)]);
    peak = std::max(peak, double(std::fabs(y)));
    difference = std::max(difference, double(std::fabs(y - pluck.channels[0][size_t(i)])));
  }
  EXPECT_GT(peak, 0.1);
  EXPECT_GT(difference, 0.05);
}

TEST(RenderSettingTest, ParsesIndexEqualsNormalisedValue) {
  vsthost::ParamSetting setting;
  ASSERT_TRUE(vsthost::ParseParamSetting("12=0.5", setting));
  EXPECT_EQ(setting.index, 12);
  EXPECT_EQ(setting.normalized, 0.5f);
  for (const char* bad : {"12", "=0.5", "a=0.5", "3=1.5", "3=-0.1", "3=0.5x", "-1=0.5"}) {
    EXPECT_FALSE(vsthost::ParseParamSetting(bad, setting)) << bad;
  }
}

}  // namespace
