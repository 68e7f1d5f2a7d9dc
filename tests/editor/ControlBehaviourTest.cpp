// Each control class driven through synthetic input on a headless editor, with the
// values the plug-in receives.
#include <gtest/gtest.h>

#include <string>

#include "editor/EditorLayout.h"
#include "editor/HeadlessEditor.h"
#include "editor/IAreaControls.h"
#include "editor/IBitmapOverlayControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IKnobControl.h"
#include "editor/IParamTextControl.h"
#include "editor/ISliderControl.h"
#include "editor/ISwitchControl.h"
#include "tests/editor/EditorTestPlug.h"

namespace {

using P = EditorTestPlug;

constexpr int kKnobBitmap = 127;    // 39 x 40, 53 frames
constexpr int kButtonBitmap = 129;  // 31 x 34, 2 frames
constexpr int kToggle3Bitmap = 137; // 30 x 30, 3 frames
constexpr int kAboutBitmap = 141;   // 319 x 225, 1 frame
constexpr int kFaderBitmap = 143;   // 10 x 25, 1 frame
constexpr int kFileBitmap = 148;    // 81 x 16, 1 frame

class Controls : public testing::Test {
 protected:
  Controls() : graphics_(&plug_, 400, 300), editor_(graphics_) {}

  template <typename Control>
  Control* Attach(Control* control) {
    graphics_.AttachControl(control);
    return control;
  }
  static IBitmap Bitmap(int id) { return EditorLayout::EditorBitmap(id); }

  EditorTestPlug plug_;
  IGraphics graphics_;
  HeadlessEditor editor_;
};

TEST_F(Controls, KnobDragFollowsGearingAndFineModifiersAndTheFrameFollowsTheValue) {
  auto* knob = Attach(new IKnobMultiControl(&plug_, 100, 100, P::kLevel, Bitmap(kKnobBitmap)));
  const int height = knob->GetRECT().H();
  ASSERT_EQ(height, 40);
  knob->SetValueFromPlug(0.5);
  EXPECT_EQ(knob->FrameOfValue(53), 27);
  editor_.Drag(110, 120, 110, 120 - height);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(plug_.ChangesOf(P::kLevel).back(), 0.75);

  editor_.Drag(110, 120, 110, 120 + height, {.L = true, .S = true});
  EXPECT_NEAR(knob->GetValue(), 0.725, 1e-12);
  editor_.Drag(110, 120, 110, 120 + height, {.L = true, .C = true});
  EXPECT_NEAR(knob->GetValue(), 0.7, 1e-12);

  // Past the ends the value stops at the ends, and so does the plug-in's.
  editor_.Drag(110, 120, 110, 120 - 10 * height);
  EXPECT_EQ(knob->GetValue(), 1.0);
  EXPECT_EQ(plug_.ChangesOf(P::kLevel).back(), 1.0);
  EXPECT_EQ(knob->FrameOfValue(53), 53);
  knob->SetValueFromPlug(0.0);
  EXPECT_EQ(knob->FrameOfValue(53), 1);
  knob->SetValueFromPlug(0.5 / 52);
  EXPECT_EQ(knob->FrameOfValue(53), 2);  // halfway to the second frame rounds up
}

TEST_F(Controls, WheelAndDoubleClickOnAKnob) {
  auto* knob = Attach(new IKnobMultiControl(&plug_, 100, 100, P::kLevel, Bitmap(kKnobBitmap)));
  // Without a value from the plug-in there is no default to go back to.
  editor_.DoubleClick(110, 110);
  EXPECT_EQ(knob->GetDefault(), IControl::kNoDefault);
  EXPECT_TRUE(plug_.ChangesOf(P::kLevel).empty());

  knob->SetValueFromPlug(0.3);
  knob->SetValueFromPlug(0.4);  // only the first value becomes the default
  editor_.Wheel(110, 110, 2);
  EXPECT_NEAR(knob->GetValue(), 0.42, 1e-12);
  editor_.Wheel(110, 110, -3, {.S = true});
  EXPECT_NEAR(knob->GetValue(), 0.417, 1e-12);
  editor_.Wheel(110, 110, 500);
  EXPECT_EQ(knob->GetValue(), 1.0);

  plug_.Clear();
  editor_.DoubleClick(110, 110);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.3);
  EXPECT_DOUBLE_EQ(plug_.ChangesOf(P::kLevel).back(), 0.3);
}

