// The editor the plug-in builds: every parameter reached by a control that fits its bitmap
// inside the editor, the images shared, the layers in the order the engine relies on and
// what starts hidden.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/BitmapCache.h"
#include "editor/EditorBitmaps.h"
#include "editor/IBitmapControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IKnobControl.h"
#include "editor/IResponseGraphControl.h"
#include "editor/ITextControl.h"
#include "editor/PedalTable.h"
#include "amp/ParamIds.h"
#include "tests/editor/EditorFixture.h"

namespace {

using Layout = PluginEditor;

// Parameters 23 to 29 and the tuning have no control, nor the knobs a pedal lacks.
bool HasNoControl(int param) {
  if ((param > kIrWetLevel && param < kPedalSwitch) || param == kTuning) return true;
  for (int knob = 0; knob < kPedalKnobs; ++knob) {
    const int model = param - kPedalKnobParams[size_t(knob)];
    if (model >= 0 && model < kNumModels) return !kPedalLayouts[size_t(model)].knobs[size_t(knob)].present;
  }
  return false;
}

TEST_F(Layout, EveryParameterHasAControlAndEachControlIsAFrameOfItsBitmapInsideTheEditor) {
  EXPECT_EQ(Editor().Width(), 630);
  EXPECT_EQ(Editor().Height(), 440);
  const IRect editor{0, 0, Editor().Width(), Editor().Height()};
  std::set<int> bound;
  for (int i = 0; i < Editor().NControls(); ++i) {
    SCOPED_TRACE(i);
    const IControl& c = *Control(i);
    bound.insert(c.ParamIdx());
    EXPECT_FALSE(c.GetRECT().Empty());
    EXPECT_EQ(c.GetRECT().Intersect(editor), c.GetRECT());
    // Sliders and file selectors draw their bitmap inside a larger area.
    if (!dynamic_cast<const IBitmapControl*>(&c) && !dynamic_cast<const IKnobMultiControl*>(&c))
      continue;
    const IBitmap bitmap = BitmapOf(c);
    ASSERT_TRUE(bitmap.Loaded());
    EXPECT_EQ(c.GetRECT().W(), bitmap.W);
    EXPECT_EQ(c.GetRECT().H(), bitmap.FrameHeight());
  }
  for (int param = 0; param < kNumParams; ++param)
    EXPECT_EQ(bound.count(param) == 1, !HasNoControl(param)) << param;
}

// Every control's image is the cache's, which other editors get too.
TEST_F(Layout, FiftyBitmapsAreEachDecodedOnceAndSharedByTheControls) {
  std::map<const PixelImage*, int> idOfImage;
  for (const EditorBitmapInfo& info : kEditorBitmaps) idOfImage[CachedImage(info.id, info.name)] = info.id;
  ASSERT_EQ(idOfImage.size(), 50u);
  std::set<int> used;
  for (int i = 0; i < Editor().NControls(); ++i) {
    const IBitmap bitmap = BitmapOf(*Control(i));
    if (!bitmap.Loaded()) continue;
    ASSERT_TRUE(idOfImage.count(bitmap.image)) << "control " << i << " decoded its own copy";
    used.insert(idOfImage[bitmap.image]);
  }
  EXPECT_EQ(used.size(), 50u) << "every image is shown by some control";
}

// The background lies below everything, the about box above everything, the tuner over
// the central display and the browser over the response panel.
TEST_F(Layout, LayersComeInTheOrderTheEngineReliesOn) {
  const EditorRefs& r = Refs();
  EXPECT_EQ(Control(0)->GetRECT(), (IRect{0, 0, Editor().Width(), Editor().Height()}));
  EXPECT_EQ(BitmapOf(*Control(0)).image, CachedImage(100, "img/background.png"));
  EXPECT_EQ(r.aboutBox, Editor().NControls() - 1);
  EXPECT_LT(r.nameStrip, r.valueBar);
  EXPECT_LT(r.valueBar, r.tunerBackground);
  EXPECT_LT(r.tunerBackground, r.tunerMeter);
  EXPECT_LT(r.tunerMeter, r.tunerNote);
  EXPECT_LT(r.responsePanel, r.responseGraphIndex);
  EXPECT_LT(r.responseGraphIndex, r.browserPanel);
  EXPECT_LT(r.bankListArea, r.presetListArea);
  EXPECT_EQ(Control(r.responseGraphIndex), r.responseGraph);
  EXPECT_EQ(r.irFileSelector->ParamIdx(), kIrFile);
  EXPECT_EQ(Control(r.bankListArea)->ParamIdx(), kBankList);
  EXPECT_EQ(Control(r.presetListArea)->ParamIdx(), kPresetList);
  for (const ITextControl* text : {r.valueText, r.loadedPresetName, r.bankLine, r.presetLine,
                                   r.tunerText, r.tuningName, r.irFileName})
    ASSERT_NE(text, nullptr);
}

// A click on a list area picks the row drawn there.
TEST_F(Layout, BrowserRowsTileTheirListAreasFromTheTop) {
  const EditorRefs& r = Refs();
  EXPECT_EQ(r.bankRows[0]->GetRECT().T, Control(r.bankListArea)->GetRECT().T);
  EXPECT_EQ(r.presetRows[0]->GetRECT().T, Control(r.presetListArea)->GetRECT().T);
  for (int i = 1; i < kBrowserRows; ++i) {
    EXPECT_EQ(r.bankRows[i]->GetRECT().T, r.bankRows[i - 1]->GetRECT().B) << i;
    EXPECT_EQ(r.presetRows[i]->GetRECT().T, r.presetRows[i - 1]->GetRECT().B) << i;
  }
}

TEST_F(Layout, OnlyTheHiddenGroupsStartHidden) {
  const EditorRefs& r = Refs();
  const std::set<int> hiddenParams = {kDstOn, kDstLevel, kDstDrive, kDstLow, kDstMid, kDstHigh,
                                      kTuningNext, kBankSelect, kPresetSelect, kPresetListScroll,
                                      kBankListScroll, kBankList, kPresetList};
  std::set<const IControl*> hiddenControls = {
      Control(r.tunerBackground), Control(r.tunerMeter), Control(r.tunerNote), r.tunerText,
      r.tuningName, r.responseGraph, Control(r.browserPanel)};
  hiddenControls.insert(r.bankRows.begin(), r.bankRows.end());
  hiddenControls.insert(r.presetRows.begin(), r.presetRows.end());
  for (int i = 0; i < Editor().NControls(); ++i) {
    const IControl* c = Control(i);
    EXPECT_EQ(c->IsHidden(), hiddenParams.count(c->ParamIdx()) || hiddenControls.count(c)) << i;
    EXPECT_FALSE(c->IsGrayed()) << i;
  }
}

}  // namespace
