// A fader: a handle bitmap moved along a track; the handle follows the pointer on a press
// and while dragging. At 1 the handle sits at the top (vertical) or left end.
#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"
#include "editor/IKnobControl.h"

class ISliderControl : public IControl {
 public:
  ISliderControl(IEffectBase* plug, int x, int y, int length, int paramIdx, const IBitmap& handle,
                 EDirection direction = EDirection::Vertical);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dx, float dy, const IMouseMod& mod) override;
  void Draw(IGraphicsRaster& raster) override;

  // The value the pointer at (x, y) selects, before clamping.
  double ValueAt(float x, float y) const;
  const IBitmap& Bitmap() const { return handle_; }

 private:
  int Travel() const;

  int x_;
  int y_;
  int length_;
  IBitmap handle_;
  EDirection direction_;
};
