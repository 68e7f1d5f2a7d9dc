// Typed entry: the state machine between the editor window and the platform's entry
// widget, with a scripted widget standing in for the native one.
#include <gtest/gtest.h>

#include "editor/EditorLayout.h"
#include "editor/HeadlessEditor.h"
#include "editor/IKnobControl.h"
#include "editor/IParamTextControl.h"
#include "tests/editor/EditorTestPlug.h"

namespace {

using P = EditorTestPlug;
using Kind = ScriptedTextEntry::Kind;

class TextEntryFlow : public testing::Test {
 protected:
  TextEntryFlow() : graphics_(&plug_, 300, 200), editor_(graphics_) {
    level_ = new IKnobMultiControl(&plug_, 100, 100, P::kLevel, EditorLayout::EditorBitmap(127));
    cabinet_ = new IParamTextControl(&plug_, {0, 0, 80, 16}, P::kCabinet, EditorLayout::StyleA());
    gain_ = new IKnobMultiControl(&plug_, 200, 100, P::kGain, EditorLayout::EditorBitmap(127));
    graphics_.AttachControl(level_);
    graphics_.AttachControl(cabinet_);
    graphics_.AttachControl(gain_);
    plug_.AttachGraphics(&graphics_);
    editor_.Tick();
  }
  ~TextEntryFlow() override { plug_.AttachGraphics(nullptr); }

  ScriptedTextEntry& Entry() { return editor_.TextEntry(); }
  ETextEntryState State() const { return graphics_.GetTextEntry().State(); }

