// Invisible click areas over parts of the background: IToggleAreaControl flips its value
// between 0 and 1 on a press (the click on the central display); IListAreaControl reports
// where in a list a click was released, as the fraction of the area's height above it.
#pragma once

#include "editor/IControl.h"

class IToggleAreaControl : public IControl {
 public:
  using IControl::IControl;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void Draw(IGraphicsRaster&) override {}
};

class IListAreaControl : public IControl {
 public:
  using IControl::IControl;

  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void Draw(IGraphicsRaster&) override {}
};
