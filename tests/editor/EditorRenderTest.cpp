// The rendered editor: the default rendering is saved for people to look at, and regions
// of it are compared with the images that belong there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/HeadlessEditor.h"
#include "editor/IGraphicsRaster.h"
#include "editor/IParamTextControl.h"
#include "editor/ITextControl.h"
#include "plugin/ParamIds.h"
#include "tests/editor/EditorFixture.h"

namespace {

class Rendering : public PluginEditor {
 protected:
  Rendering() : editor_(Editor()) {}

  // Control index's bitmap frame, drawn alone over the background, must show wherever no
  // other visible control lies on it. Returns the number of pixels compared.
  int ExpectDrawnInPlace(int index, int frame) {
    const IControl& control = *Control(index);
    const IBitmap bitmap = BitmapOf(control);
    IGraphicsRaster expected(Editor().Width(), Editor().Height());
    expected.DrawBitmap(BitmapOf(*Control(0)), Control(0)->GetRECT(), 1);
    expected.DrawBitmap(bitmap, control.GetRECT(), frame);
    const IRect area = control.GetRECT().Intersect(expected.Bounds());
    const std::vector<bool> covered = CoveredByOthers(index, area);
    int compared = 0;
    for (int y = area.T; y < area.B; ++y)
      for (int x = area.L; x < area.R; ++x) {
        if (covered[size_t((y - area.T) * area.W() + x - area.L)]) continue;
        ++compared;
        if (editor_.Raster().PixelAt(x, y) != expected.PixelAt(x, y)) {
          ADD_FAILURE() << "control " << index << " differs at " << x << "," << y;
          return compared;
        }
      }
    return compared;
  }

  // Which pixels of area some visible control other than the background and index covers.
  std::vector<bool> CoveredByOthers(int index, const IRect& area) {
    std::vector<bool> covered(size_t(area.W() * area.H()), false);
    for (int i = 1; i < Editor().NControls(); ++i) {
      const IControl& other = *Control(i);
      if (i == index || other.IsHidden()) continue;
      const IRect r = other.GetRECT().Intersect(area);
      for (int y = r.T; y < r.B; ++y)
        for (int x = r.L; x < r.R; ++x) covered[size_t((y - area.T) * area.W() + x - area.L)] = true;
    }
    return covered;
  }

  // Pixels of rect that differ from the bare background: the ink of a text.
  int InkIn(const IRect& rect) {
    const IBitmap background = BitmapOf(*Control(0));
    IGraphicsRaster bare(Editor().Width(), Editor().Height());
    bare.DrawBitmap(background, bare.Bounds(), 1);
    int ink = 0;
    for (int y = rect.T; y < rect.B; ++y)
      for (int x = rect.L; x < rect.R; ++x) ink += editor_.Raster().PixelAt(x, y) != bare.PixelAt(x, y);
    return ink;
  }

  // What the pedal panel switch will do once the handler runs: only model's pedal shows.
  void ShowOnlyPedal(int model) {
    for (int k = 0; k < kNumModels; ++k)
      for (int family : {kPedalSwitch, kPedalLed, kPedalLevel, kPedalDrive, kPedalLow, kPedalMid, kPedalHigh})
        Editor().HideControl(family + k, k != model);
    Control(Refs().responsePanel)->Hide(true);
    Editor().HideControl(kIrDryLevel, true);
    Editor().HideControl(kIrWetLevel, true);
  }

  HeadlessEditor editor_;
};

TEST_F(Rendering, TheDefaultEditorIsSavedAsAPicture) {
  editor_.Tick();
  const std::filesystem::path folder = VOLTREX_SCREENS_DIR;
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(editor_.WritePng((folder / "editor.png").string()));
  EXPECT_GT(std::filesystem::file_size(folder / "editor.png"), 1000u);
}

TEST_F(Rendering, BackgroundPedalAndDisplaysAreInPlace) {
  ShowOnlyPedal(0);
  editor_.Tick();
  EXPECT_GT(ExpectDrawnInPlace(0, 1), 630 * 440 / 5);  // background where nothing lies on it
  const int panel0 = 7;
  ASSERT_EQ(Control(panel0)->ParamIdx(), kPedalLed);
  EXPECT_GT(ExpectDrawnInPlace(panel0, 1), 448 * 424 / 4);
  EXPECT_GT(ExpectDrawnInPlace(Refs().nameStrip, 1), 141 * 20 / 2);
  EXPECT_GT(ExpectDrawnInPlace(Refs().valueBar, 1), 100 * 20 / 2);
  // The model and cabinet names are written in their fields.
  EXPECT_GT(InkIn({35, 194, 116, 210}), 20);
  EXPECT_GT(InkIn({35, 250, 116, 266}), 20);
}

TEST_F(Rendering, ChangingThePedalRedrawsTheArea) {
  ShowOnlyPedal(0);
  editor_.Tick();
  ShowOnlyPedal(5);
  editor_.Tick();
  editor_.Tick();
  int panel5 = -1;
  for (int i = 0; i < Editor().NControls(); ++i)
    if (Control(i)->ParamIdx() == kPedalLed + 5 && Control(i)->GetRECT().W() == 448) panel5 = i;
  ASSERT_GT(panel5, 0);
  EXPECT_GT(ExpectDrawnInPlace(panel5, 1), 448 * 424 / 4);
  EXPECT_TRUE(editor_.Tick().Empty());
}

TEST_F(Rendering, ATextSetFromThePlugInIsWrittenAtTheNextTick) {
  ShowOnlyPedal(0);
  editor_.Tick();
  const IRect field = Refs().valueText->GetRECT();
  EXPECT_EQ(InkIn(field), 0);
  Refs().valueText->SetTextFromPlug("5.00");
  editor_.Tick();
  EXPECT_GT(InkIn(field), 10);
}

}  // namespace
