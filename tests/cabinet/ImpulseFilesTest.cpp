#include "cabinet/ImpulseFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "TempFolder.h"
#include "WaveBytes.h"
#include "cabinet/Resampler.h"
#include "platform/Dialogs.h"

namespace {

struct Messages {
  std::vector<std::string> texts, captions;
  static void Sink(const std::string& text, const std::string& caption, void* user) {
    auto* self = static_cast<Messages*>(user);
    self->texts.push_back(text);
    self->captions.push_back(caption);
  }
};

struct RecordingView : ImpulseFileView {
  std::vector<std::string> names;
  int responses = 0;
  void ShowFileName(const std::string& name) override { names.push_back(name); }
  void ShowResponse(const CurveSamples&) override { ++responses; }
};

class ImpulseFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetMessageSink(&Messages::Sink, &messages);
    files.SetView(&view);
  }
  void TearDown() override { platform::SetMessageSink(nullptr, nullptr); }

  // Writes a file whose first sample identifies it (first / 2^15).
  void WriteIdentified(const std::string& name, int first, std::uint32_t rate = 44100) {
    std::vector<double> samples(100, 0.0);
    samples[0] = first / 32768.0;
    ASSERT_TRUE(WriteFile(folder.Path() + name, Mono16(samples, rate)));
  }
  // The first sample of the installed response, as the file's identifier.
  int LoadedIdentifier() const { return static_cast<int>(std::lround(files.DisplaySamples()[0] * 32768.0)); }

  TempFolder folder;
  Messages messages;
  RecordingView view;
  PartitionedConvolver convolver;
  ImpulseFiles files{convolver};
};

TEST_F(ImpulseFilesTest, ListsWaveFilesWhateverTheirCaseAndLoadsByTheirOwnName) {
  WriteIdentified("a.wav", 1);
  WriteIdentified("B.WAV", 2);
  WriteIdentified("c.Wav", 3);
  WriteIdentified("d.wave", 4);
  WriteIdentified("noextension", 5);
  std::filesystem::create_directory(folder.Path() + "e.wav");

  ASSERT_TRUE(files.OpenImpulseFile(folder.Path() + "B.WAV"));
  ASSERT_EQ(files.List().Count(), 3);
  EXPECT_EQ(files.List().Name(0), "a");
  EXPECT_EQ(files.List().Name(1), "B");
  EXPECT_EQ(files.List().Name(2), "c");
  EXPECT_EQ(files.CurrentIndex(), 1);
  EXPECT_EQ(files.Folder(), folder.Path());
  EXPECT_EQ(view.names, std::vector<std::string>{"B"});
  EXPECT_EQ(LoadedIdentifier(), 2);

  ASSERT_TRUE(files.StepImpulseFile(+1));
  EXPECT_EQ(LoadedIdentifier(), 3);
  EXPECT_EQ(files.LoadedPath(), folder.Path() + "c.Wav");
  ASSERT_TRUE(files.StepImpulseFile(+1));  // past the end: the last entry again
  EXPECT_EQ(files.CurrentIndex(), 2);
  ASSERT_TRUE(files.StepImpulseFile(-5));
  EXPECT_EQ(files.CurrentIndex(), 0);
  EXPECT_EQ(LoadedIdentifier(), 1);
  ASSERT_TRUE(files.StepImpulseFile(-1));  // before the start: the first entry again
  EXPECT_EQ(LoadedIdentifier(), 1);
  EXPECT_EQ(view.names, (std::vector<std::string>{"B", "c", "c", "a", "a"}));
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ImpulseFilesTest, SteppingAnEmptyListDoesNothing) {
  EXPECT_FALSE(files.StepImpulseFile(+1));
  EXPECT_FALSE(files.StepImpulseFile(-1));
  EXPECT_EQ(files.CurrentIndex(), -1);
  EXPECT_TRUE(view.names.empty());
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ImpulseFilesTest, MissingFileShowsTheMessageAndChangesNothing) {
  WriteIdentified("good.wav", 7);
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "good.wav"));
  const double gain = files.NormalisationGain();
  EXPECT_FALSE(files.LoadImpulseFile(folder.Path() + "gone.wav"));
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(messages.texts[0], "File not found:\n" + folder.Path() + "gone.wav");
  EXPECT_EQ(messages.captions[0], "Error");
  EXPECT_EQ(files.NormalisationGain(), gain);
  EXPECT_EQ(LoadedIdentifier(), 7);
}

TEST_F(ImpulseFilesTest, UnreadableFilesAreRefusedSilently) {
  WriteIdentified("good.wav", 7);
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "good.wav"));
  ASSERT_TRUE(WriteFile(folder.Path() + "text.wav", Bytes{'h', 'e', 'l', 'l', 'o'}));
  ASSERT_TRUE(WriteFile(folder.Path() + "nodata.wav", Riff({FormatChunk(1, 1, 44100, 16)})));
  EXPECT_FALSE(files.LoadImpulseFile(folder.Path() + "text.wav"));
  EXPECT_FALSE(files.LoadImpulseFile(folder.Path() + "nodata.wav"));
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(LoadedIdentifier(), 7);
  EXPECT_EQ(files.LoadedPath(), folder.Path() + "good.wav");
}

TEST_F(ImpulseFilesTest, PathsWithoutSeparatorAreIgnored) { EXPECT_FALSE(files.OpenImpulseFile("x.wav")); }

