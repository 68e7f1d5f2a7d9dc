// The X11 editor window, opened through the plug-in binary inside a window of the test's
// own on a virtual display, driven by events sent to it and by the host's editor idle.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/IGraphics.h"
#include "editor/TextEntry.h"
#include "plugin/ParamIds.h"
#include "plugin/VoltrexPlug.h"
#include "tests/window/PluginPath.h"
#include "tests/window/ReferenceEditor.h"
#include "tools/vsthost/PluginHost.h"

// Xlib last: its macros clash with ordinary names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int kEditorWidth = 630;
constexpr int kEditorHeight = 440;
constexpr int kParentWidth = 700;
constexpr int kParentHeight = 520;
constexpr int kTicksMs = 150;  // a few timer periods of 41 ms
constexpr int kIdlePeriodMs = 5;
constexpr float kWheelStep = 0.01f;
constexpr unsigned kWheelUp = 4;
constexpr unsigned kWheelDown = 5;

// One connection for the whole run: an X server resets when its last client leaves, and
// a connection opened during the reset fails.
Display* TestDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

class X11EditorTest : public testing::Test {
 protected:
  void SetUp() override {
    display_ = TestDisplay();
    ASSERT_TRUE(display_) << "no X display: run under xvfb-run";
    parent_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, kParentWidth,
                                  kParentHeight, 0, 0, 0x808080);
    XMapWindow(display_, parent_);
    XSync(display_, False);
    std::string error;
    host_ = vsthost::PluginHost::Load(PluginPath(), &error);
    ASSERT_TRUE(host_) << error;
    host_->Start();
    reference_ = std::make_unique<VoltrexPlug>(nullptr);
    reference_->Effect()->dispatcher(reference_->Effect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
  }

  void TearDown() override {
    if (host_) host_->Dispatch(vst2::effEditClose);
    host_.reset();
    if (display_ && parent_) XDestroyWindow(display_, parent_);
    if (display_) XSync(display_, False);
  }

  bool Open() {
    if (host_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)) != 1) return false;
    Idle(kTicksMs);
    editor_ = EditorWindow();
    return editor_ != 0;
  }

  // The host's editor idle, called for about ms milliseconds.
  void Idle(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      host_->Dispatch(vst2::effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(kIdlePeriodMs));
    } while (std::chrono::steady_clock::now() < end);
  }

  std::vector<Window> Children() { return ChildrenOf(parent_); }

  std::vector<Window> ChildrenOf(Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> found;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) && children) {
      found.assign(children, children + count);
      XFree(children);
    }
    return found;
  }

  Window EditorWindow() {
    const std::vector<Window> children = Children();
    return children.size() == 1 ? children[0] : 0;
  }

  std::pair<int, int> CentreOf(int paramIdx) {
    const std::pair<int, int> centre = CentreOfControl(*reference_->GetGUI(), paramIdx);
    EXPECT_GE(centre.first, 0) << "no control of parameter " << paramIdx << " takes clicks";
    return centre;
  }

  void SendButton(int type, unsigned button, unsigned state, int x, int y) {
    SendButtonTo(editor_, type, button, state, x, y);
  }

  void SendButtonTo(Window window, int type, unsigned button, unsigned state, int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.display = display_;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(display_);
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.button = button;
    event.xbutton.state = state;
    event.xbutton.time = time_ += 10;
    event.xbutton.same_screen = True;
    XSendEvent(display_, window, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
               &event);
    XSync(display_, False);
  }

  void RightClick(int x, int y) {
    SendButton(ButtonPress, Button3, 0, x, y);
    SendButton(ButtonRelease, Button3, Button3Mask, x, y);
  }

  // Key presses of the characters of text, as typed into window.
  void Type(Window window, const std::vector<KeySym>& keys) {
    for (KeySym key : keys) {
      XEvent event{};
      event.xkey.type = KeyPress;
      event.xkey.display = display_;
      event.xkey.window = window;
      event.xkey.root = DefaultRootWindow(display_);
      event.xkey.keycode = XKeysymToKeycode(display_, key);
      event.xkey.time = time_ += 10;
      event.xkey.same_screen = True;
      XSendEvent(display_, window, False, KeyPressMask, &event);
    }
    XSync(display_, False);
  }

  // The typed-entry window inside the editor, once it is open.
  Window OpenEntry(int paramIdx) {
    const auto [x, y] = CentreOf(paramIdx);
    RightClick(x, y);
    Idle(kTicksMs);
    const std::vector<Window> entries = ChildrenOf(editor_);
    return entries.size() == 1 ? entries[0] : 0;
  }

  Window Focus() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus;
  }

  void SendMotion(unsigned state, int x, int y) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = display_;
    event.xmotion.window = editor_;
    event.xmotion.root = DefaultRootWindow(display_);
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = state;
    event.xmotion.time = time_ += 10;
    event.xmotion.same_screen = True;
    XSendEvent(display_, editor_, False, PointerMotionMask, &event);
    XSync(display_, False);
  }

  void Click(int x, int y) {
    SendButton(ButtonPress, Button1, 0, x, y);
    SendButton(ButtonRelease, Button1, Button1Mask, x, y);
  }

  float Param(int index) { return host_->GetParameter(index); }

  int CallsOf(int32_t opcode) {
    int count = 0;
    for (const auto& call : host_->Calls()) count += call.opcode == opcode;
    return count;
  }

  // The window's pixels as 0x00RRGGBB, read back from the screen.
  std::vector<std::uint32_t> Grab() {
    std::vector<std::uint32_t> pixels;
    XImage* image = XGetImage(display_, editor_, 0, 0, kEditorWidth, kEditorHeight, AllPlanes, ZPixmap);
    if (!image) return pixels;
    for (int y = 0; y < kEditorHeight; ++y)
      for (int x = 0; x < kEditorWidth; ++x)
        pixels.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0x00FFFFFFu);
    XDestroyImage(image);
    return pixels;
  }

  Display* display_ = nullptr;
  Window parent_ = 0;
  Window editor_ = 0;
  Time time_ = 1000;
  std::unique_ptr<vsthost::PluginHost> host_;
  std::unique_ptr<VoltrexPlug> reference_;
};

