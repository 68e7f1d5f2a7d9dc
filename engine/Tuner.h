// The chromatic tuner: while it is on, the chain feeds it the left input. It captures one
// sample in D (about 3 kHz), analyses every 512 captured samples with a zero-padded
// 16,384-point FFT, and refreshes its readout 25 times a second. All work arrays live in
// the engine, so the analysis uses no stack and allocates nothing.
#pragma once

#include <array>

#include "engine/Fft16384.h"

struct Engine;

constexpr int kTunerCaptureSize = 512;
constexpr int kTunerNoteCount = 72;  // A0 to G#6
constexpr int kTuningCount = 12;
constexpr int kTunerTextCapacity = 32;

// What the tuner's editor controls show. Written on the audio thread at each refresh; the
// plug-in copies it to its controls whenever `refreshes` has moved on.
struct TunerReadout {
  double needle = 0.0;     // needle meter, 0 to 1 (the smoothed deviation)
  double noteValue = 0.0;  // note indicator, (note + 0.5) / 72
  char text[kTunerTextCapacity] = " ";  // "%.1f Hz", a hint, or one blank with no pitch
  unsigned refreshes = 0;
};

// The note names "A0" to "G#6", the hints before any tuning is stepped.
std::array<const char*, kTunerNoteCount> NoteNames();

struct TunerState {
  bool on = false;
  int mode = 0;  // index of the tunings list
  int captureFill = 0;
  int decimationFactor = 0;   // one input sample in this many is captured
  int decimationCounter = 0;
  int displayPeriod = 0;      // samples between readout refreshes
  int displayCounter = 0;
  double frequency = 0.0;     // last fundamental in Hz, 0 when none
  double deviation = 0.0;     // position within the nearest semitone, 0.5 in tune
  double note = 0.0;          // nearest note index, 0 to 71
  std::array<const char*, kTunerNoteCount> hints = NoteNames();  // readout per note
  TunerReadout readout;

  double capture[kTunerCaptureSize] = {};
  double re[kFft16384Size] = {};
  double im[kFft16384Size] = {};
  double magnitude[kFft16384Size / 2] = {};
};

// Counters to 0 and timing from the engine's rate; results and hints are kept.
void InitTuner(Engine& engine);
// Display period, needle smoothing and decimation factor at the engine's rate.
void DesignTunerTiming(Engine& engine);

void TunerSample(Engine& engine, double v);
// Analyses the capture buffer; sets frequency, deviation and note.
void DetectPitch(Engine& engine);
// Fills the hints for a tuning's six strings; a mode outside 0 to 11 uses standard tuning.
void BuildHintTable(Engine& engine, int mode);

// Entry points of the tuner's parameters (push buttons act on the press only).
void SetTunerOn(Engine& engine, double v);  // on for any non-zero value
int NextTuningMode(int mode);             // the next tuning, 11 wraps to 0
void ApplyTuningMode(Engine& engine);     // builds the hints of the current mode
void SetTuningMode(Engine& engine, double value);  // truncated, limited to 0 to 11

const char* TuningName(int mode);         // null outside 0 to 11
