// A bitmap shown over everything when its target area is clicked and hidden again by a
// click on it: the about box. While shown it is hit over the whole bitmap, so it takes the
// clicks of the controls beneath it.
#pragma once

#include "editor/ISwitchControl.h"

class IBitmapOverlayControl : public ISwitchControl {
 public:
  IBitmapOverlayControl(IEffectBase* plug, int x, int y, const IBitmap& bitmap,
                        const IRect& targetArea);

  void Draw(IGraphicsRaster& raster) override;
  bool IsHit(float x, float y) const override;

  bool Shown() const { return GetValue() >= 0.5; }
};
