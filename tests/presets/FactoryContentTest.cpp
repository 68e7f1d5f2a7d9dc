// The factory data folder the build places beside the plug-in: enough banks and presets,
// every model and many cabinets, each preset loading cleanly, no two alike, impulse
// responses that load, and a generator that gives the same bytes every time.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "cabinet/ImpulseFiles.h"
#include "tests/cabinet/KeptConvolver.h"
#include "cabinet/PartitionedConvolver.h"
#include "amp/ParamIds.h"
#include "presets/PresetLibrary.h"
#include "tests/presets/PresetTestKit.h"
#include "tools/presetgen/FactoryTable.h"
#include "tools/presetgen/FactoryWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMinBanks = 6;
constexpr int kMinPresetsPerBank = 8;
constexpr int kMinCabinetVoicings = 20;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

struct LoadedPreset {
  std::string bank, name;
  bool loaded = false;
  RecordingTarget target;
};

class FactoryContent : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    MessageCatcher catcher;
    library_ = new PresetLibrary;
    library_->ListPresetBanksIn(VOLTREX_FACTORY_FOLDER "/");
    presets_ = new std::vector<LoadedPreset>;
    RecordingTarget display;
    for (int b = 0; b < library_->Banks().Count(); ++b) {
      library_->ListBankPresets(b / double(library_->Banks().Count() - 1), display);
      for (int p = 0; p < library_->Presets().Count(); ++p) {
        library_->SelectPreset(p);
        LoadedPreset& loaded = presets_->emplace_back();
        loaded.bank = library_->Banks().Name(b);
        loaded.name = library_->Presets().Name(p);
        loaded.loaded = library_->LoadSelectedPreset(loaded.target);
      }
    }
    messages_ = int(catcher.messages.size());
  }
  static void TearDownTestSuite() {
    delete presets_;
    delete library_;
  }

  static PresetLibrary* library_;
  static std::vector<LoadedPreset>* presets_;
  static int messages_;
};

PresetLibrary* FactoryContent::library_ = nullptr;
std::vector<LoadedPreset>* FactoryContent::presets_ = nullptr;
int FactoryContent::messages_ = 0;

}  // namespace

TEST_F(FactoryContent, HasSixBanksOfEightPresetsOrMore) {
  ASSERT_GE(library_->Banks().Count(), kMinBanks);
  std::map<std::string, int> perBank;
  for (const LoadedPreset& p : *presets_) ++perBank[p.bank];
  for (int b = 0; b < library_->Banks().Count(); ++b)
    EXPECT_GE(perBank[library_->Banks().Name(b)], kMinPresetsPerBank) << library_->Banks().Name(b);
}

TEST_F(FactoryContent, EveryPresetLoadsWithoutAMessage) {
  for (const LoadedPreset& p : *presets_) EXPECT_TRUE(p.loaded) << p.bank << "/" << p.name;
  EXPECT_EQ(messages_, 0);
}

TEST_F(FactoryContent, UsesEveryModelAndTwentyCabinetVoicings) {
  std::set<int> models, cabinets;
  for (const LoadedPreset& p : *presets_) {
    models.insert(int(std::lround(p.target.Value(kDstPreset) * (kNumModels - 1))));
    cabinets.insert(int(std::lround(p.target.Value(kCabPreset) * (kNumCabinets - 1))));
  }
  EXPECT_EQ(models.size(), std::size_t(kNumModels));
  cabinets.erase(0);  // "Cabinet Off" is no voicing
  EXPECT_GE(cabinets.size(), std::size_t(kMinCabinetVoicings));
}

TEST_F(FactoryContent, NoTwoPresetsAreAlike) {
  std::set<std::vector<std::pair<int, double>>> seen;
  for (const LoadedPreset& p : *presets_) {
    std::vector<std::pair<int, double>> settings(p.target.values.begin(), p.target.values.end());
    for (const TargetCall& call : p.target.calls)
      if (call.kind == TargetCall::kImpulse) settings.emplace_back(-2, double(std::hash<std::string>{}(call.text)));
    EXPECT_TRUE(seen.insert(settings).second) << p.bank << "/" << p.name;
  }
}

TEST_F(FactoryContent, ImpulseResponsesResolveBesideTheBinaryAndLoad) {
  int withImpulse = 0;
  KeptConvolver kept;
  ImpulseFiles files(kept);
  for (const LoadedPreset& p : *presets_) {
    for (const TargetCall& call : p.target.calls) {
      if (call.kind != TargetCall::kImpulse) continue;
      ++withImpulse;
      EXPECT_EQ(call.text.rfind(library_->DataFolderPath(), 0), 0u) << call.text;
      EXPECT_TRUE(files.LoadImpulseFile(call.text)) << call.text;
    }
  }
  EXPECT_GE(withImpulse, 4);
}

TEST(FactoryGenerator, RegeneratingGivesTheSameBytes) {
  FactoryTable table;
  std::string error;
  ASSERT_TRUE(ParseFactoryTable(ReadText(VOLTREX_FACTORY_TABLE), table, error)) << error;
  ScratchFolder scratch;
  ASSERT_TRUE(WriteFactoryContent(table, scratch.Path(), error)) << error;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(scratch.Path())) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const fs::path built = fs::path(VOLTREX_FACTORY_FOLDER) / fs::relative(entry.path(), scratch.Path());
    EXPECT_EQ(ReadText(entry.path()), ReadText(built)) << built;
  }
  EXPECT_EQ(files, int(table.presets.size() + table.impulses.size()));
}

TEST(FactoryGenerator, NamesTheLineItCannotRead) {
  FactoryTable table;
  std::string error;
  EXPECT_FALSE(ParseFactoryTable("[Clean]\n# fine\nBad | Clean 9 | 1 1 1 1 1 | 1 1 | Cox | 1 1 1 | off |\n",
                                 table, error));
  EXPECT_NE(error.find("line 3"), std::string::npos);
  EXPECT_FALSE(ParseFactoryTable("[Clean]\nLoud | Clean 1 | 2 1 1 1 1 | 1 1 | Cox | 1 1 1 | off |\n", table, error));
}
