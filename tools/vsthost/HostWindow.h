// A window of the host's own for a plug-in editor to open into, for `vsthost stress`: a
// plain X11 window natively (only when DISPLAY names a server), a hidden top-level Win32
// window on Windows. All calls on one thread, the one that opens and closes the editors.
#pragma once

#include <memory>

namespace vsthost {

class HostWindow {
 public:
  // Null when the platform offers no window (no X display, or window creation failed).
  static std::unique_ptr<HostWindow> Create();
  ~HostWindow();

  void* NativeHandle() const;  // what effEditOpen takes: an X Window id or an HWND
  void PumpEvents();           // dispatches what the window system queued, without waiting

 private:
  struct Native;
  explicit HostWindow(std::unique_ptr<Native> native);
  std::unique_ptr<Native> native_;
};

}  // namespace vsthost
