// Runs audio through a plug-in as a DAW's offline render does: open at the audio's rate,
// set parameters, process in host blocks on the 32-bit replacing path.
#pragma once

#include <string>
#include <vector>

#include "tools/vsthost/PluginHost.h"
#include "tools/vsthost/WavFile.h"

namespace vsthost {

// A parameter as the host automates it: index and normalised value (0 to 1).
struct ParamSetting {
  int index = 0;
  float normalized = 0.0f;
};

// "index=value"; false for anything else or a value outside 0 to 1.
bool ParseParamSetting(const std::string& text, ParamSetting& setting);

// Starts the plug-in at the audio's rate, applies the settings in order and returns two
// output channels as long as the input. A mono input feeds the left input only.
WavAudio Render(PluginHost& host, const WavAudio& input, const std::vector<ParamSetting>& settings,
                int blockSize = 512);

// The processing part of Render, for a plug-in already started with this block size.
WavAudio Process(PluginHost& host, const WavAudio& input, int blockSize = 512);

// The level of audio: RMS over every sample of every channel, in dB (-inf for silence).
double RmsDb(const WavAudio& audio);

}  // namespace vsthost