TEST_F(ImpulseFilesTest, NormalisationGain) {
  ASSERT_TRUE(WriteFile(folder.Path() + "ones.wav",
                        Riff({FormatChunk(3, 1, 44100, 32), Chunk("data", FloatSamples(std::vector<float>(100, 1.0f)))})));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "ones.wav"));
  EXPECT_DOUBLE_EQ(files.NormalisationGain(), 1.0 / std::sqrt(200.0));
  ASSERT_TRUE(WriteFile(folder.Path() + "silent.wav", Mono16(std::vector<double>(50, 0.0), 44100)));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "silent.wav"));
  EXPECT_EQ(files.NormalisationGain(), 1.0);
}

TEST_F(ImpulseFilesTest, FileAtTheHostRateIsInstalledSampleForSample) {
  std::vector<double> samples;
  for (int i = 0; i < 300; ++i) samples.push_back(std::round(16000.0 * std::sin(i * 0.3) * std::exp(-0.01 * i)) / 32768.0);
  ASSERT_TRUE(WriteFile(folder.Path() + "r.wav", Mono16(samples, 44100)));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "r.wav"));
  ASSERT_EQ(files.ResponseLength(), 300);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(files.DisplaySamples()[i], samples[i]);
  EXPECT_EQ(view.responses, 1);
  // Pushing a unit impulse through the convolver plays the response back.
  std::vector<double> impulse(300, 0.0);
  impulse[0] = 1.0;
  convolver.PushSamples(impulse.data(), 300);
  ASSERT_EQ(convolver.ProduceOutput(300), 300);
  for (int i = 0; i < 300; ++i) EXPECT_NEAR(convolver.OutputPointer()[i], samples[i], 1e-7);
}

TEST_F(ImpulseFilesTest, HostRateChangeResamplesFromMemory) {
  std::vector<double> samples(441, 0.0);
  for (int i = 0; i < 441; ++i) samples[i] = std::round(10000.0 * std::cos(i * 0.05)) / 32768.0;
  ASSERT_TRUE(WriteFile(folder.Path() + "r.wav", Mono16(samples, 44100)));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "r.wav"));
  ASSERT_EQ(files.ResponseLength(), 441);
  std::filesystem::remove(folder.Path() + "r.wav");  // no file access from here on
  const int responsesBefore = view.responses;
  EXPECT_TRUE(files.SetSampleRate(48000.0));
  EXPECT_EQ(files.ResponseLength(), static_cast<int>(std::floor(441 / (44100.0 / 48000.0))));
  EXPECT_EQ(view.responses, responsesBefore + 1);
  EXPECT_FALSE(files.SetSampleRate(48000.0));  // unchanged rate: nothing to do
  EXPECT_TRUE(files.SetSampleRate(44100.0));
  EXPECT_EQ(files.ResponseLength(), 441);
  for (int i = 0; i < 441; ++i) EXPECT_EQ(files.DisplaySamples()[i], samples[i]);
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ImpulseFilesTest, RateSetBeforeTheFirstLoadApplies) {
  EXPECT_FALSE(files.SetSampleRate(96000.0));  // nothing loaded yet
  ASSERT_TRUE(WriteFile(folder.Path() + "r.wav", Mono16(std::vector<double>(480, 0.25), 48000)));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "r.wav"));
  EXPECT_EQ(files.ResponseLength(), 960);
}

TEST(Resampler, LinearInterpolationAtTheRatio) {
  std::vector<double> in(1000);
  for (int i = 0; i < 1000; ++i) in[i] = std::sin(i * 0.01);
  std::vector<double> up, down;
  ASSERT_TRUE(Resample(in, 44100.0, 48000.0, up));
  const double r = 44100.0 / 48000.0;
  ASSERT_EQ(up.size(), static_cast<size_t>(std::floor(1000 / r)));
  double position = 0.0;
  for (size_t i = 0; i < up.size(); ++i, position += r) {
    const int k = static_cast<int>(position);
    const double next = k + 1 < 1000 ? in[k + 1] : 0.0;
    ASSERT_DOUBLE_EQ(up[i], in[k] + (next - in[k]) * (position - k)) << i;
  }
  ASSERT_TRUE(Resample(in, 96000.0, 44100.0, down));
  EXPECT_EQ(down.size(), static_cast<size_t>(std::floor(1000 / (96000.0 / 44100.0))));
  EXPECT_NEAR(down[100], std::sin(100 * 96000.0 / 44100.0 * 0.01), 1e-4);
}

TEST(Resampler, LastUpsampledSampleStaysInsideTheInput) {
  // Up-sampling needs the sample after the last one at the end; it counts as silence.
  const std::vector<double> in = {1.0, 1.0};
  std::vector<double> out;
  ASSERT_TRUE(Resample(in, 1000.0, 4000.0, out));
  EXPECT_EQ(out, (std::vector<double>{1.0, 1.0, 1.0, 1.0, 1.0, 0.75, 0.5, 0.25}));
}

TEST(Resampler, RefusesBadRatesAndHugeResults) {
  std::vector<double> out = {5.0};
  EXPECT_FALSE(Resample({1.0}, 0.0, 44100.0, out));
  EXPECT_FALSE(Resample({1.0}, 44100.0, -1.0, out));
  EXPECT_FALSE(Resample(std::vector<double>(10000), 1000.0, 1000000.0, out));
  EXPECT_EQ(out, std::vector<double>{5.0});
}

}  // namespace
