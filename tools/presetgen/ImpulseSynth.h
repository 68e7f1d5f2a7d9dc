// Cabinet impulse responses of our own making: a direct impulse with a few early
// reflections and a short decaying noise tail (the room), coloured by one of the cabinet
// voicings and a microphone's band limits. Deterministic: the noise is a fixed sequence.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/presetgen/FactoryTable.h"

constexpr int kImpulseSampleRateHz = 44100;

// The response, long enough for the room to fade by about 50 dB, peak-normalised to just
// below full scale.
std::vector<double> SynthesiseImpulse(const FactoryImpulse& impulse);

// A mono 16-bit PCM RIFF WAVE file of the samples.
std::vector<std::uint8_t> EncodeWave16(const std::vector<double>& samples, int sampleRateHz);
