#include "editor/EditorLayout.h"

#include <cstdio>

#include "editor/BitmapLoader.h"
#include "editor/EditorBitmaps.h"
#include "editor/IAreaControls.h"
#include "editor/IBitmapOverlayControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IGraphics.h"
#include "editor/IKnobControl.h"
#include "editor/ILineKnobControl.h"
#include "editor/IParamTextControl.h"
#include "editor/IResponseGraphControl.h"
#include "editor/ISliderControl.h"
#include "editor/ISwitchControl.h"
#include "editor/PedalTable.h"
#include "amp/ParamIds.h"

namespace {

constexpr int kBackgroundBitmap = 100;
constexpr int kMainKnobBitmap = 127;
constexpr int kLoudnessKnobBitmap = 128;
constexpr int kButtonBitmap = 129;
constexpr int kLampBitmap = 138;
constexpr int kNameStripBitmap = 139;
constexpr int kValueBarBitmap = 140;
constexpr int kAboutBitmap = 141;
constexpr int kBrowserBitmap = 142;
constexpr int kFaderBitmap = 143;
constexpr int kTunerBackgroundBitmap = 144;
constexpr int kTunerMeterBitmap = 145;
constexpr int kTunerButtonBitmap = 146;
constexpr int kTunerNotesBitmap = 147;
constexpr int kFileOpenBitmap = 148;
constexpr int kResponsePanelBitmap = 149;

// The off-screen corner where the hidden knobs that only carry values sit.
constexpr IRect kCarrierRect{40, 40, 44, 44};
constexpr IColor kLineKnobColor{255, 255, 255, 255};
constexpr IColor kResponseColor{255, 255, 0, 0};

constexpr double kGraphLowHz = 20.0;
constexpr double kGraphHighHz = 20480.0;
constexpr double kGraphSpanDb = 120.0;
constexpr double kGraphOffsetDb = 40.0;

constexpr int kBrowserRowHeight = 14;
constexpr int kBrowserTop = 90;
constexpr int kListScrollTop = 91;
constexpr int kListScrollLength = 277;

constexpr IRect kAboutTarget{0, 0, 200, 30};  // the logo

IText StyleAligned(ITextAlign align) {
  IText style;
  style.size = 14;
  style.color = {255, 0, 0, 0};
  style.style = ITextStyle::Normal;
  style.align = align;
  style.orientation = 0;
  style.font = "Arial";
  return style;
}

}  // namespace

IBitmap EditorLayout::EditorBitmap(int id) {
  const EditorBitmapInfo* info = FindEditorBitmap(id);
  return info ? LoadIBitmap(id, info->name, info->frames) : IBitmap{};
}

IText EditorLayout::StyleA() { return StyleAligned(ITextAlign::Center); }
IText EditorLayout::StyleB() { return StyleAligned(ITextAlign::Left); }
IText EditorLayout::StyleC() { return StyleAligned(ITextAlign::Left); }

// ---------------------------------------------------------------------------------------
// Helpers

void EditorLayout::AttachKnob(int x, int y, int paramIdx, int bitmapId) {
  graphics_.AttachControl(new IKnobMultiControl(plug_, x, y, paramIdx, EditorBitmap(bitmapId)));
}

void EditorLayout::AttachHiddenLineKnob(int paramIdx) {
  graphics_.AttachControl(new ILineKnobControl(plug_, kCarrierRect, paramIdx, kLineKnobColor));
}

int EditorLayout::AttachBitmap(int x, int y, int paramIdx, int bitmapId) {
  return graphics_.AttachControl(new IBitmapControl(plug_, x, y, paramIdx, EditorBitmap(bitmapId)));
}

void EditorLayout::AttachContact(int x, int y, int paramIdx) {
  graphics_.AttachControl(new IContactControl(plug_, x, y, paramIdx, EditorBitmap(kButtonBitmap)));
}

ITextControl* EditorLayout::AttachText(int l, int t, int r, int b, const IText& style,
                                       const char* text) {
  auto* control = new ITextControl(plug_, {l, t, r, b}, style, text);
  graphics_.AttachControl(control);
  return control;
}

void EditorLayout::Hide(int controlIdx) {
  if (IControl* control = graphics_.GetControl(controlIdx)) control->Hide(true);
}

// ---------------------------------------------------------------------------------------
// Steps

void EditorLayout::AttachBackground() {
  graphics_.AttachBackground(kBackgroundBitmap, FindEditorBitmap(kBackgroundBitmap)->name);
}

void EditorLayout::AttachEngineKnobs() {
  constexpr int kEngineParams[] = {kDstOn, kDstLevel, kDstDrive, kDstLow, kDstMid, kDstHigh};
  for (int param : kEngineParams) AttachHiddenLineKnob(param);
  for (int param : kEngineParams) graphics_.HideControl(param, true);
}

