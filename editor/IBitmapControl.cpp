#include "editor/IBitmapControl.h"

#include "editor/IGraphicsRaster.h"

IRect FrameRectAt(int x, int y, const IBitmap& bitmap) {
  return {x, y, x + bitmap.W, y + bitmap.FrameHeight()};
}

IBitmapControl::IBitmapControl(IEffectBase* plug, int x, int y, int paramIdx,
                               const IBitmap& bitmap)
    : IControl(plug, FrameRectAt(x, y, bitmap), paramIdx), bitmap_(bitmap) {}

void IBitmapControl::Draw(IGraphicsRaster& raster) {
  raster.DrawBitmap(bitmap_, GetRECT(), FrameOfValue(bitmap_.N), Blend());
}
