// The plug-in's editor rendered headless in each of its states and left in screens/ for
// people to look at: as constructed, every pedal, the response panel, the open browser and
// the tuner. One editor paints all the states of a test in turn, so each shot also shows
// that a change redraws everything it touches.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "editor/HeadlessEditor.h"
#include "editor/IGraphicsRaster.h"
#include "editor/ITextControl.h"
#include "amp/ParamIds.h"
#include "tests/editor/EditorFixture.h"

namespace {

constexpr IRect kPedalArea{205, 160, 615, 430};
constexpr IRect kDisplayArea{30, 55, 186, 140};
constexpr IRect kModelNameField{35, 194, 116, 210};
constexpr IRect kCabinetNameField{35, 250, 116, 266};

class EditorScreens : public PluginEditor {
 protected:
  EditorScreens() : editor_(Editor()) { std::filesystem::create_directories(VOLTREX_SCREENS_DIR); }

  // Opening runs the plug-in's handlers, which show one pedal and the panels' state.
  void Open() { plug_.Dispatch(vst2::effOpen); }

  void Press(int param) {
    plug_->SetParameterFromGUI(param, 1.0);
    plug_->SetParameterFromGUI(param, 0.0);
  }

  // Paints what changed, saves the editor and returns the pixels of area. What was painted
  // bit by bit must equal the editor drawn afresh: no change may leave stale pixels.
  std::vector<uint32_t> Shoot(const std::string& name, const IRect& area) {
    editor_.Tick();
    editor_.Tick();
    EXPECT_TRUE(editor_.WritePng(std::string(VOLTREX_SCREENS_DIR) + "/" + name + ".png"));
    IGraphicsRaster fresh(Editor().Width(), Editor().Height());
    for (int i = 0; i < Editor().NControls(); ++i)
      if (!Control(i)->IsHidden()) Control(i)->Draw(fresh);
    int stale = 0;
    for (int y = 0; y < fresh.Height(); ++y)
      for (int x = 0; x < fresh.Width(); ++x) stale += editor_.Raster().PixelAt(x, y) != fresh.PixelAt(x, y);
    EXPECT_EQ(stale, 0) << name;
    std::vector<uint32_t> pixels;
    for (int y = area.T; y < area.B; ++y)
      for (int x = area.L; x < area.R; ++x) pixels.push_back(editor_.Raster().PixelAt(x, y));
    return pixels;
  }

  // Pixels of rect that differ from the bare background: the ink of a text.
  int InkIn(const IRect& rect) {
    IGraphicsRaster bare(Editor().Width(), Editor().Height());
    bare.DrawBitmap(BitmapOf(*Control(0)), bare.Bounds(), 1);
    int ink = 0;
    for (int y = rect.T; y < rect.B; ++y)
      for (int x = rect.L; x < rect.R; ++x) ink += editor_.Raster().PixelAt(x, y) != bare.PixelAt(x, y);
    return ink;
  }

  HeadlessEditor editor_;
};

TEST_F(EditorScreens, TheConstructedEditorIsSavedAsAPicture) {
  editor_.Tick();
  const std::string path = std::string(VOLTREX_SCREENS_DIR) + "/editor.png";
  EXPECT_TRUE(editor_.WritePng(path));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

TEST_F(EditorScreens, EveryPedalShowsItsOwnPanel) {
  Open();
  std::set<std::vector<uint32_t>> pedals;
  for (int model = 0; model < kNumModels; ++model) {
    plug_->SetParameterFromGUI(kDstPreset, model / double(kNumModels - 1));
    char name[32];
    std::snprintf(name, sizeof name, "pedal-%02d", model);
    pedals.insert(Shoot(name, kPedalArea));
  }
  EXPECT_EQ(pedals.size(), size_t(kNumModels));
  EXPECT_TRUE(editor_.Tick().Empty()) << "the editor rests once everything is drawn";
}

TEST_F(EditorScreens, PanelsCoverThePedalArea) {
  Open();
  const std::vector<uint32_t> pedal = Shoot("default", kPedalArea);
  Press(kDisplayButton);
  EXPECT_NE(Shoot("response-panel", kPedalArea), pedal);
  Press(kDisplayButton);
  Press(kPresetLcdClick);
  EXPECT_NE(Shoot("browser", kPedalArea), pedal);
}

TEST_F(EditorScreens, TunerReplacesTheDisplay) {
  Open();
  const std::vector<uint32_t> before = Shoot("default-display", kDisplayArea);
  Press(kTunerButton);
  EXPECT_NE(Shoot("tuner", kDisplayArea), before);
}

TEST_F(EditorScreens, TheDisplayWritesTheNamesAndATextFromThePlugInAtTheNextTick) {
  Open();
  editor_.Tick();
  EXPECT_GT(InkIn(kModelNameField), 20);
  EXPECT_GT(InkIn(kCabinetNameField), 20);
  const IRect field = Refs().valueText->GetRECT();
  EXPECT_EQ(InkIn(field), 0);
  Refs().valueText->SetTextFromPlug("5.00");
  editor_.Tick();
  EXPECT_GT(InkIn(field), 10);
}

}  // namespace
