#include "engine/Tuner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "engine/Engine.h"

namespace {

constexpr double kNeedleSmoothingMs = 10.0;
constexpr double kDisplayUpdatesPerSecond = 25.0;
constexpr double kCaptureRateHz = 3000.0;
constexpr double kLowestNoteHz = 27.5;  // A0, note index 0
constexpr double kSemitoneLog10 = 0.0250858329719985;  // log10(2) / 12
constexpr double kGlobalPeakShare = 0.3;  // a local peak must reach this share of the largest
constexpr double kOctaveBelowShare = 0.1;
constexpr double kLowestReadableHz = 20.0;
constexpr int kStrings = 6;
constexpr int kStandardTuning = 1;
constexpr int kSuspendedTuning = 8;  // its 2nd string lies two semitones above its 3rd

struct Tuning {
  const char* name;
  int strings[kStrings];  // note indices from the 6th string to the 1st
};

constexpr Tuning kTunings[kTuningCount] = {
    {"Chromatic tuner", {19, 24, 29, 34, 38, 43}},
    {"Standard E-E,A,D,G,B,E", {19, 24, 29, 34, 38, 43}},
    {"Drop D-D,A,D,G,B,E", {17, 24, 29, 34, 38, 43}},
    {"Open E-E,B,E,G#,B,E", {19, 26, 31, 35, 38, 43}},
    {"Open A-E,A,E,A,C#,E", {19, 24, 31, 36, 40, 43}},
    {"Open D-D,A,D,F#,A,D", {17, 24, 29, 33, 36, 41}},
    {"Open G-D,G,D,G,B,D", {17, 22, 29, 34, 38, 41}},
    {"Standard D-D,G,C,F,A,D", {17, 22, 27, 32, 36, 41}},
    {"D Susp.-D,A,D,G,A,D", {17, 24, 29, 34, 36, 41}},
    {"G 6th-D,G,D,G,B,E", {17, 22, 29, 34, 38, 43}},
    {"G Wahine-D,G,D,F#,B,D", {17, 22, 29, 33, 38, 41}},
    {"E Minor-E,B,E,G,B,E", {19, 26, 31, 34, 38, 43}},
};

struct StringHints {
  const char* lower;
  const char* on;
  const char* higher;
};

constexpr StringHints kStringHints[kStrings] = {
    {"Lower than 6th", "6th string", "Higher than 6th"},
    {"Lower than 5th", "5th string", "Higher than 5th"},
    {"Lower than 4th", "4th string", "Higher than 4th"},
    {"Lower than 3rd", "3rd string", "Higher than 3rd"},
    {"Lower than 2nd", "2nd string", "Higher than 2nd"},
    {"Lower than 1st", "1st string", "Higher than 1st"},
};
// How many semitones below each string "Lower than" starts.
constexpr int kLowerReach[kStrings] = {3, 2, 2, 2, 2, 2};
constexpr int kHighReach = 3;  // "Too High" starts this far above the 1st string

struct NoteNameTable {
  char names[kTunerNoteCount][4];
};

constexpr NoteNameTable MakeNoteNames() {
  constexpr const char* kPitchClasses[12] = {"A",  "A#", "B", "C",  "C#", "D",
                                             "D#", "E",  "F", "F#", "G",  "G#"};
  NoteNameTable table{};
  for (int i = 0; i < kTunerNoteCount; ++i) {
    const char* pitch = kPitchClasses[i % 12];
    int n = 0;
    while (pitch[n] != '\0') {
      table.names[i][n] = pitch[n];
      ++n;
    }
    table.names[i][n] = static_cast<char>('0' + (i + 9) / 12);
  }
  return table;
}

constexpr NoteNameTable kNoteNames = MakeNoteNames();

void Capture(TunerState& t, Engine& e, double v) {
  if (t.captureFill >= kTunerCaptureSize) {
    t.captureFill = 0;
    DetectPitch(e);
  }
  t.capture[t.captureFill++] = v;
}

void SetText(TunerReadout& r, const char* text) {
  std::strncpy(r.text, text, kTunerTextCapacity - 1);
  r.text[kTunerTextCapacity - 1] = '\0';
}

// "%.1f Hz" without the C locale's decimal separator and without any allocation.
void SetFrequencyText(TunerReadout& r, double hz) {
  constexpr char kUnit[] = " Hz";
  char* const end = r.text + kTunerTextCapacity - sizeof(kUnit);
  const auto [last, error] = std::to_chars(r.text, end, hz, std::chars_format::fixed, 1);
  if (error != std::errc{}) {
    SetText(r, " ");
    return;
  }
  std::memcpy(last, kUnit, sizeof(kUnit));
}

void RefreshReadout(Engine& e) {
  TunerState& t = e.tuner;
  TunerReadout& r = t.readout;
  r.needle = e.bank.StepFollower(kTunerNeedleFollower, std::fabs(t.deviation));
  r.noteValue = (t.note + 0.5) / kTunerNoteCount;
  if (!(t.frequency > kLowestReadableHz)) {
    SetText(r, " ");
  } else if (t.mode != 0) {
    SetText(r, t.hints[static_cast<int>(t.note)]);
  } else {
    SetFrequencyText(r, t.frequency);
  }
  ++r.refreshes;
}

// The largest bin above 0; on ties the highest bin.
int LargestBin(const double* m, int bins) {
  int top = bins - 1;
  for (int k = bins - 1; k >= 1; --k) {
    if (m[k] > m[top]) top = k;
  }
  return top;
}

// The first local maximum, from the bottom, that reaches a share of the largest one;
// the largest one itself when there is none.
int PickPeak(const double* m, int bins) {
  const int top = LargestBin(m, bins);
  const double threshold = kGlobalPeakShare * m[top];
  double running = 0.0;
  for (int k = 0; k < bins; ++k) {
    if (m[k] > running) running = m[k];
    if (running > m[k] && running > threshold) return k - 1;
  }
  return top;
}

}  // namespace

