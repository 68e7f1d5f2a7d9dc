// The editor's window on X11: a child of the host's window on a display connection of its
// own. The plug-in starts no threads, so events and the redraw timer are handled when the
// host calls the editor idle; the back buffer goes to the screen with XPutImage.
#include "platform/EditorWindow.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "editor/IGraphics.h"
#include "editor/KeyCodes.h"
#include "platform/linux/X11TextEntry.h"
#include "platform/linux/XErrorTrap.h"

// Xlib last: it defines macros (None, Bool, Status) that clash with ordinary names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | LeaveWindowMask | KeyPressMask |
                            StructureNotifyMask;
constexpr unsigned kLeftButton = 1;
constexpr unsigned kRightButton = 3;
constexpr unsigned kWheelUpButton = 4;
constexpr unsigned kWheelDownButton = 5;
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickSlopPx = 4;
constexpr unsigned long kChannelMask = 0xFF;
constexpr float kBaseDpi = 96.0f;  // the desktop's Xft.dpi at scale 1

// The raster's words are 0xAARRGGBB with opaque alpha: they are the pixels of 24- and
// 32-bit true-colour visuals with the usual channel order.
bool TakesRasterPixels(const Visual* visual, int depth) {
  return (depth == 24 || depth == 32) && visual->red_mask == kChannelMask << 16 &&
         visual->green_mask == kChannelMask << 8 && visual->blue_mask == kChannelMask;
}

IMouseMod ModOf(unsigned state) {
  return {.L = (state & Button1Mask) != 0,
          .R = (state & Button3Mask) != 0,
          .S = (state & ShiftMask) != 0,
          .C = (state & ControlMask) != 0,
          .A = (state & Mod1Mask) != 0};
}

// A button's state after its own press or release.
IMouseMod ModOf(const XButtonEvent& event, bool held) {
  IMouseMod mod = ModOf(event.state);
  if (event.button == kLeftButton) mod.L = held;
  if (event.button == kRightButton) mod.R = held;
  return mod;
}

int KeyCodeOf(XKeyEvent& event) {
  switch (XLookupKeysym(&event, 0)) {
    case XK_space: return kKeySpace;
    case XK_Up: case XK_KP_Up: return kKeyUp;
    case XK_Down: case XK_KP_Down: return kKeyDown;
    case XK_Left: case XK_KP_Left: return kKeyLeft;
    case XK_Right: case XK_KP_Right: return kKeyRight;
    default: break;
  }
  char typed[8] = {};
  KeySym symbol = 0;
  if (XLookupString(&event, typed, sizeof typed, &symbol, nullptr) != 1) return kNoKey;
  return KeyCodeOfCharacter(char32_t(static_cast<unsigned char>(typed[0])));
}

// The value of "Xft.dpi" in the resource database text ("name:\tvalue" lines); 0 without.
float XftDpi(const char* resources) {
  if (!resources) return 0.0f;
  constexpr std::string_view kName = "Xft.dpi:";
  const std::string_view text = resources;
  for (std::size_t line = 0; line < text.size();) {
    const std::size_t end = std::min(text.find('\n', line), text.size());
    const std::string_view entry = text.substr(line, end - line);
    if (entry.substr(0, kName.size()) == kName)
      return std::strtof(std::string(entry.substr(kName.size())).c_str(), nullptr);
    line = end + 1;
  }
  return 0.0f;
}

class X11EditorWindow final : public EditorWindow {
 public:
  explicit X11EditorWindow(IGraphics& graphics) : graphics_(graphics), textEntry_(graphics) {}
  ~X11EditorWindow() override;
  X11EditorWindow(const X11EditorWindow&) = delete;
  X11EditorWindow& operator=(const X11EditorWindow&) = delete;

  bool Open(::Window parent, const IRect& placement, float scale);

  void* NativeHandle() const override { return reinterpret_cast<void*>(window_); }
  IRect Placement() const override;
  void Idle() override;

 private:
  bool CreateChild(::Window parent, const IRect& placement);
  void Handle(XEvent& event);
  void Press(const XButtonEvent& event);
  void Release(const XButtonEvent& event);
  bool IsDoubleClick(const XButtonEvent& event);
  void Tick();
  void Show(const IRect& rect);
  void TakeFocus();
  void Detach();

  IGraphics& graphics_;
  Display* display_ = nullptr;
  ::Window window_ = 0;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;
  std::vector<std::uint32_t> pixels_;  // what the window shows, for exposures
  X11TextEntry textEntry_;
  bool attached_ = false;              // the editor host knows of this window
  int width_ = 0;                      // the window's size in its own pixels
  int height_ = 0;
  Clock::time_point nextTick_;
  // The last press, for telling double clicks, which X does not report.
  unsigned lastButton_ = 0;
  Time lastPressTime_ = 0;
  int lastPressX_ = 0;
  int lastPressY_ = 0;
};

