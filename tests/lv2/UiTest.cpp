// The LV2 editor in a small host of the test's own on a virtual X display: the UI binary
// instantiated with instance access, a parent window, idle calls, resize and touch; clicks
// write ports, host port changes move controls, the amp's own changes reach the host, and
// the editor closes and reopens.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "amp/ParamIds.h"
#include "amp/PlayerParams.h"
#include "amp/VoltrexPlug.h"
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "editor/PngCodec.h"
#include "lv2/instance-access/instance-access.h"
#include "lv2/ui/ui.h"
#include "tests/lv2/Lv2TestHost.h"

// Xlib last: its macros clash with ordinary names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lv2test {
namespace {

constexpr int kHostWidth = 700;
constexpr int kHostHeight = 520;
constexpr int kIdleMs = 300;
constexpr uint32_t kFirstControlPort = 5;

Display* TestDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

int PortOf(int paramIndex) {
  int port = int(kFirstControlPort);
  for (const PlayerParam& row : PlayerParams()) {
    if (row.id == paramIndex) return port;
    ++port;
  }
  return -1;
}

struct Written {
  uint32_t port;
  float value;
  int gesture;  // +1 touch, 0 write, -1 release
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = TestDisplay();
    ASSERT_TRUE(display_) << "no X display: run under xvfb-run";
    host_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, kHostWidth, kHostHeight, 0, 0, 0x808080);
    XMapWindow(display_, host_);
    XSync(display_, False);
    ASSERT_TRUE(instance_.Valid());
    library_ = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library_) << dlerror();
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library_, "lv2ui_descriptor"));
    ASSERT_TRUE(entry);
    descriptor_ = entry(0);
    ASSERT_TRUE(descriptor_);
    reference_.RunStatePass(StatePass::Open);
  }
  void TearDown() override {
    Close();
    if (library_) dlclose(library_);
    if (display_ && host_) XDestroyWindow(display_, host_);
    if (display_) XSync(display_, False);
  }

  static std::string LibraryPath() {
    World& world = World::Get();
    char* path = lilv_file_uri_parse(lilv_node_as_uri(lilv_plugin_get_library_uri(world.plugin)), nullptr);
    std::string result = path;
    lilv_free(path);
    return result;
  }

  bool Open() {
    const LV2_Feature access{LV2_INSTANCE_ACCESS_URI, lilv_instance_get_handle(instance_.Raw())};
    const LV2_Feature parent{LV2_UI__parent, reinterpret_cast<void*>(host_)};
    const LV2_Feature idle{LV2_UI__idleInterface, nullptr};
    const LV2_Feature resize{LV2_UI__resize, &resize_};
    const LV2_Feature touch{LV2_UI__touch, &touch_};
    const LV2_Feature map{LV2_URID__map, instance_.Map().MapFeature()};
    const LV2_Feature* features[] = {&access, &parent, &idle, &resize, &touch, &map, nullptr};
    widget_ = nullptr;
    ui_ = descriptor_->instantiate(descriptor_, "urn:voltrex:amp", "", Write, this, &widget_, features);
    if (!ui_) return false;
    idle_ = static_cast<const LV2UI_Idle_Interface*>(descriptor_->extension_data(LV2_UI__idleInterface));
    Idle();
    return widget_ != nullptr && idle_ != nullptr;
  }
  void Close() {
    if (ui_) descriptor_->cleanup(ui_);
    ui_ = nullptr;
    if (display_) XSync(display_, False);
  }
  // The host's idle calls; the host runs the plug-in meanwhile, as its audio would.
  void Idle(int ms = kIdleMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      instance_.Run(64);
      idle_->idle(ui_);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
  }
  Window Editor() const { return Window(reinterpret_cast<uintptr_t>(widget_)); }
  int ChildrenOfHost() {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display_, host_, &root, &parent, &children, &count);
    if (children) XFree(children);
    return int(count);
  }
  void Click(int x, int y) {
    for (int type : {ButtonPress, ButtonRelease}) {
      XEvent event{};
      event.xbutton.type = type;
      event.xbutton.display = display_;
      event.xbutton.window = Editor();
      event.xbutton.root = DefaultRootWindow(display_);
      event.xbutton.x = x;
      event.xbutton.y = y;
      event.xbutton.button = Button1;
      event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
      event.xbutton.time = time_ += 10;
      event.xbutton.same_screen = True;
      XSendEvent(display_, Editor(), False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
      XSync(display_, False);
    }
  }
  std::pair<int, int> CentreOf(int paramIdx) {
    IGraphics& editor = *reference_.GetGUI();
    for (int i = editor.NControls() - 1; i >= 0; --i) {
      const IRect& r = editor.GetControl(i)->GetRECT();
      const int x = r.L + r.W() / 2;
      const int y = r.T + r.H() / 2;
      if (editor.GetControl(i)->ParamIdx() == paramIdx && editor.ControlAt(x, y) == i) return {x, y};
    }
    ADD_FAILURE() << "no control of parameter " << paramIdx << " takes clicks";
    return {-1, -1};
  }
  std::vector<uint32_t> Grab() {
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(display_, Editor(), 0, 0, width_, height_, AllPlanes, ZPixmap);
    if (!image) return pixels;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels.push_back(uint32_t(XGetPixel(image, x, y)) | 0xFF000000u);
    XDestroyImage(image);
    return pixels;
  }
  std::vector<Written> WritesTo(int port) const {
    std::vector<Written> found;
    for (const Written& w : written_) {
      if (int(w.port) == port) found.push_back(w);
    }
    return found;
  }
  void PortEvent(int port, float value) { descriptor_->port_event(ui_, uint32_t(port), sizeof value, 0, &value); }

  static void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    auto* test = static_cast<UiTest*>(controller);
    if (format != 0 || size != sizeof(float)) return;
    const float value = *static_cast<const float*>(buffer);
    test->written_.push_back({port, value, 0});
    // As a host does: the port takes the value.
    test->instance_.SetControl(PlayerParams()[port - kFirstControlPort].symbol, value);
  }
  static int Resize(LV2UI_Feature_Handle handle, int width, int height) {
    auto* test = static_cast<UiTest*>(handle);
    test->width_ = width;
    test->height_ = height;
    return 0;
  }
  static void Touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<UiTest*>(handle)->written_.push_back({port, 0.0f, grabbed ? 1 : -1});
  }

  Display* display_ = nullptr;
  Window host_ = 0;
  Instance instance_;
  VoltrexPlug reference_;
  void* library_ = nullptr;
  const LV2UI_Descriptor* descriptor_ = nullptr;
  const LV2UI_Idle_Interface* idle_ = nullptr;
  LV2UI_Handle ui_ = nullptr;
  LV2UI_Widget widget_ = nullptr;
  LV2UI_Resize resize_{this, Resize};
  LV2UI_Touch touch_{this, Touch};
  int width_ = 0;
  int height_ = 0;
  Time time_ = 1000;
  std::vector<Written> written_;
};

