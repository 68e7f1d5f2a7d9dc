// The editor host: owns the controls (index 0 is the background, later ones lie on top)
// and offers the operations the plug-in uses to move them. Its window comes and goes with
// the host's editor-open and editor-close requests; the controls live as long as the
// plug-in.
#pragma once

#include <memory>
#include <vector>

#include "editor/IControl.h"

class IEffectBase;

class IGraphics {
 public:
  static constexpr int kDefaultFps = 24;

  IGraphics(IEffectBase* plug, int width, int height, int fps = 0);
  virtual ~IGraphics();
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int FPS() const { return fps_; }

  // Takes ownership; returns the control's index.
  int AttachControl(IControl* control);
  int NControls() const { return int(controls_.size()); }
  IControl* GetControl(int index);

  // Any thread holding the plug-in lock: every control bound to the parameter takes the
  // value (real, or normalised when asked) without notifying the plug-in.
  void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // The same for one control, by index.
  void SetControlFromPlug(int controlIdx, double normalized);
  // Moves a parameter through its controls: each bound control whose value differs takes
  // the value and passes it to the plug-in like a user edit. Unchanged values end here,
  // which ends every chain of forwards.
  void Forward(int paramIdx, double normalized);

  // Called once when the editor is attached to the plug-in.
  void PrepDraw();
  // Interface thread: the native window inside the host's parent window.
  virtual bool OpenWindow(void* parent);
  virtual void CloseWindow();

 private:
  IEffectBase* plug_;
  int width_;
  int height_;
  int fps_;
  std::vector<std::unique_ptr<IControl>> controls_;
};
