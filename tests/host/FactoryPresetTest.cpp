// The factory presets through the binary, loaded as a player loads them: the bank by its
// selection, the preset by a MIDI program change. Every preset the browser lists is the one
// the factory table describes, and every one sounds: finite, not silent, and near its
// bank's loudness, so stepping through a bank never jumps in level.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "amp/ParamIds.h"
#include "tests/host/AmpFixture.h"
#include "tools/presetgen/FactoryTable.h"
#include "tools/vsthost/InstalledPresets.h"
#include "tools/vsthost/Render.h"
#include "tools/vsthost/Riff.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 256;
constexpr double kPluckHz = 110.0;  // A2, the open fifth string
constexpr double kPluckSeconds = 1.5;
constexpr double kLoudnessSpreadDb = 6.0;
constexpr double kSilenceDb = -60.0;

struct RenderedPreset {
  std::string bank, name;
  int model = -1, cabinet = -1;
  bool finite = true;
  double rmsDb = -INFINITY;
};

bool AllFinite(const vsthost::WavAudio& audio) {
  for (const std::vector<float>& channel : audio.channels)
    for (float s : channel)
      if (!std::isfinite(s)) return false;
  return true;
}

RenderedPreset RenderPreset(const std::vector<vsthost::PresetBank>& banks, int b, int p,
                            const vsthost::WavAudio& pluck) {
  RenderedPreset rendered{banks[size_t(b)].name, banks[size_t(b)].presets[size_t(p)]};
  std::string error;
  auto host = vsthost::PluginHost::Load(PluginPath(), &error);
  EXPECT_TRUE(host) << error;
  if (!host) return rendered;
  host->Start(pluck.sampleRate, kBlock);
  vsthost::LoadInstalledPreset(*host, b, int(banks.size()), p);
  const std::vector<double> values = StoredValues(*host);
  rendered.model = int(std::lround(values[kDstPreset]));
  rendered.cabinet = int(std::lround(values[kCabPreset]));
  const vsthost::WavAudio out = vsthost::Process(*host, pluck, kBlock);
  rendered.finite = AllFinite(out);
  rendered.rmsDb = vsthost::RmsDb(out);
  return rendered;
}

class FactoryPresetTest : public ::testing::Test {
 protected:
  // Every preset in a fresh instance, so that none inherits what an earlier one left.
  static void SetUpTestSuite() {
    banks_ = new std::vector<vsthost::PresetBank>(vsthost::ListInstalledPresets(PluginPath()));
    rendered_ = new std::vector<RenderedPreset>;
    const vsthost::WavAudio pluck = vsthost::SynthesisePluck(kRate, kPluckHz, kPluckSeconds);
    for (int b = 0; b < int(banks_->size()); ++b)
      for (int p = 0; p < int((*banks_)[size_t(b)].presets.size()); ++p)
        rendered_->push_back(RenderPreset(*banks_, b, p, pluck));
  }
  static void TearDownTestSuite() {
    delete rendered_;
    delete banks_;
  }

  static std::vector<vsthost::PresetBank>* banks_;
  static std::vector<RenderedPreset>* rendered_;
};

std::vector<vsthost::PresetBank>* FactoryPresetTest::banks_ = nullptr;
std::vector<RenderedPreset>* FactoryPresetTest::rendered_ = nullptr;

FactoryTable ReadFactoryTable() {
  std::ifstream file(vsthost::NativePath(VOLTREX_FACTORY_TABLE), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  FactoryTable table;
  std::string error;
  EXPECT_TRUE(ParseFactoryTable(text.str(), table, error)) << error;
  return table;
}

TEST_F(FactoryPresetTest, ProgramChangeLoadsTheListedPresetOfTheSelectedBank) {
  const FactoryTable table = ReadFactoryTable();
  ASSERT_EQ(rendered_->size(), table.presets.size());
  std::map<std::pair<std::string, std::string>, const FactoryPreset*> byName;
  for (const FactoryPreset& preset : table.presets) byName[{preset.bank, preset.name}] = &preset;
  for (const RenderedPreset& r : *rendered_) {
    const auto found = byName.find({r.bank, r.name});
    ASSERT_NE(found, byName.end()) << r.bank << "/" << r.name;
    EXPECT_EQ(r.model, found->second->model) << r.bank << "/" << r.name;
    EXPECT_EQ(r.cabinet, found->second->cabinet) << r.bank << "/" << r.name;
  }
}

TEST_F(FactoryPresetTest, EveryPresetSoundsFiniteAndNearItsBanksMedianLoudness) {
  std::map<std::string, std::vector<double>> loudness;
  for (const RenderedPreset& r : *rendered_) {
    EXPECT_TRUE(r.finite) << r.bank << "/" << r.name;
    EXPECT_GT(r.rmsDb, kSilenceDb) << r.bank << "/" << r.name;
    loudness[r.bank].push_back(r.rmsDb);
  }
  for (auto& [bank, levels] : loudness) {
    std::sort(levels.begin(), levels.end());
    const size_t n = levels.size();
    const double median = n % 2 ? levels[n / 2] : 0.5 * (levels[n / 2 - 1] + levels[n / 2]);
    for (const RenderedPreset& r : *rendered_) {
      if (r.bank != bank) continue;
      EXPECT_NEAR(r.rmsDb, median, kLoudnessSpreadDb) << bank << "/" << r.name;
    }
  }
}

}  // namespace
