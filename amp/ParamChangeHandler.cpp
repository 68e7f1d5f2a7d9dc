#include "amp/ParamChangeHandler.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "cabinet/ImpulseFiles.h"
#include "editor/EditorRefs.h"
#include "editor/IControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "editor/PedalTable.h"
#include "engine/CabinetVoicings.h"
#include "engine/Engine.h"
#include "engine/EngineControls.h"
#include "engine/EngineLink.h"
#include "engine/ModelCatalogue.h"
#include "amp/PresetBrowser.h"
#include "engine/Tuner.h"
#include "plugin/IEffectBase.h"
#include "amp/ParamIds.h"

namespace {

constexpr double kNameStripSteps = 31.0;
constexpr int kDisplayTextBytes = 32;
constexpr double kButtonThreshold = 0.5;
constexpr int kNoModel = 100;  // the pedal panel switch with no pedal shown
constexpr int kPedalGroupCount = 7;
constexpr int kPedalFirst = kPedalSwitch;
constexpr int kPedalLast = kPedalHigh + kNumModels - 1;

// Name strip steps (frame k, or k - 1 from 16 on) of the central display.
enum NameStep : int {
  kNameGateOn = 1,
  kNameGateThreshold = 2,
  kNameGateRelease = 3,
  kNameDriveOn = 4,
  kNameLevel = 5,
  kNameDrive = 6,
  kNameColour = 7,
  kNamePresence = 8,
  kNameLow = 9,
  kNameMid = 10,
  kNameHigh = 11,
  kNameBass = 12,
  kNameTreble = 13,
  kNameVolume = 14,
  kNameLoudness = 15,
  kNameLowCut = 17,
  kNameDistortion = 18,
  kNameAttack = 19,
  kNamePunch = 20,
  kNameEdge = 21,
  kNameFilter = 22,
  kNameTone = 23,
  kNameSub = 24,
  kNameIrOn = 25,
  kNameIrDry = 26,
  kNameIrWet = 27,
};

// The pedal groups in parameter order, each with the engine parameter it feeds.
struct PedalGroup {
  int base;
  int engineParam;
};
constexpr PedalGroup kPedalGroups[kPedalGroupCount] = {
    {kPedalSwitch, kDstOn}, {kPedalLed, -1},     {kPedalLevel, kDstLevel}, {kPedalDrive, kDstDrive},
    {kPedalLow, kDstLow},   {kPedalMid, kDstMid}, {kPedalHigh, kDstHigh}};

bool IsDistortionModel(int model) {
  return model == 7 || model == 8 || model == 9 || model == 11 || model == 12 || model == 15;
}

// What a pedal knob is called on the display for a model.
int PedalNameStep(int groupBase, int model) {
  switch (groupBase) {
    case kPedalLevel:
      return kNameLevel;
    case kPedalDrive:
      return IsDistortionModel(model) ? kNameDistortion : kNameDrive;
    case kPedalLow:
      return model == 6 ? kNameLowCut : model == 7 ? kNameAttack : kNameLow;
    case kPedalMid:
      return model == 7 ? kNamePunch : model == 13 ? kNameFilter : model == 14 ? kNameTone : kNameMid;
    case kPedalHigh:
      return model == 7 ? kNameEdge : model == 14 ? kNameSub : kNameHigh;
    default:
      return kNameDriveOn;
  }
}

double OnOff(bool on) { return on ? 1.0 : 0.0; }
const char* OnOffText(bool on) { return on ? "ON" : "OFF"; }

// The tuning's hints as an engine change (the value is not used).
void ApplyTuningModeChange(Engine& engine, double) { ApplyTuningMode(engine); }

}  // namespace

ParamChangeHandler::ParamChangeHandler(IEffectBase& plug, IGraphics& editor, const EditorRefs& refs,
                                       EngineLink& engine, ImpulseFiles& impulses,
                                       PresetBrowser& browser)
    : plug_(plug), editor_(editor), refs_(refs), engine_(engine), impulses_(impulses),
      browser_(browser) {}

