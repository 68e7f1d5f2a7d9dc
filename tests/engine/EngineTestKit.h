// Shared helpers of the engine tests: ready-made engines, test signals, spectra, filter
// responses and stereo blocks run through the chain.
#pragma once

#include <array>
#include <complex>
#include <memory>
#include <vector>

#include "cabinet/PartitionedConvolver.h"
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
// An initialised engine whose chain passes left + right unchanged: gate, drive and the
// impulse-response stage off, "Cabinet Off", flat tone section and volume 1.
std::unique_ptr<Engine> MakeNeutralEngine(double sampleRate);

// Applies knobs the way the parameter handler does: raw copies, then the set-ups.
void ApplyKnobs(Engine& engine, const KnobSetting& knobs);
// The 16 settings with every knob at 0 or 1 (level at 1).
std::vector<KnobSetting> KnobCorners();

// Every control of the chain at a non-default value, as a restored project sets them:
// gate and drive on, colour, tone section, volume, cabinet voicing and the IR stage's levels.
void SetEveryControl(Engine& engine);
// Copies of every filter, follower, envelope and comb state outside the tuner (whose
// needle follower moves while it runs).
std::vector<double> FilterStates(const Engine& engine);

std::vector<double> RunModel(Engine& engine, const std::vector<double>& input);

// A plucked string at 110 Hz with decaying harmonics, peaking at `peak`.
std::vector<double> Pluck(double sampleRate, int samples, double peak);
std::vector<double> Sine(double sampleRate, double hz, int samples, double amplitude);
std::vector<double> WhiteNoise(int samples, double amplitude, unsigned seed);

// Complex spectrum of the first 16,384 samples (zero-padded), optionally Hann-windowed.
std::vector<std::complex<double>> Spectrum(const std::vector<double>& signal, bool hann);
// Energy of the bins from lowHz to highHz.
double BandEnergy(const std::vector<std::complex<double>>& spectrum, double sampleRate,
                  double lowHz, double highHz);
// Energy in dB of octave bands centred on 31.25 Hz * 2^k, k = 0 to 9.
std::vector<double> OctaveBandsDb(const std::vector<double>& signal, double sampleRate);

// b0, b1, b2, a1, a2 of a biquad slot.
std::array<double, 5> Coefficients(const DspBank& bank, int slot);
double BiquadMagnitude(const DspBank& bank, int slot, double hz, double sampleRate);
// Level in dB of one of the engine's biquad slots at hz.
double SlotDb(const Engine& engine, int slot, double hz);
// Poles strictly inside the unit circle.
bool BiquadStable(const DspBank& bank, int slot);
// The cabinet cascade's level in dB at hz, gain included.
double CascadeDb(const Engine& engine, double hz);

struct StereoBlock {
  std::vector<double> left, right;
};
// Runs the block through the chain in place; returns it.
StereoBlock& Process(Engine& engine, PartitionedConvolver& convolver, StereoBlock& block);
// A convolver holding a one-sample impulse of 1.0, so the wet signal equals its input.
void LoadUnitImpulse(PartitionedConvolver& convolver);
