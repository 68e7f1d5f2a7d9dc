// The editor host's input routing, timer tick and painting.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/HeadlessEditor.h"
#include "editor/IBitmapControl.h"
#include "editor/IGraphicsRaster.h"
#include "editor/KeyCodes.h"
#include "tests/editor/EditorTestPlug.h"

namespace {

// Records the events it receives and fills its rectangle when drawn.
class Recorder : public IControl {
 public:
  Recorder(IEffectBase* plug, const IRect& rect, IColor color, int paramIdx = kNoParameter)
      : IControl(plug, rect, paramIdx), color_(color) {}

  void OnMouseDown(float x, float y, const IMouseMod&) override { Log("down %g,%g", x, y); }
  void OnMouseUp(float x, float y, const IMouseMod&) override { Log("up %g,%g", x, y); }
  void OnMouseDrag(float x, float y, float dx, float dy, const IMouseMod&) override {
    Log("drag %g,%g %g,%g", x, y, dx, dy);
  }
  void OnMouseDblClick(float x, float y, const IMouseMod&) override { Log("dbl %g,%g", x, y); }
  void OnMouseWheel(float x, float y, const IMouseMod&, int detents) override {
    Log("wheel %g,%g %d", x, y, detents);
  }
  void OnKeyDown(float x, float y, int key) override { Log("key %g,%g %d", x, y, key); }
  void OnMouseOver(float x, float y, const IMouseMod&) override { Log("over %g,%g", x, y); }
  void OnMouseOut() override { events.push_back("out"); }
  void Draw(IGraphicsRaster& raster) override {
    ++draws;
    IColor color = color_;
    color.A = static_cast<std::uint8_t>(color.A * Blend());
    raster.FillRect(color, GetRECT());
    if (onDraw) onDraw();
  }

  std::vector<std::string> events;
  int draws = 0;
  std::function<void()> onDraw;

 private:
  template <typename... Args>
  void Log(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    events.emplace_back(text);
  }
  IColor color_;
};

constexpr IColor kRed{255, 255, 0, 0};
constexpr IColor kGreen{255, 0, 255, 0};

class Routing : public testing::Test {
 protected:
  Routing() : graphics_(&plug_, 300, 200) {
    below_ = Attach(new Recorder(&plug_, {0, 0, 100, 100}, kRed, EditorTestPlug::kLevel));
    above_ = Attach(new Recorder(&plug_, {50, 50, 150, 150}, kGreen, EditorTestPlug::kSwitch));
  }
  Recorder* Attach(Recorder* control) {
    graphics_.AttachControl(control);
    return control;
  }

