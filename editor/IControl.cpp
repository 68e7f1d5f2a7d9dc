#include "editor/IControl.h"

#include <algorithm>
#include <cmath>

#include "editor/IGraphics.h"
#include "plugin/IEffectBase.h"

namespace {

constexpr double kWheelStep = 0.01;
constexpr double kFineWheelStep = 0.001;

}  // namespace

IControl::IControl(IEffectBase* plug, const IRect& rect, int paramIdx)
    : plug_(plug), rect_(rect), targetRect_(rect), paramIdx_(paramIdx) {}

void IControl::OnMouseDown(float, float, const IMouseMod& mod) {
  if (mod.R) PromptUserInput();
}

void IControl::OnMouseUp(float, float, const IMouseMod&) {}

void IControl::OnMouseDrag(float, float, float, float, const IMouseMod&) {}

void IControl::OnMouseDblClick(float, float, const IMouseMod&) {
  const double defaultValue = GetDefault();
  if (defaultValue < 0.0) return;
  SetValue(defaultValue);
  SetDirty(true);
}

void IControl::OnMouseWheel(float, float, const IMouseMod& mod, int detents) {
  SetValue(GetValue() + detents * (mod.Fine() ? kFineWheelStep : kWheelStep));
  SetDirty(true);
}

void IControl::OnKeyDown(float, float, int) {}

void IControl::OnMouseOver(float, float, const IMouseMod&) {}

void IControl::OnMouseOut() {}

void IControl::PromptUserInput() {
  if (paramIdx_ == kNoParameter || promptDisabled_ || !graphics_) return;
  graphics_->PromptUserInput(this, paramIdx_);
  SetRedrawPending();
}

void IControl::SetValueFromPlug(double normalized) {
  double noDefault = kNoDefault;
  const bool first = default_.compare_exchange_strong(noDefault, normalized,
                                                      std::memory_order_relaxed);
  if (!first && GetValue() == normalized) return;
  SetValue(normalized);
  SetDirty(false);
  SetRedrawPending();
}

void IControl::Hide(bool hide) {
  hidden_.store(hide, std::memory_order_relaxed);
  SetRedrawPending();
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  grayed_.store(gray, std::memory_order_relaxed);
  SetDirty(false);
}

void IControl::SetPosition(int x, int y) {
  const auto moved = [x, y](const IRect& r) { return IRect{x, y, x + r.W(), y + r.H()}; };
  rect_ = moved(rect_);
  targetRect_ = moved(targetRect_);
  SetDirty(false);
}

bool IControl::IsHit(float x, float y) const { return targetRect_.Contains(x, y); }

void IControl::SetDirty(bool push) {
  const double value = GetValue();
  const double clamped = std::clamp(value, clampLo_, clampHi_);
  // NaN compares unequal to everything and falls back to the low end.
  if (clamped != value) SetValue(std::isnan(value) ? clampLo_ : clamped);
  drawFlags_.fetch_or(kDirty, std::memory_order_acq_rel);
  if (push && paramIdx_ != kNoParameter && plug_) plug_->SetParameterFromGUI(paramIdx_, GetValue());
}

void IControl::Clean() {
  std::uint8_t flags = drawFlags_.load(std::memory_order_relaxed);
  std::uint8_t cleaned;
  do {
    cleaned = (flags & kRedrawPending) ? kDirty : 0;
  } while (!drawFlags_.compare_exchange_weak(flags, cleaned, std::memory_order_acq_rel,
                                             std::memory_order_relaxed));
}

bool IControl::IsDirty() const { return drawFlags_.load(std::memory_order_acquire) & kDirty; }

void IControl::SetValueFromUserInput(double normalized) {
  SetValue(normalized);
  SetDirty(true);
}

void IControl::SetAndPush(double normalized) {
  if (GetValue() == normalized) return;
  SetValue(normalized);
  SetDirty(true);
  SetRedrawPending();
}

void IControl::SetRedrawPending() { drawFlags_.fetch_or(kRedrawPending, std::memory_order_acq_rel); }

int IControl::FrameOfValue(int frames) const {
  if (frames <= 1) return 1;
  const int frame = static_cast<int>(std::floor(GetValue() * (frames - 1) + 0.5)) + 1;
  return std::clamp(frame, 1, frames);
}
