// voltrex render, presets and export-preset through the built binary.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>

#include "amp/ParamIds.h"
#include "presets/PresetFile.h"
#include "tests/app/Subprocess.h"
#include "tests/app/TestSupport.h"

namespace {

constexpr int kRate = 48000;
constexpr double kLoudDb = -50.0;
constexpr float kRoundingTolerance = 1e-5f;
constexpr const char* kImpulse = "Stone Cavern.wav";

// Runs voltrex with args; status, and stderr in err.
int Voltrex(const std::vector<std::string>& args, std::string* err = nullptr, std::string* out = nullptr) {
  std::vector<std::string> argv{VoltrexPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  static int runs = 0;
  return RunToEnd(argv, {{"XDG_CONFIG_HOME", ScratchPath("config")}}, ScratchPath("run" + std::to_string(++runs)),
                  out, err);
}

std::string DataFolder() { return std::filesystem::path(VoltrexPath()).parent_path().string() + "/Voltrex/"; }

class RenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(WriteAudio(ScratchPath("riff.wav"), Riff(kRate), SF_FORMAT_WAV | SF_FORMAT_PCM_16));
  }
  // Renders the riff with extra arguments into name; the audio read back.
  static Audio Rendered(const std::string& name, const std::vector<std::string>& extra,
                        const std::string& input = ScratchPath("riff.wav")) {
    std::vector<std::string> args{"render", input, ScratchPath(name)};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string err;
    EXPECT_EQ(Voltrex(args, &err), 0) << err;
    Audio audio;
    EXPECT_TRUE(ReadAudio(ScratchPath(name), audio)) << name;
    return audio;
  }
};

void ExpectSameAudio(const Audio& a, const Audio& b, float tolerance = kRoundingTolerance) {
  ASSERT_EQ(a.channels.size(), b.channels.size());
  ASSERT_EQ(a.Frames(), b.Frames());
  float worst = 0.0f;
  for (size_t c = 0; c < a.channels.size(); ++c) {
    for (size_t f = 0; f < a.Frames(); ++f) worst = std::max(worst, std::fabs(a.channels[c][f] - b.channels[c][f]));
  }
  EXPECT_LE(worst, tolerance);
}

bool Differ(const Audio& a, const Audio& b) {
  return a.Frames() != b.Frames() || a.channels != b.channels;
}

TEST_F(RenderTest, DefaultOutputIsReproducibleFloatWavWithoutPeakChunk) {
  const Audio out = Rendered("plain.wav", {});
  EXPECT_EQ(out.format, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT);
  ASSERT_EQ(out.channels.size(), 2u);
  EXPECT_EQ(out.Frames(), Riff(kRate).Frames());
  EXPECT_TRUE(AllFinite(out));
  EXPECT_GT(LevelDb(out), kLoudDb);
  Rendered("again.wav", {});
  const std::vector<uint8_t> bytes = FileBytes(ScratchPath("plain.wav"));
  EXPECT_EQ(bytes, FileBytes(ScratchPath("again.wav")));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("PEAK"), std::string::npos);
}