  EditorTestPlug plug_;
  IGraphics graphics_;
  HeadlessEditor editor_;
  IKnobMultiControl* level_;
  IParamTextControl* cabinet_;
  IKnobMultiControl* gain_;
};

TEST_F(TextEntryFlow, ReturnCommitsTheTypedValueAtTheNextTick) {
  editor_.Click(110, 110, HeadlessEditor::Right());
  ASSERT_EQ(Entry().Open(), Kind::EditBox);
  EXPECT_EQ(Entry().Text(), "0.50");
  // 36 x 16, centred on the knob (39 x 40 at 100, 100).
  EXPECT_EQ(Entry().Rect(), (IRect{101, 112, 137, 128}));
  Entry().Type("0.8");
  Entry().PressReturn();
  EXPECT_DOUBLE_EQ(level_->GetValue(), 0.5);
  editor_.Tick();
  EXPECT_EQ(Entry().Open(), Kind::None);
  EXPECT_DOUBLE_EQ(level_->GetValue(), 0.8);
  EXPECT_DOUBLE_EQ(plug_.GetParam(P::kLevel)->Value(), 0.8);
  EXPECT_EQ(State(), ETextEntryState::Idle);
}

TEST_F(TextEntryFlow, ARightClickAnywhereCancelsAndGoesNoFurther) {
  editor_.Click(110, 110, HeadlessEditor::Right());
  Entry().Type("0.1");
  editor_.Click(210, 110, HeadlessEditor::Right());  // on another knob: no new entry there
  EXPECT_EQ(State(), ETextEntryState::Cancel);
  editor_.Tick();
  EXPECT_EQ(Entry().Open(), Kind::None);
  EXPECT_DOUBLE_EQ(level_->GetValue(), 0.5);
  EXPECT_TRUE(plug_.ChangesOf(P::kLevel).empty());
  // Nor does a right click open one on a control whose prompt is disabled.
  level_->DisablePrompt(true);
  editor_.Click(110, 110, HeadlessEditor::Right());
  EXPECT_EQ(Entry().Open(), Kind::None);
}

TEST_F(TextEntryFlow, ALeftClickInTheEditorCommitsAndStillReachesItsControl) {
  editor_.Click(110, 110, HeadlessEditor::Right());
  Entry().Type("0.25");
  editor_.Wheel(210, 110, 1);  // input goes on while the entry is open
  editor_.Drag(210, 120, 210, 110);
  EXPECT_EQ(State(), ETextEntryState::Commit);
  EXPECT_GT(gain_->GetValue(), 0.5);
  editor_.Tick();
  EXPECT_DOUBLE_EQ(level_->GetValue(), 0.25);
}

TEST_F(TextEntryFlow, WhileTheEntryHasTheFocusTheEditorTakesOnlyARightClick) {
  editor_.Click(110, 110, HeadlessEditor::Right());
  Entry().Focus(true);
  EXPECT_EQ(State(), ETextEntryState::HasFocus);
  editor_.Drag(210, 120, 210, 80);
  editor_.Wheel(210, 110, 3);
  EXPECT_DOUBLE_EQ(gain_->GetValue(), 0.5);
  editor_.Tick();
  EXPECT_EQ(Entry().Open(), Kind::EditBox);
  editor_.Click(5, 5, HeadlessEditor::Right());
  editor_.Tick();
  EXPECT_EQ(Entry().Open(), Kind::None);
}

TEST_F(TextEntryFlow, AnOpenEntryFollowsItsParameterLiveIsTheOnlyOneAndGoesWithTheWindow) {
  editor_.Click(110, 110, HeadlessEditor::Right());
  graphics_.PromptUserInput(gain_, P::kGain);  // ignored: one is open
  EXPECT_EQ(graphics_.GetTextEntry().Control(), level_);

  // The host moves the parameter: the tick that draws it makes the entry live, and the
  // next one rewrites its text.
  plug_.GetParam(P::kLevel)->Set(0.25);
  graphics_.SetParameterFromPlug(P::kLevel, 0.25, false);
  editor_.Tick();
  EXPECT_EQ(State(), ETextEntryState::Live);
  editor_.Tick();
  EXPECT_EQ(Entry().Text(), "0.25");
  // Closing the window discards it, a pending commit too.
  Entry().Type("0.9");
  Entry().PressReturn();
  graphics_.WindowClosed();
  EXPECT_EQ(Entry().Open(), Kind::None);
  EXPECT_FALSE(graphics_.GetTextEntry().IsOpen());
  graphics_.WindowOpened(nullptr);
  editor_.Tick();
  EXPECT_DOUBLE_EQ(level_->GetValue(), 0.25);
}

TEST_F(TextEntryFlow, ValueTextsAreChosenFromAListThroughTheirTexts) {
  graphics_.SetParameterFromPlug(P::kCabinet, 3, false);
  plug_.GetParam(P::kCabinet)->Set(3);
  editor_.Click(40, 8, HeadlessEditor::Right());
  ASSERT_EQ(Entry().Open(), Kind::ListBox);
  EXPECT_EQ(Entry().Items().size(), 39u);
  EXPECT_EQ(Entry().Selected(), 3);
  // As wide as 8 pixels per character of "Cab 38" plus 16, centred, top at the middle.
  EXPECT_EQ(Entry().Rect().W(), 6 * 8 + 16);
  EXPECT_EQ(Entry().Rect().L, 40 - 32);
  EXPECT_EQ(Entry().Rect().T, 8);
  ASSERT_TRUE(Entry().Choose("Cab 17"));
  editor_.Tick();
  EXPECT_DOUBLE_EQ(plug_.GetParam(P::kCabinet)->Value(), 17.0);
  EXPECT_DOUBLE_EQ(cabinet_->GetValue(), 17.0 / 38);
}

TEST_F(TextEntryFlow, TypedNumbersAreReadLeniantlyNegatedAndClamped) {
  const TextEntry& entry = graphics_.GetTextEntry();
  double v = -1;
  ASSERT_TRUE(entry.ValueOfText(P::kGain, "3", &v));
  EXPECT_DOUBLE_EQ(v, 0.35);  // shown negated: 3 means -3 dB
  ASSERT_TRUE(entry.ValueOfText(P::kGain, "  +2.5 dB", &v));
  EXPECT_DOUBLE_EQ(v, 0.375);
  ASSERT_TRUE(entry.ValueOfText(P::kGain, "-1e9", &v));
  EXPECT_DOUBLE_EQ(v, 1.0);
  ASSERT_TRUE(entry.ValueOfText(P::kGain, "loud", &v));
  EXPECT_DOUBLE_EQ(v, 0.5);  // no number reads as 0
  ASSERT_TRUE(entry.ValueOfText(P::kLevel, "", &v));
  EXPECT_DOUBLE_EQ(v, 0.0);
  EXPECT_FALSE(entry.ValueOfText(P::kCabinet, "Cab 99", &v));
  EXPECT_FALSE(entry.ValueOfText(99, "1", &v));
}

}  // namespace