void EditorLayout::AttachPedals() {
  for (int model = 0; model < kNumModels; ++model) AttachPedal(model);
}

void EditorLayout::AttachPedal(int model) {
  const PedalLayout& pedal = kPedalLayouts[size_t(model)];
  const auto x = [](const PedalSpot& s) { return kPedalOriginX + s.dx; };
  const auto y = [](const PedalSpot& s) { return kPedalOriginY + s.dy; };
  AttachBitmap(kPedalOriginX, kPedalOriginY, kPedalLed + model, kFirstPedalPanelBitmap + model);
  for (int knob = 0; knob < kPedalKnobs; ++knob) {
    const PedalSpot& spot = pedal.knobs[size_t(knob)];
    const int param = kPedalKnobParams[size_t(knob)] + model;
    const bool toggle = model == kToggleModel && (knob == kLowKnob || knob == kHighKnob);
    if (spot.present && !toggle) AttachKnob(x(spot), y(spot), param, pedal.knobBitmap);
  }
  if (model == kToggleModel) {
    const PedalSpot& low = pedal.knobs[kLowKnob];
    const PedalSpot& high = pedal.knobs[kHighKnob];
    graphics_.AttachControl(new ISwitchControl(plug_, x(low), y(low), kPedalLow + model,
                                               EditorBitmap(kToggleLowBitmap)));
    graphics_.AttachControl(new ISwitchControl(plug_, x(high), y(high), kPedalHigh + model,
                                               EditorBitmap(kToggleHighBitmap)));
  }
  graphics_.AttachControl(new IButtonSwitchControl(plug_, x(pedal.footSwitch), y(pedal.footSwitch),
                                                   kPedalSwitch + model,
                                                   EditorBitmap(pedal.switchBitmap)));
  AttachBitmap(x(pedal.lamp), y(pedal.lamp), kPedalLed + model, kLampBitmap);
}

void EditorLayout::AttachMainControls() {
  graphics_.AttachControl(new IParamTextControl(plug_, {35, 194, 116, 210}, kDstPreset, StyleA()));
  graphics_.AttachControl(new IParamTextControl(plug_, {35, 250, 116, 266}, kCabPreset, StyleA()));
  AttachKnob(523, 52, kGateThreshold, kMainKnobBitmap);
  AttachKnob(564, 52, kGateRelease, kMainKnobBitmap);
  AttachKnob(325, 100, kAmpColor, kMainKnobBitmap);
  AttachKnob(373, 100, kAmpPresence, kMainKnobBitmap);
  AttachKnob(459, 100, kMainBass, kMainKnobBitmap);
  AttachKnob(504, 100, kMainTreble, kMainKnobBitmap);
  AttachKnob(550, 100, kMainVolume, kMainKnobBitmap);
  AttachKnob(419, 103, kLoudness, kLoudnessKnobBitmap);
  graphics_.AttachControl(new IButtonSwitchControl(plug_, 488, 56, kGateOn, EditorBitmap(kButtonBitmap)));
  AttachContact(384, 56, kPresetPrev);
  AttachContact(417, 56, kPresetNext);
  AttachContact(450, 56, kTunerButton);
  AttachContact(126, 184, kDstPrev);
  AttachContact(161, 184, kDstNext);
  AttachContact(126, 240, kCabPrev);
  AttachContact(161, 240, kCabNext);
  AttachContact(126, 354, kIrPrev);
  AttachContact(161, 354, kIrNext);
  AttachContact(33, 354, kIrOnButton);
  AttachContact(68, 354, kDisplayButton);
  AttachBitmap(495, 47, kGateLed, kLampBitmap);
  AttachBitmap(40, 343, kIrLed, kLampBitmap);
  AttachBitmap(75, 343, kDisplayLed, kLampBitmap);
  refs_.loadedPresetName = AttachText(214, 60, 342, 76, StyleA());
  refs_.valueText = AttachText(130, 115, 180, 131, StyleA());
  refs_.nameStrip = AttachBitmap(35, 95, IControl::kNoParameter, kNameStripBitmap);
  refs_.valueBar = AttachBitmap(37, 111, IControl::kNoParameter, kValueBarBitmap);
}