X11EditorWindow::~X11EditorWindow() {
  if (!display_) return;
  {
    XErrorTrap trap(display_);
    Detach();
    textEntry_.Close();
    if (image_) {
      image_->data = nullptr;  // the pixels belong to pixels_
      XDestroyImage(image_);
    }
    if (gc_) XFreeGC(display_, gc_);
    if (window_) XDestroyWindow(display_, window_);
  }
  XCloseDisplay(display_);
}

bool X11EditorWindow::Open(::Window parent, const IRect& placement, float scale) {
  if (!parent) return false;
  display_ = XOpenDisplay(nullptr);
  if (!display_) return false;
  XErrorTrap trap(display_);
  if (!CreateChild(parent, placement) || trap.Failed()) return false;
  textEntry_.Attach(display_, window_);
  graphics_.SetTextEntryWidget(&textEntry_);
  graphics_.WindowOpened(NativeHandle(), scale);
  attached_ = true;
  Tick();  // the editor shows at its first exposure rather than one timer period later
  nextTick_ = Clock::now() + std::chrono::milliseconds(graphics_.TimerPeriodMs());
  if (trap.Failed()) return false;
  TakeFocus();  // a host that keeps the focus to itself does not make the open fail
  return true;
}

bool X11EditorWindow::CreateChild(::Window parent, const IRect& placement) {
  XWindowAttributes parentAttributes{};
  if (!XGetWindowAttributes(display_, parent, &parentAttributes)) return false;
  Visual* visual = parentAttributes.visual;
  const int depth = parentAttributes.depth;
  if (!TakesRasterPixels(visual, depth)) return false;
  XSetWindowAttributes attributes{};
  attributes.event_mask = kEventMask;
  attributes.border_pixel = 0;
  attributes.colormap = parentAttributes.colormap;
  window_ = XCreateWindow(display_, parent, placement.L, placement.T, unsigned(placement.W()),
                          unsigned(placement.H()), 0, depth, InputOutput, visual,
                          CWEventMask | CWBorderPixel | CWColormap, &attributes);
  if (!window_) return false;
  XStoreName(display_, window_, "Voltrex");
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  width_ = placement.W();
  height_ = placement.H();
  const int width = width_;
  const int height = height_;
  pixels_.assign(std::size_t(width) * std::size_t(height), 0xFF000000u);
  image_ = XCreateImage(display_, visual, unsigned(depth), ZPixmap, 0,
                        reinterpret_cast<char*>(pixels_.data()), unsigned(width),
                        unsigned(height), 32, width * int(sizeof(std::uint32_t)));
  if (!gc_ || !image_ || image_->bits_per_pixel != 32) return false;
  // The words are in this machine's byte order; Xlib converts for the server.
  image_->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  XMapWindow(display_, window_);
  return true;
}

IRect X11EditorWindow::Placement() const {
  XWindowAttributes attributes{};
  if (!display_ || !window_) return {0, 0, width_, height_};
  XErrorTrap trap(display_);
  if (!XGetWindowAttributes(display_, window_, &attributes)) return {0, 0, width_, height_};
  return {attributes.x, attributes.y, attributes.x + attributes.width,
          attributes.y + attributes.height};
}

void X11EditorWindow::Idle() {
  if (!display_ || !window_) return;
  XErrorTrap trap(display_);
  while (window_ && XPending(display_)) {
    XEvent event;
    XNextEvent(display_, &event);
    if (textEntry_.Handle() && event.xany.window == textEntry_.Handle())
      textEntry_.Handle(event);
    else
      Handle(event);
  }
  textEntry_.Idle();
  const Clock::time_point now = Clock::now();
  if (window_ && now >= nextTick_) {
    nextTick_ = now + std::chrono::milliseconds(graphics_.TimerPeriodMs());
    Tick();
  }
}

void X11EditorWindow::Handle(XEvent& event) {
  switch (event.type) {
    case Expose: {
      const XExposeEvent& e = event.xexpose;
      Show({e.x, e.y, e.x + e.width, e.y + e.height});
      return;
    }
    case ButtonPress:
      Press(event.xbutton);
      return;
    case ButtonRelease:
      Release(event.xbutton);
      return;
    case MotionNotify:
      graphics_.OnMouseMove(event.xmotion.x, event.xmotion.y, ModOf(event.xmotion.state));
      return;
    case LeaveNotify:
      // Crossings caused by the pointer grab of a press are no leaving.
      if (event.xcrossing.mode == NotifyNormal) graphics_.OnMouseLeave();
      return;
    case KeyPress: {
      const int key = KeyCodeOf(event.xkey);
      if (key != kNoKey) graphics_.OnKeyDown(event.xkey.x, event.xkey.y, key);
      return;
    }
    case DestroyNotify:
      // The host destroyed its window, and ours with it.
      if (event.xdestroywindow.window != window_) return;
      window_ = 0;
      Detach();
      return;
    default:
      return;
  }
}