void ParamChangeHandler::OnParamChange(int index) {
  if (index < 0 || index >= kNumParams) return;
  if (index == 0 && InStatePass()) BlankDisplay();
  if (index <= kIrWetLevel) {
    HandleMainParam(index);
  } else if (index >= kPedalFirst && index <= kPedalLast) {
    HandlePedal(index);
  } else if (index >= kDstPrev && index <= kCabNext) {
    HandleStepping(index);
  } else if (index >= kPresetSelect && index <= kBankListScroll) {
    browser_.OnParamChange(index);
  } else if (index >= kTunerButton && index <= kTuning) {
    HandleTuner(index);
  } else if (index >= kIrFile && index <= kIrNext) {
    HandleImpulseFile(index);
  } else if (index == kDisplayButton) {
    HandleDisplayButton();
  }
}

void ParamChangeHandler::SetImpulseStage(bool on) {
  engine_.Apply(SetIrStageOn, OnOff(on));
  ShowImpulseFeedback(on);
}

// ---------------------------------------------------------------------------------------
// Reading values

double ParamChangeHandler::Value(int index) const {
  const IParam* param = plug_.GetParam(index);
  return param ? param->Value() : 0.0;
}

bool ParamChangeHandler::InStatePass() const { return plug_.CurrentStatePass() != StatePass::None; }

bool ParamChangeHandler::Pressed(int index) const {
  return !InStatePass() && Value(index) > kButtonThreshold;
}

bool ParamChangeHandler::Released(int index) const {
  return InStatePass() || Value(index) < kButtonThreshold;
}

// ---------------------------------------------------------------------------------------
// Main panel and engine parameters (0 to 22)

void ParamChangeHandler::HandleMainParam(int index) {
  switch (index) {
    case kGateOn:
    case kGateThreshold:
    case kGateRelease:
      return HandleGate(index);
    case kDstOn:
      // Name and bar come from the pedal switch that forwards here.
      engine_.Apply(SetDriveOn, Value(kDstOn));
      if (!InStatePass() && refs_.valueText) refs_.valueText->SetTextFromPlug(OnOffText(Value(kDstOn) >= 0.5));
      return;
    case kDstPreset:
      return SelectModel();
    case kDstLevel:
      return engine_.Apply(SetDriveLevel, Value(index));
    case kDstDrive:
      return engine_.Apply(SetDriveKnob, Value(index));
    case kDstLow:
      return engine_.Apply(SetLowKnob, Value(index));
    case kDstMid:
      return engine_.Apply(SetMidKnob, Value(index));
    case kDstHigh:
      return engine_.Apply(SetHighKnob, Value(index));
    case kAmpColor:
    case kAmpPresence:
      return HandleAmp(index);
    case kCabPreset:
      engine_.Apply(SelectCabinet, Value(kCabPreset));
      steppedCabinet_ = engine_.Settings().cabinet;
      return;
    case kMainBass:
    case kMainTreble:
    case kLoudness:
    case kMainVolume:
      return HandleTone(index);
    case kIrLed:
    case kIrOnButton:
    case kIrDryLevel:
    case kIrWetLevel:
      return HandleImpulseStage(index);
    default:
      return;  // lamps the plug-in sets, and unused indices
  }
}

void ParamChangeHandler::HandleGate(int index) {
  const double v = Value(index);
  if (index == kGateOn) {
    engine_.Apply(SetGateOn, v);
    if (!InStatePass()) editor_.Forward(kGateLed, OnOff(v > 0.5));
    ShowDisplay(kNameGateOn, v, OnOffText(v > 0.5));
  } else if (index == kGateThreshold) {
    engine_.Apply(SetGateThreshold, v);
    ShowDisplay(kNameGateThreshold, v, "%.0f dB", GateThresholdDb(v));
  } else {
    engine_.Apply(SetGateRelease, v);
    ShowDisplay(kNameGateRelease, v, "%.2f", 10.0 * v);
  }
}

void ParamChangeHandler::HandleAmp(int index) {
  const double v = Value(index);
  if (index == kAmpColor) {
    engine_.Apply(SetAmpColour, v);
    ShowDisplay(kNameColour, v, "%.2f", 10.0 * v);
  } else {
    engine_.Apply(SetAmpPresence, v);
    ShowDisplay(kNamePresence, v, "%.2f", 10.0 * v);
  }
}

