// The base of every editor control: where it draws and is hit, the parameter it is bound
// to, its normalised value and its drawing state. Parameter changes reach controls from
// the host's threads (automation, MIDI on the audio thread, the tuner's display) while the
// interface thread routes input and paints, so the value, the default and every flag are
// atomics; writers never allocate.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/IMouseMod.h"
#include "editor/IRect.h"

class IEffectBase;
class IGraphics;
class IGraphicsRaster;

class IControl {
 public:
  static constexpr int kNoParameter = -1;
  static constexpr float kGrayedBlend = 0.25f;
  static constexpr double kNoDefault = -1.0;

  IControl(IEffectBase* plug, const IRect& rect, int paramIdx = kNoParameter);
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Interface thread: input routed by the editor host.
  virtual void OnMouseDown(float x, float y, const IMouseMod& mod);  // right button: text entry
  virtual void OnMouseUp(float x, float y, const IMouseMod& mod);
  virtual void OnMouseDrag(float x, float y, float dx, float dy, const IMouseMod& mod);
  virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);  // back to the default
  virtual void OnMouseWheel(float x, float y, const IMouseMod& mod, int detents);
  virtual void OnKeyDown(float x, float y, int key);
  virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
  virtual void OnMouseOut();
  virtual void Draw(IGraphicsRaster& raster) = 0;
  // Opens the host's typed entry for the bound parameter.
  virtual void PromptUserInput();

  // Any thread: takes a value from the plug-in without telling it back. The first value
  // received becomes the default.
  virtual void SetValueFromPlug(double normalized);
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual void SetPosition(int x, int y);
  virtual bool IsHit(float x, float y) const;
  // Clamps the value, marks the control for drawing and, when push is set and the control
  // is bound, hands the value to the plug-in like a user edit.
  virtual void SetDirty(bool push);
  // After drawing: stays dirty only if a redraw was requested meanwhile.
  virtual void Clean();
  virtual bool IsDirty() const;

  // Takes a value and hands it to the plug-in: text entry and forwarded parameters.
  void SetValueFromUserInput(double normalized);
  // Forward: a value that differs is taken, drawn again and handed to the plug-in.
  void SetAndPush(double normalized);
  void SetRedrawPending();

  int ParamIdx() const { return paramIdx_; }
  double GetValue() const { return value_.load(std::memory_order_relaxed); }
  double GetDefault() const { return default_.load(std::memory_order_relaxed); }
  const IRect& GetRECT() const { return rect_; }
  const IRect& GetTargetRECT() const { return targetRect_; }
  bool IsHidden() const { return hidden_.load(std::memory_order_relaxed); }
  bool IsGrayed() const { return grayed_.load(std::memory_order_relaxed); }
  float Blend() const { return IsGrayed() ? kGrayedBlend : 1.0f; }
  bool DblAsSingleClick() const { return dblAsSingleClick_; }
  void DisablePrompt(bool disable) { promptDisabled_ = disable; }
  // The frame (1-based) of a bitmap of frames that shows the current value.
  int FrameOfValue(int frames) const;

  // Called by the editor host when it takes ownership.
  void SetGraphics(IGraphics* graphics) { graphics_ = graphics; }

 protected:
  void SetValue(double normalized) { value_.store(normalized, std::memory_order_relaxed); }
  void SetTargetRECT(const IRect& target) { targetRect_ = target; }
  void SetDblAsSingleClick(bool single) { dblAsSingleClick_ = single; }
  IEffectBase* Plug() const { return plug_; }
  IGraphics* Graphics() const { return graphics_; }

 private:
  static constexpr std::uint8_t kDirty = 1;
  static constexpr std::uint8_t kRedrawPending = 2;

  IEffectBase* plug_;
  IGraphics* graphics_ = nullptr;
  IRect rect_;
  IRect targetRect_;
  const int paramIdx_;
  std::atomic<double> value_{0.0};
  std::atomic<double> default_{kNoDefault};
  double clampLo_ = 0.0;
  double clampHi_ = 1.0;
  // Dirty and redraw pending in one word, so that cleaning after a paint never loses a
  // redraw requested by another thread while the paint ran.
  std::atomic<std::uint8_t> drawFlags_{kDirty};
  std::atomic<bool> hidden_{false};
  std::atomic<bool> grayed_{false};
  bool promptDisabled_ = false;
  bool dblAsSingleClick_ = false;
};