  EditorTestPlug plug_;
  IGraphics graphics_;
  Recorder* below_;
  Recorder* above_;
};

using Events = std::vector<std::string>;

TEST_F(Routing, OnlyTheTopmostVisibleUngrayedControlThatIsHitTakesEvents) {
  EXPECT_EQ(graphics_.ControlAt(75, 75), 1);
  EXPECT_EQ(graphics_.ControlAt(10, 10), 0);
  EXPECT_EQ(graphics_.ControlAt(100, 10), IGraphics::kNoControl);  // right edge is outside
  EXPECT_EQ(graphics_.ControlAt(149, 149), 1);
  EXPECT_EQ(graphics_.ControlAt(150, 149), IGraphics::kNoControl);

  // Hidden, then grayed, the upper control takes no event of any kind.
  HeadlessEditor editor(graphics_);
  graphics_.HideControl(EditorTestPlug::kSwitch, true);
  EXPECT_EQ(graphics_.ControlAt(75, 75), 0);
  editor.Click(75, 75);
  editor.Wheel(75, 75, 1);
  editor.Key(75, 75, kKeySpace);
  graphics_.HideControl(EditorTestPlug::kSwitch, false);
  graphics_.GrayOutControl(EditorTestPlug::kSwitch, true);
  EXPECT_EQ(graphics_.ControlAt(75, 75), 0);
  graphics_.OnMouseDblClick(76, 76, HeadlessEditor::Left());
  EXPECT_TRUE(above_->events.empty());
  EXPECT_EQ(below_->events, (Events{"down 75,75", "up 75,75", "wheel 75,75 1", "key 75,75 0", "dbl 76,76"}));

  graphics_.AttachControl(new Recorder(&plug_, {0, 0, 0, 0}, kRed));
  EXPECT_EQ(graphics_.ControlAt(0, 0), 0);  // an empty rectangle never hits
}

TEST_F(Routing, TheCapturingControlGetsTheDragOutsideTheEditorUntilRelease) {
  HeadlessEditor editor(graphics_);
  editor.MouseDown(10, 10);
  graphics_.OnMouseMove(75, 75, HeadlessEditor::Left());   // over the other control
  graphics_.OnMouseMove(-50, 500, HeadlessEditor::Left());  // outside the editor
  graphics_.OnMouseMove(-50, 500, HeadlessEditor::Left());  // no movement: nothing
  editor.MouseUp(-50, 500);
  EXPECT_EQ(below_->events, (Events{"down 10,10", "drag 75,75 65,65", "drag -50,500 -125,425",
                                    "up -50,500"}));
  EXPECT_TRUE(above_->events.empty());
  EXPECT_EQ(plug_.begins, std::vector<int>{EditorTestPlug::kLevel});
  EXPECT_EQ(plug_.ends, std::vector<int>{EditorTestPlug::kLevel});
  // After the release, movement with a button held but no capture goes nowhere.
  graphics_.OnMouseMove(20, 20, HeadlessEditor::Left());
  EXPECT_EQ(below_->events.size(), 4u);
}

// Wheel turns arrive in whole detents and keys with known codes, both at the control under
// the pointer.
TEST_F(Routing, WheelDetentsAndKeyCodesGoToTheControlUnderThePointer) {
  EXPECT_EQ(KeyCodeOfCharacter(U'9'), 14);
  EXPECT_EQ(KeyCodeOfCharacter(U'a'), KeyCodeOfCharacter(U'A'));
  EXPECT_EQ(KeyCodeOfCharacter(U'z'), 40);
  for (char32_t other : {U'-', U'\u00e9'}) EXPECT_EQ(KeyCodeOfCharacter(other), kNoKey);
  HeadlessEditor editor(graphics_);
  graphics_.OnMouseWheel(10, 10, {}, 240);
  graphics_.OnMouseWheel(10, 10, {}, -360);
  graphics_.OnMouseWheel(10, 10, {}, 119);   // less than a detent
  graphics_.OnMouseWheel(250, 10, {}, 120);  // over no control
  editor.Key(75, 75, kKeyUp);
  editor.Key(75, 75, kKeyRight);
  editor.Key(75, 75, kNoKey);
  editor.Key(75, 75, 41);
  editor.Key(10, 10, KeyCodeOfCharacter(U'q'));
  EXPECT_EQ(above_->events, (Events{"key 75,75 1", "key 75,75 4"}));
  EXPECT_EQ(below_->events, (Events{"wheel 10,10 2", "wheel 10,10 -3", "key 10,10 31"}));
}

TEST_F(Routing, HoveringReportsOverAndOutWhenMouseOverHandlingIsOn) {
  HeadlessEditor editor(graphics_);
  editor.MoveTo(10, 10);
  EXPECT_TRUE(below_->events.empty());
  graphics_.HandleMouseOver(true);
  editor.MoveTo(10, 10);
  editor.MoveTo(75, 75);
  editor.MoveTo(250, 190);
  EXPECT_EQ(below_->events, (Events{"over 10,10", "out"}));
  EXPECT_EQ(above_->events, (Events{"over 75,75", "out"}));
  editor.MoveTo(75, 75);
  editor.Leave();
  EXPECT_EQ(below_->events.back(), "out");
  EXPECT_EQ(above_->events.back(), "out");
  EXPECT_EQ(graphics_.MouseOver(), IGraphics::kNoControl);
}

TEST_F(Routing, TickPaintsDirtyControlsOnceMoreForPendingRedrawsAndThenRests) {
  HeadlessEditor editor(graphics_);
  EXPECT_FALSE(editor.Tick().Empty());
  EXPECT_EQ(below_->draws, 1);
  EXPECT_TRUE(editor.Tick().Empty());
  EXPECT_TRUE(editor.Tick().Empty());

  // A value from the plug-in is drawn at the next tick and once more after it.
  graphics_.SetParameterFromPlug(EditorTestPlug::kLevel, 0.5, true);
  EXPECT_FALSE(editor.Tick().Empty());
  EXPECT_FALSE(editor.Tick().Empty());
  EXPECT_TRUE(editor.Tick().Empty());
  EXPECT_EQ(below_->draws, 3);
}

TEST_F(Routing, PaintingRedrawsEverythingAControlCoversAndSkipsHiddenOnes) {
  HeadlessEditor editor(graphics_);
  editor.Tick();
  EXPECT_EQ(editor.Raster().PixelAt(75, 75), 0xFF00FF00u);
  // The lower control alone is dirty; drawn whole, it must not bury the one above.
  below_->SetDirty(false);
  const IRect painted = editor.Tick();
  EXPECT_EQ(painted, (IRect{0, 0, 150, 150}));
  EXPECT_EQ(editor.Raster().PixelAt(75, 75), 0xFF00FF00u);
  above_->Hide(true);
  editor.Tick();
  EXPECT_EQ(above_->draws, 2);
  EXPECT_EQ(editor.Raster().PixelAt(75, 75), 0xFFFF0000u);
}

TEST_F(Routing, ARedrawRequestedWhilePaintingSurvivesTheClean) {
  HeadlessEditor editor(graphics_);
  editor.Tick();
  // Another thread sets the lower control while the upper one is being drawn.
  above_->onDraw = [this] { below_->SetValueFromPlug(0.9); };
  above_->SetDirty(false);
  editor.Tick();
  above_->onDraw = nullptr;
  EXPECT_TRUE(below_->IsDirty());
  const int draws = below_->draws;
  editor.Tick();
  EXPECT_EQ(below_->draws, draws + 1);
}

TEST_F(Routing, GrayedBitmapsAreDrawnAtAQuarterWeight) {
  const IBitmap fader = EditorLayout::EditorBitmap(143);
  graphics_.AttachControl(new IBitmapControl(&plug_, 200, 0, fader));
  auto* grayed = new IBitmapControl(&plug_, 250, 0, fader);
  graphics_.AttachControl(grayed);
  grayed->GrayOut(true);
  HeadlessEditor editor(graphics_);
  editor.Tick();
  for (int y = 0; y < 25; y += 6) {
    const std::uint32_t full = editor.Raster().PixelAt(205, y);
    const std::uint32_t faded = editor.Raster().PixelAt(255, y);
    for (int shift : {0, 8, 16}) {
      const int expected = int(((full >> shift) & 0xFF) * 0.25 + 0.5);
      EXPECT_NEAR(int((faded >> shift) & 0xFF), expected, 2) << y;
    }
  }
}

}  // namespace
