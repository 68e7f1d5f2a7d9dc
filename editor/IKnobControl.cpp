#include "editor/IKnobControl.h"

#include "editor/IBitmapControl.h"
#include "editor/IGraphicsRaster.h"

namespace {

constexpr double kFineGearingFactor = 10.0;

}  // namespace

double KnobDragDelta(const IRect& rect, EDirection direction, double gearing, float dx, float dy,
                     const IMouseMod& mod) {
  const double g = mod.Fine() ? gearing * kFineGearingFactor : gearing;
  if (direction == EDirection::Vertical)
    return rect.H() > 0 ? -dy / double(rect.H()) / g : 0.0;
  return rect.W() > 0 ? dx / double(rect.W()) / g : 0.0;
}

IKnobControl::IKnobControl(IEffectBase* plug, const IRect& rect, int paramIdx,
                           EDirection direction, double gearing)
    : IControl(plug, rect, paramIdx), direction_(direction), gearing_(gearing) {}

void IKnobControl::OnMouseDrag(float, float, float dx, float dy, const IMouseMod& mod) {
  SetValue(GetValue() + KnobDragDelta(GetRECT(), direction_, gearing_, dx, dy, mod));
  SetDirty(true);
}

IKnobMultiControl::IKnobMultiControl(IEffectBase* plug, int x, int y, int paramIdx,
                                     const IBitmap& bitmap)
    : IKnobControl(plug, FrameRectAt(x, y, bitmap), paramIdx), bitmap_(bitmap) {}

void IKnobMultiControl::Draw(IGraphicsRaster& raster) {
  raster.DrawBitmap(bitmap_, GetRECT(), FrameOfValue(bitmap_.N), Blend());
}
