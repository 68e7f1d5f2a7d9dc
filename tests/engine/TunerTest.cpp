#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "ChainTestKit.h"
#include "EngineTestKit.h"
#include "engine/Fft16384.h"
#include "engine/Tuner.h"

namespace {

constexpr int kE2 = 19;
constexpr int kE6 = 67;

double NoteHz(int note) { return 27.5 * std::exp2(note / 12.0); }

std::unique_ptr<Engine> MakeTunerEngine(double rate) {
  auto e = MakeNeutralEngine(rate);
  ToggleTuner(*e);
  return e;
}

// Feeds the tuner enough signal for two complete analyses.
void Listen(Engine& e, const std::vector<double>& signal) {
  for (double v : signal) TunerSample(e, v);
}

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

// The analysis as first written, with its work arrays on the stack of a test thread.
struct Reading {
  double frequency, deviation, note;
};
Reading ReferencePitch(const double* capture, double rate, int decimation) {
  std::vector<double> re(kFft16384Size, 0.0), im(kFft16384Size, 0.0);
  std::copy_n(capture, kTunerCaptureSize, re.begin());
  Fft16384(re.data(), im.data());
  std::vector<double> m(kFft16384Size / 2);
  for (size_t k = 0; k < m.size(); ++k) m[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
  double top = m[8191];
  int topBin = 8191;
  for (int k = 8191; k >= 1; --k) {
    if (m[k] > top) top = m[k], topBin = k;
  }
  int peak = topBin;
  double running = 0.0;
  for (int k = 0; k < 8192; ++k) {
    if (m[k] > running) running = m[k];
    if (running > m[k] && running > 0.3 * top) {
      peak = k - 1;
      break;
    }
  }
  if (m[peak / 2] > 0.1 * m[peak]) peak /= 2;
  const double f = rate / decimation * peak * 6.103515625e-5;
  if (f < 27.5) return {0.0, 0.0, 0.0};
  const double n = std::log10(f / 27.5) / 0.0250858329719985 + 0.5;
  const double note = std::floor(n);
  return {f, n - note, std::fmin(std::fmax(note, 0.0), 71.0)};
}

}  // namespace

TEST(Tuner, SinesFromE2ToE6ReadTheirNoteInTune) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    for (int note = kE2; note <= kE6; ++note) {
      const auto e = MakeTunerEngine(rate);
      Listen(*e, Sine(rate, NoteHz(note), TwoAnalyses(rate), 0.3));
      SCOPED_TRACE(testing::Message() << NoteHz(note) << " Hz at " << rate);
      EXPECT_EQ(e->tuner.note, note);
      EXPECT_NEAR(e->tuner.deviation, 0.5, 0.1);
      EXPECT_NEAR(e->tuner.frequency, NoteHz(note), NoteHz(note) * 0.006);
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

TEST(Tuner, AnalysisMatchesTheStackVersionExactly) {
  const auto e = MakeTunerEngine(44100.0);
  const std::vector<double> tone = GuitarTone(44100.0, 146.8, 3.0, TwoAnalyses(44100.0));
  for (double v : tone) {
    TunerSample(*e, v);
    if (e->tuner.captureFill == kTunerCaptureSize) {
      const Reading expected = ReferencePitch(e->tuner.capture, 44100.0, 14);
      DetectPitch(*e);
      EXPECT_EQ(e->tuner.frequency, expected.frequency);
      EXPECT_EQ(e->tuner.deviation, expected.deviation);
      EXPECT_EQ(e->tuner.note, expected.note);
    }
  }
}

TEST(Tuner, NoPitchBelowA0AndAtLowRates) {
  const auto e = MakeTunerEngine(44100.0);
  Listen(*e, Sine(44100.0, 27.4, TwoAnalyses(44100.0), 0.3));
  EXPECT_EQ(e->tuner.frequency, 0.0);
  EXPECT_EQ(e->tuner.note, 0.0);
  EXPECT_STREQ(e->tuner.readout.text, " ");
  EXPECT_DOUBLE_EQ(e->tuner.readout.noteValue, 0.5 / 72.0);

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
  StepTuningMode(*e);
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
    StepTuningMode(*e);
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
  const char* ordinals[6] = {"6th", "5th", "4th", "3rd", "2nd", "1st"};
  const auto e = MakeTunerEngine(44100.0);
  for (int mode = 0; mode < 12; ++mode) {
    BuildHintTable(*e, mode);
    const auto& hints = e->tuner.hints;
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    for (int s = 0; s < 6; ++s) {
      EXPECT_EQ(hints[strings[mode][s]], std::string(ordinals[s]) + " string");
    }
    EXPECT_STREQ(hints[strings[mode][0] - 4], "Too Low");
    EXPECT_STREQ(hints[strings[mode][0] - 3], "Lower than 6th");
    EXPECT_STREQ(hints[strings[mode][5] + 3], "Higher than 1st");
    EXPECT_STREQ(hints[strings[mode][5] + 4], "Too High");
    EXPECT_STREQ(hints[71], "Too High");
  }
  // Standard tuning spelled out around the 6th and 5th strings.
  BuildHintTable(*e, 1);
  const char* expected[] = {"Too Low",         "Lower than 6th",  "Lower than 6th", "Lower than 6th",
                            "6th string",      "Higher than 6th", "Higher than 6th", "Lower than 5th",
                            "Lower than 5th", "5th string"};
  for (int i = 15; i <= 24; ++i) EXPECT_STREQ(e->tuner.hints[i], expected[i - 15]) << i;
  // D Susp.: the 3rd string's G stays "3rd string" under the 2nd string's A.
  BuildHintTable(*e, 8);
  EXPECT_STREQ(e->tuner.hints[34], "3rd string");
  EXPECT_STREQ(e->tuner.hints[35], "Lower than 2nd");
  // Out-of-range modes use standard tuning.
  BuildHintTable(*e, 99);
  EXPECT_STREQ(e->tuner.hints[19], "6th string");
  EXPECT_STREQ(e->tuner.hints[16], "Lower than 6th");
}
