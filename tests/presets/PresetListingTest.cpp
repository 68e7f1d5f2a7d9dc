// The data folder, the bank and preset listings, and loading the selected preset from its
// file.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Files.h"
#include "amp/ParamIds.h"
#include "presets/DataFolder.h"
#include "presets/PresetFolders.h"
#include "presets/PresetLibrary.h"
#include "tests/presets/PresetTestKit.h"

namespace {

const std::string kSep(1, platform::kSeparator);

std::vector<std::string> Names(const NameList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.emplace_back(list.Name(i));
  return names;
}

// A data folder with the given banks, each holding presets p0.vxf .. p<n-1>.vxf.
void MakeBank(const ScratchFolder& data, const std::string& bank, int presets) {
  data.MakeFolder("Presets/" + bank);
  for (int i = 0; i < presets; ++i)
    data.WriteFile("Presets/" + bank + "/p" + std::to_string(i) + ".vxf",
                   PresetBytes(3, DistinctValues(3)));
}

}  // namespace

TEST(DataFolder, LiesBesideTheBinaryWhenNothingIsInstalled) {
  EXPECT_EQ(DataFolderFor("/nonexistent/lib/vst/"), "/nonexistent/lib/vst/Voltrex" + kSep);
  EXPECT_EQ(DataFolderFor("C:\\Plugins\\"), "C:\\Plugins\\Voltrex" + kSep);
  EXPECT_EQ(DataFolderFor(kSep), kSep + "Voltrex" + kSep);
  EXPECT_EQ(DataFolderFor(""), "");
  EXPECT_EQ(DataFolder(), DataFolderFor(platform::LibraryFolder()));
  EXPECT_EQ(PresetsRootFor("/a/Voltrex/"), "/a/Voltrex/Presets" + kSep);
  EXPECT_EQ(PresetsRootFor(""), "");
}

// An installed program in PREFIX/bin finds PREFIX/share/voltrex; a folder beside the
// binary (a plug-in, or a program in the build folder) wins; an empty one counts as none.
TEST(DataFolder, InstalledProgramFindsTheSharedFolder) {
  struct Case {
    std::vector<std::string> files;
    std::string expected;  // relative to the scratch folder
  };
  const std::vector<Case> cases = {
      {{"share/voltrex/Presets/Clean/a.vxf"}, "share/voltrex/"},
      {{"bin/Voltrex/Presets/Clean/a.vxf", "share/voltrex/Presets/Clean/a.vxf"}, "bin/Voltrex/"},
      {{"share/voltrex/Presets/Clean/a.vxf", "bin/Voltrex/"}, "share/voltrex/"},
      {{"share/other/x"}, "bin/Voltrex/"},
  };
  for (const Case& c : cases) {
    ScratchFolder prefix;
    prefix.MakeFolder("bin");
    for (const std::string& file : c.files) {
      if (file.back() == '/') {
        prefix.MakeFolder(file);
      } else {
        prefix.MakeFolder(file.substr(0, file.rfind('/')));
        prefix.WriteFile(file, {'x'});
      }
    }
    std::string expected = prefix.Path() + c.expected;
    for (char& ch : expected)
      if (ch == '/') ch = platform::kSeparator;
    EXPECT_EQ(DataFolderFor(prefix.Path() + "bin" + kSep), expected) << c.files.front();
  }
}

TEST(PresetListing, BanksAreTheVisibleFoldersInNameOrder) {
  ScratchFolder data;
  for (const char* bank : {"metal", "Clean", ".git", "Acoustic", "Lead"}) data.MakeFolder(std::string("Presets/") + bank);
  data.WriteFile("Presets/readme.txt", {'x'});
  data.WriteFile("Presets/Stray.vxf", PresetBytes(3, DistinctValues(3)));
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  EXPECT_EQ(Names(library.Banks()), (std::vector<std::string>{"Acoustic", "Clean", "Lead", "metal"}));
}

TEST(PresetListing, OnlyPresetFilesAreListedAndEachLoadsFromItsOwnName) {
  ScratchFolder data;
  const auto preset = PresetBytes(3, DistinctValues(3));
  for (const char* file : {"b.vxf", "A.VXF", "c.Vxf", "notes.txt", "Thumbs.db", ".DS_Store",
                           "._b.vxf", ".vxf", "vxf", "d.vxf.bak", "e.vxfx"})
    data.WriteFile(std::string("Presets/Bank/") + file, preset);
  data.MakeFolder("Presets/Bank/folder.vxf");
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  RecordingTarget target;
  library.ListBankPresets(0.0, target);
  EXPECT_EQ(Names(library.Presets()), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_STREQ(library.Presets().FileName(0), "A.VXF");
  EXPECT_EQ(library.BankFolder(), data.Path() + "Presets" + kSep + "Bank" + kSep);
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls[0].text, "Bank");

  for (int i = 0; i < 3; ++i) {
    library.SelectPreset(i);
    RecordingTarget loadTarget;
    EXPECT_TRUE(library.LoadSelectedPreset(loadTarget)) << library.Presets().FileName(i);
    EXPECT_EQ(loadTarget.calls.front().kind, TargetCall::kPresetName);
    EXPECT_EQ(loadTarget.calls.front().text, library.Presets().Name(i));
  }
}

