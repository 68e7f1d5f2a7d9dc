// State saved and restored by the host as program and bank chunks.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "tests/host/PluginFixture.h"
#include "tools/vsthost/WavFile.h"

namespace {

constexpr size_t kFreshProgramChunkBytes = 1308;

std::vector<double> ReadValues(const std::vector<uint8_t>& chunk, size_t offset) {
  std::vector<double> values(162);
  std::memcpy(values.data(), chunk.data() + offset, 162 * sizeof(double));
  return values;
}

std::vector<double> DefaultValues(vsthost::PluginHost& host) {
  return ReadValues(host.GetChunk(false), 12);
}

// Moves every parameter somewhere other than its default.
void Scramble(vsthost::PluginHost& host, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int i = 0; i < 162; ++i) host.SetParameter(i, unit(random));
}

// The chunk fuzzer's seeds (first byte: 0 bank, 1 program) must be chunks the plug-in
// restores as they are, or the fuzzer starts from rejected input and explores little.
TEST_F(PluginTest, ChunkFuzzerSeedsRestore) {
  const std::filesystem::path folder = std::filesystem::path(vsthost::NativePath(VOLTREX_FUZZ_CORPUS)) / "chunk_fuzz";
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1u) << entry.path();
    const bool bank = (bytes[0] & 1) == 0;
    EXPECT_EQ(host->SetChunk(std::vector<uint8_t>(bytes.begin() + 1, bytes.end()), bank), 1) << entry.path();
    ++seeds;
  }
  EXPECT_GE(seeds, 2);
}

TEST_F(PluginTest, FreshProgramChunkIsHeaderEmptyPathAndValues) {
  const std::vector<uint8_t> chunk = host->GetChunk(false);
  ASSERT_EQ(chunk.size(), kFreshProgramChunkBytes);
  const uint8_t header[] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(chunk.data(), header, sizeof header), 0);
  const std::vector<double> values = ReadValues(chunk, 12);
  EXPECT_EQ(values[16], 0.5);
  EXPECT_EQ(values[21], 0.0);
  EXPECT_EQ(values[151], 0.5);
}

TEST_F(PluginTest, ProgramChunkRoundTripRestoresEveryValueBitForBit) {
  Scramble(*host, 1);
  const std::vector<uint8_t> saved = host->GetChunk(false);
  Scramble(*host, 2);
  ASSERT_NE(host->GetChunk(false), saved);
  EXPECT_EQ(host->SetChunk(saved, false), 1);
  EXPECT_EQ(host->GetChunk(false), saved);

  // Into a fresh instance as well.
  std::string error;
  auto other = vsthost::PluginHost::Load(PluginPath(), &error);
  ASSERT_TRUE(other) << error;
  other->Dispatch(vst2::effOpen);
  EXPECT_EQ(other->SetChunk(saved, false), 1);
  EXPECT_EQ(other->GetChunk(false), saved);
}

