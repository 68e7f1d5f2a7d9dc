// The three audio callbacks: 32-bit replacing and accumulating, 64-bit replacing.
#include <cmath>

#include "tests/host/PluginFixture.h"

namespace {

template <typename Sample>
struct StereoBuffers {
  explicit StereoBuffers(int frames)
      : in{std::vector<Sample>(size_t(frames)), std::vector<Sample>(size_t(frames))},
        out{std::vector<Sample>(size_t(frames)), std::vector<Sample>(size_t(frames))} {
    for (int i = 0; i < frames; ++i) {
      in[0][size_t(i)] = Sample(0.25 * std::sin(0.01 * i));
      in[1][size_t(i)] = Sample(0.5 * std::cos(0.003 * i));
    }
  }
  Sample** Inputs() {
    inPtr[0] = in[0].data();
    inPtr[1] = in[1].data();
    return inPtr;
  }
  Sample** Outputs() {
    outPtr[0] = out[0].data();
    outPtr[1] = out[1].data();
    return outPtr;
  }
  bool AllFinite() const {
    for (const auto& channel : out) {
      for (Sample s : channel) {
        if (!std::isfinite(double(s))) return false;
      }
    }
    return true;
  }
  std::vector<Sample> in[2];
  std::vector<Sample> out[2];
  Sample* inPtr[2] = {};
  Sample* outPtr[2] = {};
};

class AudioTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    host->Start(44100.0, kBlock);
  }
  static constexpr int kBlock = 64;
};

TEST_F(AudioTest, ReplacingOverwritesAndAccumulatingAdds) {
  StereoBuffers<float> replaced(kBlock);
  for (auto& channel : replaced.out) std::fill(channel.begin(), channel.end(), 7.0f);
  host->ProcessReplacing(replaced.Inputs(), replaced.Outputs(), kBlock);
  ASSERT_TRUE(replaced.AllFinite());

  // The amp keeps filter states from block to block: a fresh instance hears the same block.
  std::string error;
  auto other = vsthost::PluginHost::Load(PluginPath(), &error);
  ASSERT_TRUE(other) << error;
  other->Start(44100.0, kBlock);
  StereoBuffers<float> accumulated(kBlock);
  for (auto& channel : accumulated.out) std::fill(channel.begin(), channel.end(), 1.0f);
  other->ProcessAccumulating(accumulated.Inputs(), accumulated.Outputs(), kBlock);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < kBlock; ++i) {
      EXPECT_NE(replaced.out[c][size_t(i)], 7.0f);
      EXPECT_FLOAT_EQ(accumulated.out[c][size_t(i)], 1.0f + replaced.out[c][size_t(i)]);
    }
  }
}

TEST_F(AudioTest, DoublePathMatchesTheFloatPath) {
  StereoBuffers<float> single(kBlock);
  StereoBuffers<double> twice(kBlock);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < kBlock; ++i) twice.in[c][size_t(i)] = single.in[c][size_t(i)];
  }
  host->ProcessReplacing(single.Inputs(), single.Outputs(), kBlock);
  std::string error;
  auto other = vsthost::PluginHost::Load(PluginPath(), &error);
  ASSERT_TRUE(other) << error;
  other->Start(44100.0, kBlock);
  other->ProcessDouble(twice.Inputs(), twice.Outputs(), kBlock);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < kBlock; ++i) {
      EXPECT_FLOAT_EQ(float(twice.out[c][size_t(i)]), single.out[c][size_t(i)]);
    }
  }
}

TEST_F(AudioTest, CallsLongerThanTheBlockSizeAreProcessedWhole) {
  constexpr int kLong = 1000;  // far more than the announced 64 frames
  StereoBuffers<float> whole(kLong);
  host->ProcessReplacing(whole.Inputs(), whole.Outputs(), kLong);

  std::string error;
  auto other = vsthost::PluginHost::Load(PluginPath(), &error);
  ASSERT_TRUE(other) << error;
  other->Start(44100.0, kLong);
  StereoBuffers<float> reference(kLong);
  other->ProcessReplacing(reference.Inputs(), reference.Outputs(), kLong);
  for (int c = 0; c < 2; ++c) EXPECT_EQ(whole.out[c], reference.out[c]);

  StereoBuffers<double> wide(kLong);
  host->ProcessDouble(wide.Inputs(), wide.Outputs(), kLong);
  StereoBuffers<float> added(kLong);
  host->ProcessAccumulating(added.Inputs(), added.Outputs(), kLong);
  EXPECT_TRUE(wide.AllFinite());
  EXPECT_TRUE(added.AllFinite());
}

TEST_F(AudioTest, UnconnectedChannelsUseScratchBuffers) {
  vst2::VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  ASSERT_EQ(host->Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono), 1);
  constexpr int kLong = 300;
  StereoBuffers<double> buffers(kLong);
  double* in[1] = {buffers.in[0].data()};
  double* out[1] = {buffers.out[0].data()};
  host->ProcessDouble(in, out, kLong);  // only one pointer each way
  EXPECT_TRUE(buffers.AllFinite());
  float* in32[1] = {nullptr};
  float* out32[1] = {nullptr};
  std::vector<float> inMono(kLong, 0.1f), outMono(kLong, 0.0f);
  in32[0] = inMono.data();
  out32[0] = outMono.data();
  host->ProcessReplacing(in32, out32, kLong);
  for (float s : outMono) EXPECT_TRUE(std::isfinite(s));
}

TEST_F(AudioTest, EveryCallbackAsksForMidiAndEmptyCallsAreHarmless) {
  StereoBuffers<float> buffers(kBlock);
  host->ClearCalls();
  host->ProcessReplacing(buffers.Inputs(), buffers.Outputs(), kBlock);
  host->ProcessAccumulating(buffers.Inputs(), buffers.Outputs(), kBlock);
  StereoBuffers<double> wide(kBlock);
  host->ProcessDouble(wide.Inputs(), wide.Outputs(), kBlock);
  host->ProcessReplacing(buffers.Inputs(), buffers.Outputs(), 0);
  host->ProcessReplacing(buffers.Inputs(), buffers.Outputs(), -5);
  EXPECT_EQ(CallsOf(vst2::audioMasterWantMidi).size(), 5u);
}

}  // namespace
