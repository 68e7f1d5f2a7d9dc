#include "editor/IControl.h"

#include <algorithm>

#include "plugin/IEffectBase.h"

void IControl::SetValueFromPlug(double normalized) {
  if (GetValue() == normalized) return;
  value_.store(normalized, std::memory_order_relaxed);
  SetDirty();
}

void IControl::SetValueFromUserInput(double normalized) {
  value_.store(std::clamp(normalized, 0.0, 1.0), std::memory_order_relaxed);
  SetDirty();
  if (paramIdx_ != kNoParameter && plug_) plug_->SetParameterFromGUI(paramIdx_, GetValue());
}