// X grabs the pointer for the window from a press to the release, so a drag outside the
// window keeps reaching it; that is the mouse capture.
void X11EditorWindow::Press(const XButtonEvent& event) {
  if (event.button == kWheelUpButton || event.button == kWheelDownButton) {
    const int delta = IGraphics::kWheelDeltaPerDetent;
    graphics_.OnMouseWheel(event.x, event.y, ModOf(event.state),
                           event.button == kWheelUpButton ? delta : -delta);
    return;
  }
  if (event.button != kLeftButton && event.button != kRightButton) return;
  if (!graphics_.GetTextEntry().IsOpen()) TakeFocus();
  if (IsDoubleClick(event))
    graphics_.OnMouseDblClick(event.x, event.y, ModOf(event, true));
  else
    graphics_.OnMouseDown(event.x, event.y, ModOf(event, true));
}

void X11EditorWindow::Release(const XButtonEvent& event) {
  if (event.button != kLeftButton && event.button != kRightButton) return;
  graphics_.OnMouseUp(event.x, event.y, ModOf(event, false));
}

// A second press of the same button, soon and close by; a third press starts over.
bool X11EditorWindow::IsDoubleClick(const XButtonEvent& event) {
  const bool isDouble = lastButton_ == event.button && event.time - lastPressTime_ <= kDoubleClickMs &&
                        std::abs(event.x - lastPressX_) <= kDoubleClickSlopPx &&
                        std::abs(event.y - lastPressY_) <= kDoubleClickSlopPx;
  lastButton_ = isDouble ? 0 : event.button;
  lastPressTime_ = event.time;
  lastPressX_ = event.x;
  lastPressY_ = event.y;
  return isDouble;
}

void X11EditorWindow::Tick() {
  const IRect painted = graphics_.OnTimerTick();
  const IGraphicsRaster* raster = graphics_.Raster();
  const IRect area = painted.Intersect({0, 0, width_, height_});
  if (area.Empty() || !raster || raster->Width() != width_ || raster->Height() != height_) return;
  const std::size_t width = std::size_t(width_);
  for (int y = area.T; y < area.B; ++y) {
    const std::size_t offset = std::size_t(y) * width + std::size_t(area.L);
    std::memcpy(pixels_.data() + offset, raster->Pixels() + offset,
                std::size_t(area.W()) * sizeof(std::uint32_t));
  }
  Show(area);
}

void X11EditorWindow::Show(const IRect& rect) {
  const IRect area = rect.Intersect({0, 0, width_, height_});
  if (area.Empty() || !window_) return;
  XPutImage(display_, window_, gc_, image_, area.L, area.T, area.L, area.T, unsigned(area.W()),
            unsigned(area.H()));
  XFlush(display_);
}

// Only a viewable window can take the focus; asking for it earlier is an error.
void X11EditorWindow::TakeFocus() {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display_, window_, &attributes) && attributes.map_state == IsViewable)
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
}

void X11EditorWindow::Detach() {
  if (!attached_) return;
  attached_ = false;
  graphics_.WindowClosed();
  graphics_.SetTextEntryWidget(nullptr);
}

}  // namespace

std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent,
                                               const IRect& placement, float scale) {
  auto window = std::make_unique<X11EditorWindow>(graphics);
  if (!window->Open(::Window(reinterpret_cast<std::uintptr_t>(parent)), placement, scale))
    return nullptr;
  return window;
}

// The resource database a desktop sets on the root window (RESOURCE_MANAGER, read when a
// connection opens) holds its font DPI; GDK_SCALE is the GTK desktops' integer factor.
float SystemScaleFactor(void*) {
  float dpi = 0.0f;
  if (Display* display = XOpenDisplay(nullptr)) {
    dpi = XftDpi(XResourceManagerString(display));
    XCloseDisplay(display);
  }
  if (dpi > 0.0f) return dpi / kBaseDpi;
  const char* gdkScale = std::getenv("GDK_SCALE");
  const float factor = gdkScale ? std::strtof(gdkScale, nullptr) : 0.0f;
  return factor > 0.0f ? factor : 1.0f;
}

GuiObjectCounts LiveGuiObjects() { return {}; }

}  // namespace platform
