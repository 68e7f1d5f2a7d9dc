// A bitmap drawn at a position, showing the frame that matches its value: backgrounds,
// panels, lamps, the central display's strips and the tuner's indicators.
#pragma once

#include "editor/IBitmap.h"
#include "editor/IControl.h"

class IBitmapControl : public IControl {
 public:
  IBitmapControl(IEffectBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap);
  IBitmapControl(IEffectBase* plug, int x, int y, const IBitmap& bitmap)
      : IBitmapControl(plug, x, y, kNoParameter, bitmap) {}

  void Draw(IGraphicsRaster& raster) override;

  const IBitmap& Bitmap() const { return bitmap_; }

 private:
  IBitmap bitmap_;
};

// The rectangle of one frame of bitmap with its top-left corner at (x, y).
IRect FrameRectAt(int x, int y, const IBitmap& bitmap);
