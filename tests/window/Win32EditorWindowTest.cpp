// The Windows editor window, driven through the plug-in binary's dispatcher with real
// window messages: opening, drawing, mouse routing, typed entry and the window class.
#include <cmath>
#include <filesystem>
#include <string>

#include "editor/IGraphics.h"
#include "plugin/ParamIds.h"
#include "tests/window/ReferenceEditor.h"
#include "tests/window/Win32WindowFixture.h"

namespace {

constexpr int kEditorWidth = 630;
constexpr int kEditorHeight = 440;
constexpr int kTicksMs = 150;  // a few timer periods of 41 ms
constexpr float kWheelStep = 0.01f;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  return title;
}

class WindowOpen : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, parent_), 1);
    editor_ = EditorIn(parent_);
    ASSERT_TRUE(editor_);
    Pump(kTicksMs);
  }

  HWND editor_ = nullptr;
};

TEST_F(WindowOpen, IsAChildOfTheHostWindowWithTheEditorsSizeAndClass) {
  EXPECT_EQ(ClassOf(editor_), kEditorClass);
  EXPECT_EQ(TitleOf(editor_), L"Voltrex");
  EXPECT_EQ(GetParent(editor_), parent_);
  const LONG_PTR style = GetWindowLongPtrW(editor_, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(editor_));
  RECT client{};
  GetClientRect(editor_, &client);
  EXPECT_EQ(client.right, kEditorWidth);
  EXPECT_EQ(client.bottom, kEditorHeight);
  EXPECT_TRUE(GetClassLongPtrW(editor_, GCL_STYLE) & CS_DBLCLKS);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(editor_, GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(GetFocus(), editor_);
  EXPECT_TRUE(EditorClassRegistered());
}

TEST_F(WindowOpen, ShowsWhatTheHeadlessEditorDraws) {
  const std::vector<std::uint32_t> shown = Grab(editor_, kEditorWidth, kEditorHeight);
  ASSERT_EQ(shown.size(), size_t(kEditorWidth * kEditorHeight));
  const std::string screens = VOLTREX_SCREENS_DIR;
  std::filesystem::create_directories(screens);
  EXPECT_TRUE(SaveRgbPng(shown, kEditorWidth, kEditorHeight, screens + "/editor-win32.png"));
  EXPECT_EQ(DifferingPixels(shown, HeadlessRgb(*reference_->GetGUI())), 0)
      << "pixels that differ from the headless rendering";
}

TEST_F(WindowOpen, TheTimerDrawsWhatTheHostChanges) {
  const std::vector<std::uint32_t> before = Grab(editor_, kEditorWidth, kEditorHeight);
  for (int index : {kGateOn, kMainBass}) {
    const float changed = Param(index) > 0.5f ? 0.0f : 1.0f;
    host_->SetParameter(index, changed);
    reference_->Effect()->setParameter(reference_->Effect(), index, changed);
  }
  Pump(kTicksMs);
  const std::vector<std::uint32_t> shown = Grab(editor_, kEditorWidth, kEditorHeight);
  EXPECT_NE(shown, before) << "the change shows";
  EXPECT_EQ(DifferingPixels(shown, HeadlessRgb(*reference_->GetGUI())), 0);
}

TEST_F(WindowOpen, ClickOnTheGateButtonTogglesItAndTellsTheHost) {
  const float before = Param(kGateOn);
  const POINT button = CentreOf(kGateOn);
  host_->ClearCalls();
  Click(editor_, button.x, button.y);
  EXPECT_NE(Param(kGateOn), before);
  EXPECT_EQ(CallsOf(vst2::audioMasterBeginEdit), 1);
  EXPECT_EQ(CallsOf(vst2::audioMasterEndEdit), 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowOpen, DraggingOutsideTheWindowKeepsTurningTheKnob) {
  const POINT knob = CentreOf(kGateThreshold);
  const float before = Param(kGateThreshold);
  // Outside the window on the side that turns the knob away from its end stop.
  const int outsideY = before > 0.5f ? -200 : kEditorHeight + 200;
  Send(editor_, WM_LBUTTONDOWN, MK_LBUTTON, knob.x, knob.y);
  EXPECT_EQ(GetCapture(), editor_);
  Send(editor_, WM_MOUSEMOVE, MK_LBUTTON, knob.x, outsideY);
  Send(editor_, WM_LBUTTONUP, 0, knob.x, outsideY);
  const float after = Param(kGateThreshold);
  EXPECT_GT(std::fabs(after - before), 0.1f);
  EXPECT_EQ(after < before, outsideY > kEditorHeight);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowOpen, ADragEndsWhenAnotherWindowTakesTheMouse) {
  const POINT knob = CentreOf(kGateThreshold);
  host_->ClearCalls();
  Send(editor_, WM_LBUTTONDOWN, MK_LBUTTON, knob.x, knob.y);
  EXPECT_EQ(CallsOf(vst2::audioMasterBeginEdit), 1);
  SetCapture(parent_);
  EXPECT_EQ(CallsOf(vst2::audioMasterEndEdit), 1);
  ReleaseCapture();
  const float before = Param(kGateThreshold);
  Send(editor_, WM_MOUSEMOVE, MK_LBUTTON, knob.x, knob.y - 100);
  EXPECT_EQ(Param(kGateThreshold), before) << "the knob no longer follows the mouse";
}

TEST_F(WindowOpen, WheelOverAKnobStepsItsParameter) {
  const POINT knob = CentreOf(kMainBass);
  const float before = Param(kMainBass);
  const int detents = before > 0.5f ? -2 : 2;
  POINT screen = knob;
  ClientToScreen(editor_, &screen);
  SendMessageW(editor_, WM_MOUSEWHEEL, MAKEWPARAM(0, detents * WHEEL_DELTA),
               MAKELPARAM(screen.x, screen.y));
  EXPECT_NEAR(Param(kMainBass), before + float(detents) * kWheelStep, 1e-4f);
}

TEST_F(WindowOpen, DoubleClickPutsAKnobBackToItsDefault) {
  const POINT knob = CentreOf(kMainBass);
  const float before = Param(kMainBass);
  POINT screen = knob;
  ClientToScreen(editor_, &screen);
  SendMessageW(editor_, WM_MOUSEWHEEL, MAKEWPARAM(0, (before > 0.5f ? -5 : 5) * WHEEL_DELTA),
               MAKELPARAM(screen.x, screen.y));
  ASSERT_NE(Param(kMainBass), before);
  Click(editor_, knob.x, knob.y);
  Send(editor_, WM_LBUTTONDBLCLK, MK_LBUTTON, knob.x, knob.y);
  Send(editor_, WM_LBUTTONUP, 0, knob.x, knob.y);
  EXPECT_EQ(Param(kMainBass), before);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowOpen, TypedValueIsAppliedAfterReturn) {
  const POINT knob = CentreOf(kGateThreshold);
  RightClick(editor_, knob.x, knob.y);
  Pump(kTicksMs);
  HWND edit = FindWindowExW(editor_, nullptr, L"EDIT", nullptr);
  ASSERT_TRUE(edit);
  EXPECT_EQ(GetFocus(), edit);
  SetWindowTextW(edit, L"0.25");
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  Pump(kTicksMs);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_NEAR(Param(kGateThreshold), 0.25f, 1e-6f);
  EXPECT_EQ(GetFocus(), editor_);
}

TEST_F(WindowOpen, RightClickInTheEditorDiscardsTheTypedValue) {
  const POINT knob = CentreOf(kGateThreshold);
  const float before = Param(kGateThreshold);
  RightClick(editor_, knob.x, knob.y);
  Pump(kTicksMs);
  HWND edit = FindWindowExW(editor_, nullptr, L"EDIT", nullptr);
  ASSERT_TRUE(edit);
  SetWindowTextW(edit, L"0.75");
  RightClick(editor_, 5, 5);
  Pump(kTicksMs);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(Param(kGateThreshold), before);
}

TEST_F(WindowOpen, WhileTheEditBoxHasTheFocusTheEditorIgnoresLeftClicks) {
  const POINT knob = CentreOf(kGateThreshold);
  RightClick(editor_, knob.x, knob.y);
  Pump(kTicksMs);
  HWND edit = FindWindowExW(editor_, nullptr, L"EDIT", nullptr);
  ASSERT_TRUE(edit);
  ASSERT_EQ(GetFocus(), edit);
  const float before = Param(kGateOn);
  const POINT button = CentreOf(kGateOn);
  Click(editor_, button.x, button.y);
  Pump(kTicksMs);
  EXPECT_EQ(Param(kGateOn), before);
  EXPECT_TRUE(IsWindow(edit));
}

TEST_F(WindowOpen, ChoiceInTheListBoxSetsTheModel) {
  const POINT name = CentreOf(kDstPreset);
  RightClick(editor_, name.x, name.y);
  Pump(kTicksMs);
  HWND list = FindWindowExW(editor_, nullptr, L"COMBOBOX", nullptr);
  ASSERT_TRUE(list);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), kNumModels);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
  // What the list does when the user picks an entry.
  SendMessageW(list, CB_SETCURSEL, 3, 0);
  SendMessageW(editor_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  Pump(kTicksMs);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(host_->ParamDisplay(kDstPreset), reference_->GetParam(kDstPreset)->DisplayTextAt(3));
}

TEST_F(WindowOpen, OpeningAgainReplacesTheWindowInItsPlace) {
  MoveWindow(editor_, 12, 34, kEditorWidth, kEditorHeight, TRUE);
  ASSERT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, parent_), 1);
  HWND again = EditorIn(parent_);
  ASSERT_TRUE(again);
  EXPECT_EQ(FindWindowExW(parent_, again, kEditorClass, nullptr), nullptr) << "two editors";
  RECT rect{};
  GetWindowRect(again, &rect);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 12);
  EXPECT_EQ(rect.top, 34);
}

