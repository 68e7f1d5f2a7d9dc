// What every window system's editor must do: open in the host's window, show what the
// headless editor draws, route the mouse, take typed values and close cleanly.
#include "tests/window/EditorWindowTest.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "editor/HeadlessEditor.h"
#include "editor/PngCodec.h"
#include "amp/ParamIds.h"

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr float kWheelStep = 0.01f;

int DifferingPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return int(std::max(a.size(), b.size()));
  int differing = 0;
  for (size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
  return differing;
}

bool SaveRgbPng(std::vector<std::uint32_t> rgb, int width, int height, const std::string& path) {
  for (std::uint32_t& pixel : rgb) pixel |= kOpaque;
  std::vector<unsigned char> png;
  std::ofstream file(path, std::ios::binary);
  return EncodePng(rgb.data(), width, height, png) &&
         file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size())).good();
}

}  // namespace

void EditorWindowTest::SetUp() {
  ASSERT_TRUE(CreateHostWindow());
  host_ = LoadPlugin();
  ASSERT_TRUE(host_);
  reference_ = std::make_unique<HostedAmp<>>();
  reference_->Dispatch(vst2::effOpen);
}

void EditorWindowTest::TearDown() {
  if (host_) host_->Dispatch(vst2::effEditClose);
  host_.reset();
  DestroyHostWindow();
}

std::unique_ptr<vsthost::PluginHost> EditorWindowTest::LoadPlugin() {
  std::string error;
  auto host = vsthost::PluginHost::Load(PluginPath(), &error);
  EXPECT_TRUE(host) << error;
  if (host) host->Start();
  return host;
}

std::pair<int, int> EditorWindowTest::CentreOf(int paramIdx) {
  IGraphics& editor = *reference_->amp().GetGUI();
  for (int i = editor.NControls() - 1; i >= 0; --i) {
    const IControl& control = *editor.GetControl(i);
    const IRect& r = control.GetRECT();
    const int x = r.L + r.W() / 2;
    const int y = r.T + r.H() / 2;
    if (control.ParamIdx() == paramIdx && editor.ControlAt(x, y) == i) return {x, y};
  }
  ADD_FAILURE() << "no control of parameter " << paramIdx << " takes clicks";
  return {-1, -1};
}

int EditorWindowTest::CallsOf(int32_t opcode) {
  int count = 0;
  for (const auto& call : host_->Calls()) count += call.opcode == opcode;
  return count;
}

std::vector<std::uint32_t> EditorWindowTest::ReferencePixels(float scale) {
  HeadlessEditor headless(*reference_->amp().GetGUI(), scale);
  headless.Tick();
  const IGraphicsRaster& raster = headless.Raster();
  std::vector<std::uint32_t> pixels(raster.Pixels(),
                                    raster.Pixels() + size_t(raster.Width()) * size_t(raster.Height()));
  for (std::uint32_t& pixel : pixels) pixel &= kRgbMask;
  return pixels;
}

namespace {

using EditorWindow = EditorWindowTest;

// A window that is not shown grabs as no pixels or black ones.
TEST_F(EditorWindow, ShowsWhatTheHeadlessEditorDrawsAndTheTimerDrawsTheHostsChanges) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(EditorsInHost(), 1);
  EXPECT_EQ(EditorRect(), (IRect{0, 0, kEditorWidth, kEditorHeight}));
  EXPECT_TRUE(EditorHasFocus());
  const std::vector<std::uint32_t> opened = Grab();
  ASSERT_EQ(opened.size(), size_t(kEditorWidth * kEditorHeight));
  std::filesystem::create_directories(VOLTREX_SCREENS_DIR);
  EXPECT_TRUE(SaveRgbPng(opened, kEditorWidth, kEditorHeight,
                         std::string(VOLTREX_SCREENS_DIR) + "/" + kScreenName));
  EXPECT_EQ(DifferingPixels(opened, ReferencePixels()), 0) << "pixels that differ from the headless rendering";

