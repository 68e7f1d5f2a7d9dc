// The sound engine's state: plain data embedded once in the plug-in object, with the
// functions that initialise it and bring it to a new sample rate. About 0.4 MB: create it
// as part of a heap object, not on a thread's stack.
#pragma once

#include "engine/AntiDenormal.h"
#include "engine/DspBank.h"
#include "engine/OctaveVoice.h"
#include "engine/Tuner.h"

constexpr double kStartSampleRate = 44100.0;

// Fixed slot numbers of the gate and the tuner.
constexpr int kGateFollower = 0;
constexpr int kGateEnvelope = 0;
constexpr int kTunerNeedleFollower = 1;

// Raw 0-to-1 values of the knobs the engine designs from, kept so that designs can be
// re-run (after a model change or a new sample rate) without reading plug-in parameters.
struct KnobCopies {
  double drive = 0.0;        // kDstDrive
  double low = 0.0;          // kDstLow
  double mid = 0.0;          // kDstMid
  double high = 0.0;         // kDstHigh
  double gateRelease = 0.0;  // kGateRelease
};

// Silence sleep, decided at the end of each fixed chunk of frames (counted across host
// blocks, so that how a host cuts its audio does not change when the amp sleeps).
struct SilenceWatch {
  int framesInChunk = 0;     // frames of the current chunk seen so far
  bool inputHeard = false;   // a sample of the current chunk was not exactly zero
  double outputPeak = 0.0;   // largest output magnitude of the current chunk
  int quietChunks = 0;       // chunks in a row of silent input and inaudible output
};

struct Engine {
  DspBank bank;
  double sampleRate = kStartSampleRate;

  double antiDenormal[kAntiDenormalTableSize] = {};
  int antiDenormalIndex = 0;

  // Processing chain.
  SilenceWatch silence;
  bool sleeping = false;
  bool gateOn = false;
  double gateThreshold = 0.0;
  bool driveOn = false;
  int cabinet = 0;            // selected cabinet voicing
  int cascadeLength = 0;
  double cascadeGain = 0.0;
  double bassMix = 0.0;
  double loudnessMix = 0.0;
  double masterVolume = 0.0;
  bool cabinetOn = false;
  double impulseLevel = 0.0;
  double dryGain = 0.0;
  double wetGain = 0.0;

  // Drive stage.
  int model = 0;              // whose kernel runs; written first by SetupDriveModel
  double drive = 0.0;         // D: in front of most clipping curves
  double secondDrive = 0.0;   // D2: first curve of the two-stage clipper
  double lowDrive = 0.0;      // D3: curve of model 9's low branch
  KnobCopies knobs;
  double colourMix = 0.0;     // high-pass share of the two-stage clipper
  double colourCentreHz = 0.0;       // colour band-pass centre, from kAmpColor
  double colourBandwidth = 0.0;      // its bandwidth in octaves, from kAmpPresence
  double presenceMix = 0.0;   // gain of the presence band-pass after the kernel
  double driveLevel = 0.0;    // final gain of the drive stage
  bool subOctaveOn = false;   // model 14's octave-down voice
  OctaveVoiceState octave;

  TunerState tuner;
};

// Brings a new engine to its starting state at the given rate: anti-denormal table, cleared
// bank, gate detector and envelope, delay lines 0 to 13, tuner timing. Allocates the
// delay buffers; nothing allocates afterwards until the sample rate changes.
void InitEngine(Engine& engine, double sampleRate);

// Moves the engine to a new sample rate. Every rate-dependent design is re-run from the
// inputs it was last given: the model's filters, one-poles and delay lengths, the tone and
// cabinet filters, the gate envelope (from knobs.gateRelease), the followers, the octave
// voice and the tuner timing. Filter states are kept. Returns false and changes nothing
// when the rate is unchanged or not a positive finite number. Allocates (delay buffers):
// call it under the plug-in lock, never from the audio path.
bool ResetEngine(Engine& engine, double sampleRate);

// Stores the gate release setting and designs the gate envelope from it: instant attack,
// full sustain and a release of 2^(10 v - 6.666666) seconds.
void SetGateRelease(Engine& engine, double v);