TEST_F(PluginTest, BankChunkRoundTripRestoresProgramAndState) {
  host->Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Lead"));
  Scramble(*host, 3);
  const std::vector<uint8_t> bank = host->GetChunk(true);
  // header, name length + "Lead", initialised flag, stored state, current state
  ASSERT_EQ(bank.size(), 8u + 4 + 4 + 1 + 2 * (4 + 162 * 8));
  const std::vector<uint8_t> program = host->GetChunk(false);
  Scramble(*host, 4);
  host->Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Other"));
  EXPECT_EQ(host->SetChunk(bank, true), 1);
  EXPECT_EQ(host->GetChunk(false), program);
  char name[64] = {};
  host->Dispatch(vst2::effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Lead");
}

TEST_F(PluginTest, RestoredValuesAreClampedToTheirRanges) {
  std::vector<double> values = DefaultValues(*host);
  values[1] = 5.0;
  values[12] = -7.0;
  values[157] = 99.0;
  values[16] = NAN;  // not a value: the parameter keeps its own
  ASSERT_EQ(host->SetChunk(MakeProgramChunk("", values), false), 1);
  const std::vector<double> restored = DefaultValues(*host);
  EXPECT_EQ(restored[1], 1.0);
  EXPECT_EQ(restored[12], 0.0);
  EXPECT_EQ(restored[157], 11.0);
  EXPECT_EQ(restored[16], 0.5);
}

TEST_F(PluginTest, ImpulsePathTravelsWithTheState) {
  // The restore loads the file: it must exist, or a message box would wait for a click.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "voltrex-chunk-test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "V30 4x12.wav").string();
  vsthost::WavAudio impulse;
  impulse.channels = {std::vector<float>{0.5f, 0.25f}};
  ASSERT_TRUE(vsthost::WriteWavFloat(path, impulse));
  std::vector<double> values = DefaultValues(*host);
  ASSERT_EQ(host->SetChunk(MakeProgramChunk(path, values), false), 1);
  const std::vector<uint8_t> chunk = host->GetChunk(false);
  ASSERT_EQ(chunk.size(), kFreshProgramChunkBytes + path.size());
  EXPECT_EQ(std::string(chunk.begin() + 12, chunk.begin() + 12 + long(path.size())), path);

  // A path with a zero byte inside is cut there.
  std::string zeroed = "abc";
  zeroed += '\0';
  zeroed += "def";
  ASSERT_EQ(host->SetChunk(MakeProgramChunk(zeroed, values), false), 1);
  EXPECT_EQ(host->GetChunk(false).size(), kFreshProgramChunkBytes + 3);
  std::filesystem::remove_all(folder);
}

TEST_F(PluginTest, ChunkWithoutMagicIsReadAsABareState) {
  std::vector<double> values = DefaultValues(*host);
  values[16] = 0.125;
  ASSERT_EQ(host->SetChunk(MakeProgramChunk("", values, false), false), 1);
  EXPECT_EQ(host->GetParameter(16), 0.125f);
}

TEST_F(PluginTest, BrokenChunksAnswerZero) {
  host->SetParameter(16, 0.25f);
  const std::vector<uint8_t> before = host->GetChunk(false);
  const std::vector<uint8_t> headerOnly = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
  EXPECT_EQ(host->SetChunk(headerOnly, false), 0);
  std::vector<uint8_t> headerAndEmptyPath = headerOnly;
  headerAndEmptyPath.insert(headerAndEmptyPath.end(), 4, 0);
  EXPECT_EQ(host->SetChunk(headerAndEmptyPath, false), 0);
  EXPECT_EQ(host->SetChunk({0x74, 0x66, 0x66, 0x70, 0}, false), 0);  // magic, no version
  EXPECT_EQ(host->GetChunk(false), before);

  // A path length past the end reads no values.
  std::vector<uint8_t> lying = MakeProgramChunk("", DefaultValues(*host));
  lying[8] = 0xFF;
  lying[9] = 0xFF;
  EXPECT_EQ(host->SetChunk(lying, false), 0);
  lying[11] = 0xFF;  // a negative length
  EXPECT_EQ(host->SetChunk(lying, false), 0);
  EXPECT_EQ(host->GetChunk(false), before);
}

TEST_F(PluginTest, NullOrEmptyChunksChangeNothing) {
  host->SetParameter(16, 0.25f);
  const std::vector<uint8_t> before = host->GetChunk(false);
  EXPECT_EQ(host->Dispatch(vst2::effSetChunk, 1, 100, nullptr), 0);
  uint8_t byte = 0;
  EXPECT_EQ(host->Dispatch(vst2::effSetChunk, 1, 0, &byte), 0);
  EXPECT_EQ(host->Dispatch(vst2::effSetChunk, 0, -4, &byte), 0);
  EXPECT_EQ(host->GetChunk(false), before);
  EXPECT_EQ(host->Dispatch(vst2::effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(PluginTest, TruncatedChunkKeepsTheValuesItHeld) {
  std::vector<double> values = DefaultValues(*host);
  values[0] = 1.0;
  values[1] = 0.75;
  values[2] = 0.125;
  std::vector<uint8_t> chunk = MakeProgramChunk("", values);
  chunk.resize(12 + 2 * 8 + 5);  // two whole values and part of the third
  EXPECT_EQ(host->SetChunk(chunk, false), 0);
  EXPECT_EQ(host->GetParameter(0), 1.0f);
  EXPECT_EQ(host->GetParameter(1), 0.75f);
  EXPECT_EQ(host->GetParameter(2), 0.5f);
}

}  // namespace
