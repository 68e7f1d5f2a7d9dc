#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "EngineTestKit.h"
#include "engine/Tuner.h"

namespace {

constexpr int kE2 = 19;
constexpr int kE6 = 67;

double NoteHz(int note) { return 27.5 * std::exp2(note / 12.0); }

std::unique_ptr<Engine> MakeTunerEngine(double rate) {
  auto e = MakeNeutralEngine(rate);
  SetTunerOn(*e, 1.0);
  return e;
}

void Listen(Engine& e, const std::vector<double>& signal) {
  for (double v : signal) TunerSample(e, v);
}

// Enough samples for two complete analyses.
int TwoAnalyses(double rate) {
  return static_cast<int>(2.2 * kTunerCaptureSize * std::floor(rate / 3000.0)) + 1;
}

// A plucked-string-like tone: decaying harmonics with the second one `second` times
// the fundamental.
std::vector<double> GuitarTone(double rate, double hz, double second, int samples) {
  const double weights[6] = {1.0, second, 0.6, 0.4, 0.3, 0.2};
  std::vector<double> out(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i) {
    const double t = i / rate;
    double v = 0.0;
    for (int k = 0; k < 6; ++k) v += weights[k] * std::sin(2.0 * std::numbers::pi * hz * (k + 1) * t);
    out[static_cast<size_t>(i)] = 0.05 * v * std::exp(-0.8 * t);
  }
  return out;
}

}  // namespace

// In tune within 3 % of a semitone; the frequency within the transform's resolution.
TEST(Tuner, SinesFromE2ToE6ReadTheirNoteInTune) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    const double binHz = rate / std::floor(rate / 3000.0) / 16384.0;
    for (int note = kE2; note <= kE6; ++note) {
      const auto e = MakeTunerEngine(rate);
      Listen(*e, Sine(rate, NoteHz(note), TwoAnalyses(rate), 0.3));
      SCOPED_TRACE(testing::Message() << NoteHz(note) << " Hz at " << rate);
      EXPECT_EQ(e->tuner.note, note);
      EXPECT_NEAR(e->tuner.deviation, 0.5, 0.03);
      EXPECT_NEAR(e->tuner.frequency, NoteHz(note), 0.75 * binHz);
    }
  }
}

TEST(Tuner, GuitarToneWithAStrongSecondHarmonicReadsTheFundamental) {
  for (double rate : {44100.0, 48000.0}) {
    for (int note : {kE2, 24, 29, 34, 38, 43}) {  // the six strings of standard tuning
      for (double second : {0.5, 2.0, 4.0, 8.0}) {
        const auto e = MakeTunerEngine(rate);
        Listen(*e, GuitarTone(rate, NoteHz(note) * std::exp2(0.1 / 12.0), second, TwoAnalyses(rate)));
        EXPECT_EQ(e->tuner.note, note) << NoteHz(note) << " Hz, 2nd x" << second << " at " << rate;
      }
    }
  }
}

TEST(Tuner, NoPitchBelowA0InSilenceAndAtLowRates) {
  const auto e = MakeTunerEngine(44100.0);
  Listen(*e, Sine(44100.0, 27.4, TwoAnalyses(44100.0), 0.3));
  EXPECT_EQ(e->tuner.frequency, 0.0);
  EXPECT_EQ(e->tuner.note, 0.0);
  EXPECT_STREQ(e->tuner.readout.text, " ");
  EXPECT_DOUBLE_EQ(e->tuner.readout.noteValue, 0.5 / 72.0);

  // A note, then the string muted: silence is no pitch, not the highest note.
  Listen(*e, Sine(44100.0, 440.0, TwoAnalyses(44100.0), 0.3));
  ASSERT_EQ(e->tuner.note, 48.0);
  Listen(*e, std::vector<double>(size_t(TwoAnalyses(44100.0)), 0.0));
  EXPECT_EQ(e->tuner.frequency, 0.0);
  EXPECT_STREQ(e->tuner.readout.text, " ");

  // Below 3 kHz every sample is captured; the reading stays finite and right.
  const auto slow = MakeTunerEngine(2000.0);
  ASSERT_EQ(slow->tuner.decimationFactor, 0);
  Listen(*slow, Sine(2000.0, 220.0, 3 * kTunerCaptureSize, 0.3));
  EXPECT_EQ(slow->tuner.note, 36.0);
}

