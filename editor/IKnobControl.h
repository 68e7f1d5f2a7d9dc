// Knobs turned by dragging: IKnobControl maps mouse movement to value changes with a
// gearing (ten times finer with shift or control); IKnobMultiControl draws the frame of a
// bitmap strip that matches the value.
#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"

enum class EDirection { Vertical, Horizontal };

class IKnobControl : public IControl {
 public:
  static constexpr double kDefaultGearing = 4.0;

  IKnobControl(IEffectBase* plug, const IRect& rect, int paramIdx,
               EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);

  void OnMouseDrag(float x, float y, float dx, float dy, const IMouseMod& mod) override;

 private:
  EDirection direction_;
  double gearing_;
};

// The value change of a drag by (dx, dy) over rect: upwards or rightwards raises it, one
// rectangle height or width moving it by 1 / gearing.
double KnobDragDelta(const IRect& rect, EDirection direction, double gearing, float dx, float dy,
                     const IMouseMod& mod);

class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IEffectBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap);

  void Draw(IGraphicsRaster& raster) override;

  const IBitmap& Bitmap() const { return bitmap_; }

 private:
  IBitmap bitmap_;
};
