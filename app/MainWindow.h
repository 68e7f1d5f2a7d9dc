// The program's own top-level X11 window, titled "Voltrex", with the amp's editor opened
// inside it as a DAW opens it inside its plug-in window. Closing the window quits. Main
// thread only, which also drives the editor's idle.
#pragma once

#include <memory>
#include <string>

#include "tools/vsthost/PluginHost.h"

class MainWindow {
 public:
  // Main thread: null with a message when there is no display or the editor will not open.
  static std::unique_ptr<MainWindow> Open(vsthost::PluginHost& amp, std::string& error);
  // Main thread: closes the editor and the window.
  ~MainWindow();

  // Main thread, from the program's loop: runs the editor's idle and the window's events;
  // false once the player has closed the window.
  bool Idle();

 private:
  struct X11;
  explicit MainWindow(vsthost::PluginHost& amp);

  vsthost::PluginHost& amp_;
  std::unique_ptr<X11> x11_;
  bool editorOpen_ = false;
};
