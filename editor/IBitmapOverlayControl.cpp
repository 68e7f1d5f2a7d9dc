#include "editor/IBitmapOverlayControl.h"

#include "editor/IGraphicsRaster.h"

IBitmapOverlayControl::IBitmapOverlayControl(IEffectBase* plug, int x, int y,
                                             const IBitmap& bitmap, const IRect& targetArea)
    : ISwitchControl(plug, x, y, bitmap) {
  SetTargetRECT(targetArea);
}

void IBitmapOverlayControl::Draw(IGraphicsRaster& raster) {
  if (Shown()) raster.DrawBitmap(Bitmap(), GetRECT(), 1, Blend());
}

bool IBitmapOverlayControl::IsHit(float x, float y) const {
  return (Shown() ? GetRECT() : GetTargetRECT()).Contains(x, y);
}
