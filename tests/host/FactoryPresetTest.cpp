// The factory presets through the binary, loaded as a player loads them: the bank by its
// selection, the preset by a MIDI program change. Every preset the browser lists is the one
// the factory table describes, and every one sounds: finite, within a few LU of one common
// loudness across all banks (ITU-R BS.1770 integrated loudness of the riff), so stepping
// through the banks never jumps in level, and below full scale for a DI riff that peaks at
// -1 dBFS.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "amp/ParamIds.h"
#include "tests/host/AmpFixture.h"
#include "tools/presetgen/FactoryTable.h"
#include "tools/vsthost/InstalledPresets.h"
#include "tools/vsthost/Loudness.h"
#include "tools/vsthost/Render.h"
#include "tools/vsthost/Riff.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 256;
constexpr double kLoudnessToleranceLu = 3.0;  // either side of the presets' median
constexpr double kDiPeakDb = -1.0;            // a hot DI recording's peak

struct RenderedPreset {
  std::string bank, name;
  int model = -1, cabinet = -1;
  bool finite = true;
  double lufs = -INFINITY;    // the riff as it is
  double hotPeakDb = 0.0;     // the riff peaking at -1 dBFS
};

vsthost::WavAudio ScaledToPeak(vsthost::WavAudio audio, double peakDb) {
  const double gain = std::pow(10.0, (peakDb - vsthost::SamplePeakDb(audio)) / 20.0);
  for (std::vector<float>& channel : audio.channels)
    for (float& s : channel) s = float(s * gain);
  return audio;
}

bool AllFinite(const vsthost::WavAudio& audio) {
  for (const std::vector<float>& channel : audio.channels)
    for (float s : channel)
      if (!std::isfinite(s)) return false;
  return true;
}

// The preset in a fresh instance, so that none inherits what an earlier one left.
std::unique_ptr<vsthost::PluginHost> LoadPreset(const std::vector<vsthost::PresetBank>& banks, int b, int p) {
  std::string error;
  auto host = vsthost::PluginHost::Load(PluginPath(), &error);
  EXPECT_TRUE(host) << error;
  if (!host) return host;
  host->Start(kRate, kBlock);
  vsthost::LoadInstalledPreset(*host, b, int(banks.size()), p);
  return host;
}

RenderedPreset RenderPreset(const std::vector<vsthost::PresetBank>& banks, int b, int p,
                            const vsthost::WavAudio& riff) {
  RenderedPreset rendered{banks[size_t(b)].name, banks[size_t(b)].presets[size_t(p)]};
  auto host = LoadPreset(banks, b, p);
  if (!host) return rendered;
  const std::vector<double> values = StoredValues(*host);
  rendered.model = int(std::lround(values[kDstPreset]));
  rendered.cabinet = int(std::lround(values[kCabPreset]));
  const vsthost::WavAudio out = vsthost::Process(*host, riff, kBlock);
  rendered.finite = AllFinite(out);
  rendered.lufs = vsthost::IntegratedLoudness(out);
  auto hot = LoadPreset(banks, b, p);
  if (hot) rendered.hotPeakDb = vsthost::SamplePeakDb(vsthost::Process(*hot, ScaledToPeak(riff, kDiPeakDb), kBlock));
  return rendered;
}

class FactoryPresetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    banks_ = new std::vector<vsthost::PresetBank>(vsthost::ListInstalledPresets(PluginPath()));
    rendered_ = new std::vector<RenderedPreset>;
    const vsthost::WavAudio riff = vsthost::SynthesiseRiff(kRate);
    for (int b = 0; b < int(banks_->size()); ++b)
      for (int p = 0; p < int((*banks_)[size_t(b)].presets.size()); ++p)
        rendered_->push_back(RenderPreset(*banks_, b, p, riff));
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

TEST_F(FactoryPresetTest, EveryPresetSitsNearOneLoudnessAndBelowFullScale) {
  std::vector<double> levels;
  for (const RenderedPreset& r : *rendered_) {
    EXPECT_TRUE(r.finite) << r.bank << "/" << r.name;
    levels.push_back(r.lufs);
  }
  ASSERT_FALSE(levels.empty());
  std::sort(levels.begin(), levels.end());
  const size_t n = levels.size();
  const double median = n % 2 ? levels[n / 2] : 0.5 * (levels[n / 2 - 1] + levels[n / 2]);
  for (const RenderedPreset& r : *rendered_) {
    EXPECT_NEAR(r.lufs, median, kLoudnessToleranceLu) << r.bank << "/" << r.name << ": " << r.lufs << " LUFS";
    EXPECT_LT(r.hotPeakDb, 0.0) << r.bank << "/" << r.name << ": peak " << r.hotPeakDb << " dBFS";
  }
}

}  // namespace
