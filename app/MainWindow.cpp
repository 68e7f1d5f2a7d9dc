#include "app/MainWindow.h"

#include "plugin/vst2/vst2.h"

// Xlib last: its macros clash with ordinary names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr const char* kTitle = "Voltrex";
constexpr const char* kClass = "voltrex";
constexpr unsigned long kBackground = 0x000000;

}  // namespace

struct MainWindow::X11 {
  Display* display = nullptr;
  Window window = 0;
  Atom deleteWindow = 0;
};

MainWindow::MainWindow(vsthost::PluginHost& amp) : amp_(amp), x11_(std::make_unique<X11>()) {}

std::unique_ptr<MainWindow> MainWindow::Open(vsthost::PluginHost& amp, std::string& error) {
  vst2::ERect* rect = nullptr;
  if (amp.Dispatch(vst2::effEditGetRect, 0, 0, &rect) != 1 || !rect) {
    error = "the amp has no editor";
    return nullptr;
  }
  const unsigned width = unsigned(rect->right - rect->left);
  const unsigned height = unsigned(rect->bottom - rect->top);
  std::unique_ptr<MainWindow> window(new MainWindow(amp));
  X11& x = *window->x11_;
  x.display = XOpenDisplay(nullptr);
  if (!x.display) {
    error = "cannot open the X display (run with --headless to play without a window)";
    return nullptr;
  }
  x.window = XCreateSimpleWindow(x.display, DefaultRootWindow(x.display), 0, 0, width, height, 0, 0, kBackground);
  XStoreName(x.display, x.window, kTitle);
  XChangeProperty(x.display, x.window, XInternAtom(x.display, "_NET_WM_NAME", False),
                  XInternAtom(x.display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(kTitle), int(std::char_traits<char>::length(kTitle)));
  XClassHint classHint{const_cast<char*>(kClass), const_cast<char*>(kTitle)};
  XSetClassHint(x.display, x.window, &classHint);
  // The editor has one size: so has its window.
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = PMinSize | PMaxSize;
  hints->min_width = hints->max_width = int(width);
  hints->min_height = hints->max_height = int(height);
  XSetWMNormalHints(x.display, x.window, hints);
  XFree(hints);
  x.deleteWindow = XInternAtom(x.display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(x.display, x.window, &x.deleteWindow, 1);
  XSelectInput(x.display, x.window, StructureNotifyMask);
  XMapWindow(x.display, x.window);
  XSync(x.display, False);
  if (amp.Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(x.window)) != 1) {
    error = "the amp's editor did not open";
    return nullptr;
  }
  window->editorOpen_ = true;
  return window;
}

MainWindow::~MainWindow() {
  if (editorOpen_) amp_.Dispatch(vst2::effEditClose);
  if (!x11_->display) return;
  if (x11_->window) XDestroyWindow(x11_->display, x11_->window);
  XCloseDisplay(x11_->display);
}

bool MainWindow::Idle() {
  amp_.Dispatch(vst2::effEditIdle);
  X11& x = *x11_;
  while (XPending(x.display) > 0) {
    XEvent event;
    XNextEvent(x.display, &event);
    const bool closeAsked = event.type == ClientMessage && Atom(event.xclient.data.l[0]) == x.deleteWindow;
    if (closeAsked || event.type == DestroyNotify) return false;
  }
  return true;
}
