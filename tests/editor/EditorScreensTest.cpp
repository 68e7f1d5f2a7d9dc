// Renderings of the opened plug-in's editor in each of its states, left in screens/ for
// people to look at: every pedal, the response panel, the open browser and the tuner.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "editor/HeadlessEditor.h"
#include "editor/IGraphicsRaster.h"
#include "plugin/ParamIds.h"
#include "tests/editor/EditorFixture.h"

namespace {

constexpr IRect kPedalArea{205, 160, 615, 430};

class EditorScreens : public PluginEditor {
 protected:
  void SetUp() override {
    plug_->Effect()->dispatcher(plug_->Effect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
    std::filesystem::create_directories(VOLTREX_SCREENS_DIR);
  }

  void Press(int param) {
    plug_->SetParameterFromGUI(param, 1.0);
    plug_->SetParameterFromGUI(param, 0.0);
  }

  // Paints the editor as it stands, saves it and returns the pixels of area.
  std::vector<uint32_t> Shoot(const std::string& name, const IRect& area) {
    HeadlessEditor editor(Editor());
    editor.Tick();
    EXPECT_TRUE(editor.WritePng(std::string(VOLTREX_SCREENS_DIR) + "/" + name + ".png"));
    std::vector<uint32_t> pixels;
    for (int y = area.T; y < area.B; ++y)
      for (int x = area.L; x < area.R; ++x) pixels.push_back(editor.Raster().PixelAt(x, y));
    return pixels;
  }
};

TEST_F(EditorScreens, EveryPedalShowsItsOwnPanel) {
  std::set<std::vector<uint32_t>> pedals;
  for (int model = 0; model < kNumModels; ++model) {
    plug_->SetParameterFromGUI(kDstPreset, model / double(kNumModels - 1));
    char name[32];
    std::snprintf(name, sizeof name, "pedal-%02d", model);
    pedals.insert(Shoot(name, kPedalArea));
  }
  EXPECT_EQ(pedals.size(), size_t(kNumModels));
}

TEST_F(EditorScreens, PanelsCoverThePedalArea) {
  const std::vector<uint32_t> pedal = Shoot("default", kPedalArea);
  Press(kDisplayButton);
  EXPECT_NE(Shoot("response-panel", kPedalArea), pedal);
  Press(kDisplayButton);
  Press(kPresetLcdClick);
  EXPECT_NE(Shoot("browser", kPedalArea), pedal);
}

TEST_F(EditorScreens, TunerReplacesTheDisplay) {
  const IRect display{30, 55, 186, 140};
  const std::vector<uint32_t> before = Shoot("default-display", display);
  Press(kTunerButton);
  EXPECT_NE(Shoot("tuner", display), before);
}

}  // namespace