std::array<const char*, kTunerNoteCount> NoteNames() {
  std::array<const char*, kTunerNoteCount> names{};
  for (int i = 0; i < kTunerNoteCount; ++i) names[i] = kNoteNames.names[i];
  return names;
}

void InitTuner(Engine& e) {
  e.tuner.captureFill = 0;
  e.tuner.displayCounter = 0;
  e.tuner.decimationCounter = 0;
  DesignTunerTiming(e);
}

void DesignTunerTiming(Engine& e) {
  TunerState& t = e.tuner;
  t.displayPeriod = static_cast<int>(e.sampleRate / kDisplayUpdatesPerSecond);
  e.bank.SetFollower(kTunerNeedleFollower, kNeedleSmoothingMs, kNeedleSmoothingMs,
                     static_cast<double>(t.displayPeriod));
  t.decimationFactor = static_cast<int>(std::floor(e.sampleRate / kCaptureRateHz));
}

void TunerSample(Engine& e, double v) {
  TunerState& t = e.tuner;
  if (t.decimationCounter > t.decimationFactor - 2) {
    t.decimationCounter = 0;
    Capture(t, e, v);
  } else {
    ++t.decimationCounter;
  }
  if (t.displayCounter >= t.displayPeriod) {
    t.displayCounter = 0;
    RefreshReadout(e);
  }
  ++t.displayCounter;
}

void DetectPitch(Engine& e) {
  TunerState& t = e.tuner;
  std::copy_n(t.capture, kTunerCaptureSize, t.re);
  std::fill(t.re + kTunerCaptureSize, t.re + kFft16384Size, 0.0);
  std::fill_n(t.im, kFft16384Size, 0.0);
  Fft16384(t.re, t.im);
  constexpr int kBins = kFft16384Size / 2;
  for (int k = 0; k < kBins; ++k) t.magnitude[k] = std::sqrt(t.re[k] * t.re[k] + t.im[k] * t.im[k]);

  int peak = PickPeak(t.magnitude, kBins);
  // A silent capture has no peak: every bin ties at zero and the highest one would win,
  // reading silence as the top note.
  const bool silent = !(t.magnitude[peak] > 0.0);
  const int below = peak / 2;
  if (t.magnitude[below] > kOctaveBelowShare * t.magnitude[peak]) peak = below;

  // Below 3 kHz the factor is 0 and every sample is captured: the capture rate is then
  // the sample rate itself.
  const double captureRate = e.sampleRate / std::max(t.decimationFactor, 1);
  const double hz = captureRate * peak / kFft16384Size;
  if (silent || !(hz >= kLowestNoteHz)) {
    t.frequency = t.deviation = t.note = 0.0;
    return;
  }
  const double n = std::log10(hz / kLowestNoteHz) / kSemitoneLog10 + 0.5;
  const double note = std::floor(n);
  t.deviation = n - note;
  t.note = std::clamp(note, 0.0, static_cast<double>(kTunerNoteCount - 1));
  t.frequency = hz;
}

void BuildHintTable(Engine& e, int mode) {
  const Tuning& tuning = kTunings[mode >= 0 && mode < kTuningCount ? mode : kStandardTuning];
  for (int i = 0; i < kTunerNoteCount; ++i) {
    const char* hint = "Too Low";
    for (int s = 0; s < kStrings; ++s) {
      const int note = tuning.strings[s];
      const bool suspendedSecond = mode == kSuspendedTuning && s == 4;
      if (i >= note - (suspendedSecond ? 1 : kLowerReach[s])) hint = kStringHints[s].lower;
      if (i == note) hint = kStringHints[s].on;
      if (i > note) hint = kStringHints[s].higher;
    }
    if (i > tuning.strings[kStrings - 1] + kHighReach) hint = "Too High";
    e.tuner.hints[i] = hint;
  }
}

void SetTunerOn(Engine& e, double v) { e.tuner.on = v != 0.0; }

int NextTuningMode(int mode) { return (mode + 1) % kTuningCount; }

void ApplyTuningMode(Engine& e) { BuildHintTable(e, e.tuner.mode); }

void SetTuningMode(Engine& e, double value) {
  const double mode = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, kTuningCount - 1.0);
  e.tuner.mode = static_cast<int>(mode);
}

const char* TuningName(int mode) {
  return mode >= 0 && mode < kTuningCount ? kTunings[mode].name : nullptr;
}
