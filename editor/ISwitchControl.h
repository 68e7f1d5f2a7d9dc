// The switch family: bitmap controls that step through their frames on a click.
// ISwitchControl advances one frame per click and wraps; IContactControl is a momentary
// button (1 while held, 0 after release, and the plug-in sees both); IButtonSwitchControl
// shows itself pressed while held and toggles its value on release.
#pragma once

#include "editor/IBitmapControl.h"

class ISwitchControl : public IBitmapControl {
 public:
  using IBitmapControl::IBitmapControl;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;

 protected:
  void Advance();
};

class IContactControl : public ISwitchControl {
 public:
  IContactControl(IEffectBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap);

  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
};

class IButtonSwitchControl : public ISwitchControl {
 public:
  IButtonSwitchControl(IEffectBase* plug, int x, int y, int paramIdx, const IBitmap& bitmap);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void Draw(IGraphicsRaster& raster) override;

  bool Pressed() const { return pressed_; }

 private:
  bool pressed_ = false;  // interface thread only
};