TEST_F(RenderTest, LosslessInputFormatsRenderAlike) {
  const Audio reference = Rendered("reference.wav", {});
  const struct {
    const char* name;
    int format;
  } inputs[] = {{"in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                {"in.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
                {"in-extensible.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16}};
  const Audio riff = Riff(kRate);
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.name);
    ASSERT_TRUE(WriteAudio(ScratchPath(input.name), riff, input.format));
    ExpectSameAudio(Rendered(std::string(input.name) + ".wav", {}, ScratchPath(input.name)), reference);
  }
  ASSERT_TRUE(WriteAudio(ScratchPath("in.ogg"), riff, SF_FORMAT_OGG | SF_FORMAT_VORBIS));
  EXPECT_GT(LevelDb(Rendered("from-ogg.wav", {}, ScratchPath("in.ogg"))), kLoudDb);
}

TEST_F(RenderTest, OutputFormatFollowsTheExtension) {
  const struct {
    const char* name;
    int major;
    bool reproducible;  // Ogg streams carry a random serial number
  } outputs[] = {{"out.flac", SF_FORMAT_FLAC, true},
                 {"out.aiff", SF_FORMAT_AIFF, true},
                 {"out.ogg", SF_FORMAT_OGG, false},
                 {"OUT.WAV", SF_FORMAT_WAVEX, true}};
  for (const auto& output : outputs) {
    SCOPED_TRACE(output.name);
    const Audio out = Rendered(output.name, {});
    EXPECT_EQ(out.format & SF_FORMAT_TYPEMASK, output.major);
    EXPECT_EQ(out.channels.size(), 2u);
    EXPECT_GT(LevelDb(out), kLoudDb);
    if (!output.reproducible) continue;
    Rendered(std::string("again-") + output.name, {});
    EXPECT_EQ(FileBytes(ScratchPath(output.name)), FileBytes(ScratchPath(std::string("again-") + output.name)));
  }
}

// A mono file feeds input 1; a stereo file feeds both, and the amp adds them.
TEST_F(RenderTest, StereoInputFeedsBothAmpInputs) {
  const Audio riff = Riff(kRate);
  ASSERT_TRUE(WriteAudio(ScratchPath("mono-float.wav"), riff, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
  const Audio mono = Rendered("mono.wav", {}, ScratchPath("mono-float.wav"));
  Audio stereo = riff;
  stereo.channels = {riff.channels[0], riff.channels[0]};
  for (float& s : stereo.channels[0]) s *= 0.25f;
  for (float& s : stereo.channels[1]) s *= 0.75f;
  ASSERT_TRUE(WriteAudio(ScratchPath("stereo.wav"), stereo, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
  ExpectSameAudio(Rendered("from-stereo.wav", {}, ScratchPath("stereo.wav")), mono);
}

TEST_F(RenderTest, PresetsLoadByBankAndNameOrByProgram) {
  const Audio plain = Rendered("default.wav", {});
  const Audio byName = Rendered("by-name.wav", {"--preset", "Acoustic/Folk Stage"});
  EXPECT_TRUE(Differ(byName, plain));
  EXPECT_EQ(byName.channels, Rendered("any-case.wav", {"--preset=acoustic/folk stage"}).channels);
  // Folk Stage is program 2 of its bank.
  EXPECT_EQ(byName.channels, Rendered("by-program.wav", {"--preset", "Acoustic/Acoustic Room", "--program", "2"}).channels);
}

TEST_F(RenderTest, SetTakesValuesAndValueNames) {
  const Audio plain = Rendered("default.wav", {});
  const Audio named = Rendered("named.wav", {"--set", "drive_on=on", "--set", "model=Tube Creamer"});
  EXPECT_TRUE(Differ(named, plain));
  EXPECT_EQ(named.channels, Rendered("numbered.wav", {"--set", "drive on=1", "--set", "Model=5"}).channels);
  EXPECT_EQ(named.channels, Rendered("lower.wav", {"--set", "Drive-On=true", "--set=model=tube creamer"}).channels);
  EXPECT_TRUE(Differ(named, Rendered("metal.wav", {"--set", "drive_on=on", "--set", "model=Metal Style"})));
  const Audio quiet = Rendered("quiet.wav", {"--set", "volume=0.1"});
  EXPECT_LT(LevelDb(quiet), LevelDb(plain));
}

TEST_F(RenderTest, ImpulseResponseFromAFile) {
  const Audio plain = Rendered("default.wav", {});
  EXPECT_TRUE(Differ(Rendered("ir.wav", {"--ir", DataFolder() + "Impulses/" + kImpulse}), plain));
}

TEST_F(RenderTest, BlockSizeKeepsTheSound) {
  ExpectSameAudio(Rendered("block64.wav", {"--block", "64"}), Rendered("block-default.wav", {}), 1e-4f);
}

TEST_F(RenderTest, ErrorsLeaveNoOutput) {
  WriteBytes(ScratchPath("garbage.wav"), std::vector<uint8_t>(1000, 0x5A));
  Audio three = Riff(kRate);
  three.channels.resize(3, three.channels[0]);
  ASSERT_TRUE(WriteAudio(ScratchPath("three.wav"), three, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
  const std::string riff = ScratchPath("riff.wav");
  const std::string out = ScratchPath("failed.wav");
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"render", ScratchPath("missing.wav"), out}, "cannot read"},
      {{"render", ScratchPath("garbage.wav"), out}, "cannot read"},
      {{"render", ScratchPath("three.wav"), out}, "3 channels"},
      {{"render", riff, out, "--preset", "Nowhere/Folk Stage"}, "no preset bank"},
      {{"render", riff, out, "--preset", "Acoustic/Nothing"}, "no preset \"Nothing\""},
      {{"render", riff, out, "--preset", "Folk Stage"}, "BANK/NAME"},
      {{"render", riff, out, "--set", "gain=3"}, "no parameter called \"gain\""},
      {{"render", riff, out, "--set", "model=Nothing"}, "Model cannot be \"Nothing\""},
      {{"render", riff, out, "--set", "volume=2"}, "Volume cannot be \"2\""},
      {{"render", riff, out, "--set", "model=2.5"}, "Model cannot be"},
      {{"render", riff, out, "--set", "volume"}, "NAME=VALUE"},
      {{"render", riff, out, "--program", "128"}, "--program"},
      {{"render", riff, out, "--block", "0"}, "--block"},
      {{"render", riff, out, "--ir", ScratchPath("none.wav")}, "impulse response"},
      {{"render", riff, out, "--state", ScratchPath("none.state")}, "no state file"},
      {{"render", riff, out, "--state", ScratchPath("garbage.wav")}, "cannot use the state"},
      {{"render", riff, out, "--headless"}, "unknown option"},
      {{"render", riff}, "IN and OUT"},
      {{"render", riff, ScratchPath("failed.xyz")}, "extension"},
      {{"render", riff, ScratchPath("no-folder/out.wav")}, "cannot write"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    std::string err;
    EXPECT_NE(Voltrex(c.args, &err), 0);
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    for (const std::string& name : {out, out + ".partial", ScratchPath("failed.xyz")}) EXPECT_FALSE(FileExists(name)) << name;
  }
}

TEST(PresetsCommandTest, ListsBanksWithProgramNumbers) {
  std::string out;
  ASSERT_EQ(Voltrex({"presets"}, nullptr, &out), 0);
  EXPECT_NE(out.find("bank 0: Acoustic"), std::string::npos) << out;
  EXPECT_NE(out.find("    2  Folk Stage"), std::string::npos) << out;
}

TEST(PresetsCommandTest, ExportWritesTheNewestLayoutWithARelativeImpulse) {
  const std::string path = ScratchPath("Kept Sound.vxf");
  std::string err;
  ASSERT_EQ(Voltrex({"export-preset", path, "--set", "model=Tube Creamer", "--ir", DataFolder() + "Impulses/" + kImpulse},
                    &err),
            0)
      << err;
  const std::vector<uint8_t> bytes = FileBytes(path);
  PresetFile preset;
  ASSERT_EQ(ReadPresetFile(bytes.data(), bytes.size(), preset), PresetReadResult::kRead);
  EXPECT_EQ(preset.version, 4);
  EXPECT_STREQ(preset.texts[0], "Kept Sound");
  EXPECT_EQ(std::string(preset.impulsePath), std::string("Impulses/") + kImpulse);
  EXPECT_FLOAT_EQ(preset.values[kDstPreset], 5.0f / 15.0f);
  EXPECT_EQ(preset.values[kIrLed], 1.0f);

  EXPECT_NE(Voltrex({"export-preset", ScratchPath("wrong.txt")}, &err), 0);
  EXPECT_NE(err.find(".vxf"), std::string::npos);
  EXPECT_NE(Voltrex({"export-preset", ScratchPath("no-folder/x.vxf")}, &err), 0);
  EXPECT_NE(err.find("cannot write"), std::string::npos);
}

TEST(CommandLineTest, HelpVersionAndUsageErrors) {
  std::string out, err;
  ASSERT_EQ(Voltrex({"--version"}, nullptr, &out), 0);
  EXPECT_EQ(out, "voltrex 2.5.0\n");
  ASSERT_EQ(Voltrex({"--help"}, nullptr, &out), 0);
  EXPECT_NE(out.find("tuning"), std::string::npos);
  EXPECT_EQ(Voltrex({"--bogus"}, &err), 2);
  EXPECT_NE(err.find("unknown option --bogus"), std::string::npos);
  EXPECT_EQ(Voltrex({"--in"}, &err), 2);
}

}  // namespace
