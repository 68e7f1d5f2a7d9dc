// The editor host: owns the controls (index 0 is the background, later ones lie on top),
// the back buffer they draw into, input routing and the typed entry, and offers the
// operations the plug-in uses to move controls. A window layer (or a headless editor)
// feeds it input and timer ticks and copies the painted rectangle to the screen; the
// controls live as long as the plug-in, whether a window is open or not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/IControl.h"
#include "editor/IGraphicsRaster.h"
#include "editor/TextEntry.h"
#include "platform/Dialogs.h"

class IEffectBase;
namespace platform {
class EditorWindow;
}

class IGraphics {
 public:
  static constexpr int kDefaultFps = 24;
  static constexpr int kWheelDeltaPerDetent = 120;
  static constexpr int kNoControl = -1;

  IGraphics(IEffectBase* plug, int width, int height, int fps = 0);
  virtual ~IGraphics();
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int FPS() const { return fps_; }
  int TimerPeriodMs() const { return 1000 / fps_; }

  // --- Building (plug-in constructor). ---
  // Loads the one-frame bitmap and inserts it at the top-left corner as control 0.
  int AttachBackground(int resourceId, const char* name);
  // Takes ownership; returns the control's index.
  int AttachControl(IControl* control);
  int NControls() const { return int(controls_.size()); }
  IControl* GetControl(int index);
  // Whether pointer movement without buttons reaches controls (the response read-out).
  void HandleMouseOver(bool handle) { handleMouseOver_ = handle; }

  // --- What the plug-in does to controls: any thread, holding the plug-in lock. ---
  // Every control bound to the parameter takes the value (real, or normalised when asked)
  // without notifying the plug-in.
  void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // The same for one control, by index.
  void SetControlFromPlug(int controlIdx, double normalized);
  // Moves a parameter through its controls: each bound control whose value differs takes
  // the value and passes it to the plug-in like a user edit. Unchanged values end here,
  // which ends every chain of forwards.
  void Forward(int paramIdx, double normalized);
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  // Called once when the editor is attached to the plug-in: everything gets drawn.
  void PrepDraw();

  // --- The window. ---
  // Opens the native window inside the host's parent window; a window already open is
  // replaced, the new one taking its place. False when no window could be made.
  virtual bool OpenWindow(void* parent);
  virtual void CloseWindow();
  // The host's editor idle: window systems without a message loop of their own run the
  // window's events and timer here.
  void IdleWindow();
  // The window layer reports its window (null for a headless one); all controls are drawn
  // anew at the next tick.
  void WindowOpened(void* nativeWindow);
  void WindowClosed();
  bool WindowIsOpen() const { return windowOpen_; }
  // The native window (the X11 Window id, or the HWND), null while none is open.
  void* NativeWindow() const;

  // --- Input, interface thread, window coordinates. ---
  void OnMouseDown(int x, int y, const IMouseMod& mod);
  void OnMouseUp(int x, int y, const IMouseMod& mod);
  void OnMouseDblClick(int x, int y, const IMouseMod& mod);
  // A drag while a button is held and a control has the capture; otherwise hovering.
  void OnMouseMove(int x, int y, const IMouseMod& mod);
  // The pointer left the window.
  void OnMouseLeave();
  // wheelDelta in the platform's units, 120 per detent.
  void OnMouseWheel(int x, int y, const IMouseMod& mod, int wheelDelta);
  // key: a code of KeyCodes.h; others are dropped.
  void OnKeyDown(int x, int y, int key);
  // The control that takes pointer events at (x, y): the topmost that is neither hidden
  // nor grayed and is hit there.
  int ControlAt(int x, int y) const;
  int MouseCapture() const { return mouseCapture_; }
  int MouseOver() const { return mouseOver_; }

  // --- Timer tick, interface thread. ---
  // Shows a message raised on the audio thread, does text-entry housekeeping, then paints
  // what is dirty into the back buffer. Returns the painted rectangle for the window layer
  // to copy; empty when nothing was dirty or no window is open.
  IRect OnTimerTick();
  // The back buffer; it exists only while a window is open, null otherwise.
  const IGraphicsRaster* Raster() const { return raster_.get(); }

  // --- Typed entry and files. ---
  void PromptUserInput(IControl* control, int paramIdx);
  void SetTextEntryWidget(ITextEntryWidget* widget) { textEntry_.SetWidget(widget); }
  const TextEntry& GetTextEntry() const { return textEntry_; }
  // From the entry widget: it gained or lost the keyboard focus; Return or a new choice.
  void OnTextEntryFocus(bool gained);
  void OnTextEntryCommit();
  // The open or save dialog starting in folder (the plug-in's folder when empty); nothing
  // happens without a window. False, with an empty result, on cancel.
  bool PromptForFile(std::string& result, platform::FileAction action, const std::string& folder);
  // The folder of the plug-in binary.
  static std::string PluginPath();

 private:
  void Press(int x, int y, const IMouseMod& mod);
  void EndEdit();
  bool InputHeldByTextEntry() const;
  // Grows area until every visible control it touches lies wholly inside: controls are
  // drawn whole, so everything they cover must be drawn again above them.
  IRect WithWholeControls(IRect area) const;
  IRect Paint(const IRect& dirty);

  IEffectBase* plug_;
  int width_;
  int height_;
  int fps_;
  std::vector<std::unique_ptr<IControl>> controls_;
  // Made when a window opens: a plug-in whose editor is never shown (most instances in a
  // large session) does not pay for a megabyte of pixels.
  std::unique_ptr<IGraphicsRaster> raster_;
  TextEntry textEntry_;
  int mouseCapture_ = kNoControl;
  int mouseOver_ = kNoControl;
  int editParam_ = IControl::kNoParameter;  // the parameter whose edit the host was told of
  int lastMouseX_ = 0;
  int lastMouseY_ = 0;
  bool handleMouseOver_ = false;
  bool windowOpen_ = false;
  void* nativeWindow_ = nullptr;
  // Last member: the window goes first, while the controls it reports to still exist.
  std::unique_ptr<platform::EditorWindow> window_;
};
