// Xlib's default error handler ends the process: one request on a window the host has
// already destroyed (taking ours with it) would end the host. While a trap exists, errors
// are counted instead. The handler is process-wide, so a trap lives only for the span of
// one open, idle or close of the editor window, on the interface thread.
#pragma once

#include <X11/Xlib.h>

namespace platform {

class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  // Waits for the server's answers, then puts the previous handler back.
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits for the server's answers to everything sent so far; true when one was an error.
  bool Failed();

 private:
  Display* display_;
  XErrorHandler previous_;
  int errorsBefore_;
};

}  // namespace platform