  for (int index : {kGateOn, kMainBass}) {
    const float changed = Param(index) > 0.5f ? 0.0f : 1.0f;
    host_->SetParameter(index, changed);
    reference_->Effect()->setParameter(reference_->Effect(), index, changed);
  }
  Idle(kTicksMs);
  const std::vector<std::uint32_t> changed = Grab();
  EXPECT_NE(changed, opened) << "the change shows";
  EXPECT_EQ(DifferingPixels(changed, ReferencePixels()), 0);
}

TEST_F(EditorWindow, AClickTogglesTheGateForTheHostAndADragTurnsAKnobEvenOutsideTheWindow) {
  ASSERT_TRUE(Open());
  const auto [gateX, gateY] = CentreOf(kGateOn);
  const float gate = Param(kGateOn);
  host_->ClearCalls();
  Click(gateX, gateY);
  Idle(kInputMs);
  EXPECT_NE(Param(kGateOn), gate);
  EXPECT_EQ(CallsOf(vst2::audioMasterBeginEdit), 1);
  EXPECT_EQ(CallsOf(vst2::audioMasterEndEdit), 1);

  const auto [x, y] = CentreOf(kGateThreshold);
  const float before = Param(kGateThreshold);
  // Outside the window on the side that turns the knob away from its end stop.
  const int outsideY = before > 0.5f ? -200 : kEditorHeight + 200;
  Press(x, y);
  DragTo(x, outsideY);
  Release(x, outsideY);
  Idle(kInputMs);
  const float after = Param(kGateThreshold);
  EXPECT_GT(std::fabs(after - before), 0.1f);
  EXPECT_EQ(after < before, outsideY > kEditorHeight);
}

TEST_F(EditorWindow, TheWheelStepsAKnobAndADoubleClickPutsItBackToItsDefault) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kMainBass);
  const float before = Param(kMainBass);
  const int detents = before > 0.5f ? -2 : 2;
  Wheel(x, y, detents);
  Idle(kInputMs);
  EXPECT_NEAR(Param(kMainBass), before + float(detents) * kWheelStep, 1e-4f);
  DoubleClick(x, y);
  Idle(kInputMs);
  EXPECT_EQ(Param(kMainBass), before);
}

TEST_F(EditorWindow, WhileTheEntryHasTheFocusALeftClickIsIgnoredARightClickDiscardsAndReturnApplies) {
  ASSERT_TRUE(Open());
  const float threshold = Param(kGateThreshold);
  const float gate = Param(kGateOn);
  const auto [x, y] = CentreOf(kGateThreshold);
  const auto [gateX, gateY] = CentreOf(kGateOn);
  RightClick(x, y);
  Idle(kTicksMs);
  ASSERT_TRUE(EntryHasFocus());
  Type("0.7");
  Click(gateX, gateY);
  Idle(kTicksMs);
  EXPECT_EQ(Param(kGateOn), gate);
  ASSERT_TRUE(EntryOpen());
  RightClick(5, 5);
  Idle(kTicksMs);
  EXPECT_FALSE(EntryOpen());
  EXPECT_EQ(Param(kGateThreshold), threshold);

  RightClick(x, y);
  Idle(kTicksMs);
  ASSERT_TRUE(EntryHasFocus());
  Type("0.25\b5");
  PressReturn();
  Idle(kTicksMs);
  EXPECT_FALSE(EntryOpen());
  EXPECT_NEAR(Param(kGateThreshold), 0.25f, 1e-6f);
  EXPECT_TRUE(EditorHasFocus());
}

TEST_F(EditorWindow, ChoiceInTheListSetsTheModel) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kDstPreset);
  RightClick(x, y);
  Idle(kTicksMs);
  ASSERT_TRUE(EntryOpen());
  ChooseRow(3);
  Idle(kTicksMs);
  EXPECT_FALSE(EntryOpen());
  EXPECT_EQ(host_->ParamDisplay(kDstPreset), reference_->amp().GetParam(kDstPreset)->DisplayTextAt(3));
}

