// The plug-in's editor rendered headless in each of its states and left in screens/ for
// people to look at: as constructed, every pedal, the response panel, the open browser and
// the tuner, at 1x, 1.5x and 2x ("name@1.5x.png", "name@2x.png"). One editor paints all the states of a test in
// turn, so each shot also shows that a change redraws everything it touches.
#include <gtest/gtest.h>

#include <cmath>
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

class EditorScreens : public PluginEditor, public testing::WithParamInterface<float> {
 protected:
  EditorScreens() : editor_(Editor(), GetParam()) { std::filesystem::create_directories(VOLTREX_SCREENS_DIR); }

  std::string PathOf(const std::string& name) const {
    const float scale = GetParam();
    const char* suffix = scale == 1.0f ? "" : scale == 2.0f ? "@2x" : "@1.5x";
    return std::string(VOLTREX_SCREENS_DIR) + "/" + name + suffix + ".png";
  }

  // Opening runs the plug-in's handlers, which show one pedal and the panels' state.
  void Open() { plug_.Dispatch(vst2::effOpen); }

  void Press(int param) {
    plug_->SetParameterFromGUI(param, 1.0);
    plug_->SetParameterFromGUI(param, 0.0);
  }

  // Paints what changed, saves the editor and returns the pixels of area. What was painted
  // bit by bit must equal the editor drawn afresh: no change may leave stale pixels.
  std::vector<uint32_t> Shoot(const std::string& name, const IRect& editorArea) {
    editor_.Tick();
    editor_.Tick();
    EXPECT_TRUE(editor_.WritePng(PathOf(name)));
    IGraphicsRaster fresh(Editor().Width(), Editor().Height(), GetParam());
    for (int i = 0; i < Editor().NControls(); ++i)
      if (!Control(i)->IsHidden()) Control(i)->Draw(fresh);
    int stale = 0;
    for (int y = 0; y < fresh.Height(); ++y)
      for (int x = 0; x < fresh.Width(); ++x) stale += editor_.Raster().PixelAt(x, y) != fresh.PixelAt(x, y);
    EXPECT_EQ(stale, 0) << name;
    std::vector<uint32_t> pixels;
    const IRect area = fresh.ToBuffer(editorArea);
    for (int y = area.T; y < area.B; ++y)
      for (int x = area.L; x < area.R; ++x) pixels.push_back(editor_.Raster().PixelAt(x, y));
    return pixels;
  }

  // Pixels of rect that differ from the bare background: the ink of a text.
  int InkIn(const IRect& editorRect) {
    IGraphicsRaster bare(Editor().Width(), Editor().Height(), GetParam());
    bare.DrawBitmap(BitmapOf(*Control(0)), IRect{0, 0, Editor().Width(), Editor().Height()}, 1);
    const IRect rect = bare.ToBuffer(editorRect);
    int ink = 0;
    for (int y = rect.T; y < rect.B; ++y)
      for (int x = rect.L; x < rect.R; ++x) ink += editor_.Raster().PixelAt(x, y) != bare.PixelAt(x, y);
    return ink;
  }

  HeadlessEditor editor_;
};

TEST_P(EditorScreens, TheConstructedEditorIsSavedAsAPicture) {
  editor_.Tick();
  const std::string path = PathOf("editor");
  EXPECT_TRUE(editor_.WritePng(path));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
  EXPECT_EQ(editor_.Raster().Width(), static_cast<int>(std::lround(Editor().Width() * GetParam())));
  EXPECT_EQ(editor_.Raster().Height(), static_cast<int>(std::lround(Editor().Height() * GetParam())));
}

TEST_P(EditorScreens, EveryPedalShowsItsOwnPanel) {
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

TEST_P(EditorScreens, PanelsCoverThePedalArea) {
  Open();
  const std::vector<uint32_t> pedal = Shoot("default", kPedalArea);
  Press(kDisplayButton);
  EXPECT_NE(Shoot("response-panel", kPedalArea), pedal);
  Press(kDisplayButton);
  Press(kPresetLcdClick);
  EXPECT_NE(Shoot("browser", kPedalArea), pedal);
}

TEST_P(EditorScreens, TunerReplacesTheDisplay) {
  Open();
  const std::vector<uint32_t> before = Shoot("default-display", kDisplayArea);
  Press(kTunerButton);
  EXPECT_NE(Shoot("tuner", kDisplayArea), before);
}

TEST_P(EditorScreens, TheDisplayWritesTheNamesAndATextFromThePlugInAtTheNextTick) {
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

INSTANTIATE_TEST_SUITE_P(Scales, EditorScreens, testing::Values(1.0f, 1.5f, 2.0f),
                         [](const testing::TestParamInfo<float>& info) {
                           return "At" + std::to_string(static_cast<int>(info.param * 10.0f)) + "Tenths";
                         });

}  // namespace
