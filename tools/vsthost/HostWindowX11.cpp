#include <X11/Xlib.h>

#include <cstdint>
#include <cstdlib>

#include "tools/vsthost/HostWindow.h"

namespace vsthost {

namespace {
constexpr unsigned kWidth = 800;
constexpr unsigned kHeight = 600;
constexpr unsigned long kGrey = 0x808080;
}  // namespace

struct HostWindow::Native {
  Display* display = nullptr;
  Window window = 0;
};

HostWindow::HostWindow(std::unique_ptr<Native> native) : native_(std::move(native)) {}

std::unique_ptr<HostWindow> HostWindow::Create() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return nullptr;
  auto native = std::make_unique<Native>();
  native->display = XOpenDisplay(nullptr);
  if (!native->display) return nullptr;
  native->window = XCreateSimpleWindow(native->display, DefaultRootWindow(native->display), 0, 0, kWidth, kHeight,
                                       0, 0, kGrey);
  XMapWindow(native->display, native->window);
  XSync(native->display, False);
  return std::unique_ptr<HostWindow>(new HostWindow(std::move(native)));
}

HostWindow::~HostWindow() {
  XDestroyWindow(native_->display, native_->window);
  XCloseDisplay(native_->display);
}

void* HostWindow::NativeHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(native_->window)); }

void HostWindow::PumpEvents() {
  while (XPending(native_->display) > 0) {
    XEvent event;
    XNextEvent(native_->display, &event);
  }
}

}  // namespace vsthost