TEST(PresetListing, ListsStopAtOneHundredEntries) {
  ScratchFolder data;
  for (int b = 0; b < 105; ++b) data.MakeFolder("Presets/bank" + std::to_string(1000 + b));
  MakeBank(data, "bank1000", 0);
  for (int i = 0; i < 120; ++i)
    data.WriteFile("Presets/bank1000/p" + std::to_string(1000 + i) + ".vxf", {'v'});
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  ASSERT_EQ(library.Banks().Count(), 100);
  EXPECT_STREQ(library.Banks().Name(99), "bank1099");
  RecordingTarget target;
  library.ListBankPresets(0.0, target);
  ASSERT_EQ(library.Presets().Count(), 100);
  EXPECT_STREQ(library.Presets().Name(99), "p1099");
  EXPECT_STREQ(library.Presets().Name(100), "");  // outside the list: empty, never read
  EXPECT_STREQ(library.Presets().Name(-1), "");
}

TEST(PresetListing, LongNamesAreCutForDisplayButStillLoad) {
  ScratchFolder data;
  // 98 ASCII bytes, then a two-byte character that would straddle the 99-byte limit.
  const std::string longName = std::string(98, 'n') + "\xC3\xA9" + std::string(50, 'z');
  data.WriteFile("Presets/" + std::string(120, 'B') + "/" + longName + ".vxf",
                 PresetBytes(3, DistinctValues(3)));
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  RecordingTarget target;
  library.ListBankPresets(1.0, target);
  EXPECT_EQ(std::string(library.Banks().Name(0)), std::string(99, 'B'));
  ASSERT_EQ(library.Presets().Count(), 1);
  EXPECT_EQ(std::string(library.Presets().Name(0)), std::string(98, 'n'));
  EXPECT_TRUE(library.LoadSelectedPreset(target));
}

TEST(PresetListing, EmptyListsAndListsOfOneNeverReadOutside) {
  ScratchFolder data;
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());  // no Presets folder at all
  RecordingTarget target;
  library.ListBankPresets(0.7, target);
  EXPECT_EQ(library.CurrentBank(), 0);
  EXPECT_EQ(library.Presets().Count(), 0);
  EXPECT_EQ(library.BankFolder(), "");
  library.SelectPreset(5);
  EXPECT_EQ(library.SelectedPreset(), 0);
  EXPECT_FALSE(library.LoadSelectedPreset(target));
  EXPECT_EQ(target.ParamOrder().size(), 0u);

  MakeBank(data, "Only", 1);
  library.ListPresetBanksIn(data.Path());
  for (double value : {0.0, 0.5, 1.0}) {
    library.ListBankPresets(value, target);
    EXPECT_EQ(library.CurrentBank(), 0);
    library.SelectPreset(3);
    EXPECT_EQ(library.SelectedPreset(), 0);
    EXPECT_TRUE(library.LoadSelectedPreset(target));
  }
}

TEST(PresetListing, BankSelectionSurvivesRoundingAndKeepsThePresetSelectionInRange) {
  ScratchFolder data;
  for (int b = 0; b < 23; ++b) MakeBank(data, "bank" + std::to_string(10 + b), b == 15 ? 2 : 6);
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  RecordingTarget target;
  library.ListBankPresets(0.0, target);
  library.SelectPreset(5);
  // b / (B - 1) sent as a float selects bank b.
  library.ListBankPresets(double(float(15.0 / 22.0)), target);
  EXPECT_EQ(library.CurrentBank(), 15);
  EXPECT_EQ(library.Presets().Count(), 2);
  EXPECT_EQ(library.SelectedPreset(), 1);
}

TEST(PresetListing, AMissingFileLoadsNothingAndSaysNothing) {
  MessageCatcher catcher;
  ScratchFolder data;
  MakeBank(data, "Bank", 2);
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  RecordingTarget target;
  library.ListBankPresets(0.0, target);
  std::filesystem::remove(data.Path() + "Presets/Bank/p1.vxf");
  library.SelectPreset(1);
  EXPECT_FALSE(library.LoadSelectedPreset(target));
  EXPECT_TRUE(target.ParamOrder().empty());
  EXPECT_EQ(target.calls.back().text, "p1");  // the name is shown before the file is opened
  EXPECT_TRUE(catcher.messages.empty());
}

TEST(PresetListing, AFileBeyondTheReadBufferIsRefused) {
  ScratchFolder data;
  const std::string hugeText(PresetLibrary::kMaxFileBytes, 't');
  data.WriteFile("Presets/Bank/huge.vxf", EncodePreset(3, {hugeText, "", "", "", ""}, DistinctValues(3)));
  PresetLibrary library;
  library.ListPresetBanksIn(data.Path());
  RecordingTarget target;
  library.ListBankPresets(0.0, target);
  EXPECT_FALSE(library.LoadSelectedPreset(target));
  EXPECT_TRUE(target.ParamOrder().empty());
}
