// voltrex's own window on a virtual X display: a top-level window titled "Voltrex" at the
// editor's size, showing the editor; closing it as a window manager does ends the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>

#include "editor/PngCodec.h"
#include "tests/app/JackRig.h"
#include "tests/app/TestSupport.h"

// Xlib last: its macros clash with ordinary names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int kPeriod = 256;
constexpr int kWidth = 630;
constexpr int kHeight = 440;
constexpr double kSeconds = 120.0;
constexpr uint32_t kOpaque = 0xFF000000u;
// A drawn editor has far more colours than an empty window's one.
constexpr size_t kDrawnColours = 16;

Window FindTopLevel(Display* display, const char* title) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    XWindowAttributes attributes{};
    if (XFetchName(display, children[i], &name) && name) {
      if (std::string(name) == title && XGetWindowAttributes(display, children[i], &attributes) &&
          attributes.map_state == IsViewable)
        found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

std::vector<uint32_t> Grab(Display* display, Window window) {
  std::vector<uint32_t> pixels;
  XImage* image = XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) pixels.push_back((uint32_t(XGetPixel(image, x, y)) & 0x00FFFFFFu) | kOpaque);
  }
  XDestroyImage(image);
  return pixels;
}

bool SavePng(const std::vector<uint32_t>& pixels, const std::string& path) {
  std::vector<unsigned char> png;
  std::ofstream file(path, std::ios::binary);
  return EncodePng(pixels.data(), kWidth, kHeight, png) &&
         file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size())).good();
}

// voltrex's top-level window once it shows; 0 when the program ended first or no window
// appeared in time.
Window WaitForWindow(Display* display, Subprocess& voltrex) {
  Window window = 0;
  WaitFor([&] { return (window = FindTopLevel(display, "Voltrex")) != 0 || !voltrex.Running(); }, kSeconds);
  return window;
}

// What a window manager sends when the player clicks the close button.
void AskToClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

TEST(StandaloneWindowTest, OpensTitledAtTheEditorSizeAndClosingItQuits) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_TRUE(display) << "no X display: run under xvfb-run";
  JackServer server(kPeriod);
  ASSERT_TRUE(server.Ready(kSeconds));
  const std::string state = ScratchPath("window.state");
  Subprocess voltrex({VoltrexPath(), "--no-connect", "--state", state}, {{"JACK_DEFAULT_SERVER", server.Name()}},
                     ScratchPath("window"));

  const Window window = WaitForWindow(display, voltrex);
  ASSERT_TRUE(window) << voltrex.Err();
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
  EXPECT_EQ(attributes.width, kWidth);
  EXPECT_EQ(attributes.height, kHeight);

  std::vector<uint32_t> pixels;
  EXPECT_TRUE(WaitFor(
      [&] {
        pixels = Grab(display, window);
        return std::set<uint32_t>(pixels.begin(), pixels.end()).size() > kDrawnColours;
      },
      kSeconds))
      << "the editor did not draw";
  std::filesystem::create_directories(VOLTREX_SCREENS_DIR);
  EXPECT_TRUE(SavePng(pixels, std::string(VOLTREX_SCREENS_DIR) + "/standalone.png"));

  AskToClose(display, window);
  EXPECT_EQ(voltrex.Wait(kSeconds), 0) << voltrex.Err();
  EXPECT_NE(voltrex.Out().find("state saved"), std::string::npos) << voltrex.Out();
  EXPECT_TRUE(WaitFor([&] { return FindTopLevel(display, "Voltrex") == 0; }, kSeconds));
  XCloseDisplay(display);
}

TEST(StandaloneWindowTest, ScaleTwoOpensAtTwiceTheEditorSize) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_TRUE(display) << "no X display: run under xvfb-run";
  JackServer server(kPeriod);
  ASSERT_TRUE(server.Ready(kSeconds));
  Subprocess voltrex({VoltrexPath(), "--no-connect", "--scale", "2", "--state", ScratchPath("scaled.state")},
                     {{"JACK_DEFAULT_SERVER", server.Name()}}, ScratchPath("scaled"));
  const Window window = WaitForWindow(display, voltrex);
  ASSERT_TRUE(window) << voltrex.Err();
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
  EXPECT_EQ(attributes.width, 2 * kWidth);
  EXPECT_EQ(attributes.height, 2 * kHeight);
  AskToClose(display, window);
  EXPECT_EQ(voltrex.Wait(kSeconds), 0) << voltrex.Err();
  XCloseDisplay(display);
}

}  // namespace