// A switch steps through its frames and wraps; a contact is 1 only while held; a button
// switch shows itself pressed while held and toggles on release. The plug-in sees each value.
TEST_F(Controls, TheSwitchFamily) {
  auto* two = Attach(new ISwitchControl(&plug_, 0, 0, P::kSwitch, Bitmap(kButtonBitmap)));
  auto* three = Attach(new ISwitchControl(&plug_, 100, 0, P::kLevel, Bitmap(kToggle3Bitmap)));
  auto* contact = Attach(new IContactControl(&plug_, 0, 100, P::kSwitch, Bitmap(kButtonBitmap)));
  auto* button = Attach(new IButtonSwitchControl(&plug_, 100, 100, P::kSwitch, Bitmap(kButtonBitmap)));
  editor_.Click(5, 5);
  EXPECT_EQ(two->GetValue(), 1.0);
  editor_.Click(5, 5);
  EXPECT_EQ(two->GetValue(), 0.0);
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch), (std::vector<double>{1.0, 0.0}));
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    editor_.Click(105, 5);
    seen.push_back(three->GetValue());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));

  plug_.Clear();
  editor_.MouseDown(5, 105);
  EXPECT_EQ(contact->GetValue(), 1.0);
  editor_.MouseUp(5, 105);
  EXPECT_EQ(contact->GetValue(), 0.0);
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch), (std::vector<double>{1.0, 0.0}));
  // The edit is announced to the host around it.
  EXPECT_EQ(plug_.begins, std::vector<int>{P::kSwitch});
  EXPECT_EQ(plug_.ends, std::vector<int>{P::kSwitch});
  // A quick second click arrives as a double click and counts as a press.
  plug_.Clear();
  editor_.DoubleClick(5, 105);
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch), (std::vector<double>{1.0, 0.0, 1.0, 0.0}));
  EXPECT_EQ(plug_.begins.size(), plug_.ends.size());

  plug_.Clear();
  editor_.MouseDown(105, 105);
  EXPECT_TRUE(button->Pressed());
  EXPECT_EQ(button->GetValue(), 0.0);
  editor_.MouseUp(105, 105);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(button->GetValue(), 1.0);
  editor_.Click(105, 105);
  EXPECT_EQ(button->GetValue(), 0.0);
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch), (std::vector<double>{0.0, 1.0, 1.0, 0.0}));
}

TEST_F(Controls, OverlayShowsOnItsTargetAreaAndAClickAnywhereOnItOnlyHidesIt) {
  auto* beneath = Attach(new ISwitchControl(&plug_, 100, 100, P::kSwitch, Bitmap(kButtonBitmap)));
  auto* overlay = Attach(new IBitmapOverlayControl(&plug_, 50, 60, Bitmap(kAboutBitmap), {0, 0, 20, 10}));
  EXPECT_EQ(graphics_.ControlAt(105, 105), 0);  // hidden overlay: its target area only
  editor_.Click(5, 5);
  EXPECT_TRUE(overlay->Shown());
  EXPECT_EQ(graphics_.ControlAt(5, 5), IGraphics::kNoControl);  // the area is no longer it
  editor_.Click(105, 105);
  EXPECT_FALSE(overlay->Shown());
  EXPECT_EQ(overlay->GetValue(), 0.0);
  EXPECT_EQ(beneath->GetValue(), 0.0) << "the click went no further";
  EXPECT_EQ(graphics_.ControlAt(5, 5), 1);
}

TEST_F(Controls, VerticalSliderMapsThePointerAlongItsTrack) {
  constexpr int kX = 20, kY = 30, kLength = 277;
  auto* slider = Attach(new ISliderControl(&plug_, kX, kY, kLength, P::kLevel, Bitmap(kFaderBitmap)));
  EXPECT_EQ(slider->GetRECT(), (IRect{kX, kY, kX + 10, kY + kLength}));
  editor_.Click(kX + 5, kY + 12);
  EXPECT_EQ(slider->GetValue(), 1.0);
  editor_.Click(kX + 5, kY + 264);
  EXPECT_EQ(slider->GetValue(), 0.0);
  editor_.Click(kX + 5, kY + 138);
  EXPECT_EQ(slider->GetValue(), 0.5);
  // A drag past the track's end stops at the end.
  editor_.Drag(kX + 5, kY + 138, kX + 5, kY + 400);
  EXPECT_EQ(slider->GetValue(), 0.0);
  EXPECT_EQ(plug_.ChangesOf(P::kLevel).back(), 0.0);
}

