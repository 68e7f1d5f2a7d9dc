// The X11 side of the editor window tests: a window of the test's own on a virtual display
// as the host's, events sent to the editor, and the host's editor idle handling them.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "editor/TextEntry.h"
#include "amp/ParamIds.h"
#include "tests/window/EditorWindowTest.h"

// Xlib last: its macros clash with ordinary names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>

namespace {

// Room for the editor at twice its size.
constexpr int kHostWidth = 1300;
constexpr int kHostHeight = 920;
constexpr int kIdlePeriodMs = 5;
constexpr unsigned kWheelUp = 4;
constexpr unsigned kWheelDown = 5;
constexpr Time kEventSpacingMs = 10;

// One connection for the whole run: an X server resets when its last client leaves, and
// a connection opened during the reset fails.
Display* TestDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

}  // namespace

struct EditorWindowTest::Native {
  Display* display = TestDisplay();
  Window host = 0;
  Window editor = 0;
  Time time = 1000;

  std::vector<Window> ChildrenOf(Window window) const {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> found;
    if (XQueryTree(display, window, &root, &parent, &children, &count) && children) {
      found.assign(children, children + count);
      XFree(children);
    }
    return found;
  }
  Window Entry() const {
    const std::vector<Window> children = ChildrenOf(editor);
    return children.size() == 1 ? children[0] : 0;
  }
  Window Focus() const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
  }
  // The fields that button, motion and key events share.
  template <typename Event>
  void Fill(Event& e, int type, Window window, int x, int y, unsigned state) {
    e.type = type;
    e.display = display;
    e.window = window;
    e.root = DefaultRootWindow(display);
    e.x = x;
    e.y = y;
    e.state = state;
    e.time = time += kEventSpacingMs;
    e.same_screen = True;
  }
  void Send(Window window, XEvent& event, long mask) {
    XSendEvent(display, window, False, mask, &event);
    XSync(display, False);
  }
  void Button(Window window, int type, unsigned button, unsigned state, int x, int y) {
    XEvent event{};
    Fill(event.xbutton, type, window, x, y, state);
    event.xbutton.button = button;
    Send(window, event, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
  }
  void Motion(unsigned state, int x, int y) {
    XEvent event{};
    Fill(event.xmotion, MotionNotify, editor, x, y, state);
    Send(editor, event, PointerMotionMask);
  }
  void Key(Window window, KeySym key) {
    XEvent event{};
    Fill(event.xkey, KeyPress, window, 0, 0, 0);
    event.xkey.keycode = XKeysymToKeycode(display, key);
    Send(window, event, KeyPressMask);
  }
};

const char* const EditorWindowTest::kScreenName = "editor-x11.png";

EditorWindowTest::EditorWindowTest() : native_(std::make_unique<Native>()) {}
EditorWindowTest::~EditorWindowTest() = default;

bool EditorWindowTest::CreateHostWindow() {
  Display* display = native_->display;
  EXPECT_TRUE(display) << "no X display: run under xvfb-run";
  if (!display) return false;
  native_->host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, kHostWidth,
                                      kHostHeight, 0, 0, 0x808080);
  XMapWindow(display, native_->host);
  XSync(display, False);
  return native_->host != 0;
}

void EditorWindowTest::DestroyHostWindow() {
  if (!native_->display || !native_->host) return;
  XDestroyWindow(native_->display, native_->host);
  XSync(native_->display, False);
  native_->host = 0;
}

bool EditorWindowTest::Open() {
  if (host_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(native_->host)) != 1)
    return false;
  Idle(kTicksMs);
  const std::vector<Window> children = native_->ChildrenOf(native_->host);
  native_->editor = children.size() == 1 ? children[0] : 0;
  return native_->editor != 0;
}

void EditorWindowTest::Idle(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    host_->Dispatch(vst2::effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(kIdlePeriodMs));
  } while (std::chrono::steady_clock::now() < end);
}

void* EditorWindowTest::HostWindowHandle() { return reinterpret_cast<void*>(native_->host); }

// Every editor opens a display connection of its own: a connection left open shows both as
// a client of the server and as an open socket of this process.
std::map<std::string, long> EditorWindowTest::ResourceCounts() {
  int clients = -1;
  XResClient* list = nullptr;
  if (XResQueryClients(native_->display, &clients, &list) && list) XFree(list);
  long files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++files;
  return {{"X clients", clients}, {"open files", files}};
}