TEST_F(X11EditorTest, OpensAChildOfTheHostWindowWithTheEditorsSize) {
  ASSERT_TRUE(Open());
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display_, editor_, &attributes));
  EXPECT_EQ(attributes.width, kEditorWidth);
  EXPECT_EQ(attributes.height, kEditorHeight);
  EXPECT_EQ(attributes.map_state, IsViewable);
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(display_, editor_, &name));
  EXPECT_STREQ(name, "Voltrex");
  XFree(name);
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  EXPECT_EQ(focus, editor_);
}

TEST_F(X11EditorTest, ShowsWhatTheHeadlessEditorDraws) {
  ASSERT_TRUE(Open());
  const std::vector<std::uint32_t> shown = Grab();
  ASSERT_EQ(shown.size(), size_t(kEditorWidth * kEditorHeight));
  const std::string screens = VOLTREX_SCREENS_DIR;
  std::filesystem::create_directories(screens);
  EXPECT_TRUE(SaveRgbPng(shown, kEditorWidth, kEditorHeight, screens + "/editor-x11.png"));
  EXPECT_EQ(DifferingPixels(shown, HeadlessRgb(*reference_->GetGUI())), 0)
      << "pixels that differ from the headless rendering";
}

TEST_F(X11EditorTest, TheTimerDrawsWhatTheHostChanges) {
  ASSERT_TRUE(Open());
  const std::vector<std::uint32_t> before = Grab();
  for (int index : {kGateOn, kMainBass}) {
    const float changed = Param(index) > 0.5f ? 0.0f : 1.0f;
    host_->SetParameter(index, changed);
    reference_->Effect()->setParameter(reference_->Effect(), index, changed);
  }
  Idle(kTicksMs);
  const std::vector<std::uint32_t> shown = Grab();
  EXPECT_NE(shown, before) << "the change shows";
  EXPECT_EQ(DifferingPixels(shown, HeadlessRgb(*reference_->GetGUI())), 0);
}

TEST_F(X11EditorTest, ClickOnTheGateButtonTogglesItAndTellsTheHost) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kGateOn);
  const float before = Param(kGateOn);
  host_->ClearCalls();
  Click(x, y);
  Idle(20);
  EXPECT_NE(Param(kGateOn), before);
  EXPECT_EQ(CallsOf(vst2::audioMasterBeginEdit), 1);
  EXPECT_EQ(CallsOf(vst2::audioMasterEndEdit), 1);
}

TEST_F(X11EditorTest, DraggingOutsideTheWindowKeepsTurningTheKnob) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kGateThreshold);
  const float before = Param(kGateThreshold);
  const int outsideY = before > 0.5f ? -200 : kEditorHeight + 200;
  SendButton(ButtonPress, Button1, 0, x, y);
  SendMotion(Button1Mask, x, outsideY);
  SendButton(ButtonRelease, Button1, Button1Mask, x, outsideY);
  Idle(20);
  const float after = Param(kGateThreshold);
  EXPECT_GT(std::fabs(after - before), 0.1f);
  EXPECT_EQ(after < before, outsideY > kEditorHeight);
}

TEST_F(X11EditorTest, WheelOverAKnobStepsItsParameter) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kMainBass);
  const float before = Param(kMainBass);
  const bool up = before <= 0.5f;
  SendButton(ButtonPress, up ? kWheelUp : kWheelDown, 0, x, y);
  SendButton(ButtonRelease, up ? kWheelUp : kWheelDown, 0, x, y);
  Idle(20);
  EXPECT_NEAR(Param(kMainBass), before + (up ? kWheelStep : -kWheelStep), 1e-4f);
}