TEST_F(Controls, ListAreaReportsTheReleasedRowAndToggleAreaFlips) {
  auto* list = Attach(new IListAreaControl(&plug_, {10, 20, 110, 300}, P::kLevel));
  auto* toggle = Attach(new IToggleAreaControl(&plug_, {200, 20, 300, 50}, P::kSwitch));
  editor_.MouseDown(50, 20 + 14 * 7 + 3);
  EXPECT_EQ(list->GetValue(), 0.0);  // a press alone chooses nothing
  editor_.MouseUp(50, 20 + 14 * 7 + 3);
  EXPECT_EQ(int(20 * list->GetValue()), 7);
  editor_.Click(250, 30);
  EXPECT_EQ(toggle->GetValue(), 1.0);
  editor_.Click(250, 30);
  EXPECT_EQ(toggle->GetValue(), 0.0);
}

struct FileScript {
  std::string answer;
  std::string askedFolder;
  int asked = 0;
};

bool ScriptedAnswer(std::string& result, platform::FileAction, const std::string& folder, void* user) {
  auto* script = static_cast<FileScript*>(user);
  ++script->asked;
  script->askedFolder = folder;
  result = script->answer;
  return !result.empty();
}

TEST_F(Controls, FileSelectorHandsAChosenPathToThePlugInAndIgnoresCancel) {
  FileScript script{"/irs/room.wav", {}, 0};
  platform::SetFileAnswer(ScriptedAnswer, &script);
  auto* selector = Attach(new IFileSelectorControl(&plug_, {0, 0, 81, 16}, P::kSwitch,
                                                   Bitmap(kFileBitmap), platform::FileAction::Open));
  editor_.Click(10, 5);
  EXPECT_EQ(script.asked, 1);
  EXPECT_EQ(script.askedFolder, IGraphics::PluginPath());
  EXPECT_EQ(selector->GetLastSelectedFile(), "/irs/room.wav");
  EXPECT_EQ(selector->State(), IFileSelectorControl::EFileSelectorState::Chosen);
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch), std::vector<double>{1.0});

  script.answer = "/irs/hall.wav";
  editor_.Click(10, 5);
  EXPECT_EQ(selector->GetLastSelectedFile(), "/irs/hall.wav");
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch), (std::vector<double>{1.0, 0.0}));

  script.answer.clear();  // cancel
  editor_.Click(10, 5);
  EXPECT_EQ(selector->GetLastSelectedFile(), "/irs/hall.wav");
  EXPECT_EQ(plug_.ChangesOf(P::kSwitch).size(), 2u);

  // Without a window there is no dialog at all.
  graphics_.WindowClosed();
  std::string result = "stale";
  EXPECT_FALSE(graphics_.PromptForFile(result, platform::FileAction::Open, "/x/"));
  EXPECT_TRUE(result.empty());
  EXPECT_EQ(script.asked, 3);
  graphics_.WindowOpened(nullptr);
  platform::SetFileAnswer(nullptr, nullptr);
}

TEST_F(Controls, ParamTextShowsTheDisplayTextAndStepsByTheWheel) {
  auto* cabinet = Attach(new IParamTextControl(&plug_, {0, 0, 80, 16}, P::kCabinet, EditorLayout::StyleA()));
  auto* gain = Attach(new IParamTextControl(&plug_, {0, 20, 80, 36}, P::kGain, EditorLayout::StyleA()));
  char text[80];
  cabinet->SetValueFromPlug(0.0);
  editor_.Wheel(10, 5, 1);
  EXPECT_DOUBLE_EQ(cabinet->GetValue(), 1.0 / 38);
  EXPECT_DOUBLE_EQ(plug_.GetParam(P::kCabinet)->Value(), 1.0);
  cabinet->DisplayText(text, sizeof text);
  EXPECT_STREQ(text, "Cab 1 ");
  editor_.Wheel(10, 5, 10);
  cabinet->DisplayText(text, sizeof text);
  EXPECT_STREQ(text, "Cab 11 ");

  gain->SetValueFromPlug(0.75);  // +5 dB, shown negated
  gain->DisplayText(text, sizeof text);
  EXPECT_STREQ(text, "-5.0 dB");
  editor_.Wheel(10, 25, 1);
  EXPECT_NEAR(gain->GetValue(), 0.76, 1e-12);
  // Dragged like a knob: its own height up with gearing 4 is a quarter of the range.
  editor_.Drag(10, 25, 10, 9);
  EXPECT_NEAR(gain->GetValue(), 1.0, 1e-12);
}

}  // namespace