// The system's density chooses the scale: the window and the size told to the host are
// twice the editor's, and the window shows the headless 2x rendering.
TEST_F(EditorWindow, OnADenseScreenOpensAtTwiceTheSizeAndShowsTheTwiceSizeRendering) {
  if (!MakeScreenDense()) GTEST_SKIP() << "this system's density is its own (run in the 192 dpi prefix)";
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(host_->Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  ASSERT_TRUE(rect);
  EXPECT_EQ(rect->right - rect->left, 2 * kEditorWidth);
  EXPECT_EQ(rect->bottom - rect->top, 2 * kEditorHeight);
  const bool opened = Open();
  RestoreScreen();
  ASSERT_TRUE(opened);
  EXPECT_EQ(EditorRect(), (IRect{0, 0, 2 * kEditorWidth, 2 * kEditorHeight}));
  const std::vector<std::uint32_t> grabbed = Grab();
  ASSERT_EQ(grabbed.size(), size_t(4 * kEditorWidth * kEditorHeight));
  std::filesystem::create_directories(VOLTREX_SCREENS_DIR);
  std::string name = kScreenName;
  name.insert(name.rfind('.'), "@2x");
  EXPECT_TRUE(SaveRgbPng(grabbed, 2 * kEditorWidth, 2 * kEditorHeight,
                         std::string(VOLTREX_SCREENS_DIR) + "/" + name));
  EXPECT_EQ(DifferingPixels(grabbed, ReferencePixels(2.0f)), 0) << "pixels that differ from the headless rendering";

  // A click at twice the position reaches the same control.
  const auto [gateX, gateY] = CentreOf(kGateOn);
  const float gate = Param(kGateOn);
  Click(2 * gateX, 2 * gateY);
  Idle(kInputMs);
  EXPECT_NE(Param(kGateOn), gate);
}

TEST_F(EditorWindow, OpensOnlyIntoAWindowAgainInItsPlaceAndClosesAlsoAfterTheHostsWindowIsGone) {
  EXPECT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
  ASSERT_TRUE(Open());
  MoveEditor(12, 34);
  ASSERT_TRUE(Open());
  EXPECT_EQ(EditorsInHost(), 1);
  EXPECT_EQ(EditorRect(), (IRect{12, 34, 12 + kEditorWidth, 34 + kEditorHeight}));
  EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
  EXPECT_EQ(EditorsInHost(), 0);
  Idle(kInputMs);  // idle without a window does nothing

  // The host destroys its window before closing the editor, once with an idle in between
  // and once without: the close must not trip over the dead window.
  for (bool idle : {true, false}) {
    ASSERT_TRUE(Open());
    DestroyHostWindow();
    if (idle) Idle(kInputMs);
    EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
    ASSERT_TRUE(CreateHostWindow());
  }
}

// A player opening and closing the editor all session long: after the first opening, which
// may set up what lasts (a window class, a font cache), further cycles leave nothing behind.
TEST_F(EditorWindow, TwoHundredOpenAndCloseCyclesLeaveTheWindowSystemResourcesWhereTheyWere) {
  constexpr int kCycles = 200;
  ASSERT_TRUE(Open());
  const std::map<std::string, long> open = ResourceCounts();
  ASSERT_EQ(host_->Dispatch(vst2::effEditClose), 1);
  const std::map<std::string, long> before = ResourceCounts();
  for (const auto& [name, count] : before) {
    EXPECT_GT(open.at(name), count) << name << ": the count does not see the open editor";
  }
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    ASSERT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, HostWindowHandle()), 1) << cycle;
    host_->Dispatch(vst2::effEditIdle);
    ASSERT_EQ(host_->Dispatch(vst2::effEditClose), 1) << cycle;
  }
  const std::map<std::string, long> after = ResourceCounts();
  for (const auto& [name, count] : before) {
    std::printf("%s: %ld before, %ld after %d cycles\n", name.c_str(), count, after.at(name), kCycles);
  }
  EXPECT_EQ(after, before);
}

}  // namespace
