// The VST2 plug-in as the reference the LV2 plug-in must equal: build/Voltrex.so loaded
// through vsthost, given the same settings (by port symbol, real values) and MIDI.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "tests/lv2/Lv2TestHost.h"
#include "tools/vsthost/PluginHost.h"

namespace lv2test {

using Frames = std::vector<std::array<float, 2>>;
using Settings = std::vector<std::pair<std::string, float>>;

// A started VST2 instance with the settings applied through setParameter.
std::unique_ptr<vsthost::PluginHost> StartVst2(const Settings& settings, int blockSize = 512,
                                               double sampleRate = 44100.0);
// The mono signal into both inputs, in blocks, MIDI sent before the first block.
Frames ProcessVst2(vsthost::PluginHost& host, const std::vector<float>& mono, int blockSize = 512);

// A plucked note of the test's own, mono at 44.1 kHz.
std::vector<float> Pluck(double seconds = 1.0);

// The largest difference between two renderings (infinite when their lengths differ).
float MaxDifference(const Frames& a, const Frames& b);
// RMS over both channels in dB.
double RmsDb(const Frames& frames);
bool AllFinite(const Frames& frames);

// Sets the settings on an LV2 instance's ports.
void Apply(Instance& instance, const Settings& settings);

}  // namespace lv2test