TEST_F(X11EditorTest, SecondPressSoonAfterIsADoubleClick) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kMainBass);
  const float before = Param(kMainBass);
  const unsigned away = before > 0.5f ? kWheelDown : kWheelUp;
  for (int i = 0; i < 5; ++i) SendButton(ButtonPress, away, 0, x, y);
  Idle(20);
  ASSERT_NE(Param(kMainBass), before);
  Click(x, y);
  Click(x + 1, y);  // a double click puts a knob back to its default
  Idle(20);
  EXPECT_EQ(Param(kMainBass), before);
}

TEST_F(X11EditorTest, PressesFarApartInTimeAreTwoClicks) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kMainBass);
  const unsigned away = Param(kMainBass) > 0.5f ? kWheelDown : kWheelUp;
  SendButton(ButtonPress, away, 0, x, y);
  Idle(20);
  const float moved = Param(kMainBass);
  Click(x, y);
  time_ += 1000;
  Click(x, y);
  Idle(20);
  EXPECT_EQ(Param(kMainBass), moved);
}

TEST_F(X11EditorTest, TypedValueIsAppliedAfterReturn) {
  ASSERT_TRUE(Open());
  const Window entry = OpenEntry(kGateThreshold);
  ASSERT_TRUE(entry);
  EXPECT_EQ(Focus(), entry);
  Type(entry, {XK_0, XK_period, XK_2, XK_5, XK_BackSpace, XK_5, XK_Return});
  Idle(kTicksMs);
  EXPECT_TRUE(ChildrenOf(editor_).empty());
  EXPECT_NEAR(Param(kGateThreshold), 0.25f, 1e-6f);
  EXPECT_EQ(Focus(), editor_);
}

TEST_F(X11EditorTest, WhileTheEntryHasTheFocusARightClickDiscardsItAndALeftClickIsIgnored) {
  ASSERT_TRUE(Open());
  const float before = Param(kGateThreshold);
  const float gate = Param(kGateOn);
  const Window entry = OpenEntry(kGateThreshold);
  ASSERT_TRUE(entry);
  Type(entry, {XK_0, XK_period, XK_7});
  const auto [x, y] = CentreOf(kGateOn);
  Click(x, y);
  Idle(kTicksMs);
  EXPECT_EQ(Param(kGateOn), gate);
  ASSERT_EQ(ChildrenOf(editor_).size(), 1u);
  RightClick(5, 5);
  Idle(kTicksMs);
  EXPECT_TRUE(ChildrenOf(editor_).empty());
  EXPECT_EQ(Param(kGateThreshold), before);
}

TEST_F(X11EditorTest, ClickInTheListChoosesTheModel) {
  ASSERT_TRUE(Open());
  const Window list = OpenEntry(kDstPreset);
  ASSERT_TRUE(list);
  const int row = 3;
  SendButtonTo(list, ButtonPress, Button1, 0, 10, row * TextEntry::kEntryHeightPx + 8);
  Idle(kTicksMs);
  EXPECT_TRUE(ChildrenOf(editor_).empty());
  EXPECT_EQ(host_->ParamDisplay(kDstPreset), reference_->GetParam(kDstPreset)->DisplayTextAt(row));
}

TEST_F(X11EditorTest, OpeningAgainReplacesTheWindowInItsPlace) {
  ASSERT_TRUE(Open());
  XMoveWindow(display_, editor_, 12, 34);
  XSync(display_, False);
  ASSERT_TRUE(Open());
  ASSERT_EQ(Children().size(), 1u);
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display_, editor_, &attributes));
  EXPECT_EQ(attributes.x, 12);
  EXPECT_EQ(attributes.y, 34);
}

TEST_F(X11EditorTest, CloseRemovesTheWindow) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
  XSync(display_, False);
  EXPECT_TRUE(Children().empty());
  Idle(20);  // idle without a window does nothing
}

TEST_F(X11EditorTest, HostWindowDestroyedBeforeTheEditorCloses) {
  ASSERT_TRUE(Open());
  XDestroyWindow(display_, parent_);
  XSync(display_, False);
  parent_ = 0;
  Idle(20);
  EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
  // Once more without an idle in between: the close must not trip over the dead window.
  parent_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, kParentWidth,
                                kParentHeight, 0, 0, 0);
  XMapWindow(display_, parent_);
  XSync(display_, False);
  ASSERT_TRUE(Open());
  XDestroyWindow(display_, parent_);
  XSync(display_, False);
  parent_ = 0;
  EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
}

TEST_F(X11EditorTest, OpenWithoutAParentWindowFails) {
  EXPECT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
  Idle(10);
}

}  // namespace
