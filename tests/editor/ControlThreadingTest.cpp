// Control state written by other threads (host automation, MIDI and the tuner on the audio
// thread) while the interface thread ticks and paints.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "editor/AtomicText.h"
#include "editor/HeadlessEditor.h"
#include "editor/IBitmapControl.h"
#include "editor/ITextControl.h"
#include "editor/EditorLayout.h"
#include "tests/editor/EditorTestPlug.h"

namespace {

TEST(AtomicText, CutsLongTextsAtACharacterBoundary) {
  AtomicText<8> text;
  char out[9];
  EXPECT_TRUE(text.Store("abcdefghij"));
  ASSERT_TRUE(text.Load(out));
  EXPECT_STREQ(out, "abcdefgh");
  // "abcdef" then a two-byte and a three-byte character: the second would not fit whole.
  EXPECT_TRUE(text.Store("abcdef\xC3\xA9\xE2\x82\xAC"));
  ASSERT_TRUE(text.Load(out));
  EXPECT_STREQ(out, "abcdef\xC3\xA9");
  EXPECT_FALSE(text.Store("abcdef\xC3\xA9"));  // unchanged
  EXPECT_TRUE(text.Store(""));
  ASSERT_TRUE(text.Load(out));
  EXPECT_STREQ(out, "");
}

// The tuner rewrites its reading every few milliseconds from the audio thread; every text
// the interface thread reads must be one that was written, whole.
TEST(AtomicText, AReaderNeverSeesATornText) {
  AtomicText<64> text;
  const std::string a(40, 'a');
  const std::string b = "Lower than 6th";
  text.Store(a);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    // Yielding between writes keeps the race tight without starving the reader on a
    // loaded machine, where it could otherwise lose every attempt.
    for (int i = 0; !stop.load(); ++i) {
      text.Store(i % 2 ? a : b);
      std::this_thread::yield();
    }
  });
  char out[65];
  int reads = 0;
  for (int i = 0; i < 200000; ++i) {
    if (!text.Load(out)) continue;
    ++reads;
    const bool whole = out == a || out == b;
    ASSERT_TRUE(whole) << out;
  }
  stop = true;
  writer.join();
  EXPECT_GT(reads, 0);
}

TEST(ControlThreading, ValuesAndTextsFromAnotherThreadAreDrawnWhole) {
  EditorTestPlug plug;
  IGraphics graphics(&plug, 200, 100);
  auto* meter = new IBitmapControl(&plug, 0, 0, EditorLayout::EditorBitmap(145));
  auto* reading = new ITextControl(&plug, {80, 10, 180, 30}, EditorLayout::StyleA(), " ");
  const int meterIdx = graphics.AttachControl(meter);
  graphics.AttachControl(reading);
  HeadlessEditor editor(graphics);
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    char text[32];
    for (int i = 0; !stop.load(); ++i) {
      graphics.SetControlFromPlug(meterIdx, (i % 40) / 39.0);
      std::snprintf(text, sizeof text, "%d.%d Hz", 80 + i % 7, i % 10);
      reading->SetTextFromPlug(text);
    }
  });
  for (int i = 0; i < 300; ++i) {
    editor.Tick();
    const std::string_view shown = reading->GetText();
    ASSERT_TRUE(shown == " " || shown.ends_with(" Hz")) << shown;
    const double v = meter->GetValue();
    ASSERT_TRUE(v >= 0.0 && v <= 1.0);
  }
  stop = true;
  audio.join();
  // Whatever the last writes were, the ticks after them draw them and then rest.
  editor.Tick();
  editor.Tick();
  EXPECT_TRUE(editor.Tick().Empty());
}

}  // namespace
