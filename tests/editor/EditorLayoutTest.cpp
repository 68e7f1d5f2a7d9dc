// The editor the plug-in builds: its bitmaps, where every control sits, the order of the
// controls, what starts hidden, and how clicks find their way through the layers.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "editor/BitmapCache.h"
#include "editor/EditorBitmaps.h"
#include "editor/HeadlessEditor.h"
#include "editor/IBitmapOverlayControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IResponseGraphControl.h"
#include "editor/ITextControl.h"
#include "plugin/ParamIds.h"
#include "tests/editor/EditorFixture.h"

namespace {

using Layout = PluginEditor;

IRect FrameAt(int x, int y, int bitmapId) {
  const EditorBitmapInfo& info = *FindEditorBitmap(bitmapId);
  return {x, y, x + info.width, y + info.height / info.frames};
}

// Every parameter-bound control's rectangle, as the editor's layout table gives it.
std::multimap<int, IRect> ExpectedBoundRects() {
  std::multimap<int, IRect> rects;
  const auto at = [&rects](int param, int x, int y, int bitmap) {
    rects.emplace(param, FrameAt(x, y, bitmap));
  };
  for (int param : {kDstOn, kDstLevel, kDstDrive, kDstLow, kDstMid, kDstHigh, kBankSelect, kPresetSelect})
    rects.emplace(param, IRect{40, 40, 44, 44});

  struct Pedal {
    int knob, footSwitch;
    int sx, sy, lx, ly;
    int knobs[5][2];  // x, y; x < 0: none
  };
  const Pedal pedals[kNumModels] = {
      {117, 130, 292, 305, 305, 277, {{217, 223}, {355, 223}, {252, 223}, {286, 223}, {320, 223}}},
      {118, 130, 291, 324, 305, 298, {{213, 265}, {359, 265}, {248, 248}, {286, 242}, {325, 248}}},
      {118, 130, 291, 324, 305, 298, {{213, 265}, {359, 265}, {248, 248}, {286, 242}, {325, 248}}},
      {117, 130, 292, 311, 305, 292, {{217, 233}, {355, 233}, {252, 233}, {286, 233}, {320, 233}}},
      {119, 130, 290, 330, 303, 318, {{261, 242}, {-1, 0}, {288, 242}, {312, 242}, {337, 242}}},
      {117, 131, 262, 305, 304, 176, {{247, 173}, {324, 173}, {247, 215}, {285, 215}, {324, 215}}},
      {117, 131, 262, 305, 304, 176, {{247, 173}, {324, 173}, {247, 215}, {285, 215}, {324, 215}}},
      {120, 132, 284, 279, 305, 172, {{333, 182}, {259, 182}, {259, 218}, {296, 218}, {333, 218}}},
      {117, 131, 262, 305, 304, 176, {{247, 173}, {324, 173}, {247, 215}, {285, 215}, {324, 215}}},
      {121, 133, 237, 252, 304, 176, {{258, 173}, {329, 173}, {258, 209}, {293, 209}, {329, 209}}},
      {122, 130, 293, 327, 303, 215, {{214, 216}, {355, 216}, {249, 216}, {284, 216}, {320, 216}}},
      {123, 134, 241, 319, 304, 277, {{244, 175}, {326, 175}, {244, 220}, {285, 220}, {326, 220}}},
      {124, 135, 240, 306, 304, 179, {{245, 169}, {327, 169}, {245, 210}, {286, 210}, {327, 210}}},
      {117, 130, 294, 312, 308, 279, {{247, 228}, {333, 228}, {-1, 0}, {290, 228}, {-1, 0}}},
      {125, 130, 294, 312, 309, 287, {{249, 214}, {335, 214}, {271, 264}, {292, 214}, {331, 264}}},
      {126, 134, 241, 319, 304, 277, {{244, 175}, {326, 175}, {244, 220}, {285, 220}, {326, 220}}},
  };
  const int knobParams[5] = {kPedalLevel, kPedalDrive, kPedalLow, kPedalMid, kPedalHigh};
  for (int k = 0; k < kNumModels; ++k) {
    const Pedal& p = pedals[k];
    at(kPedalLed + k, 175, 1, 101 + k);
    at(kPedalLed + k, p.lx, p.ly, 138);
    at(kPedalSwitch + k, p.sx, p.sy, p.footSwitch);
    for (int j = 0; j < 5; ++j) {
      if (p.knobs[j][0] < 0) continue;
      const bool toggle = k == 14 && (j == 2 || j == 4);
      const int bitmap = toggle ? (j == 2 ? 137 : 136) : p.knob;
      at(knobParams[j] + k, p.knobs[j][0], p.knobs[j][1], bitmap);
    }
  }
  rects.emplace(kDstPreset, IRect{35, 194, 116, 210});
  rects.emplace(kCabPreset, IRect{35, 250, 116, 266});
  at(kGateThreshold, 523, 52, 127);
  at(kGateRelease, 564, 52, 127);
  at(kAmpColor, 325, 100, 127);
  at(kAmpPresence, 373, 100, 127);
  at(kMainBass, 459, 100, 127);
  at(kMainTreble, 504, 100, 127);
  at(kMainVolume, 550, 100, 127);
  at(kLoudness, 419, 103, 128);
  at(kGateOn, 488, 56, 129);
  at(kPresetPrev, 384, 56, 129);
  at(kPresetNext, 417, 56, 129);
  at(kTunerButton, 450, 56, 129);
  at(kDstPrev, 126, 184, 129);
  at(kDstNext, 161, 184, 129);
  at(kCabPrev, 126, 240, 129);
  at(kCabNext, 161, 240, 129);
  at(kIrPrev, 126, 354, 129);
  at(kIrNext, 161, 354, 129);
  at(kIrOnButton, 33, 354, 129);
  at(kDisplayButton, 68, 354, 129);
  at(kGateLed, 495, 47, 138);
  at(kIrLed, 40, 343, 138);
  at(kDisplayLed, 75, 343, 138);
  at(kTuningNext, 42, 60, 146);
  at(kIrDryLevel, 356, 340, 127);
  at(kIrWetLevel, 405, 340, 127);
  rects.emplace(kIrFile, IRect{35, 322, 182, 338});
  rects.emplace(kPresetLcdClick, IRect{60, 63, 177, 93});
  rects.emplace(kBankList, IRect{350, 90, 492, 370});
  rects.emplace(kPresetList, IRect{140, 90, 322, 370});
  rects.emplace(kBankListScroll, IRect{505, 91, 515, 368});
  rects.emplace(kPresetListScroll, IRect{330, 91, 340, 368});
  return rects;
}

TEST_F(Layout, EveryParameterBoundControlSitsWhereTheLayoutPutsIt) {
  const std::multimap<int, IRect> expected = ExpectedBoundRects();
  std::map<int, std::vector<IRect>> want, got;
  for (const auto& [param, rect] : expected) want[param].push_back(rect);
  for (int i = 0; i < Editor().NControls(); ++i) {
    const IControl& c = *Control(i);
    if (c.ParamIdx() != IControl::kNoParameter) got[c.ParamIdx()].push_back(c.GetRECT());
  }
  const auto byPosition = [](const IRect& a, const IRect& b) {
    return std::tie(a.L, a.T, a.R, a.B) < std::tie(b.L, b.T, b.R, b.B);
  };
  for (auto* side : {&want, &got})
    for (auto& [param, list] : *side) std::sort(list.begin(), list.end(), byPosition);
  for (const auto& [param, rects] : want) {
    SCOPED_TRACE(param);
    EXPECT_EQ(got[param], rects);
  }
  EXPECT_EQ(got.size(), want.size());
}

TEST_F(Layout, FiftyBitmapsAreDecodedOnceAndSharedByControlsAndInstances) {
  std::map<const PixelImage*, int> idOfImage;
  for (const EditorBitmapInfo& info : kEditorBitmaps) idOfImage[CachedImage(info.id, info.name)] = info.id;
  ASSERT_EQ(idOfImage.size(), 50u);
  std::map<int, int> users;
  for (int i = 0; i < Editor().NControls(); ++i) {
    const IBitmap bitmap = BitmapOf(*Control(i));
    if (!bitmap.Loaded()) continue;
    ASSERT_TRUE(idOfImage.count(bitmap.image)) << i;
    ++users[idOfImage[bitmap.image]];
  }
  EXPECT_EQ(users.size(), 50u);
  for (int shared : {117, 118, 127, 129, 130, 131, 134, 138, 143}) EXPECT_GT(users[shared], 1) << shared;

  VoltrexPlug second(nullptr);
  for (int i = 0; i < Editor().NControls(); ++i)
    EXPECT_EQ(BitmapOf(*second.GetGUI()->GetControl(i)).image, BitmapOf(*Control(i)).image);
}

TEST_F(Layout, ControlsComeInLayoutOrderWithTheBackgroundFirstAndTheAboutBoxLast) {
  EXPECT_EQ(Editor().NControls(), 224);
  EXPECT_EQ(Editor().Width(), 630);
  EXPECT_EQ(Editor().Height(), 440);
  EXPECT_EQ(Editor().FPS(), 24);
  EXPECT_EQ(Control(0)->GetRECT(), (IRect{0, 0, 630, 440}));
  EXPECT_EQ(BitmapOf(*Control(0)).image, CachedImage(100, "img/background.png"));
  const EditorRefs& refs = Refs();
  EXPECT_EQ(refs.aboutBox, Editor().NControls() - 1);
  EXPECT_EQ(Control(refs.aboutBox)->GetRECT(), FrameAt(157, 101, 141));
  // The six engine carriers, then the pedals starting with model 0's panel.
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(Control(i)->GetRECT(), (IRect{40, 40, 44, 44}));
  EXPECT_EQ(Control(7)->ParamIdx(), kPedalLed + 0);
  EXPECT_EQ(Control(7)->GetRECT(), FrameAt(175, 1, 101));
  // Within the later groups, the order the engine's references reveal.
  EXPECT_LT(refs.nameStrip, refs.valueBar);
  EXPECT_LT(refs.valueBar, refs.tunerBackground);
  EXPECT_LT(refs.responsePanel, refs.responseGraphIndex);
  EXPECT_LT(refs.responseGraphIndex, refs.browserPanel);
  EXPECT_LT(refs.bankListArea, refs.presetListArea);
}

TEST_F(Layout, TheEngineReferencesPointAtTheirControls) {
  const EditorRefs& r = Refs();
  EXPECT_EQ(Control(r.nameStrip)->GetRECT(), FrameAt(35, 95, 139));
  EXPECT_EQ(Control(r.valueBar)->GetRECT(), FrameAt(37, 111, 140));
  EXPECT_EQ(r.valueText->GetRECT(), (IRect{130, 115, 180, 131}));
  EXPECT_EQ(r.loadedPresetName->GetRECT(), (IRect{214, 60, 342, 76}));
  EXPECT_EQ(r.bankLine->GetRECT(), (IRect{60, 63, 177, 79}));
  EXPECT_EQ(r.presetLine->GetRECT(), (IRect{60, 77, 177, 93}));
  EXPECT_EQ(Control(r.tunerBackground)->GetRECT(), FrameAt(39, 60, 144));
  EXPECT_EQ(Control(r.tunerMeter)->GetRECT(), FrameAt(47, 94, 145));
  EXPECT_EQ(Control(r.tunerNote)->GetRECT(), FrameAt(120, 75, 147));
  EXPECT_EQ(r.tunerText->GetRECT(), (IRect{42, 77, 122, 97}));
  EXPECT_EQ(r.tunerText->GetText(), " ");
  EXPECT_EQ(r.tuningName->GetRECT(), (IRect{56, 59, 178, 79}));
  EXPECT_EQ(Control(r.responsePanel)->GetRECT(), FrameAt(236, 169, 149));
  EXPECT_EQ(Control(r.responseGraphIndex), r.responseGraph);
  EXPECT_EQ(r.responseGraph->Plot(), (IRect{250, 182, 550, 322}));
  EXPECT_EQ(r.irFileName->GetRECT(), (IRect{35, 322, 182, 338}));
  EXPECT_EQ(r.irFileSelector->ParamIdx(), kIrFile);
  EXPECT_EQ(Control(r.browserPanel)->GetRECT(), FrameAt(110, 70, 142));
  for (int i = 0; i < kBrowserRows; ++i) {
    EXPECT_EQ(r.bankRows[i]->GetRECT(), (IRect{350, 90 + 14 * i, 492, 104 + 14 * i}));
    EXPECT_EQ(r.presetRows[i]->GetRECT(), (IRect{140, 90 + 14 * i, 222, 104 + 14 * i}));
  }
  EXPECT_EQ(r.bankRows[0]->GetText(), "Bank - 0");
  EXPECT_EQ(r.bankRows[19]->GetText(), "Bank - 19");
  EXPECT_EQ(r.presetRows[0]->GetText(), "  1 - Default preset");
  EXPECT_EQ(r.presetRows[19]->GetText(), " 20 - Default preset");
  EXPECT_EQ(Control(r.bankListArea)->ParamIdx(), kBankList);
  EXPECT_EQ(Control(r.presetListArea)->ParamIdx(), kPresetList);
}

TEST_F(Layout, OnlyTheLayoutsHiddenGroupsStartHidden) {
  const EditorRefs& r = Refs();
  std::set<int> hiddenParams = {kDstOn, kDstLevel, kDstDrive, kDstLow, kDstMid, kDstHigh,
                                kTuningNext, kBankSelect, kPresetSelect, kPresetListScroll,
                                kBankListScroll, kBankList, kPresetList};
  std::set<const IControl*> hiddenControls = {
      Control(r.tunerBackground), Control(r.tunerMeter), Control(r.tunerNote), r.tunerText,
      r.tuningName, r.responseGraph, Control(r.browserPanel)};
  for (const ITextControl* row : r.bankRows) hiddenControls.insert(row);
  for (const ITextControl* row : r.presetRows) hiddenControls.insert(row);
  for (int i = 0; i < Editor().NControls(); ++i) {
    const IControl* c = Control(i);
    const bool expected = hiddenParams.count(c->ParamIdx()) || hiddenControls.count(c);
    EXPECT_EQ(c->IsHidden(), expected) << i;
    EXPECT_FALSE(c->IsGrayed()) << i;
  }
}

TEST_F(Layout, TheAboutBoxCoversTheControlsBeneathWhileShown) {
  HeadlessEditor editor(Editor());
  const int colour = Editor().ControlAt(330, 105);
  ASSERT_EQ(Control(colour)->ParamIdx(), kAmpColor);
  editor.Click(10, 10);  // the logo
  auto* about = static_cast<IBitmapOverlayControl*>(Control(Refs().aboutBox));
  EXPECT_TRUE(about->Shown());
  EXPECT_EQ(Editor().ControlAt(330, 105), Refs().aboutBox);
  const double before = plug_->GetParam(kAmpColor)->Value();
  editor.Click(330, 105);
  EXPECT_FALSE(about->Shown());
  EXPECT_EQ(plug_->GetParam(kAmpColor)->Value(), before);
  EXPECT_EQ(Editor().ControlAt(330, 105), colour);
  EXPECT_EQ(Editor().ControlAt(10, 10), Refs().aboutBox);  // the logo stays its target
}

TEST_F(Layout, HiddenBrowserListsLetClicksThroughToWhatLiesBelow) {
  const EditorRefs& r = Refs();
  // The preset list lies over the left part of the pedal area.
  const int below = Editor().ControlAt(200, 300);
  EXPECT_NE(below, r.presetListArea);
  EXPECT_NE(Editor().ControlAt(400, 120), r.bankListArea);
  Control(r.presetListArea)->Hide(false);
  Control(r.bankListArea)->Hide(false);
  EXPECT_EQ(Editor().ControlAt(200, 300), r.presetListArea);
  EXPECT_EQ(Editor().ControlAt(400, 120), r.bankListArea);
}

TEST_F(Layout, TheTopmostPedalTakesTheClicksWhileAllOverlap) {
  // As constructed every pedal is shown, the last model's on top, and the response panel
  // above them all until the display handler first runs.
  EXPECT_EQ(Editor().ControlAt(254, 185), Refs().responsePanel);
  Control(Refs().responsePanel)->Hide(true);
  const int hit = Editor().ControlAt(244 + 10, 175 + 10);
  EXPECT_EQ(Control(hit)->ParamIdx(), kPedalLevel + 15);
  for (int k = 1; k < kNumModels; ++k)
    for (int family : {kPedalSwitch, kPedalLed, kPedalLevel, kPedalDrive, kPedalLow, kPedalMid, kPedalHigh})
      Editor().HideControl(family + k, true);
  EXPECT_EQ(Control(Editor().ControlAt(217 + 10, 223 + 10))->ParamIdx(), kPedalLevel + 0);
}

}  // namespace