TEST_F(WindowOpen, CloseDestroysTheWindowAndUnregistersTheClass) {
  EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
  EXPECT_FALSE(IsWindow(editor_));
  EXPECT_FALSE(EditorClassRegistered());
}

TEST_F(WindowOpen, HostWindowDestroyedBeforeTheEditorCloses) {
  DestroyWindow(parent_);
  parent_ = nullptr;
  EXPECT_FALSE(IsWindow(editor_));
  EXPECT_EQ(host_->Dispatch(vst2::effEditClose), 1);
  EXPECT_FALSE(EditorClassRegistered());
  parent_ = CreateHostWindow();
  ASSERT_TRUE(parent_);
  EXPECT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, parent_), 1) << "the editor opens again";
  EXPECT_TRUE(EditorIn(parent_));
}

TEST_F(EditorWindowTest, TwoEditorsShareTheClassUntilBothClose) {
  std::unique_ptr<vsthost::PluginHost> second = LoadPlugin();
  ASSERT_TRUE(second);
  HWND otherParent = CreateHostWindow();
  ASSERT_TRUE(otherParent);
  ASSERT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, parent_), 1);
  ASSERT_EQ(second->Dispatch(vst2::effEditOpen, 0, 0, otherParent), 1);
  EXPECT_TRUE(EditorIn(parent_));
  EXPECT_TRUE(EditorIn(otherParent));
  host_->Dispatch(vst2::effEditClose);
  EXPECT_TRUE(EditorClassRegistered());
  EXPECT_TRUE(EditorIn(otherParent));
  second->Dispatch(vst2::effEditClose);
  EXPECT_FALSE(EditorClassRegistered());
  second.reset();
  DestroyWindow(otherParent);
}

TEST_F(EditorWindowTest, OpenWithoutAParentWindowFails) {
  EXPECT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
  EXPECT_FALSE(EditorClassRegistered());
}

}  // namespace