TEST(Tuner, ReadoutShowsFrequencyOrHintAndMovesTheNeedle) {
  const auto e = MakeTunerEngine(44100.0);
  const unsigned before = e->tuner.readout.refreshes;
  Listen(*e, Sine(44100.0, 82.41, 44100, 0.3));
  const TunerReadout& r = e->tuner.readout;
  EXPECT_EQ(r.refreshes, before + 24);  // one every 1,764 samples
  char expected[32];
  std::snprintf(expected, sizeof(expected), "%.1f Hz", e->tuner.frequency);
  EXPECT_STREQ(r.text, expected);
  EXPECT_NEAR(e->tuner.frequency, 82.41, 0.2);
  EXPECT_DOUBLE_EQ(r.noteValue, (kE2 + 0.5) / 72.0);
  EXPECT_GT(r.needle, 0.3);

  // Setting the mode alone keeps the note names; stepping builds the tuning's hints.
  SetTuningMode(*e, 1.0);
  Listen(*e, std::vector<double>(1765, 0.0));
  EXPECT_STREQ(r.text, "E2");
  SetTuningMode(*e, 0.0);
  SetTuningMode(*e, NextTuningMode(e->tuner.mode));
  ApplyTuningMode(*e);
  Listen(*e, std::vector<double>(1765, 0.0));
  EXPECT_STREQ(r.text, "6th string");
}

TEST(Tuner, TuningsListAndModeSetting) {
  EXPECT_STREQ(TuningName(0), "Chromatic tuner");
  EXPECT_STREQ(TuningName(8), "D Susp.-D,A,D,G,A,D");
  EXPECT_STREQ(TuningName(11), "E Minor-E,B,E,G,B,E");
  EXPECT_EQ(TuningName(12), nullptr);
  const auto e = MakeTunerEngine(44100.0);
  for (int step = 1; step <= 12; ++step) {
    SetTuningMode(*e, NextTuningMode(e->tuner.mode));
    EXPECT_EQ(e->tuner.mode, step % 12);
  }
  SetTuningMode(*e, 7.9);
  EXPECT_EQ(e->tuner.mode, 7);
  SetTuningMode(*e, 40.0);
  EXPECT_EQ(e->tuner.mode, 11);
  SetTuningMode(*e, std::nan(""));
  EXPECT_EQ(e->tuner.mode, 0);
  const auto names = NoteNames();
  EXPECT_STREQ(names[0], "A0");
  EXPECT_STREQ(names[3], "C1");
  EXPECT_STREQ(names[48], "A4");
  EXPECT_STREQ(names[71], "G#6");
}

TEST(Tuner, HintTablesForEveryTuning) {
  const int strings[12][6] = {{19, 24, 29, 34, 38, 43}, {19, 24, 29, 34, 38, 43},
                              {17, 24, 29, 34, 38, 43}, {19, 26, 31, 35, 38, 43},
                              {19, 24, 31, 36, 40, 43}, {17, 24, 29, 33, 36, 41},
                              {17, 22, 29, 34, 38, 41}, {17, 22, 27, 32, 36, 41},
                              {17, 24, 29, 34, 36, 41}, {17, 22, 29, 34, 38, 43},
                              {17, 22, 29, 33, 38, 41}, {19, 26, 31, 34, 38, 43}};
  const std::string ordinals[6] = {"6th", "5th", "4th", "3rd", "2nd", "1st"};
  const auto e = MakeTunerEngine(44100.0);
  const auto& hints = e->tuner.hints;
  for (int mode = 0; mode < 12; ++mode) {
    BuildHintTable(*e, mode);
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    // D Susp.'s 3rd string (G) reads "3rd string" a whole tone under its 2nd string (A).
    for (int s = 0; s < 6; ++s) {
      EXPECT_EQ(hints[strings[mode][s]], ordinals[s] + " string");
      EXPECT_EQ(hints[strings[mode][s] - 1], "Lower than " + ordinals[s]);
    }
    EXPECT_STREQ(hints[strings[mode][0] - 4], "Too Low");
    EXPECT_STREQ(hints[strings[mode][0] - 3], "Lower than 6th");
    EXPECT_STREQ(hints[strings[mode][5] + 3], "Higher than 1st");
    EXPECT_STREQ(hints[strings[mode][5] + 4], "Too High");
  }
  // Between two strings: "Higher than" the lower one until two semitones under the next.
  BuildHintTable(*e, 1);
  EXPECT_STREQ(hints[21], "Higher than 6th");
  EXPECT_STREQ(hints[22], "Lower than 5th");
  BuildHintTable(*e, 99);  // out of range: standard tuning
  EXPECT_STREQ(hints[19], "6th string");
  EXPECT_STREQ(hints[16], "Lower than 6th");
}