int EditorWindowTest::EditorsInHost() { return int(native_->ChildrenOf(native_->host).size()); }

IRect EditorWindowTest::EditorRect() {
  XWindowAttributes a{};
  XGetWindowAttributes(native_->display, native_->editor, &a);
  return {a.x, a.y, a.x + a.width, a.y + a.height};
}

void EditorWindowTest::MoveEditor(int x, int y) {
  XMoveWindow(native_->display, native_->editor, x, y);
  XSync(native_->display, False);
}

bool EditorWindowTest::EditorHasFocus() { return native_->Focus() == native_->editor; }

std::vector<std::uint32_t> EditorWindowTest::Grab() {
  std::vector<std::uint32_t> pixels;
  const IRect rect = EditorRect();
  XImage* image = XGetImage(native_->display, native_->editor, 0, 0, unsigned(rect.W()),
                            unsigned(rect.H()), AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < rect.H(); ++y)
    for (int x = 0; x < rect.W(); ++x)
      pixels.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0x00FFFFFFu);
  XDestroyImage(image);
  return pixels;
}

// As a desktop announces its font DPI: the resource database on the root window, which a
// client reads when it connects (xrdb does this on a desktop).
bool EditorWindowTest::MakeScreenDense() {
  static const char kResources[] = "Xft.dpi:\t192\n";
  XChangeProperty(native_->display, DefaultRootWindow(native_->display), XA_RESOURCE_MANAGER, XA_STRING,
                  8, PropModeReplace, reinterpret_cast<const unsigned char*>(kResources),
                  int(sizeof kResources - 1));
  XSync(native_->display, False);
  return true;
}

void EditorWindowTest::RestoreScreen() {
  XDeleteProperty(native_->display, DefaultRootWindow(native_->display), XA_RESOURCE_MANAGER);
  XSync(native_->display, False);
}

void EditorWindowTest::Press(int x, int y) {
  native_->Button(native_->editor, ButtonPress, Button1, 0, x, y);
}

void EditorWindowTest::DragTo(int x, int y) {
  native_->Motion(Button1Mask, x, y);
}

void EditorWindowTest::Release(int x, int y) {
  native_->Button(native_->editor, ButtonRelease, Button1, Button1Mask, x, y);
}

// The second press lands a pixel away, as a hand's would.
void EditorWindowTest::DoubleClick(int x, int y) {
  Click(x, y);
  Click(x + 1, y);
}

void EditorWindowTest::RightClick(int x, int y) {
  native_->Button(native_->editor, ButtonPress, Button3, 0, x, y);
  native_->Button(native_->editor, ButtonRelease, Button3, Button3Mask, x, y);
}

void EditorWindowTest::Wheel(int x, int y, int detents) {
  for (int i = 0; i < std::abs(detents); ++i) {
    const unsigned button = detents > 0 ? kWheelUp : kWheelDown;
    native_->Button(native_->editor, ButtonPress, button, 0, x, y);
    native_->Button(native_->editor, ButtonRelease, button, 0, x, y);
  }
}

bool EditorWindowTest::EntryOpen() { return native_->Entry() != 0; }

bool EditorWindowTest::EntryHasFocus() {
  return native_->Entry() != 0 && native_->Focus() == native_->Entry();
}

// Printable ASCII characters are their own key symbols.
void EditorWindowTest::Type(const std::string& keys) {
  for (char c : keys) native_->Key(native_->Entry(), c == '\b' ? XK_BackSpace : KeySym(c));
}

void EditorWindowTest::PressReturn() { native_->Key(native_->Entry(), XK_Return); }

void EditorWindowTest::ChooseRow(int row) {
  native_->Button(native_->Entry(), ButtonPress, Button1, 0, 10,
                row * TextEntry::kEntryHeightPx + TextEntry::kEntryHeightPx / 2);
}

namespace {

using X11EditorWindow = EditorWindowTest;

// The window system reports presses only; the editor pairs them into double clicks itself.
TEST_F(X11EditorWindow, PressesFarApartInTimeAreTwoClicks) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kMainBass);
  Wheel(x, y, Param(kMainBass) > 0.5f ? -1 : 1);
  Idle(kInputMs);
  const float moved = Param(kMainBass);
  Click(x, y);
  native_->time += 1000;
  Click(x, y);
  Idle(kInputMs);
  EXPECT_EQ(Param(kMainBass), moved);
}

}  // namespace
