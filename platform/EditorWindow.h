// The editor's native window, a child of the host's window. The window layer draws the
// editor host's back buffer, feeds it mouse, wheel, key and timer events, and hosts the
// native widget for typed entry. One implementation per window system.
#pragma once

#include <memory>

#include "editor/IRect.h"

class IGraphics;

namespace platform {

class EditorWindow {
 public:
  // Destroying the object destroys the window and tells the editor host it is closed.
  virtual ~EditorWindow() = default;

  // The native handle (HWND, or the X11 Window id), null once the window is gone.
  virtual void* NativeHandle() const = 0;
  // Position and size inside the parent, so a window opened again can take its place.
  virtual IRect Placement() const = 0;
  // Runs pending window-system events and the redraw timer, for window systems that give
  // the plug-in no message loop of its own (X11: called from the host's editor idle).
  virtual void Idle() {}
};

// Opens the editor's window at placement (its own pixels, scale of them per editor pixel)
// inside parent (the host's native window); the editor host is told through WindowOpened
// and draws at the window's timer ticks. Null on failure, with nothing left behind.
std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent,
                                               const IRect& placement, float scale);

// Interface thread: the desktop's scale factor for a window in parent (null: the main
// screen), unsnapped; 1 when the system says nothing. Windows: the DPI of the parent as
// the host's own DPI awareness sees it (a DPI-unaware host is stretched whole by Windows:
// 1). X11: the Xft.dpi resource of the screen over 96, else GDK_SCALE.
float SystemScaleFactor(void* parent);

// The GDI and USER objects the editor's windows hold at this moment, counted where they
// are created and destroyed (Windows; both zero on X11, whose resources live in the server
// and are counted there). Any thread.
struct GuiObjectCounts {
  long gdi = 0;
  long user = 0;
};
GuiObjectCounts LiveGuiObjects();

}  // namespace platform
