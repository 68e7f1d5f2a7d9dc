// The preset browser's parameters (kPresetSelect to kBankListScroll): the bank and preset
// lines of the display with their stepping buttons, and the browser panel with its bank
// and preset lists and their scroll faders. A click on the display, a stepping button or
// a MIDI program change marks a load as pending; the next change of kPresetSelect loads
// the selected preset and clears it.
//
// During a state pass (open, restore) the bank is listed and the selection follows the
// stored values; nothing opens, steps or loads.
#pragma once

#include "editor/EditorRefs.h"
#include "plugin/IEffectBase.h"

class IGraphics;
class PresetLibrary;
class PresetTarget;

class PresetBrowser {
 public:
  PresetBrowser(IEffectBase& plug, IGraphics& editor, const EditorRefs& refs, PresetLibrary& library,
                PresetTarget& target);

  // index: kPresetSelect to kBankListScroll, after its value was stored.
  void OnParamChange(int index);

  // A MIDI program change: false when the current bank has no such preset. Otherwise the
  // load is pending and the caller forwards SelectionValue(program) to kPresetSelect,
  // then calls FinishPendingLoad.
  bool BeginProgramChange(int program);
  double SelectionValue(double index) const;
  // Loads the pending preset if the forward found kPresetSelect already at its value.
  void FinishPendingLoad();

  bool LoadPending() const { return loadPending_; }
  bool BrowserOpen() const { return browserOpen_; }
  int FirstPresetRow() const { return topPreset_; }
  int FirstBankRow() const { return topBank_; }

 private:
  int PresetCount() const;
  int BankCount() const;
  double Value(int index) const;
  void SelectAndLoad(double selectionValue);
  void LoadNow();
  void BrowserStep(int index, double v);
  void ShowBrowser(bool shown);
  void ShowPresetRows();
  void ShowBankRows();
  void ListBank();

  IEffectBase& plug_;
  IGraphics& editor_;
  const EditorRefs& refs_;
  PresetLibrary& library_;
  PresetTarget& target_;
  bool loadPending_ = false;
  bool browserOpen_ = false;
  int topPreset_ = 0;
  int topBank_ = 0;
};
