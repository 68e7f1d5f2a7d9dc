#include "cabinet/ImpulseFiles.h"
#include "tests/cabinet/KeptConvolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "TempFolder.h"
#include "WaveBytes.h"
#include "cabinet/Resampler.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

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
  KeptConvolver kept;
  ImpulseFiles files{kept};
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

TEST_F(ImpulseFilesTest, NothingToStepToAndPathsWithoutSeparatorLoadNothing) {
  EXPECT_FALSE(files.StepImpulseFile(+1));
  EXPECT_FALSE(files.StepImpulseFile(-1));
  EXPECT_FALSE(files.OpenImpulseFile("x.wav"));
  EXPECT_EQ(files.CurrentIndex(), -1);
  EXPECT_TRUE(view.names.empty());
  EXPECT_TRUE(messages.texts.empty());
}

// Only a file that cannot be opened is reported; unreadable ones are refused silently.
TEST_F(ImpulseFilesTest, FailedLoadsKeepTheLoadedResponse) {
  WriteIdentified("good.wav", 7);
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "good.wav"));
  const double gain = files.NormalisationGain();
  ASSERT_TRUE(WriteFile(folder.Path() + "text.wav", Bytes{'h', 'e', 'l', 'l', 'o'}));
  ASSERT_TRUE(WriteFile(folder.Path() + "nodata.wav", Riff({FormatChunk(1, 1, 44100, 16)})));
  for (const char* name : {"gone.wav", "text.wav", "nodata.wav"}) {
    EXPECT_FALSE(files.LoadImpulseFile(folder.Path() + name)) << name;
    EXPECT_EQ(LoadedIdentifier(), 7) << name;
    EXPECT_EQ(files.NormalisationGain(), gain) << name;
    EXPECT_EQ(files.LoadedPath(), folder.Path() + "good.wav") << name;
  }
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(messages.texts[0], "File not found:\n" + folder.Path() + "gone.wav");
  EXPECT_EQ(messages.captions[0], "Error");
}

TEST_F(ImpulseFilesTest, NormalisationGain) {
  ASSERT_TRUE(WriteFile(folder.Path() + "ones.wav",
                        Riff({FormatChunk(3, 1, 44100, 32), Chunk("data", FloatSamples(std::vector<float>(100, 1.0f)))})));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "ones.wav"));
  EXPECT_DOUBLE_EQ(files.NormalisationGain(), 1.0 / std::sqrt(200.0));
  ASSERT_TRUE(WriteFile(folder.Path() + "silent.wav", Mono16(std::vector<double>(50, 0.0), 44100)));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "silent.wav"));
  EXPECT_EQ(files.NormalisationGain(), 1.0);
}

// At the host rate a file is installed sample for sample; at another it is resampled, and
// a later rate change resamples it again from the copy in memory.
TEST_F(ImpulseFilesTest, ResponseIsInstalledAtTheHostRate) {
  std::vector<double> samples;
  for (int i = 0; i < 441; ++i) samples.push_back(std::round(16000.0 * std::sin(i * 0.3) * std::exp(-0.01 * i)) / 32768.0);
  ASSERT_TRUE(WriteFile(folder.Path() + "r.wav", Mono16(samples, 44100)));
  ASSERT_TRUE(files.LoadImpulseFile(folder.Path() + "r.wav"));
  ASSERT_EQ(files.ResponseLength(), 441);
  for (int i = 0; i < 441; ++i) EXPECT_EQ(files.DisplaySamples()[i], samples[i]);
  EXPECT_EQ(view.responses, 1);
  // Pushing a unit impulse through the convolver plays the response back.
  std::vector<double> impulse(441, 0.0);
  impulse[0] = 1.0;
  PartitionedConvolver& convolver = *kept.convolver;
  convolver.PushSamples(impulse.data(), 441);
  ASSERT_EQ(convolver.ProduceOutput(441), 441);
  for (int i = 0; i < 441; ++i) EXPECT_NEAR(convolver.OutputPointer()[i], samples[i], 1e-7);

  std::filesystem::remove(folder.Path() + "r.wav");  // no file access from here on
  EXPECT_TRUE(files.SetSampleRate(48000.0));
  EXPECT_EQ(files.ResponseLength(), static_cast<int>(std::floor(441 / (44100.0 / 48000.0))));
  EXPECT_EQ(view.responses, 2);
  EXPECT_FALSE(files.SetSampleRate(48000.0));  // unchanged rate: nothing to do
  EXPECT_TRUE(files.SetSampleRate(44100.0));
  ASSERT_EQ(files.ResponseLength(), 441);
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

// Up-sampling needs the sample after the last one at the end; it counts as silence.
TEST(Resampler, LastUpsampledSampleStaysInsideTheInputAndBadRequestsAreRefused) {
  std::vector<double> out;
  ASSERT_TRUE(Resample({1.0, 1.0}, 1000.0, 4000.0, out));
  EXPECT_EQ(out, (std::vector<double>{1.0, 1.0, 1.0, 1.0, 1.0, 0.75, 0.5, 0.25}));
  EXPECT_FALSE(Resample({1.0}, 0.0, 44100.0, out));
  EXPECT_FALSE(Resample({1.0}, 44100.0, -1.0, out));
  EXPECT_FALSE(Resample(std::vector<double>(10000), 1000.0, 1000000.0, out));  // too long
  EXPECT_EQ(out.size(), 8u);
}

TEST(NtfsNameLess, ComparesUpperCasedCharacters) {
  std::vector<std::string> names = {"_last", "b", "A", "a_b", "ab", "B2", "a"};
  std::sort(names.begin(), names.end(), platform::NtfsNameLess);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "ab", "a_b", "b", "B2", "_last"}));
  EXPECT_FALSE(platform::NtfsNameLess("x", "x"));
}

TEST(ListFolder, SortedEntriesWithTheirKindAndNoDotEntries) {
  TempFolder folder;
  std::ofstream(folder.Path() + "b.txt") << "b";
  std::ofstream(folder.Path() + "A.txt") << "a";
  std::filesystem::create_directory(folder.Path() + "sub");
  const std::vector<platform::FolderEntry> entries = platform::ListFolder(folder.Path());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "A.txt");
  EXPECT_EQ(entries[1].name, "b.txt");
  EXPECT_EQ(entries[2].name, "sub");
  EXPECT_FALSE(entries[0].isFolder);
  EXPECT_TRUE(entries[2].isFolder);
  EXPECT_TRUE(platform::ListFolder(folder.Path() + "missing/").empty());
}

TEST(LibraryFolder, IsAnExistingFolderEndingInTheSeparator) {
  const std::string folder = platform::LibraryFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), platform::kSeparator);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(CabinetList, KeepsTheFirst1024Files) {
  TempFolder folder;
  for (int i = 0; i < CabinetList::kMaxEntries + 6; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "f%04d.wav", i);
    std::ofstream(folder.Path() + name) << "x";
  }
  CabinetList list;
  EXPECT_EQ(list.Build(folder.Path(), "f0003.wav"), 3);
  EXPECT_EQ(list.Count(), CabinetList::kMaxEntries);
  EXPECT_EQ(list.Name(CabinetList::kMaxEntries - 1), "f1023");
  EXPECT_EQ(list.Build(folder.Path(), "f1027.wav"), -1);  // beyond the list
}

}  // namespace