void ParamChangeHandler::HandleTone(int index) {
  const double v = Value(index);
  switch (index) {
    case kMainBass:
      engine_.Apply(SetMainBass, v);
      return ShowDisplay(kNameBass, v, "%.1f dB", ToneGainDb(v));
    case kMainTreble:
      engine_.Apply(SetMainTreble, v);
      return ShowDisplay(kNameTreble, v, "%.1f dB", ToneGainDb(v));
    case kLoudness:
      // The knob reads "flat" at its left end, so bar and text run the other way.
      engine_.Apply(SetLoudness, v);
      return ShowDisplay(kNameLoudness, 1.0 - v, "%.2f", 10.0 * (1.0 - v));
    default:
      engine_.Apply(SetMainVolume, v);
      return ShowDisplay(kNameVolume, v, "%.2f", 10.0 * v);
  }
}

void ParamChangeHandler::HandleImpulseStage(int index) {
  const double v = Value(index);
  switch (index) {
    case kIrLed:
      return engine_.Apply(SetIrStageOn, v);
    case kIrOnButton:
      if (Pressed(kIrOnButton)) {
        const bool on = !engine_.Settings().cabinetOn;
        engine_.Apply(SetIrStageOn, OnOff(on));
        ShowImpulseFeedback(on);
      }
      return;
    case kIrDryLevel: {
      engine_.Apply(SetIrDryLevel, v);
      const double db = IrDryLevelDb(v);
      if (db == kIrDryOffDb) return ShowDisplay(kNameIrDry, v, "-inf dB");
      return ShowDisplay(kNameIrDry, v, "%.1f dB", db);
    }
    default:
      engine_.Apply(SetIrWetLevel, v);
      return ShowDisplay(kNameIrWet, v, "%.1f dB", IrWetLevelDb(v));
  }
}

void ParamChangeHandler::ShowImpulseFeedback(bool on) {
  editor_.Forward(kIrLed, OnOff(on));
  ShowDisplay(kNameIrOn, OnOff(on), OnOffText(on));
}

// ---------------------------------------------------------------------------------------
// The model switch and the pedals

void ParamChangeHandler::SelectModel() {
  engine_.Apply(SelectDriveModel, Value(kDstPreset));
  const int model = engine_.Settings().model;
  steppedModel_ = std::clamp(model, 0, kNumModels - 1);
  if (plug_.CurrentStatePass() == StatePass::Open) TakeSwitchFromEngine(model);
  SwitchPedalPanel(model);
}

// Hides every pedal and shows the selected one (none while the display panel is shown);
// outside a state pass the shown pedal takes the engine's values, so the knob settings
// carry over from model to model.
void ParamChangeHandler::SwitchPedalPanel(int model) {
  ShowPedal(kNoModel);
  if (displayShown_ || model < 0 || model >= kNumModels) return;
  ShowPedal(model);
  if (!InStatePass()) CarryKnobsOver(model);
}

void ParamChangeHandler::ShowPedal(int model) {
  if (model < 0 || model >= kNumModels) {
    for (int param = kPedalFirst; param <= kPedalLast; ++param) editor_.HideControl(param, true);
    return;
  }
  editor_.HideControl(kPedalSwitch + model, false);
  editor_.HideControl(kPedalLed + model, false);
  const PedalLayout& layout = kPedalLayouts[size_t(model)];
  for (int knob = 0; knob < kPedalKnobs; ++knob) {
    if (layout.knobs[size_t(knob)].present) editor_.HideControl(kPedalKnobParams[size_t(knob)] + model, false);
  }
}

void ParamChangeHandler::CarryKnobsOver(int model) {
  const double on = Value(kDstOn);
  editor_.Forward(kPedalSwitch + model, on);
  editor_.Forward(kPedalLed + model, on);
  editor_.Forward(kPedalLevel + model, Value(kDstLevel));
  editor_.Forward(kPedalDrive + model, Value(kDstDrive));
  editor_.Forward(kPedalLow + model, Value(kDstLow));
  editor_.Forward(kPedalMid + model, Value(kDstMid));
  editor_.Forward(kPedalHigh + model, Value(kDstHigh));
}

