#include "platform/linux/XErrorTrap.h"

namespace platform {
namespace {

int errorsSeen = 0;

int CountError(Display*, XErrorEvent*) {
  ++errorsSeen;
  return 0;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display)
    : display_(display), previous_(XSetErrorHandler(&CountError)), errorsBefore_(errorsSeen) {}

XErrorTrap::~XErrorTrap() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
}

bool XErrorTrap::Failed() {
  XSync(display_, False);
  return errorsSeen != errorsBefore_;
}

}  // namespace platform
