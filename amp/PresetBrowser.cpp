#include "amp/PresetBrowser.h"

#include <algorithm>

#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "amp/ParamIds.h"
#include "presets/PresetLibrary.h"
#include "presets/SelectionIndex.h"

namespace {

constexpr double kButtonThreshold = 0.5;
// A stepped selection is forwarded a fifth of a step past its index, safely inside it.
constexpr double kStepOffset = 0.2;

}  // namespace

PresetBrowser::PresetBrowser(IEffectBase& plug, IGraphics& editor, const EditorRefs& refs,
                             PresetLibrary& library, PresetTarget& target)
    : plug_(plug), editor_(editor), refs_(refs), library_(library), target_(target) {}

void PresetBrowser::OnParamChange(int index) {
  const double v = Value(index);
  if (plug_.CurrentStatePass() != StatePass::None) {
    // The bank comes after the selection in index order: select again in the new list.
    if (index == kBankSelect) ListBank();
    if (index == kPresetSelect || index == kBankSelect) {
      library_.SelectPreset(IndexFromValue(Value(kPresetSelect), PresetCount()));
    }
    return;
  }
  const int selected = library_.SelectedPreset();
  switch (index) {
    case kPresetSelect:
      library_.SelectPreset(IndexFromValue(v, PresetCount()));
      if (loadPending_) LoadNow();
      break;
    case kPresetLcdClick:
      if (v > kButtonThreshold) {
        loadPending_ = true;
        editor_.Forward(kPresetLcdClick, 0.0);  // re-enters and opens the browser below
      }
      break;
    case kPresetPrev:
    case kPresetNext:
      if (v > kButtonThreshold) {
        library_.SelectPreset(selected + (index == kPresetPrev ? -1 : 1));
        loadPending_ = true;
      } else if (v < kButtonThreshold) {
        SelectAndLoad(SelectionValue(selected + kStepOffset));
      }
      break;
    case kBankSelect:
      ListBank();
      break;
    default:
      break;
  }
  if (loadPending_) BrowserStep(index, v);
}

bool PresetBrowser::BeginProgramChange(int program) {
  if (program < 0 || program >= PresetCount()) return false;
  library_.SelectPreset(program);
  loadPending_ = true;
  return true;
}

// The value of kPresetSelect that selects index; a list of one or none has only 0.
double PresetBrowser::SelectionValue(double index) const {
  const int count = PresetCount();
  return count > 1 ? index / (count - 1) : 0.0;
}

void PresetBrowser::FinishPendingLoad() {
  if (loadPending_) LoadNow();
}

// ---------------------------------------------------------------------------------------

int PresetBrowser::PresetCount() const { return library_.Presets().Count(); }
int PresetBrowser::BankCount() const { return library_.Banks().Count(); }

double PresetBrowser::Value(int index) const {
  const IParam* param = plug_.GetParam(index);
  return param ? param->Value() : 0.0;
}

// kPresetSelect loads when it changes; when it already holds the value, load here.
void PresetBrowser::SelectAndLoad(double selectionValue) {
  editor_.Forward(kPresetSelect, selectionValue);
  FinishPendingLoad();
}

void PresetBrowser::LoadNow() {
  loadPending_ = false;
  library_.LoadSelectedPreset(target_);
}

// Steps that run only while a load is pending, that is while a choice is being made.
void PresetBrowser::BrowserStep(int index, double v) {
  const int presets = PresetCount();
  const int banks = BankCount();
  switch (index) {
    case kPresetLcdClick:
      ShowBrowser(true);
      editor_.Forward(kPresetListScroll, presets > 0 ? 1.0 - double(library_.SelectedPreset()) / presets : 1.0);
      return;
    case kPresetList:
      ShowBrowser(false);
      SelectAndLoad(SelectionValue(topPreset_ + kBrowserRows * v));
      return;
    case kPresetListScroll: {
      const int top = presets < kBrowserRows ? 0 : int((presets - kBrowserRows) * (1.0 - v));
      if (top != topPreset_) {
        topPreset_ = top;
        ShowPresetRows();
      }
      return;
    }
    case kBankList:
      editor_.Forward(kBankSelect, banks > 1 ? (topBank_ + kBrowserRows * v) / (banks - 1) : 0.0);
      editor_.Forward(kPresetListScroll, 1.0);
      ListBank();
      ShowPresetRows();
      return;
    case kBankListScroll: {
      const int top = banks < kBrowserRows ? 0 : int((banks - kBrowserRows) * (1.0 - v));
      if (top != topBank_) {
        topBank_ = top;
        ShowBankRows();
      }
      return;
    }
    default:
      return;
  }
}

void PresetBrowser::ShowBrowser(bool shown) {
  browserOpen_ = shown;
  for (int control : {refs_.browserPanel, refs_.bankListArea, refs_.presetListArea}) {
    if (IControl* c = editor_.GetControl(control)) c->Hide(!shown);
  }
  for (ITextControl* row : refs_.bankRows) {
    if (row) row->Hide(!shown);
  }
  for (ITextControl* row : refs_.presetRows) {
    if (row) row->Hide(!shown);
  }
  editor_.HideControl(kPresetListScroll, !shown);
  editor_.HideControl(kBankListScroll, !shown);
  if (!shown) return;
  ShowBankRows();
  ShowPresetRows();
}

void PresetBrowser::ShowPresetRows() {
  for (int i = 0; i < kBrowserRows; ++i) {
    if (ITextControl* row = refs_.presetRows[size_t(i)]) row->SetTextFromPlug(library_.Presets().Name(topPreset_ + i));
  }
}

void PresetBrowser::ShowBankRows() {
  for (int i = 0; i < kBrowserRows; ++i) {
    if (ITextControl* row = refs_.bankRows[size_t(i)]) row->SetTextFromPlug(library_.Banks().Name(topBank_ + i));
  }
}

void PresetBrowser::ListBank() { library_.ListBankPresets(Value(kBankSelect), target_); }