TEST_F(UiTest, OpensInTheParentWindowAtTheEditorsSize) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(ChildrenOfHost(), 1);
  EXPECT_EQ(width_, 630);
  EXPECT_EQ(height_, 440);
  const std::vector<uint32_t> pixels = Grab();
  ASSERT_EQ(pixels.size(), size_t(630 * 440));
  std::vector<unsigned char> png;
  ASSERT_TRUE(EncodePng(pixels.data(), width_, height_, png));
  std::filesystem::create_directories(VOLTREX_SCREENS_DIR);
  std::ofstream(std::string(VOLTREX_SCREENS_DIR) + "/editor-lv2.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

TEST_F(UiTest, AClickWritesItsPortWithinAGesture) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kGateOn);
  written_.clear();
  Click(x, y);
  Idle();
  const std::vector<Written> writes = WritesTo(PortOf(kGateOn));
  ASSERT_GE(writes.size(), 3u);
  EXPECT_EQ(writes.front().gesture, 1);
  EXPECT_EQ(writes.back().gesture, -1);
  EXPECT_FLOAT_EQ(instance_.Control("gate_on"), 1.0f);
  // The host's port now holds the value: nothing jumps back at the next runs.
  written_.clear();
  Idle();
  EXPECT_TRUE(WritesTo(PortOf(kGateOn)).empty());
}

TEST_F(UiTest, AHostPortChangeMovesTheControl) {
  ASSERT_TRUE(Open());
  written_.clear();
  const std::vector<uint32_t> before = Grab();
  instance_.SetControl("gate_on", 1.0f);
  PortEvent(PortOf(kGateOn), 1.0f);
  Idle();
  EXPECT_NE(Grab(), before);
  // Whatever the editor writes back is the host's own value: nothing jumps back.
  for (const Written& w : WritesTo(PortOf(kGateOn))) {
    if (w.gesture == 0) {
      EXPECT_FLOAT_EQ(w.value, 1.0f);
    }
  }
  EXPECT_FLOAT_EQ(instance_.Control("gate_on"), 1.0f);
}

// A controller changes the volume on the audio thread: the editor writes it to the host's
// port, so automation records it, and the host's old value never comes back.
TEST_F(UiTest, TheAmpsOwnChangesReachTheHostsPorts) {
  ASSERT_TRUE(Open());
  written_.clear();
  instance_.SendMidi({{0xB0, 7, 127}});
  Idle();
  const std::vector<Written> writes = WritesTo(PortOf(kMainVolume));
  ASSERT_FALSE(writes.empty());
  EXPECT_FLOAT_EQ(instance_.Control("volume"), 1.0f);
  // Ports left stale while no editor was open are written when it opens.
  Close();
  instance_.SendMidi({{0xB0, 8, 0}});
  instance_.Run(64);
  EXPECT_FLOAT_EQ(instance_.Control("bass"), 0.5f);
  ASSERT_TRUE(Open());
  EXPECT_FLOAT_EQ(instance_.Control("bass"), 0.0f);
}

TEST_F(UiTest, ClosesAndReopensAnyNumberOfTimes) {
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(Open());
    EXPECT_EQ(ChildrenOfHost(), 1);
    Close();
    EXPECT_EQ(ChildrenOfHost(), 0);
  }
}

}  // namespace
}  // namespace lv2test
