// The preset browser inside the plug-in, on banks written for the test: the lists and
// their scrolling, row clicks, the stepping buttons at the ends of a list, and banks of
// one preset or none.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/EditorRefs.h"
#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "amp/PresetBrowser.h"
#include "amp/ParamIds.h"
#include "amp/VoltrexPlug.h"
#include "presets/PresetEncoder.h"
#include "tests/amp/HostedAmp.h"
#include "tests/cabinet/TempFolder.h"
#include "tests/cabinet/WaveBytes.h"

namespace {

constexpr int kVersion3Values = 17;

class PresetBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Bank "a" holds 25 presets, "b" 12, "c" one, "d" none.
    const std::string presets = folder.Path() + "Presets/";
    const std::vector<std::pair<std::string, int>> banks = {{"a", 25}, {"b", 12}, {"c", 1}, {"d", 0}};
    for (const auto& [bank, count] : banks) {
      std::filesystem::create_directories(presets + bank);
      for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%s%02d.vxf", bank.c_str(), i);
        const std::vector<float> values(kVersion3Values, 0.01f * float(i + 1));
        ASSERT_TRUE(WriteFile(presets + bank + "/" + name, EncodePreset(3, {}, values)));
      }
    }
    hosted = std::make_unique<HostedAmp<>>();
    plug = &hosted->amp();
    hosted->Dispatch(vst2::effOpen);
    plug->Presets().ListPresetBanksIn(folder.Path());
    SelectBank(0);
  }
  IGraphics& Editor() { return *plug->GetGUI(); }
  const EditorRefs& Refs() { return plug->EditorControls(); }
  const PresetBrowser& Browser() { return plug->Browser(); }
  void Edit(int index, double normalized) { Editor().Forward(index, normalized); }
  void Press(int index) {
    Edit(index, 1.0);
    Edit(index, 0.0);
  }
  void SelectBank(int bank) { plug->SetParameterFromGUI(kBankSelect, bank / 3.0); }
  std::string Row(int i) { return std::string(Refs().presetRows[size_t(i)]->GetText()); }
  // The name the last load showed; cleared so that the next load shows again.
  std::string Loaded() {
    std::string name(Refs().presetLine->GetText());
    Refs().presetLine->SetTextFromPlug("");
    return name;
  }

  TempFolder folder;
  std::unique_ptr<HostedAmp<>> hosted;
  VoltrexPlug* plug = nullptr;
};

TEST_F(PresetBrowserTest, DisplayClickOpensTheListsAtTheSelectedPreset) {
  EXPECT_EQ(std::string(Refs().bankLine->GetText()), "a");
  Edit(kPresetLcdClick, 1.0);
  EXPECT_TRUE(Browser().BrowserOpen());
  EXPECT_TRUE(Browser().LoadPending());
  EXPECT_FALSE(Editor().GetControl(Refs().browserPanel)->IsHidden());
  EXPECT_EQ(Row(0), "a00");
  EXPECT_EQ(std::string(Refs().bankRows[3]->GetText()), "d");
  EXPECT_EQ(std::string(Refs().bankRows[4]->GetText()), "");
  EXPECT_EQ(plug->GetParam(kPresetListScroll)->Value(), 1.0);
  EXPECT_EQ(plug->GetParam(kPresetLcdClick)->Value(), 0.0);
}

TEST_F(PresetBrowserTest, ScrollingShowsTheTailOfALongListOnly) {
  Edit(kPresetLcdClick, 1.0);
  Edit(kPresetListScroll, 0.0);
  EXPECT_EQ(Browser().FirstPresetRow(), 5);
  EXPECT_EQ(Row(0), "a05");
  EXPECT_EQ(Row(19), "a24");
  Edit(kBankList, 1.5 / 20.0);  // bank "b", 12 presets: the list always starts at 0
  EXPECT_EQ(std::string(Refs().bankLine->GetText()), "b");
  Edit(kPresetListScroll, 0.3);
  EXPECT_EQ(Browser().FirstPresetRow(), 0);
  EXPECT_EQ(Row(11), "b11");
  EXPECT_EQ(Row(12), "");
}

TEST_F(PresetBrowserTest, ARowClickLoadsItsPresetAndClosesTheBrowser) {
  Edit(kPresetLcdClick, 1.0);
  Edit(kPresetListScroll, 0.3);  // trunc(5 * 0.7) = 3
  ASSERT_EQ(Browser().FirstPresetRow(), 3);
  Edit(kPresetList, 0.5);
  EXPECT_EQ(Loaded(), "a13");
  EXPECT_FALSE(Browser().BrowserOpen());
  EXPECT_FALSE(Browser().LoadPending());
  EXPECT_TRUE(Editor().GetControl(Refs().browserPanel)->IsHidden());
  EXPECT_EQ(std::string(Refs().loadedPresetName->GetText()), "a13");
}

TEST_F(PresetBrowserTest, SteppingPastEitherEndReloadsTheEndPreset) {
  Press(kPresetPrev);
  EXPECT_EQ(Loaded(), "a00");
  Press(kPresetPrev);
  EXPECT_EQ(Loaded(), "a00");
  Press(kPresetNext);
  EXPECT_EQ(Loaded(), "a01");
  for (int i = 0; i < 30; ++i) Press(kPresetNext);
  EXPECT_EQ(Loaded(), "a24");
  Press(kPresetNext);
  EXPECT_EQ(Loaded(), "a24");
}

TEST_F(PresetBrowserTest, BanksOfOnePresetOrNoneStayAtIndexZero) {
  SelectBank(2);
  Press(kPresetNext);
  EXPECT_EQ(Loaded(), "c00");
  Press(kPresetNext);
  EXPECT_EQ(Loaded(), "c00");
  SelectBank(3);
  Press(kPresetNext);
  Press(kPresetPrev);
  Edit(kPresetLcdClick, 1.0);
  Edit(kPresetListScroll, 0.0);
  Edit(kPresetList, 0.9);
  EXPECT_EQ(Loaded(), "");
  EXPECT_EQ(plug->Presets().SelectedPreset(), 0);
  EXPECT_FALSE(Browser().LoadPending());
}

}  // namespace