// At open the pedals still hold their declared defaults while kDstOn holds its own: the
// selected pedal's switch and lamp show what the engine does. Set directly: the pass
// must not re-enter the handler or tell the host of an edit.
void ParamChangeHandler::TakeSwitchFromEngine(int model) {
  if (model < 0 || model >= kNumModels) return;
  const double on = Value(kDstOn);
  for (int param : {kPedalSwitch + model, kPedalLed + model}) {
    plug_.GetParam(param)->Set(on);
    editor_.SetParameterFromPlug(param, on, false);
  }
}

void ParamChangeHandler::HandlePedal(int index) {
  if (InStatePass()) return;  // the engine parameters hold the restored values already
  const int group = (index - kPedalFirst) / kNumModels;
  const PedalGroup& pedal = kPedalGroups[group];
  const int model = index - pedal.base;
  if (pedal.engineParam < 0 || model != int(Value(kDstPreset))) return;
  const double v = Value(index);
  editor_.Forward(pedal.engineParam, v);
  const int nameStep = PedalNameStep(pedal.base, model);
  const double x = Value(pedal.engineParam);
  if (pedal.base == kPedalSwitch) {
    editor_.Forward(kPedalLed + model, v);
    ShowDisplay(nameStep, x, nullptr);  // the kDstOn handler wrote ON or OFF
  } else if (pedal.base == kPedalLevel || pedal.base == kPedalDrive) {
    ShowDisplay(nameStep, x, "%.2f", 10.0 * x);
  } else {
    ShowDisplay(nameStep, x, "%.2f", 10.0 * x - 5.0);
  }
}

// Press: the stepped index moves, clamped to the list. Release: the enum parameter
// follows, which runs the model or cabinet switch.
void ParamChangeHandler::HandleStepping(int index) {
  if (InStatePass()) return;
  const bool previous = index == kDstPrev || index == kCabPrev;
  const int delta = previous ? -1 : 1;
  if (index == kDstPrev || index == kDstNext) {
    if (Pressed(index)) {
      steppedModel_ = std::clamp(steppedModel_ + delta, 0, kNumModels - 1);
    } else if (Released(index)) {
      SwitchPedalPanel(steppedModel_);
      editor_.Forward(kDstPreset, steppedModel_ / double(kNumModels - 1));
    }
    return;
  }
  if (Pressed(index)) {
    steppedCabinet_ = std::clamp(steppedCabinet_ + delta, 0, kNumCabinets - 1);
  } else if (Released(index)) {
    editor_.Forward(kCabPreset, steppedCabinet_ / double(kNumCabinets - 1));
  }
}

// ---------------------------------------------------------------------------------------
// Tuner

void ParamChangeHandler::HandleTuner(int index) {
  if (index == kTunerButton) {
    if (Pressed(index)) engine_.Apply(SetTunerOn, OnOff(!engine_.Settings().tuner.on));
    if (Released(index)) ShowTunerPanel(engine_.Settings().tuner.on);
    return;
  }
  if (index == kTuningNext) {
    if (InStatePass()) return;  // kTuning follows with the restored mode
    if (Pressed(index)) {
      engine_.Apply(SetTuningMode, NextTuningMode(engine_.Settings().tuner.mode));
    } else if (Released(index)) {
      // kTuning has no control to forward through: store it and tell the host, so that
      // the stepped tuning is saved with the state.
      const int mode = engine_.Settings().tuner.mode;
      IParam* tuning = plug_.GetParam(kTuning);
      tuning->Set(mode);
      editor_.SetParameterFromPlug(kTuning, mode, false);
      plug_.InformHostOfParamChange(kTuning, tuning->GetNormalized());
      ShowTuningName();
      engine_.Apply(ApplyTuningModeChange, 0.0);
    }
    return;
  }
  engine_.Apply(SetTuningMode, Value(kTuning));
  if (!InStatePass()) return;
  // A restored tuning reads as it did when saved. Chromatic mode shows hertz, and its
  // note-name hints stay until a tuning is stepped.
  ShowTuningName();
  if (engine_.Settings().tuner.mode != 0) engine_.Apply(ApplyTuningModeChange, 0.0);
}

