#include "editor/ISwitchControl.h"

#include "editor/IGraphicsRaster.h"

namespace {

// Values past the last frame (allowing for rounding of the steps) wrap to the first.
constexpr double kWrapAbove = 1.001;
constexpr int kPressedFrame = 2;
constexpr int kReleasedFrame = 1;

}  // namespace

void ISwitchControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (mod.R) {
    IControl::OnMouseDown(x, y, mod);
    return;
  }
  Advance();
}

void ISwitchControl::Advance() {
  const int frames = Bitmap().N;
  double value = GetValue() + (frames >= 2 ? 1.0 / (frames - 1) : 1.0);
  if (value > kWrapAbove) value = 0.0;
  SetValue(value);
  SetDirty(true);
}

IContactControl::IContactControl(IEffectBase* plug, int x, int y, int paramIdx,
                                 const IBitmap& bitmap)
    : ISwitchControl(plug, x, y, paramIdx, bitmap) {
  SetDblAsSingleClick(true);
}

void IContactControl::OnMouseUp(float, float, const IMouseMod&) {
  SetValue(0.0);
  SetDirty(true);
}

IButtonSwitchControl::IButtonSwitchControl(IEffectBase* plug, int x, int y, int paramIdx,
                                           const IBitmap& bitmap)
    : ISwitchControl(plug, x, y, paramIdx, bitmap) {
  SetDblAsSingleClick(true);
}

void IButtonSwitchControl::OnMouseDown(float, float, const IMouseMod&) {
  pressed_ = true;
  SetDirty(true);
}

void IButtonSwitchControl::OnMouseUp(float, float, const IMouseMod&) {
  pressed_ = false;
  SetValue(GetValue() >= 0.5 ? 0.0 : 1.0);
  SetDirty(true);
}

void IButtonSwitchControl::Draw(IGraphicsRaster& raster) {
  raster.DrawBitmap(Bitmap(), GetRECT(), pressed_ ? kPressedFrame : kReleasedFrame, Blend());
}
