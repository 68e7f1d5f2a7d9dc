// A short synthetic guitar riff to render through the plug-in: plucked strings (a
// Karplus-Strong loop excited by a deterministic noise burst), one note after another.
#pragma once

#include "tools/vsthost/WavFile.h"

namespace vsthost {

// Mono, about two seconds at the given rate; peaks near 0.5. Its first sample is not zero.
WavAudio SynthesiseRiff(double sampleRate);

// One plucked note of the riff's kind, mono, peaking near 0.5.
WavAudio SynthesisePluck(double sampleRate, double frequencyHz, double seconds);

}  // namespace vsthost
