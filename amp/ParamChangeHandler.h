// What every parameter change does: engine quantities and filter designs, the model and
// cabinet switches, the pedals kept in step with the engine, the stepping buttons, the
// impulse-response stage and files, the tuner, the display panel, and the central
// display's feedback (name strip, value bar, value text). One parameter sets another by
// forwarding through the editor's controls, which re-enters the handler on the same thread;
// an unchanged value forwards nothing, which ends every chain.
//
// During a state pass (open, restore) the handlers only derive engine and editor state
// from the stored values: buttons count as released, nothing toggles, steps or loads but
// the restored impulse file, and no stored value changes except, at open, the selected
// pedal's switch and lamp taking kDstOn's value.
#pragma once

#include <string>

class IEffectBase;
class IGraphics;
class ImpulseFiles;
class PresetBrowser;
struct EditorRefs;
class EngineLink;

class ParamChangeHandler {
 public:
  ParamChangeHandler(IEffectBase& plug, IGraphics& editor, const EditorRefs& refs, EngineLink& engine,
                     ImpulseFiles& impulses, PresetBrowser& browser);

  // After the value of index was stored; the plug-in lock is held.
  void OnParamChange(int index);

  // What a preset does: set the impulse-response stage and show it (lamp and display);
  // open a file as the IR loader would, its path saved with the state.
  void SetImpulseStage(bool on);
  void LoadImpulse(const std::string& path);

  bool DisplayPanelShown() const { return displayShown_; }
  // The model and cabinet the stepping buttons have reached; they run ahead of kDstPreset
  // and kCabPreset between a press and its release.
  int SteppedModel() const { return steppedModel_; }
  int SteppedCabinet() const { return steppedCabinet_; }

 private:
  double Value(int index) const;
  bool InStatePass() const;
  bool Pressed(int index) const;   // above 0.5, outside a state pass
  bool Released(int index) const;  // below 0.5, or any value in a state pass

  void HandleMainParam(int index);
  void HandleGate(int index);
  void HandleAmp(int index);
  void HandleTone(int index);
  void HandleImpulseStage(int index);
  void HandlePedal(int index);
  void HandleStepping(int index);
  void HandleTuner(int index);
  void HandleImpulseFile(int index);
  void HandleDisplayButton();

  void SelectModel();
  void SwitchPedalPanel(int model);
  void ShowPedal(int model);
  void CarryKnobsOver(int model);
  void TakeSwitchFromEngine(int model);
  void ShowTunerPanel(bool tunerOn);
  void ShowTuningName();
  void ShowResponsePanel(bool shown);
  void ShowImpulseFeedback(bool on);
  void AfterImpulseLoad(bool loaded);

  // The central display: name strip frame for k (k / 31), value bar, value text.
  void ShowDisplay(int nameStep, double bar, const char* text);
  void ShowDisplay(int nameStep, double bar, const char* format, double shown);
  void BlankDisplay();

  IEffectBase& plug_;
  IGraphics& editor_;
  const EditorRefs& refs_;
  EngineLink& engine_;
  ImpulseFiles& impulses_;
  PresetBrowser& browser_;
  bool displayShown_ = false;
  int steppedModel_ = 0;
  int steppedCabinet_ = 0;
};
