// Shared helpers of the engine tests: ready-made engines, test signals and spectra.
#pragma once

#include <complex>
#include <memory>
#include <vector>

#include "engine/Engine.h"

struct KnobSetting {
  double level = 1.0;
  double drive = 0.5;
  double low = 0.5;
  double mid = 0.5;
  double high = 0.5;
};

// An initialised engine at `sampleRate` with the amplifier's colour and presence filters at
// mid settings, the given knobs and `model` selected.
std::unique_ptr<Engine> MakeEngine(double sampleRate, int model, const KnobSetting& knobs = {});

// Applies knobs the way the parameter handler does: raw copies, then the set-ups.
void ApplyKnobs(Engine& engine, const KnobSetting& knobs);

// Silences every filter, envelope, comb and octave-voice state, as a freshly initialised
// engine has them, keeping all designs: lets one engine serve several independent runs.
void SilenceStates(Engine& engine);

std::vector<double> RunModel(Engine& engine, const std::vector<double>& input);

// A plucked string at 110 Hz with decaying harmonics, peaking at `peak`.
std::vector<double> Pluck(double sampleRate, int samples, double peak);
std::vector<double> Sine(double sampleRate, double hz, int samples, double amplitude);
std::vector<double> WhiteNoise(int samples, double amplitude, unsigned seed);

// Complex spectrum of the first 16,384 samples (zero-padded), optionally Hann-windowed.
std::vector<std::complex<double>> Spectrum(const std::vector<double>& signal, bool hann);
// Energy in dB of octave bands centred on 31.25 Hz * 2^k, k = 0 to 9.
std::vector<double> OctaveBandsDb(const std::vector<double>& signal, double sampleRate);

// Magnitude of biquad slot `slot` at `hz`.
double BiquadMagnitude(const DspBank& bank, int slot, double hz, double sampleRate);
// Poles strictly inside the unit circle.
bool BiquadStable(const DspBank& bank, int slot);
