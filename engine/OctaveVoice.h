// The octave-down voice of model 14: two taps on one-second delay lines whose delay grows
// at half the speed of time, so each tap plays the input an octave lower; a triangle
// crossfade hides the moment a tap jumps back.
#pragma once

struct Engine;

struct OctaveVoiceState {
  double phaseA = 0.0;
  double phaseB = 0.0;
  double crossfade = 0.0;
  double phaseStep = 0.0;      // phase advance per sample
  double crossfadeStep = 0.0;  // twice the phase step
  double depthSeconds = 0.0;   // delay added over one phase cycle
};

constexpr int kOctaveLineA = 0;  // fractional delay lines of the two taps
constexpr int kOctaveLineB = 1;

double OctaveVoice(Engine& engine, double v);
// Creates both tap lines, silent, at the engine's sample rate and sets the phase steps
// (allocates: set-up only, from InitEngine and ResetEngine).
void CreateOctaveVoice(Engine& engine);
// Restarts the phases and silences both tap lines; no allocation (the model selection
// calls it, on whichever thread selects the model).
void ResetOctaveVoice(Engine& engine);