// The tuner's five elements and its tuning button take the central display's place.
void ParamChangeHandler::ShowTunerPanel(bool tunerOn) {
  for (int control : {refs_.nameStrip, refs_.valueBar}) {
    if (IControl* c = editor_.GetControl(control)) c->Hide(tunerOn);
  }
  for (ITextControl* text : {refs_.valueText, refs_.bankLine, refs_.presetLine}) {
    if (text) text->Hide(tunerOn);
  }
  editor_.HideControl(kPresetLcdClick, tunerOn);
  for (int control : {refs_.tunerBackground, refs_.tunerMeter, refs_.tunerNote}) {
    if (IControl* c = editor_.GetControl(control)) c->Hide(!tunerOn);
  }
  for (ITextControl* text : {refs_.tunerText, refs_.tuningName}) {
    if (text) text->Hide(!tunerOn);
  }
  editor_.HideControl(kTuningNext, !tunerOn);
}

void ParamChangeHandler::ShowTuningName() {
  const char* name = TuningName(engine_.Settings().tuner.mode);
  if (refs_.tuningName && name) refs_.tuningName->SetTextFromPlug(name);
}

// ---------------------------------------------------------------------------------------
// Impulse-response files and the display panel

void ParamChangeHandler::HandleImpulseFile(int index) {
  if (index == kIrFile) {
    if (!refs_.irFileSelector) return;
    // Paths of four characters or fewer cannot name a ".wav" file.
    const std::string path = refs_.irFileSelector->GetLastSelectedFile();
    if (path.size() > 4) AfterImpulseLoad(impulses_.OpenImpulseFile(path));
    return;
  }
  if (!Pressed(index)) return;
  AfterImpulseLoad(impulses_.StepImpulseFile(index == kIrPrev ? -1 : 1));
  // The state saves the file selector's path: it names the file now loaded.
  if (refs_.irFileSelector && !impulses_.LoadedPath().empty()) {
    refs_.irFileSelector->SetLastSelectedFile(impulses_.LoadedPath());
  }
}

void ParamChangeHandler::LoadImpulse(const std::string& path) {
  if (refs_.irFileSelector) refs_.irFileSelector->SetLastSelectedFile(path);
  AfterImpulseLoad(impulses_.OpenImpulseFile(path));
}

void ParamChangeHandler::AfterImpulseLoad(bool loaded) {
  if (loaded) engine_.Apply(SetImpulseLevel, impulses_.NormalisationGain());
}

void ParamChangeHandler::HandleDisplayButton() {
  if (InStatePass()) {
    displayShown_ = Value(kDisplayLed) >= 0.5;  // the panel the lamp says was open
  } else if (Pressed(kDisplayButton)) {
    displayShown_ = !displayShown_;
    editor_.Forward(kDisplayLed, OnOff(displayShown_));
  }
  ShowResponsePanel(displayShown_);
  SwitchPedalPanel(displayShown_ ? kNoModel : int(Value(kDstPreset)));
}

void ParamChangeHandler::ShowResponsePanel(bool shown) {
  for (int control : {refs_.responsePanel, refs_.responseGraphIndex}) {
    if (IControl* c = editor_.GetControl(control)) c->Hide(!shown);
  }
  editor_.HideControl(kIrDryLevel, !shown);
  editor_.HideControl(kIrWetLevel, !shown);
}

// ---------------------------------------------------------------------------------------
// The central display

void ParamChangeHandler::ShowDisplay(int nameStep, double bar, const char* text) {
  if (InStatePass()) return;  // the display shows what the user last touched
  editor_.SetControlFromPlug(refs_.nameStrip, nameStep / kNameStripSteps);
  editor_.SetControlFromPlug(refs_.valueBar, bar);
  if (text && refs_.valueText) refs_.valueText->SetTextFromPlug(text);
}

void ParamChangeHandler::ShowDisplay(int nameStep, double bar, const char* format, double shown) {
  char text[kDisplayTextBytes];
  std::snprintf(text, sizeof text, format, shown);
  ShowDisplay(nameStep, bar, text);
}

void ParamChangeHandler::BlankDisplay() {
  editor_.SetControlFromPlug(refs_.nameStrip, 0.0);
  editor_.SetControlFromPlug(refs_.valueBar, 0.0);
  if (refs_.valueText) refs_.valueText->SetTextFromPlug("");
}
