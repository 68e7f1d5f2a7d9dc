// The frequency-response graph: its curve from an impulse and the read-out under the
// pointer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/HeadlessEditor.h"
#include "editor/IResponseGraphControl.h"
#include "tests/editor/EditorTestPlug.h"

namespace {

constexpr IRect kPlot{50, 20, 350, 160};  // 300 x 140, as in the editor
constexpr IColor kRed{255, 255, 0, 0};

class ResponseGraph : public testing::Test {
 protected:
  ResponseGraph() : graphics_(&plug_, 500, 250) {
    graphics_.AttachBackground(100, "img/background.png");
    graph_ = new IResponseGraphControl(&plug_, kPlot, EditorLayout::StyleB(), kRed);
    graphics_.AttachControl(graph_);
    graph_->SetRange(20.0, 20480.0, 120.0, 40.0);
    graph_->SetSmoothing(false);
    graphics_.HandleMouseOver(true);
  }
  std::string Readout(int x, int y) {
    char text[64];
    graph_->ReadoutText(x, y, text, sizeof text);
    return text;
  }

  EditorTestPlug plug_;
  IGraphics graphics_;
  IResponseGraphControl* graph_;
};

TEST_F(ResponseGraph, ReadoutSpansTwentyHertzToTwentyKilohertz) {
  EXPECT_EQ(Readout(kPlot.L, kPlot.T), "Freq:   20 Hz\nGain: - 0.0 dB");
  EXPECT_EQ(Readout(kPlot.R - 1, kPlot.B - 1), "Freq: 20.012 kHz\nGain: -119.1 dB");
  // Halfway along the axis lies 20 Hz times 32.
  EXPECT_NEAR(graph_->FrequencyAt(kPlot.L + kPlot.W() / 2), 640.0, 1e-9);
  EXPECT_NEAR(graph_->GainAt(kPlot.T + 70), 60.0, 1e-12);
}

TEST_F(ResponseGraph, AUnitImpulseDrawsAFlatLineAtZeroDecibels) {
  CurveSamples impulse{};
  impulse[0] = 1.0;
  graph_->SetImpulse(impulse);
  const float expected = 40.0f * kPlot.H() / 120.0f;  // 0 dB, 40 dB below the top
  for (int x = 0; x < kPlot.W(); x += 10) EXPECT_NEAR(graph_->ColumnHeight(x), expected, 0.5) << x;

  HeadlessEditor editor(graphics_);
  graph_->SetImpulse(CurveSamples{});  // silence lies below the plot: nothing drawn
  editor.Tick();
  std::vector<std::uint32_t> plain(editor.Raster().Pixels(),
                                   editor.Raster().Pixels() + 500 * 250);
  graph_->SetImpulse(impulse);
  editor.Tick();
  const int row = kPlot.T + int(std::lround(expected));
  int onRow = 0, elsewhere = 0;
  for (int x = kPlot.L; x < kPlot.R; ++x)
    for (int y = kPlot.T; y < kPlot.B; ++y) {
      if (editor.Raster().PixelAt(x, y) == plain[size_t(y) * 500 + x]) continue;
      (std::abs(y - row) <= 1 ? onRow : elsewhere)++;
    }
  EXPECT_GT(onRow, kPlot.W() * 9 / 10);
  EXPECT_EQ(elsewhere, 0);
}

TEST_F(ResponseGraph, TheReadoutBoxFollowsThePointerInsideTheControlAndLeavingErasesIt) {
  EXPECT_EQ(graph_->ReadoutRect(100, 50), (IRect{110, 60, 200, 88}));
  EXPECT_EQ(graph_->ReadoutRect(kPlot.R - 50, 50), (IRect{kPlot.R - 140, 60, kPlot.R - 50, 88}));
  // Wherever the box goes, it stays inside what the control repaints.
  for (int x = kPlot.L; x < kPlot.R; x += 7) {
    for (int y = kPlot.T; y < kPlot.B; y += 7) {
      const IRect box = graph_->ReadoutRect(x, y);
      ASSERT_EQ(box.Intersect(graph_->GetRECT()), box) << x << "," << y;
    }
  }

  HeadlessEditor editor(graphics_);
  editor.Tick();
  const std::uint32_t before = editor.Raster().PixelAt(199, 60);
  editor.MoveTo(100, 50);
  EXPECT_TRUE(graph_->ReadoutShown());
  EXPECT_FALSE(editor.Tick().Empty());
  EXPECT_EQ(editor.Raster().PixelAt(199, 60), 0xFFFF0000u);  // the box's corner, clear of text
  editor.MoveTo(100, 50);
  EXPECT_TRUE(editor.Tick().Empty());  // an unmoved pointer draws nothing new
  editor.MoveTo(450, 240);  // off the plot
  EXPECT_FALSE(graph_->ReadoutShown());
  editor.Tick();
  EXPECT_EQ(editor.Raster().PixelAt(199, 60), before);
}

}  // namespace