void EditorLayout::AttachTuner() {
  refs_.tunerBackground = AttachBitmap(39, 60, IControl::kNoParameter, kTunerBackgroundBitmap);
  refs_.tunerMeter = AttachBitmap(47, 94, IControl::kNoParameter, kTunerMeterBitmap);
  refs_.tunerNote = AttachBitmap(120, 75, IControl::kNoParameter, kTunerNotesBitmap);
  refs_.tunerText = AttachText(42, 77, 122, 97, StyleA(), " ");
  refs_.tuningName = AttachText(56, 59, 178, 79, StyleB(), " ");
  graphics_.AttachControl(new IContactControl(plug_, 42, 60, kTuningNext, EditorBitmap(kTunerButtonBitmap)));
  Hide(refs_.tunerBackground);
  Hide(refs_.tunerMeter);
  Hide(refs_.tunerNote);
  refs_.tunerText->Hide(true);
  refs_.tuningName->Hide(true);
  graphics_.HideControl(kTuningNext, true);
}

void EditorLayout::AttachResponsePanel() {
  refs_.responsePanel = AttachBitmap(236, 169, IControl::kNoParameter, kResponsePanelBitmap);
  AttachKnob(356, 340, kIrDryLevel, kMainKnobBitmap);
  AttachKnob(405, 340, kIrWetLevel, kMainKnobBitmap);
  auto* graph = new IResponseGraphControl(plug_, {250, 182, 550, 322}, StyleB(), kResponseColor);
  refs_.responseGraphIndex = graphics_.AttachControl(graph);
  refs_.responseGraph = graph;
  graph->SetRange(kGraphLowHz, kGraphHighHz, kGraphSpanDb, kGraphOffsetDb);
  graph->SetSmoothing(false);
  graph->Hide(true);
  // The graph's read-out follows the pointer.
  graphics_.HandleMouseOver(true);
}

void EditorLayout::AttachImpulseFile() {
  refs_.irFileName = AttachText(35, 322, 182, 338, StyleA());
  auto* selector = new IFileSelectorControl(plug_, {35, 322, 182, 338}, kIrFile,
                                            EditorBitmap(kFileOpenBitmap), platform::FileAction::Open);
  graphics_.AttachControl(selector);
  refs_.irFileSelector = selector;
}

void EditorLayout::AttachBankLine() {
  refs_.bankLine = AttachText(60, 63, 177, 79, StyleA());
  AttachHiddenLineKnob(kBankSelect);
  graphics_.HideControl(kBankSelect, true);
}

void EditorLayout::AttachPresetLine() {
  refs_.presetLine = AttachText(60, 77, 177, 93, StyleA());
  AttachHiddenLineKnob(kPresetSelect);
  graphics_.HideControl(kPresetSelect, true);
  graphics_.AttachControl(new IToggleAreaControl(plug_, {60, 63, 177, 93}, kPresetLcdClick));
}

void EditorLayout::AttachBrowser() {
  refs_.browserPanel = AttachBitmap(110, 70, IControl::kNoParameter, kBrowserBitmap);
  char text[32];
  for (int i = 0; i < kBrowserRows; ++i) {
    std::snprintf(text, sizeof text, "Bank - %d", i);
    const int top = kBrowserTop + kBrowserRowHeight * i;
    refs_.bankRows[size_t(i)] = AttachText(350, top, 492, top + kBrowserRowHeight, StyleC(), text);
  }
  for (int i = 0; i < kBrowserRows; ++i) {
    std::snprintf(text, sizeof text, "%3d - Default preset", i + 1);
    const int top = kBrowserTop + kBrowserRowHeight * i;
    refs_.presetRows[size_t(i)] = AttachText(140, top, 222, top + kBrowserRowHeight, StyleC(), text);
  }
  const IBitmap fader = EditorBitmap(kFaderBitmap);
  refs_.bankListArea = graphics_.AttachControl(new IListAreaControl(plug_, {350, 90, 492, 370}, kBankList));
  graphics_.AttachControl(new ISliderControl(plug_, 505, kListScrollTop, kListScrollLength,
                                             kBankListScroll, fader));
  refs_.presetListArea = graphics_.AttachControl(new IListAreaControl(plug_, {140, 90, 322, 370}, kPresetList));
  graphics_.AttachControl(new ISliderControl(plug_, 330, kListScrollTop, kListScrollLength,
                                             kPresetListScroll, fader));
  Hide(refs_.browserPanel);
  for (ITextControl* row : refs_.bankRows) row->Hide(true);
  for (ITextControl* row : refs_.presetRows) row->Hide(true);
  Hide(refs_.bankListArea);
  Hide(refs_.presetListArea);
  graphics_.HideControl(kPresetListScroll, true);
  graphics_.HideControl(kBankListScroll, true);
}

void EditorLayout::AttachAboutBox() {
  refs_.aboutBox = graphics_.AttachControl(
      new IBitmapOverlayControl(plug_, 157, 101, EditorBitmap(kAboutBitmap), kAboutTarget));
}
