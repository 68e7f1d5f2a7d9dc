#include "editor/ISliderControl.h"

#include "editor/IGraphicsRaster.h"

namespace {

IRect TrackRect(int x, int y, int length, const IBitmap& handle, EDirection direction) {
  if (direction == EDirection::Vertical) return {x, y, x + handle.W, y + length};
  return {x, y, x + length, y + handle.FrameHeight()};
}

}  // namespace

ISliderControl::ISliderControl(IEffectBase* plug, int x, int y, int length, int paramIdx,
                               const IBitmap& handle, EDirection direction)
    : IControl(plug, TrackRect(x, y, length, handle, direction), paramIdx),
      x_(x),
      y_(y),
      length_(length),
      handle_(handle),
      direction_(direction) {}

int ISliderControl::Travel() const {
  return length_ - (direction_ == EDirection::Vertical ? handle_.FrameHeight() : handle_.W);
}

double ISliderControl::ValueAt(float x, float y) const {
  const int travel = Travel();
  if (travel <= 0) return GetValue();
  if (direction_ == EDirection::Vertical) {
    const int half = handle_.FrameHeight() / 2;
    return 1.0 - double(y - y_ - half) / travel;
  }
  const int half = handle_.W / 2;
  return double(x - x_ - half) / travel;
}

void ISliderControl::OnMouseDown(float x, float y, const IMouseMod&) {
  SetValue(ValueAt(x, y));
  SetDirty(true);
}

void ISliderControl::OnMouseDrag(float x, float y, float, float, const IMouseMod& mod) {
  OnMouseDown(x, y, mod);
}

void ISliderControl::Draw(IGraphicsRaster& raster) {
  const int travel = Travel();
  IRect handle;
  if (direction_ == EDirection::Vertical) {
    const int top = y_ + static_cast<int>((1.0 - GetValue()) * travel);
    handle = {x_, top, x_ + handle_.W, top + handle_.FrameHeight()};
  } else {
    const int left = x_ + static_cast<int>(GetValue() * travel);
    handle = {left, y_, left + handle_.W, y_ + handle_.FrameHeight()};
  }
  raster.DrawBitmap(handle_, handle, 1, Blend());
}
