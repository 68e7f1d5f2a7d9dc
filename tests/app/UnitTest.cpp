// The standalone's own pieces without the binary: --set values, the state file's format
// and moving a damaged one aside, the program-chunk impulse path, the command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CommandLine.h"
#include "app/InProcessAmp.h"
#include "app/ParamSettings.h"
#include "app/StateFile.h"
#include "amp/ParamIds.h"
#include "tests/app/TestSupport.h"

namespace {

TEST(ParamSettingTest, NamesAndValuesAsPlayersWriteThem) {
  const struct {
    const char* text;
    int index;
    float normalized;
  } cases[] = {
      {"model=Tube Creamer", kDstPreset, 5.0f / 15.0f},
      {"Model = tube creamer", kDstPreset, 5.0f / 15.0f},
      {"model=15", kDstPreset, 1.0f},
      {"cabinet=Marsall 1960", kCabPreset, 31.0f / 38.0f},
      {"volume=0.25", kMainVolume, 0.25f},
      {"Impulse Response On=on", kIrLed, 1.0f},
      {"gate-on=off", kGateOn, 0.0f},
      {"drive_on=1", kDstOn, 1.0f},
      {"tuning=Drop D", kTuning, 2.0f / 11.0f},
      {"tuning=open g-d,g,d,g,b,d", kTuning, 6.0f / 11.0f},
      {"tuning=0", kTuning, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ParamSetting setting;
    std::string error;
    ASSERT_TRUE(ParseParamSetting(c.text, setting, error)) << error;
    EXPECT_EQ(setting.index, c.index);
    EXPECT_FLOAT_EQ(setting.normalized, c.normalized);
  }
}

TEST(ParamSettingTest, RefusesWithAMessage) {
  for (const char* text : {"volume", "=1", "gain=1", "volume=", "volume=1.5", "volume=-0.1", "volume=nan",
                           "volume=0.5x", "model=16", "model=1.5", "model=Nothing", "drive_on=0.5", "tuning=12",
                           "tuning=Drop"}) {
    SCOPED_TRACE(text);
    ParamSetting setting;
    std::string error;
    EXPECT_FALSE(ParseParamSetting(text, setting, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(StateFileTest, EncodedStateDecodesAndAnyDamageIsSeen) {
  const std::vector<uint8_t> chunk{1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<uint8_t> bytes = EncodeState(chunk);
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(DecodeState(bytes.data(), bytes.size(), decoded));
  EXPECT_EQ(decoded, chunk);
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::vector<uint8_t> damaged = bytes;
    damaged[i] ^= 0x10;
    EXPECT_FALSE(DecodeState(damaged.data(), damaged.size(), decoded)) << "byte " << i;
  }
  EXPECT_FALSE(DecodeState(bytes.data(), bytes.size() - 1, decoded));
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(DecodeState(longer.data(), longer.size(), decoded));
  const std::vector<uint8_t> empty = EncodeState({});
  EXPECT_FALSE(DecodeState(empty.data(), empty.size(), decoded));
}

TEST(StateFileTest, WritesThroughMissingFoldersAndReadsBack) {
  const std::string path = ScratchPath("deep/er/state");
  std::string error;
  ASSERT_TRUE(WriteStateFile(path, {9, 8, 7}, error)) << error;
  std::vector<uint8_t> chunk;
  std::string reason;
  EXPECT_EQ(ReadStateFile(path, chunk, reason), StateRead::kRead);
  EXPECT_EQ(chunk, (std::vector<uint8_t>{9, 8, 7}));
  EXPECT_FALSE(FileExists(path + ".new"));
  EXPECT_EQ(ReadStateFile(ScratchPath("none"), chunk, reason), StateRead::kMissing);
  EXPECT_FALSE(WriteStateFile(ScratchPath("deep/er/state/inside"), {1}, error));
}

TEST(StateFileTest, SetAsideNeverReplacesAFileAlreadyAside) {
  const std::string path = ScratchPath("aside.state");
  for (int round = 1; round <= 3; ++round) {
    WriteBytes(path, {uint8_t(round)});
    std::string aside;
    ASSERT_TRUE(SetStateAside(path, aside));
    EXPECT_EQ(aside, path + (round == 1 ? ".damaged" : ".damaged-" + std::to_string(round)));
    EXPECT_FALSE(FileExists(path));
  }
  EXPECT_EQ(FileBytes(path + ".damaged"), std::vector<uint8_t>{1});
  EXPECT_EQ(FileBytes(path + ".damaged-3"), std::vector<uint8_t>{3});
}

TEST(StateFileTest, DefaultPathFollowsXdgThenHome) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = config ? config : "";
  setenv("XDG_CONFIG_HOME", "/somewhere", 1);
  EXPECT_EQ(DefaultStatePath(), "/somewhere/voltrex/state");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(DefaultStatePath(), "/home/player/.config/voltrex/state");
  if (config) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(ProgramChunkTest, ImpulsePathReadAndReplaced) {
  std::string error;
  auto amp = CreateAmp(error);
  ASSERT_TRUE(amp) << error;
  amp->Start();
  const std::vector<uint8_t> chunk = amp->GetChunk(false);
  EXPECT_EQ(ChunkImpulsePath(chunk), "");
  const std::vector<uint8_t> changed = ChunkWithImpulsePath(chunk, "/ir/room.wav");
  EXPECT_EQ(ChunkImpulsePath(changed), "/ir/room.wav");
  EXPECT_EQ(ChunkWithImpulsePath(changed, ""), chunk);
  EXPECT_TRUE(ChunkWithImpulsePath({1, 2, 3}, "x").empty());
  for (uint8_t top : {0x7F, 0x80}) {  // a path length past the end, and a negative one
    std::vector<uint8_t> damaged = chunk;
    damaged[11] = top;
    EXPECT_EQ(ChunkImpulsePath(damaged), "");
    EXPECT_TRUE(ChunkWithImpulsePath(damaged, "x").empty());
  }
}

TEST(CommandLineTest, OptionsBelongToTheirCommands) {
  Options options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--headless", "--in", "a:1", "--in=b:2", "--out", "c", "--midi", "m", "--set",
                                "volume=0.5", "--program", "3"},
                               options, error));
  EXPECT_EQ(options.command, Command::kPlay);
  EXPECT_TRUE(options.headless);
  EXPECT_EQ(options.inPorts, (std::vector<std::string>{"a:1", "b:2"}));
  EXPECT_EQ(options.start.program, 3);
  ASSERT_TRUE(ParseCommandLine({"render", "a.wav", "b.flac", "--block=64", "--preset", "Clean/X"}, options, error));
  EXPECT_EQ(options.blockSize, 64);
  EXPECT_EQ(options.output, "b.flac");
  for (const std::vector<std::string>& wrong :
       std::vector<std::vector<std::string>>{{"--block", "64"},
                                              {"render", "a", "b", "--headless"},
                                              {"presets", "--set", "volume=1"},
                                              {"--in", "a", "--in", "b", "--in", "c"},
                                              {"stray"},
                                              {"export-preset"},
                                              {"--program", "-1"}}) {
    EXPECT_FALSE(ParseCommandLine(wrong, options, error)) << wrong[0];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
