#include "editor/IGraphics.h"

#include "plugin/IEffectBase.h"

IGraphics::IGraphics(IEffectBase* plug, int width, int height, int fps)
    : plug_(plug), width_(width), height_(height), fps_(fps > 0 ? fps : kDefaultFps) {}

IGraphics::~IGraphics() = default;

int IGraphics::AttachControl(IControl* control) {
  controls_.emplace_back(control);
  return NControls() - 1;
}

IControl* IGraphics::GetControl(int index) {
  return index >= 0 && index < NControls() ? controls_[size_t(index)].get() : nullptr;
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  if (!normalized) {
    const IParam* param = plug_->GetParam(paramIdx);
    if (!param) return;
    value = param->GetNormalized(value);
  }
  for (auto& control : controls_) {
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalized) {
  if (IControl* control = GetControl(controlIdx)) control->SetValueFromPlug(normalized);
}

void IGraphics::Forward(int paramIdx, double normalized) {
  for (auto& control : controls_) {
    if (control->ParamIdx() == paramIdx && control->GetValue() != normalized) {
      control->SetValueFromUserInput(normalized);
    }
  }
}

void IGraphics::PrepDraw() {
  for (auto& control : controls_) control->SetDirty();
}

bool IGraphics::OpenWindow(void*) { return false; }

void IGraphics::CloseWindow() {}
